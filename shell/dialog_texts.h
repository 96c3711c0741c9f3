// Small helpers the game's dialogs share: the width of a text of the
// current language and the capacity a control's text buffer needs for it.
#pragma once

#include <algorithm>
#include <cstring>

#include "ui/alert.h"
#include "ui/app_context.h"
#include "ui/controls/control.h"
#include "ui/font.h"
#include "ui/language.h"

// The width of the current language's text of an id in the skin's font.
inline int DialogTextWidth(const AppContext& context, i16 id) {
  return TextWidth(context.skin, context.language->GetString(id));
}

// A control's text capacity for the current text of an id: its length, as
// far as the 8-bit capacity reaches.
inline u8 DialogTextCapacity(const AppContext& context, i16 id) {
  return TextCapacity(context.language->GetString(id));
}

// Push buttons are as wide as the wider of the Ok and Cancel texts plus 20.
inline int DialogButtonWidth(const AppContext& context) {
  return DialogButtonWidth(context.skin, *context.language);
}
