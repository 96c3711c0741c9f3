// The help and about screens in the real game, and the addresses it opens
// in a browser (a stand-in first on PATH): Help opens from the menu and
// from the help button, Down turns its page and Escape gives the table
// back; About opens from the menu and Escape brings the menu back; a click
// in the bottom-right corner of the table opens the home page; Publish on
// the top-10 table submits the best result, and is disabled on an empty
// table. Screenshots in English and French, checked for lines that run out
// of their box.
#include <X11/keysym.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "shell/contest_key.h"
#include "shell/top10_record.h"
#include "tests/e2e/prepared_settings.h"
#include "tests/support/game_run.h"
#include "ui/settings.h"

using namespace testing_support;

namespace {

constexpr unsigned kFrameBorder = 0x3030BF;  // the border of boxes and menus
constexpr unsigned kFill = 0xFFFFFF;         // the skin's fill colour

struct Box {
  int left = 10000, top = 10000, right = -1, bottom = -1;
  bool Empty() const { return right < 0; }
  int Width() const { return right - left + 1; }
  int Height() const { return bottom - top + 1; }
};

unsigned Rgb(const RgbImage& shot, int x, int y) {
  const std::uint8_t* p = shot.At(x, y);
  return static_cast<unsigned>(p[0]) << 16 | p[1] << 8 | p[2];
}

Box BorderBox(const RgbImage& shot) {
  Box b;
  for (int y = 0; y < shot.height; ++y) {
    for (int x = 0; x < shot.width; ++x) {
      if (Rgb(shot, x, y) != kFrameBorder) continue;
      b.left = std::min(b.left, x), b.right = std::max(b.right, x);
      b.top = std::min(b.top, y), b.bottom = std::max(b.bottom, y);
    }
  }
  return b;
}

// Pixels of the rectangle that are not the fill colour.
int InkIn(const RgbImage& shot, int left, int top, int right, int bottom) {
  int ink = 0;
  for (int y = top; y <= bottom; ++y)
    for (int x = left; x <= right; ++x) ink += Rgb(shot, x, y) != kFill;
  return ink;
}

// The text of a box lies 20 pixels in from its sides, inside a group frame
// 10 pixels in. Nothing of it may reach the frame's margins.
void ExpectTextInside(const RgbImage& shot, const Box& box, const char* what) {
  EXPECT_EQ(InkIn(shot, box.right - 19, box.top + 38, box.right - 12, box.bottom - 62), 0) << what;
  EXPECT_EQ(InkIn(shot, box.left + 12, box.top + 38, box.left + 19, box.bottom - 62), 0) << what;
}

// The pixels of a box's text area.
std::vector<unsigned> TextArea(const RgbImage& shot, const Box& box) {
  std::vector<unsigned> area;
  for (int y = box.top + 38; y <= box.bottom - 62; ++y)
    for (int x = box.left + 20; x <= box.right - 20; ++x) area.push_back(Rgb(shot, x, y));
  return area;
}

// The text of a submitted result: each triple of digits is one byte of the
// block, chained with the plain byte before it and the contest key; the
// block is two checksums and the text. Empty when the digits do not read.
std::string DecodeResult(const std::string& digits) {
  u8 key[kContestKeySize];
  BuildContestKey(key);
  if (digits.size() % 3 != 0 || digits.size() < 6) return "";
  std::string block;
  u8 prev = 0x7D;
  for (size_t i = 0; i < digits.size() / 3; ++i) {
    const int v = std::stoi(digits.substr(3 * i, 3));
    if (v > 255) return "";
    prev = static_cast<u8>(v ^ prev ^ key[i % kContestKeySize]);
    block += static_cast<char>(prev);
  }
  const std::string text = block.substr(2);
  u8 sum = 0, mixed = 0;
  for (char c : text) sum = static_cast<u8>(sum + c), mixed = static_cast<u8>(mixed + (c ^ 0xE6));
  if (static_cast<u8>(block[0]) != sum || static_cast<u8>(block[1]) != mixed) return "";
  return text;
}

std::vector<unsigned char> Settings(u8 language) {
  std::vector<unsigned char> bytes = PreparedSettings(1);
  SettingsRecord settings;
  std::memcpy(settings.Bytes(), bytes.data(), kSettingsRecordSize);
  settings.language = language;
  return std::vector<unsigned char>(settings.Bytes(), settings.Bytes() + kSettingsRecordSize);
}

class HelpAboutE2E : public ::testing::Test {
 protected:
  // Starts the game with the stand-in browser first on PATH, leaves the
  // title and waits for the table to rest.
  void StartAndPlay(u8 language, const Top10Record* easyRide = nullptr) {
    ASSERT_EQ(symlink(FAKE_BROWSER, (bin_ / "xdg-open").c_str()), 0);
    GameOptions options;
    options.records[50] = Settings(language);
    if (easyRide)
      options.records[100] = std::vector<unsigned char>(easyRide->Bytes(), easyRide->Bytes() + 340);
    const char* path = std::getenv("PATH");
    options.env["PATH"] = bin_.Path() + ":" + (path ? path : "/usr/bin:/bin");
    options.env["FAKE_BROWSER_OUT"] = bin_ / "out";
    START_GAME_OR_SKIP(run_, options);
    run_.Client().Click(run_.GameWindow(), 300, 300);
    ASSERT_TRUE(run_.WaitStill(15000)) << "the table never came to rest";
    run_.Client().Focus(run_.GameWindow());
  }
  void Tap(unsigned long keysym) {
    run_.Client().KeyTap(keysym);
    SleepMs(120);
  }
  RgbImage Shot(const std::string& name) {
    SleepMs(400);
    return run_.Screenshot(name);
  }
  // From the menu, Up wraps to Exit: one more reaches About, two Help,
  // three Top 10.
  void MenuItemFromBottom(int ups) {
    Tap(XK_Escape);
    SleepMs(350);
    for (int i = 0; i < ups; ++i) Tap(XK_Up);
    Tap(XK_Return);
  }
  std::string BrowserLog() {
    std::string logged;
    for (int i = 0; i < 300 && logged.empty(); ++i, SleepMs(10)) logged = ReadFile(bin_ / "out");
    return logged;
  }

