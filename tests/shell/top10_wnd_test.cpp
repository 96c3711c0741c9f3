// The top-10 screen on an offscreen window: the rows as read from the
// skill's record (a long name cut before its score), Publish and Clear only
// for a table with a result, and the commands its buttons deliver.
#include "shell/top10_wnd.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/record_file.h"
#include "shell/gwindow.h"
#include "tests/ui/screen_rig.h"
#include "ui/controls/button.h"
#include "ui/controls/label.h"
#include "ui/settings.h"

namespace {

using ui_testing::ScreenRig;

class Top10Test : public ScreenRig {
 protected:
  ITop10Wnd* Open(i16 closeCommand) {
    ITop10Wnd* screen = ITop10Wnd::Create(&window_, closeCommand);
    Push(screen);
    ScreenRig::Open();
    return screen;
  }
};

TEST_F(Top10Test, RowsButtonsAndCommands) {
  Top10Record record;
  record.Reset(nullptr);
  record.Insert("ABCDEFGHIJKLMNOPQRSTUVWXYZ", 1234, 1, nullptr);
  ASSERT_EQ(record.Write(kSkillEasyRide), 1u);

  // The rig's letters advance 6 pixels: twelve fit left of "1234".
  ITop10Wnd* screen = Open(kCmdNewGame);
  EXPECT_STREQ(screen->NameLabel(0)->Text(), "ABCDEFGHIJKL");
  EXPECT_LT(screen->NameLabel(0)->rect.right, screen->ScoreLabel(0)->rect.left);
  EXPECT_STREQ(screen->ScoreLabel(0)->Text(), "1234");
  EXPECT_STREQ(screen->NameLabel(1)->Text(), "");
  EXPECT_STREQ(screen->ScoreLabel(1)->Text(), "-");
  EXPECT_NE(screen->PublishButton()->State(), kControlDisabled);
  EXPECT_NE(screen->ClearButton()->State(), kControlDisabled);
  Key(kKeyRight);  // Publish
  Key(kKeySpace);
  UntilPopped();
  EXPECT_EQ(window_.commands.back(), kCmdPublish);

  // Without a record: "Empty" rows, nothing to publish or clear, and
  // Escape delivers the close command.
  char name[sizeof(g_UserDir) + 32];
  ASSERT_TRUE(RecordFileName(Top10Record::RecordNumber(kSkillEasyRide), name, sizeof name));
  ASSERT_EQ(std::remove(name), 0);
  screen = Open(kCmdNewGame);
  EXPECT_STREQ(screen->NameLabel(9)->Text(), "Empty");
  EXPECT_EQ(screen->PublishButton()->State(), kControlDisabled);
  EXPECT_EQ(screen->ClearButton()->State(), kControlDisabled);
  Key(kKeyRight);
  EXPECT_EQ(screen->FocusedControl(), screen->OkButton());
  Key(kKeyEscape);
  UntilPopped();
  EXPECT_EQ(window_.commands.back(), kCmdNewGame);
  EXPECT_EQ(window_.lastResume, 0);
}

}  // namespace
