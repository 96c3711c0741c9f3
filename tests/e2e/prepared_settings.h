// The settings record the end-to-end runs start with: the defaults, with
// Autosave on, the given controls and the Sound option as given.
#pragma once

#include <vector>

#include "ui/settings.h"

inline std::vector<unsigned char> PreparedSettings(u8 controls, u8 sound = 1) {
  SettingsRecord settings;
  settings.Reset();
  settings.autosave = 1;
  settings.controls = controls;
  settings.sound = sound;
  return std::vector<unsigned char>(settings.Bytes(), settings.Bytes() + kSettingsRecordSize);
}
