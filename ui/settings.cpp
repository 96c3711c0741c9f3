#include "ui/settings.h"

#include <cstdio>
#include <cstring>

#include "platform/record_file.h"
#include "ui/language.h"

void SettingsRecord::SetDefaults() {
  aimTimeLimit = 0;
  skill = kSkillEasyRide;
  countShots = 0;
  sound = 1;
  music = 1;
  volume = 1;
  autosave = 0;
  controls = 1;
  score = 0;
  playerName[0] = 0;
  reserved42[0] = 0;
  reserved102 = 1;
  gameStarted = 0;
  reserved104 = 0;
  language = kLanguageEnglish;
  background = kDefaultBackground;
  windowMode = 0;
  level = 0;
  std::memset(reserved116, 0, sizeof(reserved116));
  currentColour = 0;
  nextColour = 0;
  levelCounters[0] = 0;
  levelCounters[1] = 0;
  colourCount = 6;
  aimTicks = 0;
  shadows = 1;
  physics = 1;
}

void SettingsRecord::Reset() {
  std::memset(Bytes(), 0, sizeof(*this));
  SetDefaults();
}

void SettingsRecord::Sanitize() {
  playerName[sizeof(playerName) - 1] = 0;
  if (skill > kSkillMaster) skill = kSkillMaster;
  if (volume > 2) volume = 2;
  if (controls > 1) controls = 1;
  if (language != kLanguageEnglish && language != kLanguageFrench) language = kLanguageEnglish;
}

u32 SettingsRecord::Load() {
  if (!ReadRecordFile(kRecordSettings, Bytes(), kSettingsRecordSize)) {
    SetDefaults();
    return 0;
  }
  Sanitize();
  return 1;
}

u32 SettingsRecord::Save() const {
  return WriteRecordFile(kRecordSettings, Bytes(), kSettingsRecordSize);
}

i32 SettingsRecord::Top10RecordNumber() const { return kRecordTop10Base + 4 * skill; }

void SettingsRecord::SkillName(char* out, std::size_t size, const GLanguage& table) const {
  if (size == 0) return;
  const char* name = skill <= kSkillMaster ? table.GetString(kTextEasyRide + skill) : "";
  std::snprintf(out, size, "%s", name);
}
