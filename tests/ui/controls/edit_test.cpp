// The edit field: which characters it takes, the capacity and the width it
// never outgrows, the preset text replaced by the first input, the caret
// keys and the caret's blink.
#include "ui/controls/edit.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/key_codes.h"
#include "tests/ui/controls/test_bank.h"

namespace {

using controls_testing::TestBank;

// Every character from '!' to 'z' is 5 pixels wide (6 with its advance); a
// blank advances 15. A field 70 pixels wide leaves 64 for the text: ten
// characters fit, an eleventh does not.
constexpr int kFieldRight = 69;

struct Op {
  enum Kind { kChar, kKey, kClick } kind;
  int value;
};
Op Ch(int c) { return {Op::kChar, c}; }
Op Key(KeyCode k) { return {Op::kKey, static_cast<int>(k)}; }
Op Click(int x) { return {Op::kClick, x}; }
std::vector<Op> Type(const std::string& s) {
  std::vector<Op> ops;
  for (char c : s) ops.push_back(Ch(static_cast<unsigned char>(c)));
  return ops;
}
std::vector<Op> operator+(std::vector<Op> a, const std::vector<Op>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

struct Case {
  const char* what;
  const char* preset;   // placed with the caret at its end
  int capacity;
  const char* allowed;  // null: every character
  std::vector<Op> ops;
  const char* text;     // afterwards
  int caret;
  const char* handled;  // each op's result
};

class EditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int c = 33; c <= 122; ++c) bank_.Glyph(365 + c - 33, 5);
    bank_.Load();
  }
  std::unique_ptr<IEdit> Field(int capacity, const char* preset) {
    std::unique_ptr<IEdit> edit(IEdit::Create(bank_.Skin(), static_cast<u8>(capacity)));
    edit->Place(Rect(0, 0, kFieldRight, 23), preset);
    edit->CaretToEnd();
    return edit;
  }
  TestBank bank_;
};

TEST_F(EditTest, CharactersKeysAndClicks) {
  const std::vector<Case> cases = {
      {"codes outside '!'..'z' are not handled, and keep the preset", "Bob", 25, nullptr,
       {Ch(' '), Ch('{'), Ch(200), Ch(8), Ch(32)}, "Bob", 3, "00000"},
      {"the first character replaces the preset", "Bob", 25, nullptr, Type("xy"), "xy", 2, "11"},
      {"a full field refuses more but takes the character", "", 3, nullptr, Type("abcd"), "abc", 3,
       "1111"},
      {"a character reaching the width is not handled", "", 25, nullptr, Type("abcdefghijk"),
       "abcdefghij", 10, "11111111110"},
      {"characters outside the allowed set are taken without effect", "", 25, "0123456789",
       Type("a5z"), "5", 1, "111"},
      {"Left keeps the preset and edits it", "Bob", 25, nullptr, {Key(kKeyLeft), Ch('x')}, "Boxb",
       3, "11"},
      {"BackSpace edits the preset", "Bob", 25, nullptr, {Key(kKeyBackSpace)}, "Bo", 2, "1"},
      {"Return wipes the preset and is taken", "Bob", 25, nullptr, {Key(kKeyReturn), Ch('z')}, "z",
       1, "11"},
      {"caret keys, BackSpace at 0 and Delete at the end change nothing", "", 25, nullptr,
       Type("abc") + std::vector<Op>{Key(kKeyLeft), Key(kKeyLeft), Key(kKeyBackSpace),
                                     Key(kKeyBackSpace), Key(kKeyLeft), Key(kKeyDelete),
                                     Key(kKeyRight), Key(kKeyRight), Key(kKeyDelete)},
       "c", 1, "111111111111"},
      {"Space inserts a blank until the width is reached", "", 25, nullptr,
       Type("abcdefghi") +
           std::vector<Op>{Key(kKeySpace), Key(kKeyBackSpace), Key(kKeyLeft), Key(kKeySpace)},
       "abcdefg h", 8, "1111111110111"},
      {"a click puts the caret between characters and keeps the preset", "abcd", 25, nullptr,
       {Click(2), Ch('x'), Click(100), Ch('y'), Click(5 + 12 + 2), Ch('z')}, "xazbcdy", 3,
       "111111"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::unique_ptr<IEdit> edit = Field(c.capacity, c.preset);
    if (c.allowed) edit->SetAllowedChars(c.allowed);
    std::string handled;
    for (const Op& op : c.ops) {
      i32 r = 0;
      if (op.kind == Op::kChar) r = edit->OnChar(op.value);
      if (op.kind == Op::kKey) r = edit->OnKeyDown(KeyToKeysym(op.value));
      if (op.kind == Op::kClick) r = edit->OnMouseDown(static_cast<i16>(op.value), 10);
      handled += std::to_string(r);
    }
    EXPECT_STREQ(edit->Text(), c.text);
    EXPECT_EQ(edit->Caret(), c.caret);
    EXPECT_EQ(handled, c.handled);
  }
}

// Focused, the caret is hidden for 12 frames and shown for 10 of every 22,
// once the first wrap has marked the field for redrawing every frame.
TEST_F(EditTest, CaretBlinksWhileFocused) {
  std::unique_ptr<IEdit> edit = Field(25, "ab");
  for (int i = 0; i < 30; ++i) edit->Tick();
  EXPECT_EQ(edit->BlinkCounter(), 10);  // not focused: no blink
  EXPECT_EQ(edit->IsDirty(), 0);

  edit->SetState(kControlFocused);
  for (int i = 0; i < 20; ++i) edit->Tick();
  EXPECT_EQ(edit->BlinkCounter(), -10);
  EXPECT_EQ(edit->IsDirty(), 0);
  edit->Tick();
  EXPECT_EQ(edit->BlinkCounter(), 11);
  EXPECT_EQ(edit->IsDirty(), 1);

  std::string cycle;
  for (int i = 0; i < 2 * kEditBlinkFrames; ++i) {
    edit->Tick();
    cycle += edit->BlinkCounter() < 0 ? '|' : '.';
  }
  const std::string one = std::string(11, '.') + std::string(10, '|') + ".";
  EXPECT_EQ(cycle, one + one);

  // Shown, the caret is a line after "ab" in the border colour.
  while (edit->BlinkCounter() >= 0) edit->Tick();
  std::unique_ptr<Surface> surface = controls_testing::MakeSurface(80, 30, 0x123456);
  edit->Draw(surface.get());
  const u32 border = controls_testing::PixelOf(*surface, 0, 12);
  EXPECT_EQ(controls_testing::PixelOf(*surface, 5 + 12, 12), border);
  EXPECT_NE(controls_testing::PixelOf(*surface, 5 + 13, 12), border);

  // A preset wider than the field is drawn only inside it.
  edit = Field(25, "MMMMMMMMMMMMMMMMMMMMMMMMM");
  surface = controls_testing::MakeSurface(200, 30, 0x123456);
  edit->Draw(surface.get());
  for (int x = kFieldRight + 1; x < 200; ++x)
    ASSERT_EQ(controls_testing::PixelOf(*surface, x, 12), 0x123456u) << x;
}

}  // namespace
