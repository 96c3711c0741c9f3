// The on-screen keyboard on an offscreen window: its layout from the
// font's glyph height, the key labels under CAPS and SHIFT, SHIFT applying
// to one key only, and the buffer written only by Ok.
#include "shell/keyboard_wnd.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/key_codes.h"
#include "tests/ui/screen_rig.h"
#include "ui/controls/edit.h"

namespace {

using ui_testing::ScreenRig;

// The rig's glyphs are 11 rows high: keys are 16 pixels square.
class KeyboardTest : public ScreenRig {
 protected:
  IKeyboardWnd* Open(const char* preset) {
    std::strcpy(name_, preset);
    IKeyboardWnd* screen = IKeyboardWnd::Create(&window_, 101, name_, 25, "Enter your name:", 0);
    Push(screen);
    ScreenRig::Open();
    return screen;
  }
  void ClickKey(const IKeyboardWnd* screen, int key) {
    ClickOn(screen->Key(key));
    Ticks(1);
  }
  static std::string Labels(const IKeyboardWnd* screen) {
    std::string labels;
    for (int i = 0; i < kKeyboardCharKeys; ++i) labels += screen->Key(i)->Text();
    return labels;
  }

  char name_[300] = {};
};

const std::string kLower = "1234567890-qwertyuiop=asdfghjkl;/zxcvbnm,.'\\";
const std::string kUpper = "!@#$%^&*()_QWERTYUIOP+ASDFGHJKL:?ZXCVBNM<>\"`";

TEST_F(KeyboardTest, LayoutFollowsTheGlyphHeight) {
  IKeyboardWnd* screen = Open("Bob");
  EXPECT_EQ(screen->KeySize(), 16);
  EXPECT_EQ(screen->frame, Rect(212, 122, 427, 357));  // 11u + 40 by 6u + 140, centred
  EXPECT_EQ(screen->Edit()->rect, Rect(222, 150, 417, 173));
  struct Expected {
    int key;
    Rect rect;
  };
  const std::vector<Expected> expected = {
      {0, Rect(232, 193, 247, 208)},            // keys touch side by side
      {12, Rect(248, 210, 263, 225)},           // and rows are one pixel apart
      {43, Rect(392, 244, 407, 259)},
      {kKeyCaps, Rect(212, 261, 247, 276)},     // 3/2 of "CAPS", row centred on the grid
      {kKeySpaceBar, Rect(293, 261, 427, 276)},
      {kKeyBsp, Rect(279, 278, 305, 293)},      // centred on the row above, a pixel below
      {kKeyClr, Rect(333, 278, 359, 293)},
  };
  for (const Expected& e : expected) EXPECT_EQ(screen->Key(e.key)->rect, e.rect) << e.key;
  EXPECT_EQ(screen->CancelButton()->rect, Rect(361, 315, 416, 346));
  EXPECT_EQ(screen->OkButton()->rect, Rect(295, 315, 350, 346));
  EXPECT_STREQ(screen->Key(kKeyShift)->Text(), "SHIFT");
  EXPECT_STREQ(screen->Title(), "Enter your name:");
  // The focus rests on Ok, and the arrows reach Cancel but never a key.
  EXPECT_EQ(screen->FocusedControl(), screen->OkButton());
  Key(kKeyRight);
  EXPECT_EQ(screen->FocusedControl(), screen->CancelButton());
  Key(kKeyRight);
  EXPECT_EQ(screen->FocusedControl(), screen->OkButton());
}

TEST_F(KeyboardTest, CapsAgainstShiftAndShiftForOneKey) {
  IKeyboardWnd* screen = Open("Bob");
  EXPECT_EQ(Labels(screen), kLower);

  // SHIFT, a, b: an upper-case A replaces the preset, then a lower-case b.
  ClickKey(screen, kKeyShift);
  EXPECT_EQ(Labels(screen), kUpper);
  EXPECT_EQ(screen->Key(kKeyShift)->IsChecked(), 1);
  ClickKey(screen, 22);  // a
  EXPECT_STREQ(screen->Edit()->Text(), "A");
  EXPECT_EQ(screen->Key(kKeyShift)->IsChecked(), 0);
  EXPECT_EQ(Labels(screen), kLower);
  ClickKey(screen, 37);  // b
  EXPECT_STREQ(screen->Edit()->Text(), "Ab");

  // SHIFT then CAPS: CAPS on, SHIFT off, the upper half.
  ClickKey(screen, kKeyShift);
  ClickKey(screen, kKeyCaps);
  EXPECT_TRUE(screen->CapsOn());
  EXPECT_FALSE(screen->ShiftOn());
  EXPECT_EQ(Labels(screen), kUpper);
  // SHIFT under CAPS gives the lower half; twice, it is off again and
  // nothing is typed.
  ClickKey(screen, kKeyShift);
  EXPECT_EQ(Labels(screen), kLower);
  ClickKey(screen, kKeyShift);
  EXPECT_EQ(Labels(screen), kUpper);
  EXPECT_STREQ(screen->Edit()->Text(), "Ab");
  ClickKey(screen, 0);
  ClickKey(screen, kKeySpaceBar);
  EXPECT_STREQ(screen->Edit()->Text(), "Ab! ");
  ClickKey(screen, kKeyBsp);
  ClickKey(screen, kKeyBsp);
  EXPECT_STREQ(screen->Edit()->Text(), "Ab");
  EXPECT_EQ(name_, std::string("Bob"));  // nothing reaches the buffer before Ok

  // Return confirms even with Cancel focused.
  Key(kKeyRight);
  Key(kKeyReturn);
  UntilPopped();
  EXPECT_STREQ(name_, "Ab");
  EXPECT_EQ(window_.commands.back(), 101);
  EXPECT_EQ(window_.lastResume, 0);
}

}  // namespace
