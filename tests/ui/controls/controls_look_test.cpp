// The scrolling controls drawn from the generated image bank, kept as a PNG
// with the test artifacts to look at.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/image.h"
#include "platform/image_pack.h"
#include "platform/startup.h"
#include "tests/support/process.h"
#include "tests/ui/controls/test_bank.h"
#include "ui/app_context.h"
#include "ui/controls/button.h"
#include "ui/controls/check_box.h"
#include "ui/controls/frame.h"
#include "ui/controls/image_control.h"
#include "ui/controls/label.h"
#include "ui/controls/list_box.h"
#include "ui/controls/menu_controls.h"
#include "ui/controls/radio_button.h"
#include "ui/controls/scroll_bar.h"
#include "ui/controls/text_viewer.h"
#include "ui/font.h"

namespace {

using controls_testing::MakeSurface;

class GeneratedBankTest : public testing::Test {
 protected:
  void SetUp() override {
    std::memcpy(savedData, g_DataDir, sizeof g_DataDir);
    std::snprintf(g_DataDir, sizeof g_DataDir, "%s/", DORRIMAC_BUILD_DIR);
    pack.reset(ImagePack::Create("640x480"));
    ASSERT_GE(pack->ImageCount(), 588) << "the game data is not built";
    context.reset(AppContext::Create(pack.get()));
    skin = context->skin;
  }
  void TearDown() override { std::memcpy(g_DataDir, savedData, sizeof g_DataDir); }

  std::unique_ptr<ImagePack> pack;
  std::unique_ptr<AppContext> context;
  SkinContext* skin = nullptr;
  char savedData[sizeof g_DataDir];
};

// A sample of the scrolling controls and the text viewer, for looking at.
TEST_F(GeneratedBankTest, SampleScrollingControls) {
  auto s = MakeSurface(400, 300, 0x205020);
  std::vector<std::unique_ptr<IControl>> controls;
  auto keep = [&](auto* c, u8 state) {
    controls.emplace_back(c);
    c->SetState(state);
    return c;
  };
  keep(IWinFrame::Create(skin, 20), kControlNormal)->Place(Rect(10, 10, 389, 289), "Scrolling");
  const char* words[] = {"Beginner", "Advanced", "Expert", "Ma\x8Ctre", "Classic", "Spring",
                         "Summer",   "Autumn",   "Winter", "Night",     "Day",     "Demo"};
  // A dozen items, focused; three with no scroll bar; a disabled one.
  const Rect rects[] = {Rect(24, 40, 183, 140), Rect(24, 160, 183, 226), Rect(24, 240, 183, 280)};
  const i16 counts[] = {12, 3, 12};
  const u8 states[] = {kControlFocused, kControlNormal, kControlDisabled};
  for (int i = 0; i < 3; ++i) {
    IListBox* list = IListBox::Create(skin, 20, 12);
    list->Setup(rects[i], "Levels", counts[i], words);
    list->Select(3);
    keep(list, states[i]);
  }
  const struct {
    Rect r;
    u8 flags;
    i32 position;
    u8 state;
  } bars[] = {{Rect(200, 40, 379, 55), kScrollArrows, 64, kControlNormal},
              {Rect(200, 64, 379, 79), kScrollArrows | kScrollSecondPressed, 200, kControlFocused},
              {Rect(200, 88, 379, 103), kScrollArrows, 128, kControlDisabled},
              {Rect(200, 112, 379, 123), 0, 256, kControlNormal},
              {Rect(360, 132, 379, 231), kScrollVertical | kScrollArrows, 0, kControlNormal}};
  for (const auto& b : bars) {
    IScrollBar* bar = IScrollBar::Create(skin);
    bar->Setup(b.r, b.flags, 0, 256, b.position, 25);
    keep(bar, b.state);
  }
  keep(ITextViewer::Create(skin, 8, 60), kControlNormal)
      ->SetText(
          "#~The text viewer\nLong lines are wrapped at blanks and justified, the last "
          "row of a line is not.\n#>right\n",
          Rect(200, 170, 350, 280), 0);
  for (auto& c : controls) c->Draw(s.get());
  EXPECT_TRUE(controls_testing::SavePng(*s, "scrolling_controls_sample.png"));
  for (auto& c : controls) EXPECT_EQ(c->IsDirty(), 0);
}

}  // namespace
