// Small types shared by every layer: the polymorphic root, rectangles with
// inclusive edges, and the fixed-capacity pointer list.
#pragma once

#include <cstdint>
#include <cstdlib>

using u8 = std::uint8_t;
using i8 = std::int8_t;
using u16 = std::uint16_t;
using i16 = std::int16_t;
using u32 = std::uint32_t;
using i32 = std::int32_t;
using u64 = std::uint64_t;
using i64 = std::int64_t;

// Every class outside the window family derives from this empty root.
class CBase {
 public:
  virtual ~CBase() = default;
};

// A rectangle whose four edges all belong to it: width is right - left + 1.
struct Rect {
  i16 left = 0;
  i16 top = 0;
  i16 right = 0;
  i16 bottom = 0;

  constexpr Rect() = default;
  constexpr Rect(int l, int t, int r, int b)
      : left(static_cast<i16>(l)), top(static_cast<i16>(t)), right(static_cast<i16>(r)),
        bottom(static_cast<i16>(b)) {}

  constexpr int Width() const { return right - left + 1; }
  constexpr int Height() const { return bottom - top + 1; }
  constexpr bool Contains(int x, int y) const {
    return x >= left && x <= right && y >= top && y <= bottom;
  }
  // Sharing one pixel counts as overlapping; merely touching sides does not.
  constexpr bool Overlaps(const Rect& o) const {
    return o.top <= bottom && o.right >= left && top <= o.bottom && right >= o.left;
  }
  constexpr bool operator==(const Rect& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
  constexpr bool operator!=(const Rect& o) const { return !(*this == o); }
};

// The smallest rectangle holding both.
constexpr Rect UnionRect(const Rect& a, const Rect& b) {
  return Rect(a.left < b.left ? a.left : b.left, a.top < b.top ? a.top : b.top,
              a.right > b.right ? a.right : b.right, a.bottom > b.bottom ? a.bottom : b.bottom);
}

// The common part of two overlapping rectangles.
constexpr Rect IntersectRect(const Rect& a, const Rect& b) {
  return Rect(a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top,
              a.right < b.right ? a.right : b.right, a.bottom < b.bottom ? a.bottom : b.bottom);
}

// A holder of item pointers with a fixed capacity; a full list refuses new
// items. It does not own what it points to unless the owner says so.
template <typename T>
class PointerList {
 public:
  explicit PointerList(int capacity)
      : items_(static_cast<T**>(std::calloc(capacity > 0 ? capacity : 1, sizeof(T*)))),
        capacity_(static_cast<i16>(capacity)) {}
  ~PointerList() { std::free(items_); }
  PointerList(const PointerList&) = delete;
  PointerList& operator=(const PointerList&) = delete;

  // Returns false when the list is full.
  bool Add(T* item) {
    if (count_ >= capacity_) return false;
    items_[count_++] = item;
    return true;
  }
  // Removes the item at index i, keeping the order of the rest.
  void RemoveAt(int i) {
    if (i < 0 || i >= count_) return;
    for (int k = i; k + 1 < count_; ++k) items_[k] = items_[k + 1];
    --count_;
  }
  // Removes the first occurrence of item; returns false when absent.
  bool Remove(T* item) {
    for (int i = 0; i < count_; ++i) {
      if (items_[i] == item) {
        RemoveAt(i);
        return true;
      }
    }
    return false;
  }
  void Clear() { count_ = 0; }

  int Count() const { return count_; }
  int Capacity() const { return capacity_; }
  T* At(int i) const { return (i >= 0 && i < count_) ? items_[i] : nullptr; }
  T* Last() const { return count_ > 0 ? items_[count_ - 1] : nullptr; }
  T* const* begin() const { return items_; }
  T* const* end() const { return items_ + count_; }

 private:
  T** items_;
  i16 count_ = 0;
  i16 capacity_;
};
