#include "shell/bg_color_wnd.h"

#include <algorithm>
#include <cstring>

#include "platform/key_codes.h"
#include "platform/system.h"
#include "platform/window.h"
#include "ui/alert.h"
#include "ui/app_context.h"
#include "ui/controls/button.h"
#include "ui/controls/frame.h"
#include "ui/controls/rect_control.h"
#include "ui/font.h"
#include "ui/game_interface.h"
#include "ui/language.h"
#include "ui/place_rect.h"
#include "ui/settings.h"
#include "ui/wnd_manager.h"

const u32 kBgColorTable[kBgColorRows * kBgColorColumns] = {
    0xFFBFBF, 0xFFEFBF, 0xDFFFBF, 0xBFFFCF, 0xBFF4FF, 0xBFCFFF, 0xDFBFFF, 0xFFBFEF,
    0xFF8080, 0xFFDF80, 0xBFFF80, 0x80FF9F, 0x80FFFF, 0x809FFF, 0xBF80FF, 0xFF80DF,
    0xFF4040, 0xFFCF40, 0x9FFF40, 0x40FF70, 0x40FFFF, 0x4070FF, 0x9F40FF, 0xFF40CF,
    0xFF1A1A, 0xFFC61A, 0x8CFF1A, 0x1AFF53, 0x1AFFFF, 0x1A53FF, 0x8C1AFF, 0xFF1AC6,
    0xBF6060, 0xBFA760, 0x8FBF60, 0x60BF78, 0x60BFBF, 0x6078BF, 0x8F60BF, 0xBF60A7,
    0xBF3030, 0xBF9B30, 0x78BF30, 0x30BF54, 0x30BFBF, 0x3054BF, 0x7830BF, 0xBF309B,
    0x800000, 0x806000, 0x408000, 0x008020, 0x008080, 0x002080, 0x400080, 0x800060,
    0xFFFFFF, 0xE0E0E0, 0xC0C0C0, 0xA0A0A0, 0x808080, 0x606060, 0x404040, 0xC0C0FF,
};

namespace {

constexpr i16 kBgColorControls = 100;
constexpr int kBoxWidth = 316;
constexpr int kBoxHeight = 376;
constexpr int kSwatchSide = 37;  // neighbouring swatches touch
constexpr u8 kSwatchGroup = 1;
constexpr int kLandingColumn = 4;  // Up from Ok lands in the last row here

}  // namespace

IBgColorWnd* IBgColorWnd::Create(IWndManager* window, i16 result) {
  IBgColorWnd* screen = new IBgColorWnd();
  CheckAlloc(screen);
  screen->Init(window, result);
  return screen;
}

void IBgColorWnd::Init(IWndManager* window, i16 code) {
  context = window->context;
  skin = context->skin;
  const GLanguage& language = *context->language;
  windowFrame = IWinFrame::Create(skin, TextCapacity(language.GetString(kTextBgColor)));
  for (auto& row : swatches)
    for (IRectControl*& swatch : row) swatch = IRectControl::Create(skin);
  ok = IButton::Create(skin, TextCapacity(language.GetString(kTextOk)));
  cancel = IButton::Create(skin, TextCapacity(language.GetString(kTextCancel)));
  IInterface::Init(window, kBgColorControls, code);
}

i32 IBgColorWnd::OnInit() {
  const GLanguage& language = *context->language;
  const char* okText = language.GetString(kTextOk);
  const char* cancelText = language.GetString(kTextCancel);
  const int buttonWidth = DialogButtonWidth(skin, language);
  Rect box(0, 0, kBoxWidth - 1, kBoxHeight - 1);
  PlaceRect(box, Rect(0, 0, window->Width() - 1, window->Height() - 1), kPlaceCentre, 0);
  frame = box;

  IInterface::OnInit();
  windowFrame->Place(box, language.GetString(kTextBgColor));
  windowFrame->SetState(kControlDisabled);
  AddControl(windowFrame);

  PlaceSwatches(box);
  Rect cancelRect(0, 0, buttonWidth - 1, kButtonHeight - 1);
  PlaceRect(cancelRect, box, kPlaceBottomRight, 10);
  const Rect okRect(cancelRect.left - 10 - buttonWidth, cancelRect.top, cancelRect.left - 11,
                    cancelRect.bottom);
  ok->Place(okRect, okText);
  cancel->Place(cancelRect, cancelText);
  AddControl(ok);
  AddControl(cancel);
  SetState(kScreenOpening);
  SetFocusTo(ok);
  chosen = nullptr;
  return 1;
}

