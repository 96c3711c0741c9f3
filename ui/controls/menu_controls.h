// The popup menu's pieces: its frame with a band down the left side, and
// its items (a text, or a separator line for a text beginning with '-').
#pragma once

#include "ui/controls/control.h"

class IMenuFrame : public IControl {
 public:
  static IMenuFrame* Create(SkinContext* skin, u8 capacity);
  // Border and left band; drawn in every state. The text is not drawn.
  void Draw(Surface* target) override;

 protected:
  IMenuFrame() = default;
};

class IMenuItem : public IControl {
 public:
  static IMenuItem* Create(SkinContext* skin, u8 capacity);
  void Draw(Surface* target) override;
  // True for a separator (text beginning with '-').
  bool IsSeparator() const { return text && text[0] == '-'; }

  u8 commandId = 0;  // the menu's result when the item is chosen; set by the menu

 protected:
  IMenuItem() = default;
};
