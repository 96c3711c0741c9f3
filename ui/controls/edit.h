// The one-line text entry: a caret that blinks while the field is focused,
// a set of characters that may be typed, a width and a capacity the text
// never outgrows, and a preset text that the first thing typed replaces.
#pragma once

#include "ui/controls/label.h"

// Characters the field can take at all: '!' (33) to 'z' (122). The blank
// comes only from the Space key.
constexpr int kEditFirstChar = 33;
constexpr int kEditLastChar = 122;
// Frames of one caret blink: 12 hidden, then 10 shown.
constexpr int kEditBlinkFrames = 22;

class IEdit : public ILabel {
 public:
  static IEdit* Create(SkinContext* skin, u8 capacity);

  // Places the field (with a text when one is given) as a normal control.
  void Place(const Rect& r, const char* newText);
  // Only the characters of chars (those within '!'..'z') may be typed.
  void SetAllowedChars(const char* chars);
  // Empties the text, caret at 0.
  void Clear();
  void CaretToEnd();
  // 1 when the character may be typed.
  u8 IsAllowed(u8 c) const;

  // Text, border and, when focused, the blinking caret.
  void Draw(Surface* target) override;
  // Counts the caret blink while focused.
  void Tick() override;
  // Caret keys, Space, BackSpace and Delete; every other key is taken and
  // does nothing, so the screen looks at the keys it wants first.
  i32 OnKeyDown(u32 keysym) override;
  // Inserts an allowed character at the caret when it fits.
  i32 OnChar(i32 character) override;
  // Puts the caret at the character boundary left of x.
  i32 OnMouseDown(i16 x, i16 y) override;
  // Set once an edit, a caret move or the first blink wrap asks for a
  // redraw, and from then on for good.
  u8 IsDirty() override { return changed; }

  u8 Caret() const { return caret; }
  i16 BlinkCounter() const { return blinkCounter; }
  bool ReplacesOnFirstInput() const { return replaceOnFirstInput != 0; }
  // x of the caret's line: the field's text margin plus the widths of the
  // characters before it.
  int CaretX() const;

 protected:
  IEdit();

 private:
  // Empties the text when the replace flag is set, and clears the flag.
  void ReplaceIfFirst();
  // True when one more character of this width still leaves the text
  // inside the field.
  bool Fits(const char* one) const;
  // True when a text of this width stays inside the field.
  bool FitsWidth(int width) const;
  int Length() const;
  // Width of the single character c drawn alone.
  int CharWidth(char c) const;

  u8 caret = 0;
  u8 changed = 0;
  i16 blinkCounter = 10;  // the caret shows while negative
  u8 allowed[kEditLastChar - kEditFirstChar + 1];
  u32 replaceOnFirstInput = 1;
};
