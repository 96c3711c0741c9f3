// The list of screen areas a dirty redraw repaints: a fixed array of
// rectangles kept free of overlaps by merging.
#pragma once

#include "platform/types.h"

class DirtyList : public CBase {
 public:
  static DirtyList* Create(int capacity);
  explicit DirtyList(int capacity);
  ~DirtyList() override;
  DirtyList(const DirtyList&) = delete;
  DirtyList& operator=(const DirtyList&) = delete;

  // Merges every stored rectangle that shares a pixel with r into r (again
  // and again, as r grows), then stores r; a full list drops it.
  void Add(const Rect& r);
  void Clear() { count = 0; }
  // The smallest rectangle holding every stored one (count above 0).
  Rect Bounds() const;

  Rect* items = nullptr;
  i16 count = 0;
  i16 capacity = 0;
};
