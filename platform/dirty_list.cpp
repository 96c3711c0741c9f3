#include "platform/dirty_list.h"

#include <cstdint>

#include "platform/system.h"

DirtyList* DirtyList::Create(int capacity) {
  DirtyList* list = new DirtyList(capacity);
  CheckAlloc(list);
  return list;
}

namespace {
// Capacities beyond the 16-bit count are cut to what it can reach.
int BoundCapacity(int size) { return size < 0 ? 0 : (size > INT16_MAX ? INT16_MAX : size); }
}  // namespace

DirtyList::DirtyList(int size)
    : items(new Rect[static_cast<size_t>(BoundCapacity(size)) + 1]()),
      capacity(static_cast<i16>(BoundCapacity(size))) {}

DirtyList::~DirtyList() { delete[] items; }

void DirtyList::Add(const Rect& rect) {
  Rect r = rect;
  // A merge grows r, which may then reach rectangles already passed over:
  // repeat until a pass merges nothing.
  for (bool merged = true; merged;) {
    merged = false;
    for (int i = 0; i < count;) {
      if (items[i].Overlaps(r)) {
        r = UnionRect(r, items[i]);
        items[i] = items[--count];  // the last one takes its place and is tested next
        merged = true;
      } else {
        ++i;
      }
    }
  }
  if (count < capacity) items[count++] = r;
}

Rect DirtyList::Bounds() const {
  Rect bounds = items[0];
  for (int i = 1; i < count; ++i) bounds = UnionRect(bounds, items[i]);
  return bounds;
}
