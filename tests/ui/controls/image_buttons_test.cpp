// The skin button steps its frame on each completed press and draws that
// frame's picture; the animated button runs while checked.
#include "ui/controls/image_buttons.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "tests/ui/controls/test_bank.h"

namespace {

TEST(SkinButton, PressAndReleaseStepsTheFrame) {
  controls_testing::TestBank bank;
  for (int i = 0; i < 3; ++i) bank.Glyph(600 + 2 * i, 3 + 2 * i);  // frames 3, 5, 7 wide
  bank.Load();
  std::unique_ptr<ISkinButton> button(ISkinButton::Create(bank.Skin()));
  button->Place(Rect(0, 0, 29, 19), nullptr);
  button->imageIndex = 600;
  button->frameCount = 3;
  button->frameStride = 2;
  auto s = controls_testing::MakeSurface(30, 20, 0xFFFFFF);
  std::vector<int> frames, widths;
  for (int i = 0; i < 4; ++i) {
    button->SetState(kControlNormal);
    button->Draw(s.get());
    frames.push_back(button->currentFrame);
    int ink = 0;
    for (int x = 0; x < 30; ++x) ink += controls_testing::PixelOf(*s, x, 10) == 0;
    widths.push_back(ink);
    for (u8 st : {kControlFocused, kControlPressed, kControlFocused}) button->SetState(st);
  }
  EXPECT_EQ(frames, (std::vector<int>{0, 1, 2, 0}));
  EXPECT_EQ(widths, (std::vector<int>{3, 5, 7, 3}));
  button->SetState(kControlPressed);
  button->SetState(kControlNormal);  // the focus went elsewhere: no step
  EXPECT_EQ(button->currentFrame, 1);
  button->SetState(kControlDisabled);
  EXPECT_EQ(button->alpha, 100);
}

TEST(AnimatedButton, RunsWhileCheckedAndStopsWhereItIs) {
  std::unique_ptr<IAnimatedButton> button(IAnimatedButton::Create(nullptr));
  button->frameCount = 4;
  button->speed = 64;
  button->SetState(kControlPressed);  // checks it
  EXPECT_EQ(button->IsDirty(), 1);
  std::vector<int> frames;
  for (int i = 0; i < 18; ++i) button->Tick(), frames.push_back(button->Frame());
  EXPECT_EQ(frames, (std::vector<int>{0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 0, 0, 0}));
  button->SetState(kControlPressed);  // unchecks it
  button->Tick();
  EXPECT_EQ(button->phase, 2 * 64);
  EXPECT_EQ(button->IsDirty(), 0);
}

}  // namespace
