// The scroll bar's position: defaults, held keys, clicks on each part, and
// dragging over a range too large for 32-bit products.
#include "ui/controls/scroll_bar.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

constexpr u32 kUpKeysym = 0xff52, kDownKeysym = 0xff54;

std::unique_ptr<IScrollBar> MakeBar(u8 flags, const Rect& r, i32 max = 256, i32 pos = 128) {
  std::unique_ptr<IScrollBar> bar(IScrollBar::Create(nullptr));
  bar->Setup(r, flags, 0, max, pos, 25);
  return bar;
}

TEST(ScrollBar, DefaultsPageFractionAndHeldKeys) {
  std::unique_ptr<IScrollBar> fresh(IScrollBar::Create(nullptr));
  EXPECT_EQ(std::vector<i32>({fresh->minimum, fresh->maximum, fresh->position, fresh->step}),
            std::vector<i32>({0, 256, 128, 25}));
  EXPECT_EQ(fresh->OnKeyDown(kDownKeysym), 0);  // hidden until set up
  fresh->SetPageFraction(128);
  fresh->SetPageFraction(257);  // ignored
  EXPECT_EQ(fresh->step, 128);

  // Down held: one step per frame up to the maximum, where it stays.
  auto bar = MakeBar(0, Rect(0, 0, 199, 19));
  EXPECT_EQ(bar->OnKeyDown(kDownKeysym), 1);  // also on a horizontal bar
  std::vector<i32> seen;
  for (int i = 0; i < 7; ++i) bar->Tick(), seen.push_back(bar->position);
  EXPECT_EQ(seen, (std::vector<i32>{153, 178, 203, 228, 253, 256, 256}));
  EXPECT_EQ(bar->OnKeyDown(0xff51), 0);  // Left is not taken, and lets go
  i32 asked = 999;
  bar->SetPos(asked);
  EXPECT_EQ(asked, 256);  // clamped and written back
}

// A vertical bar 20 x 200 with arrows: arrows of side 20, track 160 long,
// the thumb at 20 + 140 x 128 / 256 = 90..109.
TEST(ScrollBar, ClicksMoveOneStepTowardThePoint) {
  const struct {
    u8 flags;
    int y;
    i32 position;
    bool dragging;
  } cases[] = {
      {kScrollVertical | kScrollArrows, 150, 153, false},  // track below the thumb
      {kScrollVertical | kScrollArrows, 30, 103, false},   // track above it
      {kScrollVertical | kScrollArrows, 5, 103, false},    // up arrow
      {kScrollVertical | kScrollArrows, 196, 153, false},  // down arrow
      {kScrollVertical | kScrollArrows, 100, 128, true},   // the thumb
      {kScrollVertical, 195, 153, false},                  // no arrows: all track
  };
  for (const auto& c : cases) {
    auto bar = MakeBar(c.flags, Rect(0, 0, 19, 199));
    EXPECT_EQ(bar->OnMouseDown(10, static_cast<i16>(c.y)), 1);
    EXPECT_EQ(bar->position, c.position) << c.y;
    EXPECT_EQ(bar->dragging != 0, c.dragging) << c.y;
  }
  // An empty range puts the thumb at the start.
  EXPECT_EQ(MakeBar(kScrollVertical | kScrollArrows, Rect(0, 0, 19, 199), 0, 0)->ThumbRect(),
            Rect(1, 20, 18, 39));
}

// A horizontal bar 300 wide without arrows over 0..2^30.
TEST(ScrollBar, DragsAHugeRangeWithoutOverflow) {
  constexpr i32 kMax = 1 << 30;
  auto bar = MakeBar(0, Rect(0, 0, 299, 19), kMax, kMax / 2);
  EXPECT_EQ(bar->ThumbRect(), Rect(140, 1, 159, 18));
  bar->OnMouseDown(150, 10);
  const struct {
    int x;
    i32 position;
  } moves[] = {{225, kMax / 4 * 3}, {400, kMax}, {-50, 0}};
  for (const auto& m : moves) {
    bar->OnMouseMove(static_cast<i16>(m.x), 10);
    EXPECT_EQ(bar->position, m.position) << m.x;
  }
  bar->OnMouseMove(225, 10);
  EXPECT_EQ(bar->ThumbRect().left, 210);
  bar->OnMouseUp(225, 10);
  bar->OnMouseMove(0, 10);  // released: the pointer no longer moves it
  EXPECT_EQ(bar->position, kMax / 4 * 3);
}

}  // namespace
