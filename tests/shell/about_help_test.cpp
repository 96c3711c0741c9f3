// The help and about boxes on an offscreen window with 5-pixel glyphs:
// the help box's size from its lines, paging with the keys and the
// buttons' states and focus on the way, a help text of one page, and the
// about box's layout around its picture and its close command.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "shell/about_wnd.h"
#include "shell/help_wnd.h"
#include "tests/ui/screen_rig.h"
#include "ui/app_context.h"
#include "ui/controls/button.h"
#include "ui/controls/image_control.h"
#include "ui/controls/text.h"
#include "ui/language.h"

namespace {

using ui_testing::ScreenRig;

class AboutHelpTest : public ScreenRig {
 public:
  IHelpWnd* OpenHelp() {
    IHelpWnd* help = IHelpWnd::Create(&window_, kCmdNone);
    Push(help);
    Open();
    window_.commands.clear();
    return help;
  }
};

TEST_F(AboutHelpTest, HelpPagesWithTheKeys) {
  IHelpWnd* help = OpenHelp();
  // The English paragraphs are wider than 438 pixels: the box is 458 wide
  // and as tall as the window allows, centred.
  EXPECT_EQ(help->frame, Rect(91, 1, 548, 478));
  IText* text = help->Text();
  const u32 pages = text->PageCount();
  ASSERT_GE(pages, 2u);
  EXPECT_EQ(help->PrevButton()->State(), kControlDisabled);
  EXPECT_EQ(help->NextButton()->State(), kControlNormal);
  EXPECT_EQ(help->FocusedControl(), help->OkButton());

  Arrow(false);  // Up on the first page does nothing
  Ticks(1);
  EXPECT_EQ(text->Page(), 0u);
  Arrow(true);
  Ticks(1);
  EXPECT_EQ(text->Page(), 1u);
  EXPECT_EQ(help->PrevButton()->State(), pages == 2 ? kControlFocused : kControlNormal);
  Arrow(false);
  Ticks(1);
  EXPECT_EQ(text->Page(), 0u);
  EXPECT_EQ(help->PrevButton()->State(), kControlDisabled);
  EXPECT_EQ(help->FocusedControl(), help->NextButton());

  // To the last page: Next is disabled and the focus goes to Prev.
  for (u32 i = 1; i < pages + 2; ++i) {
    Arrow(true);
    Ticks(1);
  }
  EXPECT_EQ(text->Page(), pages - 1);
  EXPECT_EQ(help->NextButton()->State(), kControlDisabled);
  EXPECT_EQ(help->FocusedControl(), help->PrevButton());

  // Escape closes it and nothing is delivered.
  Key(kKeyEscape);
  UntilPopped();
  EXPECT_EQ(Top(), nullptr);
  EXPECT_EQ(window_.commands, (std::vector<int>{kCmdNone}));
}

TEST_F(AboutHelpTest, HelpWithoutPagesAndTheAboutBox) {
  // With every text empty the help has no page: neither Prev nor Next
  // shows, and Down changes nothing.
  window_.context->language->SetLanguage(-1);
  IHelpWnd* help = OpenHelp();
  EXPECT_EQ(help->PrevButton()->State(), kControlHidden);
  EXPECT_EQ(help->NextButton()->State(), kControlHidden);
  Arrow(true);
  Ticks(1);
  EXPECT_EQ(help->Text()->Page(), 0u);
  Key(kKeyReturn);
  UntilPopped();
  EXPECT_EQ(Top(), nullptr);

  // The about box: four lines above the picture (missing from this bank,
  // so one pixel) and five below it; Escape delivers the menu command.
  window_.context->language->SetLanguage(kLanguageEnglish);
  IAboutWnd* about = IAboutWnd::Create(&window_, 103);
  Push(about);
  Open();
  window_.commands.clear();
  const Rect upper = about->UpperText()->rect, lower = about->LowerText()->rect;
  const Rect picture = about->Picture()->rect;
  EXPECT_EQ(upper.Height(), 53);
  EXPECT_EQ(lower.Height(), 66);
  EXPECT_EQ(about->frame.Height(), 13 * 9 + 101);
  EXPECT_EQ(upper.top, about->frame.top + 38);
  EXPECT_LE(std::abs(upper.left + upper.right - (about->frame.left + about->frame.right)), 1);
  EXPECT_LE(std::abs(picture.top + picture.bottom - (upper.bottom + lower.top)), 1);
  EXPECT_LE(std::abs(picture.left + picture.right - (upper.left + upper.right)), 1);
  EXPECT_EQ(about->FocusedControl(), about->OkButton());
  Key(kKeyEscape);
  UntilPopped();
  EXPECT_EQ(window_.commands, (std::vector<int>{103}));
}

}  // namespace
