// Feeds arbitrary record-50 files through the settings load: the record
// reader, the unscramble and the sanitiser, then the helpers that index
// tables with the loaded values.
// fuzz-links: ui
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <unistd.h>

#include "platform/record_file.h"
#include "platform/startup.h"
#include "ui/language.h"
#include "ui/settings.h"

namespace {

GLanguage* g_table = nullptr;
std::string g_file;
char g_dir[] = "/tmp/dorrimac-settings-fuzz-XXXXXX";

void CleanUp() {
  unlink(g_file.c_str());
  rmdir(g_dir);
}

void SetUp() {
  if (!mkdtemp(g_dir)) std::abort();
  std::atexit(CleanUp);
  std::snprintf(g_UserDir, sizeof(g_UserDir), "%s/", g_dir);
  char name[2048];
  RecordFileName(kRecordSettings, name, sizeof(name));
  g_file = name;
  g_table = GLanguage::Create();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
  if (!g_table) SetUp();
  if (std::FILE* f = std::fopen(g_file.c_str(), "wb")) {
    std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  SettingsRecord record;
  record.Reset();
  const u32 loaded = record.Load();
  if (loaded != (size >= kSettingsRecordSize ? 1u : 0u)) std::abort();

  // Whatever the file held, the record is now safe to use.
  if (record.skill > kSkillMaster || record.volume > 2 || record.controls > 1) std::abort();
  if (std::strlen(record.playerName) >= sizeof(record.playerName)) std::abort();
  g_table->SetLanguage(record.language);
  char name[32];
  record.SkillName(name, sizeof(name), *g_table);
  if (name[0] == 0) std::abort();
  const i32 top10 = record.Top10RecordNumber();
  if (top10 < 100 || top10 > 112) std::abort();
  return 0;
}
