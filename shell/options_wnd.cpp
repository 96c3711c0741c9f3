#include "shell/options_wnd.h"

#include <algorithm>

#include "audio/music_player.h"
#include "platform/key_codes.h"
#include "platform/system.h"
#include "shell/dialog_texts.h"
#include "ui/app_context.h"
#include "ui/controls/button.h"
#include "ui/controls/check_box.h"
#include "ui/controls/control_drawing.h"
#include "ui/controls/frame.h"
#include "ui/controls/radio_button.h"
#include "ui/font.h"
#include "ui/language.h"
#include "ui/settings.h"
#include "ui/wnd_manager.h"

namespace {

constexpr i16 kOptionsControls = 40;
constexpr u8 kRadioCapacity = 10;
constexpr int kOptionsHeight = 240;
constexpr int kToggleHeight = 18;

}  // namespace

GOptionsWnd* GOptionsWnd::Create(IWndManager* window, i16 closeCommand) {
  GOptionsWnd* screen = new GOptionsWnd();
  CheckAlloc(screen);
  screen->Init(window, closeCommand);
  return screen;
}

void GOptionsWnd::Init(IWndManager* window, i16 closeCommand) {
  context = window->context;
  skin = context->skin;
  const AppContext& c = *context;
  title = IWinFrame::Create(skin, DialogTextCapacity(c, kTextOptions));
  for (IRadioButton*& radio : volume) radio = IRadioButton::Create(skin, kRadioCapacity);
  for (IRadioButton*& radio : controlStyle) radio = IRadioButton::Create(skin, kRadioCapacity);
  physics = ICheckBox::Create(skin, DialogTextCapacity(c, kTextPhysics));
  ok = IButton::Create(skin, DialogTextCapacity(c, kTextOk));
  cancel = IButton::Create(skin, DialogTextCapacity(c, kTextCancel));
  autosave = ICheckBox::Create(skin, DialogTextCapacity(c, kTextAutosave));
  sound = ICheckBox::Create(skin, DialogTextCapacity(c, kTextSound));
  music = ICheckBox::Create(skin, DialogTextCapacity(c, kTextMusic));
  volumeFrame = IFrame::Create(skin, DialogTextCapacity(c, kTextVolume));
  controlsFrame = IFrame::Create(skin, DialogTextCapacity(c, kTextControls));
  IInterface::Init(window, kOptionsControls, closeCommand);
}

i32 GOptionsWnd::OnInit() {
  IInterface::OnInit();
  const AppContext& c = *context;
  const auto tw = [&](i16 id) { return DialogTextWidth(c, id); };
  const int cw = ImageWidth(skin, kCheckOff);
  const int rw = ImageWidth(skin, kRadioOff);
  const int bw = DialogButtonWidth(c);

  // Wide enough for each row of the dialog and for every caption; Skins
  // and BGColor have no control here but keep the dialog's width.
  int width = std::max({std::max(20, tw(kTextSound) + tw(kTextMusic) + 4 * cw + 30),
                        tw(kTextLow) + tw(kTextMedium) + tw(kTextHigh) + 6 * rw + 60,
                        tw(kTextKeys) + tw(kTextPen) + 4 * rw + 30, tw(kTextVolume) + 20,
                        tw(kTextControls) + 20, tw(kTextSkins) + 20, tw(kTextAutosave) + 20,
                        tw(kTextBgColor) + 60 + 2 * bw});
  width = std::min(width, window->Width() - 2);
  const int ww = window->Width(), wh = window->Height();
  frame = Rect((ww - width) / 2, (wh - kOptionsHeight) / 2, (ww + width) / 2,
               (wh + kOptionsHeight) / 2);
  title->Place(frame, c.language->GetString(kTextOptions));
  title->SetState(kControlDisabled);

  PlaceToggles(cw);
  PlaceGroups(rw);
  const Rect& f = frame;
  // Autosave centred under the Controls frame.
  const int autosaveLeft = (f.left + f.right - 2 * cw - tw(kTextAutosave)) / 2;
  const int cb = controlsFrame->rect.bottom;
  const int autosaveRight = autosaveLeft + tw(kTextAutosave) + 2 * cw - 1;
  autosave->Place(Rect(autosaveLeft, cb + 10, autosaveRight, cb + 27),
                  c.language->GetString(kTextAutosave));
  autosave->SetChecked(c.settings->autosave == 1);
  ok->Place(Rect(f.right - 2 * bw - 20, f.bottom - 41, f.right - bw - 21, f.bottom - 10),
            c.language->GetString(kTextOk));
  cancel->Place(Rect(f.right - bw - 10, f.bottom - 41, f.right - 11, f.bottom - 10),
                c.language->GetString(kTextCancel));

  // The list order is the focus order; the frames are disabled and skipped.
  IControl* const order[] = {title,     volumeFrame, controlsFrame,   sound,
                             physics,   music,       volume[0],       volume[1],
                             volume[2], controlStyle[0], controlStyle[1], autosave,
                             ok,        cancel};
  for (IControl* control : order) AddControl(control);
  SetState(kScreenOpening);
  SetFocusTo(ok);
  return 1;
}

