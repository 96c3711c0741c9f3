// A framed list of text items with one selected item, chosen with the Up
// and Down keys or the pointer, and a vertical scroll bar at its right edge
// when the items do not all fit. The list box owns copies of its items.
#pragma once

#include "ui/controls/control.h"

class IScrollBar;

class IListBox : public IControl {
 public:
  // A list box with a caption buffer of textCapacity characters and room
  // for itemCapacity items (added with AddItem).
  static IListBox* Create(SkinContext* skin, u8 textCapacity, i16 itemCapacity);
  ~IListBox() override;

  void Init(SkinContext* skin, u8 textCapacity, i16 itemCapacity);
  // Places the list box with its caption. With n texts, they replace the
  // items (the list is then full) and the first is selected. The scroll
  // bar is set up along the right edge for the items held.
  void Setup(const Rect& r, const char* caption, i16 n, const char* const* texts);
  // Adds one item per line of the text: as many lines as it has line
  // feeds (one when it has none), while there is room.
  void AddItem(const char* text);
  // Frees every item and the item array.
  void FreeItems();

  i16 GetSelection() const { return selection; }
  // The selected item's text; null without items.
  const char* GetSelectedText() const;
  // Selects an item, scrolling by one page when it lies off the shown rows;
  // an index outside the items changes nothing.
  void Select(i16 index);
  // Selects the first item equal to the text, if any.
  void SelectByText(const char* text);

  // Rows shown: one per 17 pixels under the caption, at least one.
  int VisibleRows() const;
  // More items than rows: the scroll bar is shown and takes the pointer.
  bool Scrolling() const { return VisibleRows() < count; }
  Rect TextArea() const;
  // Top of the text of the k-th shown row.
  int RowTextTop(int k) const;

  void Draw(Surface* target) override;
  // Up and Down move the selection.
  i32 OnKeyDown(u32 keysym) override;
  // Selects the item under the pointer, or hands the pointer to the scroll
  // bar.
  i32 OnMouseDown(i16 x, i16 y) override;
  i32 OnMouseUp(i16 x, i16 y) override;
  i32 OnMouseMove(i16 x, i16 y) override;
  // Every state but focused is the scroll bar's too.
  void SetState(u8 newState) override;

  IScrollBar* ScrollBar() const { return scrollBar; }
  i16 Count() const { return count; }
  i16 FirstRow() const { return firstRow; }
  const char* Item(int index) const;

 protected:
  IListBox() = default;

 private:
  // The scroll bar's maximum for the present count.
  i32 ScrollMaximum() const;
  // Takes the first shown row from the scroll bar's position.
  void FollowScrollBar();
  void DrawRows(Surface* target);

  i16 selection = 0;
  i16 capacity = 0;
  i16 count = 0;
  i16 firstRow = 0;
  char** items = nullptr;  // capacity slots; null from count on
  IScrollBar* scrollBar = nullptr;
};
