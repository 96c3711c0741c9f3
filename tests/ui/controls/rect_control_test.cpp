// The colour swatch's outlines in each state.
#include "ui/controls/rect_control.h"

#include <gtest/gtest.h>

#include <memory>

#include "tests/ui/controls/test_bank.h"

namespace {

TEST(RectControl, OutlinesByStateAndCheck) {
  controls_testing::TestBank bank;
  bank.Load();
  const SkinContext* skin = bank.Skin();
  constexpr u32 kColour = 0x4070FF, kBlack = 0;
  const u32 fill = skin->fillColour;
  const struct {
    u8 state, checked;
    u32 diagonal[4];  // pixels (5 + i, 5 + i): the outer edge inward
  } cases[] = {
      {kControlNormal, 0, {fill, kBlack, kColour, kColour}},
      {kControlDisabled, 1, {fill, kBlack, kBlack, kColour}},
      {kControlFocused, 0, {skin->baseColour[2], kBlack, kColour, kColour}},
      {kControlPressed, 1, {skin->baseColour[3], kBlack, kBlack, kColour}},
      {kControlHidden, 1, {fill, fill, fill, fill}},
  };
  for (const auto& c : cases) {
    std::unique_ptr<IRectControl> swatch(IRectControl::Create(bank.Skin()));
    swatch->Place(Rect(5, 5, 41, 41), nullptr);
    swatch->colour = kColour;
    swatch->SetChecked(c.checked);
    swatch->SetState(c.state);
    auto s = controls_testing::MakeSurface(50, 50, 0x123456);
    swatch->Draw(s.get());
    for (int i = 0; i < 4; ++i)
      EXPECT_EQ(controls_testing::PixelOf(*s, 5 + i, 5 + i), c.diagonal[i]) << +c.state << i;
    EXPECT_EQ(controls_testing::PixelOf(*s, 41, 23), c.diagonal[0]) << +c.state;  // right edge
    EXPECT_EQ(controls_testing::PixelOf(*s, 42, 23), 0x123456u);
    // A hidden swatch stays dirty until it is drawn showing.
    EXPECT_EQ(swatch->IsDirty(), c.state == kControlHidden ? 1 : 0) << +c.state;
  }
}

}  // namespace