void IBgColorWnd::PlaceSwatches(const Rect& box) {
  const u32 stored = context->settings->background;
  IRectControl* checkedSwatch = swatches[kBgColorRows - 1][kBgColorColumns - 1];
  for (int r = 0; r < kBgColorRows; ++r) {
    for (int c = 0; c < kBgColorColumns; ++c) {
      IRectControl* swatch = swatches[r][c];
      const int left = box.left + 10 + kSwatchSide * c, top = box.top + 28 + kSwatchSide * r;
      swatch->Place(Rect(left, top, left + kSwatchSide - 1, top + kSwatchSide - 1), nullptr);
      swatch->colour = kBgColorTable[r * kBgColorColumns + c];
      swatch->groupId = kSwatchGroup;
      if (swatch->colour == stored) checkedSwatch = swatch;
      AddControl(swatch);
    }
  }
  // The table's colours are all different; a colour not in it checks the
  // last swatch.
  checkedSwatch->SetChecked(1);
  colour = checkedSwatch->colour;
}

i32 IBgColorWnd::Tick() {
  IInterface::Tick();
  if (state != kScreenOpen || !chosen) return 1;
  if (chosen == ok) {
    resume = 0;
    ApplyColour();
    SetState(kScreenClosing);
  } else if (chosen == cancel) {
    resume = 1;
    SetState(kScreenClosing);
  } else if (chosen->groupId == kSwatchGroup) {
    const int n = GetGroupIndex(kSwatchGroup);
    if (n >= 0 && n < kBgColorRows * kBgColorColumns)
      colour = swatches[n / kBgColorColumns][n % kBgColorColumns]->colour;
  }
  chosen = nullptr;
  return 1;
}

void IBgColorWnd::ApplyColour() {
  IWndManager* manager = Manager();
  context->settings->background = colour;
  if (manager->game) {
    manager->game->background = colour;
    manager->game->clearFlag = 1;
  }
  background = colour;
  clearFlag = 1;
  // The scene under the screen, and the screens below it, in the new colour.
  DrawAll();
  if (screenStack) {
    for (int i = 0; i + 1 < screenStack->Count(); ++i) screenStack->At(i)->DrawAllControls();
  }
  window->UpdateRect(Rect(0, 0, window->Width() - 1, window->Height() - 1));
}

bool IBgColorWnd::FocusedSwatch(int& row, int& column) const {
  const int n = focus - SwatchIndex(0, 0);
  if (n < 0 || n >= kBgColorRows * kBgColorColumns) return false;
  row = n / kBgColorColumns;
  column = n % kBgColorColumns;
  return true;
}

i32 IBgColorWnd::OnKeyDown(u32 keysym) {
  if (state != kScreenOpen) return 0;
  const u32 key = KeysymToKey(keysym);
  int row = 0, column = 0;
  const bool onSwatch = FocusedSwatch(row, column);
  const int okIndex = 1 + kBgColorRows * kBgColorColumns;  // right after the table
  if (key == kKeyDown && onSwatch) {
    SetFocus(row + 1 < kBgColorRows ? SwatchIndex(row + 1, column) : okIndex);
  } else if (key == kKeyUp && FocusedControl() == ok) {
    SetFocus(SwatchIndex(kBgColorRows - 1, kLandingColumn));
  } else if (key == kKeyUp && onSwatch) {
    SetFocus(row > 0 ? SwatchIndex(row - 1, column) : okIndex);
  } else if (key == kKeyReturn) {
    chosen = ok;
  } else if (key == kKeyEscape) {
    SetState(kScreenClosing);  // resume stays 1: nothing is delivered
  } else {
    return IInterface::OnKeyDown(keysym);
  }
  return 1;
}
