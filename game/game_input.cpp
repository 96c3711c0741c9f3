// Game input: one held key for the aiming and the cue pull (the tick acts
// on it), the pointer on the table and the cue strip with the Pen controls,
// and the five window buttons in both styles.
#include <algorithm>
#include <array>

#include "game/game.h"
#include "platform/key_codes.h"
#include "platform/window.h"
#include "ui/settings.h"
#include "ui/wnd_manager.h"

namespace {

constexpr u8 kCmdMenu = 103;
constexpr u8 kCmdHelp = 109;
constexpr u8 kButtonPressed = 2;
constexpr u8 kButtonReleased = 1;

}  // namespace

i32 GGame::OnKeyDown(u32 keysym) {
  // One key at a time: further keys are ignored while one is held.
  if (heldKey == 0) {
    heldKey = KeysymToKey(keysym);
    keyTicked = 0;
  }
  return 1;
}

i32 GGame::OnKeyUp(u32 /*keysym*/) {
  // A key pressed and released between two ticks stays held until the
  // next tick has seen it, so that a quick tap is not lost.
  if (heldKey != 0 && !keyTicked) {
    keyUpDue = 1;
  } else {
    LetGoKey();
  }
  return 1;
}

void GGame::LetGoKey() {
  heldKey = 0;
  keyTicks = 0;
  spaceLatch = 0;
  keyTicked = 0;
  keyUpDue = 0;
}

std::array<GMenuButton*, 5> GGame::Buttons() {
  return {&menuButton_, &minButton_, &maxButton_, &helpButton_, &closeButton_};
}

GMenuButton* GGame::ButtonAt(int x, int y) {
  for (GMenuButton* b : Buttons()) {
    if (HitTestClip(*b, x, y, pack)) return b;
  }
  return nullptr;
}

i32 GGame::OnMouseDown(i16 x, i16 y) {
  if (state == kStateTitle || state == kStateAfterGame) {
    SetState(kStateClearEffects);
    return 1;
  }
  if (state >= kStateNewGame && state <= kStateGameOver) {
    if (GMenuButton* b = ButtonAt(x, y)) {
      if (b == &menuButton_) {
        SendCommand(kCmdMenu);
      } else {
        b->SetState(kButtonPressed);
      }
      return 1;
    }
  }
  if (settings_->controls == kControlsPen) PenClick(x, y);
  return 1;
}

// A click on the cue strip sets the power; a click on the table while the
// player aims shoots at that point.
void GGame::PenClick(int x, int y) {
  const i32 power = cue_.ValueAt(x, y);
  if (power > 0) {
    // Kept within the powers a shot has, not only shown so.
    cuePower = std::clamp(power, kOne, 8 * kOne);
    cue_.SetPower(cuePower);
  }
  if (state != kStatePlayerAims) return;
  const i32 px = x * kOne, py = y * kOne;
  if (!aimer_.ClampPoint(px, py, 0)) return;
  aimer_.MoveTarget(static_cast<i16>((px - aimer_.targetX) >> 8),
                    static_cast<i16>((py - aimer_.targetY) >> 8));
  SetState(kStateShot);
}

i32 GGame::OnMouseUp(i16 x, i16 y) {
  // The menu button acts on the press; the others when the pointer comes
  // up over them. Released anywhere else, a button only loses its pressed
  // look.
  for (GMenuButton* b : Buttons()) {
    if (b != &menuButton_ && b->state == kButtonPressed) {
      b->SetState(kButtonReleased);
      if (HitTestClip(*b, x, y, pack)) ButtonAction(*b);
      break;
    }
  }
  return 1;
}

void GGame::ButtonAction(GMenuButton& button) {
  if (&button == &minButton_) {
    if (window) window->Show(false);
  } else if (&button == &maxButton_) {
    settings_->windowMode = settings_->windowMode ? 0 : 1;
    if (window) window->SetFullScreen(settings_->windowMode);
  } else if (&button == &helpButton_) {
    SendCommand(kCmdHelp);
  } else {
    SendCommand(kCmdExit);
  }
}