// Sound and Physics down the left, Music on the right.
void GOptionsWnd::PlaceToggles(int cw) {
  const SettingsRecord& s = *context->settings;
  const GLanguage& language = *context->language;
  const auto tw = [&](i16 id) { return DialogTextWidth(*context, id); };
  const int l = frame.left, t = frame.top;
  sound->Place(Rect(l + cw, t + 28, l + cw + tw(kTextSound) + 2 * cw - 1, t + 45),
               language.GetString(kTextSound));
  sound->SetChecked(s.sound == 1);
  const int musicLeft = frame.right - 3 * cw - std::max(tw(kTextMusic), tw(kTextPhysics));
  music->Place(Rect(musicLeft, t + 28, musicLeft + tw(kTextMusic) + 2 * cw - 1, t + 45),
               language.GetString(kTextMusic));
  music->SetChecked(s.music == 1);
  physics->Place(Rect(l + cw, t + 46, l + cw + tw(kTextPhysics) + 2 * cw - 1, t + 63),
                 language.GetString(kTextPhysics));
  physics->SetChecked(s.physics == 1);
}

// The Volume and Controls frames with their radios, and Autosave below.
void GOptionsWnd::PlaceGroups(int rw) {
  const SettingsRecord& s = *context->settings;
  const GLanguage& language = *context->language;
  const auto tw = [&](i16 id) { return DialogTextWidth(*context, id); };
  const int l = frame.left, t = frame.top;
  const int groupLeft = l + rw / 2, groupRight = groupLeft + (frame.right - l) - rw - 1;

  volumeFrame->Place(Rect(groupLeft, t + 74, groupRight, t + 109), language.GetString(kTextVolume));
  volumeFrame->SetState(kControlDisabled);
  const i16 volumeTexts[3] = {kTextLow, kTextMedium, kTextHigh};
  int radiosWidth = 0;
  for (int i = 0; i < 3; ++i) {
    const int w = tw(volumeTexts[i]) + 2 * rw;
    volume[i]->Place(Rect(0, 0, w - 1, kToggleHeight - 1), language.GetString(volumeTexts[i]));
    volume[i]->groupId = kGroupVolume;
    volume[i]->SetChecked(s.volume == i);
    radiosWidth += w;
  }
  const int gap = std::max(1, (volumeFrame->rect.Width() - radiosWidth - 20) / 3);
  Rect row = volumeFrame->rect;
  row.top = static_cast<i16>(row.top + 10 - gap);
  IControl* const radios[] = {volume[0], volume[1], volume[2]};
  LayoutGrid(radios, 3, row, 1, 3, kGridColumnWidths, gap);

  const int vb = volumeFrame->rect.bottom;
  controlsFrame->Place(Rect(groupLeft, vb + 18, groupRight, vb + 53),
                       language.GetString(kTextControls));
  controlsFrame->SetState(kControlDisabled);
  const Rect& cf = controlsFrame->rect;
  const int my = (cf.top - 18 + cf.bottom) / 2, mx = (cf.left + cf.right) / 2;
  const int keysLeft = mx - tw(kTextKeys) - 2 * rw - 20, penLeft = mx + 20;
  controlStyle[0]->Place(Rect(keysLeft, my + 2, keysLeft + tw(kTextKeys) + 2 * rw - 1, my + 19),
                         language.GetString(kTextKeys));
  controlStyle[1]->Place(Rect(penLeft, my + 2, penLeft + tw(kTextPen) + 2 * rw - 1, my + 19),
                         language.GetString(kTextPen));
  for (int i = 0; i < 2; ++i) {
    controlStyle[i]->groupId = kGroupControls;
    controlStyle[i]->SetChecked(s.controls == i);
  }
}

i32 GOptionsWnd::Tick() {
  IInterface::Tick();
  if (state != kScreenOpen) return 1;
  if (chosen == ok) {
    SetState(kScreenClosing);
    Apply();
  } else if (chosen == cancel) {
    SetState(kScreenClosing);  // the resume flag stays 1: nothing changes
  }
  chosen = nullptr;
  return 1;
}

i32 GOptionsWnd::OnKeyDown(u32 keysym) {
  if (state != kScreenOpen) return 0;
  switch (KeysymToKey(keysym)) {
    case kKeyEscape:
      SetState(kScreenClosing);
      return 1;
    case kKeyReturn:
      chosen = ok;
      return 1;
    default:
      return IInterface::OnKeyDown(keysym);
  }
}

void GOptionsWnd::Apply() {
  SettingsRecord& s = *context->settings;
  resume = 0;
  s.controls = GetGroupIndex(kGroupControls) != 0 ? 1 : 0;  // Pen : Keys
  s.volume = static_cast<u8>(std::max<i16>(0, GetGroupIndex(kGroupVolume)));
  s.sound = sound->IsChecked() ? 1 : 0;
  s.music = music->IsChecked() ? 1 : 0;
  if (MusicPlayer* player = window->Music()) {
    player->SetEnabled(s.music);
    player->Play(-1);
    player->SetVolume(static_cast<i8>(s.volume));
  }
  s.autosave = autosave->IsChecked() ? 1 : 0;
  s.physics = physics->IsChecked() ? 1 : 0;
}
