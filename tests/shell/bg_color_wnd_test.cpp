// The background-colour screen: its layout, the swatch checked at the
// opening, the focus walk between the table and Ok, and what Ok, Cancel
// and Escape leave behind; and a look at it drawn from the generated bank.
#include "shell/bg_color_wnd.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "platform/startup.h"
#include "tests/ui/controls/test_bank.h"
#include "tests/ui/screen_rig.h"
#include "ui/app_context.h"
#include "ui/controls/button.h"
#include "ui/controls/rect_control.h"
#include "ui/game_interface.h"
#include "ui/language.h"
#include "ui/settings.h"

namespace {

class BgColorTest : public ui_testing::ScreenRig {
 public:
  IBgColorWnd* Show(u32 stored) {
    window_.context->settings->background = stored;
    IBgColorWnd* screen = IBgColorWnd::Create(&window_, kCmdApplySettings);
    Push(screen);
    Open();
    window_.commands.clear();
    return screen;
  }
  // The (row, column) of the checked swatches, as 10 r + c.
  static std::vector<int> Checked(const IBgColorWnd& s) {
    std::vector<int> out;
    for (int r = 0; r < 8; ++r)
      for (int c = 0; c < 8; ++c)
        if (s.Swatch(r, c)->IsChecked()) out.push_back(10 * r + c);
    return out;
  }
};

// Glyphs are 6 pixels with their advance: "Cancel" + 20 = 56 is the button
// width; the 316 x 376 box is centred in the 640 x 480 window.
TEST_F(BgColorTest, OpensOnTheStoredColourWithOkFocused) {
  const struct {
    u32 stored;
    int checked;
  } cases[] = {{kDefaultBackground, 77}, {0x808080, 74}, {0xFFBFBF, 0}, {0x123456, 77}};
  for (const auto& c : cases) {
    IBgColorWnd* screen = Show(c.stored);
    EXPECT_EQ(Checked(*screen), std::vector<int>{c.checked}) << std::hex << c.stored;
    EXPECT_EQ(screen->Colour(), kBgColorTable[(c.checked / 10) * 8 + c.checked % 10]);
    EXPECT_EQ(screen->FocusedControl(), screen->OkButton());
    EXPECT_EQ(
        std::vector<Rect>({screen->frame, screen->Swatch(0, 0)->rect, screen->Swatch(7, 7)->rect,
                           screen->OkButton()->rect, screen->CancelButton()->rect}),
        std::vector<Rect>({Rect(162, 52, 477, 427), Rect(172, 80, 208, 116),
                           Rect(431, 339, 467, 375), Rect(345, 385, 400, 416),
                           Rect(411, 385, 466, 416)}));
    const Rect other = screen->Swatch(0, 1)->rect;
    Click(other.left + 1, other.top + 1);  // chosen, then dropped by Escape
    Ticks(1);
    EXPECT_EQ(screen->Colour(), 0xFFEFBFu);
    Key(kKeyEscape);
    UntilPopped();
    EXPECT_EQ(window_.commands, std::vector<int>{0});
    EXPECT_EQ(window_.context->settings->background, c.stored);
  }
}

TEST_F(BgColorTest, FocusWalksBetweenTableAndOkAndOkAppliesTheChoice) {
  window_.game = new IGame();
  IBgColorWnd* screen = Show(kDefaultBackground);
  // Up from Ok to (7, 4), Down back; Down from Ok is the base's: Cancel;
  // Up the column past row 0 to Ok.
  const struct {
    bool down;
    int times;
    IControl* lands;
  } walk[] = {{false, 1, screen->Swatch(7, 4)},  {true, 1, screen->OkButton()},
              {true, 1, screen->CancelButton()}, {false, 1, screen->OkButton()},
              {false, 8, screen->Swatch(0, 4)},  {false, 1, screen->OkButton()}};
  for (const auto& w : walk) {
    for (int i = 0; i < w.times; ++i) Arrow(w.down);
    EXPECT_EQ(screen->FocusedControl(), w.lands);
  }

  // Choosing a swatch checks it alone; Space chooses too.
  const Rect r = screen->Swatch(2, 3)->rect;
  Click(r.left + 5, r.top + 5);
  Ticks(1);
  EXPECT_EQ(Checked(*screen), std::vector<int>{23});
  EXPECT_EQ(screen->Colour(), 0x40FF70u);
  Arrow(true);
  Key(kKeySpace);  // on the swatch below
  Ticks(1);
  EXPECT_EQ(Checked(*screen), std::vector<int>{33});
  EXPECT_EQ(screen->Colour(), 0x1AFF53u);
  Key(kKeyReturn);
  Ticks(1);
  EXPECT_EQ(window_.context->settings->background, 0x1AFF53u);
  EXPECT_EQ(window_.game->background, 0x1AFF53u);
  EXPECT_EQ(window_.game->clearFlag, 1);
  EXPECT_EQ(Pixel(5, 5), 0x1AFF53u);  // the scene under the screen, repainted
  UntilPopped();
  EXPECT_EQ(window_.commands, std::vector<int>{kCmdApplySettings});
}

// The screen drawn from the generated bank in English and French, kept with
// the test artifacts to look at.
TEST(BgColorLook, DrawnFromTheGeneratedBank) {
  ui_testing::UserDirScope dirs;
  std::snprintf(g_DataDir, sizeof g_DataDir, "%s/", DORRIMAC_BUILD_DIR);
  for (i16 language : {kLanguageEnglish, kLanguageFrench}) {
    IWndManager window;
    window.CreateOffscreen(640, 480);
    window.OnCreate();
    ASSERT_GE(window.GetImagePack()->ImageCount(), 588) << "the game data is not built";
    window.context->language->SetLanguage(language);
    IBgColorWnd* screen = IBgColorWnd::Create(&window, kCmdApplySettings);
    screen->background = 0x30486C;
    screen->clearFlag = 1;
    window.PushScreen(screen);
    for (int i = 0; i < 10; ++i) window.OnTimer(20);
    ASSERT_EQ(screen->GetScreenState(), kScreenOpen);
    window.OnKeyDown(0xff52);  // Up: the focus on row 7, column 4
    EXPECT_TRUE(controls_testing::SavePng(*window.BackBuffer(), language == kLanguageEnglish
                                                                    ? "bg_color_en.png"
                                                                    : "bg_color_fr.png"));
  }
}

}  // namespace
