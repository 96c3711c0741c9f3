#include "ui/settings.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/record_file.h"
#include "platform/startup.h"
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

namespace {

// After a failed read: true when the record is there, whole, and still
// could not be read.
bool RecordUnreadable(i32 number, u32 size) {
  char name[sizeof(g_UserDir) + 32];
  if (!RecordFileName(number, name, sizeof name)) return false;
  struct stat st;
  if (stat(name, &st) != 0) return errno != ENOENT && errno != ENOTDIR;
  return !S_ISREG(st.st_mode) || st.st_size >= static_cast<off_t>(size);
}

}  // namespace

u32 SettingsRecord::Load(bool* unreadable) {
  if (unreadable) *unreadable = false;
  if (!ReadRecordFile(kRecordSettings, Bytes(), kSettingsRecordSize)) {
    if (unreadable) *unreadable = RecordUnreadable(kRecordSettings, kSettingsRecordSize);
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
