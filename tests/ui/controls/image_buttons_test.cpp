// The image buttons: the skin button steps its frame on each completed
// press and draws that frame's picture; the animated button runs while
// checked.
#include "ui/controls/image_buttons.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "tests/ui/controls/test_bank.h"

namespace {

using controls_testing::MakeSurface;
using controls_testing::PixelOf;
using controls_testing::TestBank;

// Width of the black picture drawn on row y.
int InkWidth(const Surface& s, int y) {
  int n = 0;
  for (int x = 0; x < s.width; ++x) n += PixelOf(s, x, y) == 0;
  return n;
}

TEST(SkinButton, PressAndReleaseStepsTheFrame) {
  TestBank bank;
  bank.Glyph(600, 3);  // the three frames: black pictures 3, 5 and 7 wide
  bank.Glyph(602, 5);
  bank.Glyph(604, 7);
  bank.Load();
  std::unique_ptr<ISkinButton> button(ISkinButton::Create(bank.Skin()));
  button->Place(Rect(0, 0, 29, 19), nullptr);
  button->imageIndex = 600;
  button->frameCount = 3;
  button->frameStride = 2;
  auto s = MakeSurface(30, 20, 0xFFFFFF);
  std::vector<int> frames, widths;
  for (int i = 0; i < 4; ++i) {
    button->SetState(kControlNormal);
    button->Draw(s.get());
    frames.push_back(button->currentFrame);
    widths.push_back(InkWidth(*s, 10));
    button->SetState(kControlFocused);
    button->SetState(kControlPressed);
    button->SetState(kControlFocused);  // released on the button
  }
  EXPECT_EQ(frames, (std::vector<int>{0, 1, 2, 0}));
  EXPECT_EQ(widths, (std::vector<int>{3, 5, 7, 3}));
  button->SetState(kControlPressed);
  button->SetState(kControlNormal);  // the focus went elsewhere
  EXPECT_EQ(button->currentFrame, 1);
  button->SetState(kControlDisabled);
  EXPECT_EQ(button->alpha, 100);
  button->SetFrame(7);
  EXPECT_EQ(button->currentFrame, 1);
  button->frameCount = 0;
  button->SetFrame(7);
  EXPECT_EQ(button->currentFrame, 0);
}

TEST(AnimatedButton, RunsWhileCheckedAndStopsWhereItIs) {
  std::unique_ptr<IAnimatedButton> button(IAnimatedButton::Create(nullptr));
  button->Place(Rect(0, 0, 9, 9), nullptr);
  button->frameCount = 4;
  button->speed = 64;
  button->SetState(kControlPressed);  // checks it
  EXPECT_EQ(button->IsDirty(), 1);
  std::vector<int> frames;
  for (int i = 0; i < 18; ++i) button->Tick(), frames.push_back(button->Frame());
  EXPECT_EQ(frames, (std::vector<int>{0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 0, 0, 0}));
  button->SetState(kControlPressed);  // unchecks it
  button->Tick();
  EXPECT_EQ(button->Frame(), 0);
  EXPECT_EQ(button->phase, 2 * 64);
  EXPECT_EQ(button->IsDirty(), 0);
}

}  // namespace
