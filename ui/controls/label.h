// Text labels: a plain text at the label's top-left corner, and the
// formatted label that lays one line or column out by a TextStyle.
#pragma once

#include "ui/controls/control.h"
#include "ui/font.h"

class ILabel : public IControl {
 public:
  static ILabel* Create(SkinContext* skin, u8 capacity);
  // The text at (left, top) in the normal text colour, whatever the state.
  void Draw(Surface* target) override;

 protected:
  ILabel() = default;
};

class IFormattedLabel : public ILabel {
 public:
  static IFormattedLabel* Create(SkinContext* skin, u8 capacity);
  // Copies the style and marks the label dirty.
  void SetStyle(const TextStyle& newStyle);
  void Draw(Surface* target) override;

  TextStyle style;

 protected:
  IFormattedLabel() = default;
};
