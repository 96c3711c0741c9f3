// The help and about screens in the real game, and the addresses it opens
// in a browser (a stand-in first on PATH): Help opens from the menu and
// from the help button, Down turns its page and Escape gives the table
// back; About opens from the menu and Escape brings the menu back; a click
// in the bottom-right corner of the table opens the home page; Publish on
// the top-10 table submits the best result, and is disabled on an empty
// table. Screenshots in English and French, checked for lines that run out
// of their box.
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "shell/contest_key.h"
#include "shell/top10_record.h"
#include "tests/e2e/screen_e2e.h"

using namespace screen_e2e;
using testing_support::ReadFile;
using testing_support::TempDir;

namespace {

constexpr unsigned kFill = 0xFFFFFF;  // the skin's fill colour
constexpr int kTop10 = 5, kHelp = 6, kAbout = 7;  // menu items, down from the first
constexpr int kHelpHeight = 478, kAboutHeight = 302;

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

class HelpAboutE2E : public ScreenE2E {
 protected:
  // Starts the game with the stand-in browser first on PATH.
  void StartWithBrowser(u8 language, const Top10Record* easyRide = nullptr) {
    ASSERT_EQ(symlink(FAKE_BROWSER, (bin_ / "xdg-open").c_str()), 0);
    GameOptions options;
    options.records[50] = SettingsWith(1, language);
    if (easyRide)
      options.records[100] = std::vector<unsigned char>(easyRide->Bytes(), easyRide->Bytes() + 340);
    const char* path = std::getenv("PATH");
    options.env["PATH"] = bin_.Path() + ":" + (path ? path : "/usr/bin:/bin");
    options.env["FAKE_BROWSER_OUT"] = bin_ / "out";
    Start(options);
  }
  void Click(int x, int y) { run_->Client().Click(run_->GameWindow(), x, y); }
  // The next help page: waits until the text changes (the last page stays).
  RgbImage NextPage(const std::string& name, const Box& box, const RgbImage& page) {
    Tap(XK_Down);
    return WaitFor(name, [&](const RgbImage& s) { return TextArea(s, box) != TextArea(page, box); });
  }
  std::string BrowserLog() {
    std::string logged;
    for (int i = 0; i < 300 && logged.empty(); ++i, SleepMs(10)) logged = ReadFile(bin_ / "out");
    return logged;
  }

  TempDir bin_;
};

TEST_F(HelpAboutE2E, HelpAboutAndTheHomePageInEnglish) {
  StartWithBrowser(0);
  if (IsSkipped() || HasFatalFailure()) return;
  // Help from the menu: a box as wide as the widest line allows and as
  // tall as the window allows, the text inside its frame.
  const Box help = MenuItem(kHelp, "help-page1-en", kHelpHeight);
  const RgbImage page1 = run_->Screenshot("help-page1-en");
  EXPECT_EQ(help.Width(), 458);
  ExpectTextInside(page1, help, "help page 1");
  const RgbImage page2 = NextPage("help-page2-en", help, page1);
  EXPECT_NE(TextArea(page2, help), TextArea(page1, help));
  EXPECT_GT(InkIn(page2, help.left + 20, help.top + 38, help.right - 20, help.bottom - 62), 0);
  ExpectTextInside(page2, help, "help page 2");
  Tap(XK_Escape);
  WaitForBox("help-closed-en", 0);

  // The help button at the top right opens it too, on the first page.
  Click(566, 11);
  EXPECT_EQ(WaitForBox("help-button-en", kHelpHeight), help);
  EXPECT_EQ(TextArea(run_->Screenshot("help-button-en"), help), TextArea(page1, help));
  Tap(XK_Escape);
  WaitForBox("help-button-closed-en", 0);

  // About from the menu; Escape brings the menu back.
  const Box about = MenuItem(kAbout, "about-en", kAboutHeight);
  ExpectTextInside(run_->Screenshot("about-en"), about, "about");
  Tap(XK_Escape);
  WaitForBox("about-closed-menu-en", kMenuHeight);
  Tap(XK_Escape);
  WaitForBox("menu-closed-en", 0);

  // The bottom-right corner of the table opens the home page.
  EXPECT_TRUE(ReadFile(bin_ / "out").empty());
  Click(600, 472);
  const std::string home = kHomePageAddress;
  EXPECT_EQ(BrowserLog(), home + "|" + home + "\n");
  Quit();
}

TEST_F(HelpAboutE2E, FrenchHelpAndAboutStayInTheirBoxes) {
  StartWithBrowser(1);
  if (IsSkipped() || HasFatalFailure()) return;
  const Box help = MenuItem(kHelp, "help-page1-fr", kHelpHeight);
  RgbImage page = run_->Screenshot("help-page1-fr");
  ExpectTextInside(page, help, "page 1");
  // Every page, up to the last (where Down is taken and changes nothing).
  for (int i = 2; i <= 6; ++i) {
    const RgbImage next = NextPage("help-page" + std::to_string(i) + "-fr", help, page);
    ExpectTextInside(next, help, "a later page");
    if (TextArea(next, help) == TextArea(page, help)) break;
    page = next;
  }
  Tap(XK_Escape);
  WaitForBox("help-closed-fr", 0);
  const Box about = MenuItem(kAbout, "about-fr", kAboutHeight);
  ExpectTextInside(run_->Screenshot("about-fr"), about, "about");
  Tap(XK_Return);
  WaitForBox("about-closed-menu-fr", kMenuHeight);
}

TEST_F(HelpAboutE2E, PublishSubmitsTheBestResult) {
  Top10Record table{};
  std::strcpy(table.names[0], "abc");
  table.scores[0] = 1234;
  StartWithBrowser(0, &table);
  if (IsSkipped() || HasFatalFailure()) return;
  const Box box = MenuItem(kTop10, "top10-publish-en", kTop10Height);
  // Publish sits in the bottom-left corner of the table's box.
  Click(box.left + 20, box.bottom - 26);
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
  WaitForBox("top10-published-en", 0);
}

TEST_F(HelpAboutE2E, PublishIsDisabledOnAnEmptyTable) {
  StartWithBrowser(0);
  if (IsSkipped() || HasFatalFailure()) return;
  const Box box = MenuItem(kTop10, "top10-empty-en", kTop10Height);
  Click(box.left + 20, box.bottom - 26);
  SleepMs(600);
  EXPECT_TRUE(ReadFile(bin_ / "out").empty());
  EXPECT_EQ(BorderBox(run_->Screenshot("top10-empty-after-click-en")), box);  // still open
}

}  // namespace