  TempDir bin_;
  GameRun run_;
};

TEST_F(HelpAboutE2E, HelpAboutAndTheHomePageInEnglish) {
  StartAndPlay(0);
  if (IsSkipped() || HasFatalFailure()) return;
  // Help from the menu: a box as wide as the widest line allows and as
  // tall as the window allows, the text inside its frame.
  MenuItemFromBottom(3);
  const RgbImage page1 = Shot("help-page1-en");
  const Box help = BorderBox(page1);
  ASSERT_FALSE(help.Empty());
  EXPECT_EQ(help.Width(), 458);
  EXPECT_EQ(help.Height(), 478);
  ExpectTextInside(page1, help, "help page 1");
  Tap(XK_Down);
  const RgbImage page2 = Shot("help-page2-en");
  EXPECT_NE(TextArea(page2, help), TextArea(page1, help));
  EXPECT_GT(InkIn(page2, help.left + 20, help.top + 38, help.right - 20, help.bottom - 62), 0);
  ExpectTextInside(page2, help, "help page 2");
  Tap(XK_Escape);
  EXPECT_TRUE(BorderBox(Shot("help-closed-en")).Empty());

  // The help button at the top right opens it too.
  run_.Client().Click(run_.GameWindow(), 566, 11);
  const RgbImage fromButton = Shot("help-button-en");
  EXPECT_EQ(BorderBox(fromButton).Width(), 458);
  EXPECT_EQ(TextArea(fromButton, help), TextArea(page1, help));  // the first page again
  Tap(XK_Escape);
  EXPECT_TRUE(BorderBox(Shot("help-button-closed-en")).Empty());

  // About from the menu; Escape brings the menu back.
  MenuItemFromBottom(2);
  const RgbImage about = Shot("about-en");
  const Box aboutBox = BorderBox(about);
  ASSERT_FALSE(aboutBox.Empty());
  ExpectTextInside(about, aboutBox, "about");
  Tap(XK_Escape);
  EXPECT_EQ(BorderBox(Shot("about-closed-menu-en")).Height(), 216);  // the main menu
  Tap(XK_Escape);
  SleepMs(400);

  // The bottom-right corner of the table opens the home page.
  EXPECT_TRUE(ReadFile(bin_ / "out").empty());
  run_.Client().Click(run_.GameWindow(), 600, 472);
  const std::string home = kHomePageAddress;
  EXPECT_EQ(BrowserLog(), home + "|" + home + "\n");
}

TEST_F(HelpAboutE2E, FrenchHelpAndAboutStayInTheirBoxes) {
  StartAndPlay(1);
  if (IsSkipped() || HasFatalFailure()) return;
  MenuItemFromBottom(3);
  RgbImage page = Shot("help-page1-fr");
  const Box help = BorderBox(page);
  ASSERT_FALSE(help.Empty());
  ExpectTextInside(page, help, "page 1");
  // Every page, up to the last (where Down is taken and changes nothing).
  for (int i = 2; i <= 6; ++i) {
    Tap(XK_Down);
    const RgbImage next = Shot("help-page" + std::to_string(i) + "-fr");
    ExpectTextInside(next, help, "a later page");
    if (TextArea(next, help) == TextArea(page, help)) break;
    page = next;
  }
  Tap(XK_Escape);
  SleepMs(400);
  MenuItemFromBottom(2);
  const RgbImage about = Shot("about-fr");
  const Box aboutBox = BorderBox(about);
  ASSERT_FALSE(aboutBox.Empty());
  ExpectTextInside(about, aboutBox, "about");
  Tap(XK_Return);
  EXPECT_EQ(BorderBox(Shot("about-closed-menu-fr")).Height(), 216);
}

TEST_F(HelpAboutE2E, PublishSubmitsTheBestResult) {
  Top10Record table{};
  std::strcpy(table.names[0], "abc");
  table.scores[0] = 1234;
  StartAndPlay(0, &table);
  if (IsSkipped() || HasFatalFailure()) return;
  MenuItemFromBottom(4);
  const Box box = BorderBox(Shot("top10-publish-en"));
  ASSERT_FALSE(box.Empty());
  // Publish sits in the bottom-left corner of the table's box.
  run_.Client().Click(run_.GameWindow(), box.left + 20, box.bottom - 26);
  const std::string logged = BrowserLog();
  const std::string prefix = kResultAddressPrefix;
  ASSERT_EQ(logged.rfind(prefix, 0), 0u) << logged;
  const std::string address = logged.substr(0, logged.find('|'));
  EXPECT_EQ(logged, address + "|" + address + "\n");  // one address, one start
  const std::string digits = address.substr(prefix.size());
  const std::string text = "1234\t1\tabc\tqxw\texe";
  EXPECT_EQ(digits.size(), 3 * (text.size() + 2));
  EXPECT_EQ(digits.find_first_not_of("0123456789"), std::string::npos);
  EXPECT_EQ(DecodeResult(digits), text);
  EXPECT_TRUE(BorderBox(Shot("top10-published-en")).Empty());
}

TEST_F(HelpAboutE2E, PublishIsDisabledOnAnEmptyTable) {
  StartAndPlay(0);
  if (IsSkipped() || HasFatalFailure()) return;
  MenuItemFromBottom(4);
  const Box box = BorderBox(Shot("top10-empty-en"));
  ASSERT_FALSE(box.Empty());
  run_.Client().Click(run_.GameWindow(), box.left + 20, box.bottom - 26);
  SleepMs(600);
  EXPECT_TRUE(ReadFile(bin_ / "out").empty());
  EXPECT_EQ(BorderBox(Shot("top10-empty-after-click-en")).Width(), box.Width());  // still open
}

}  // namespace
