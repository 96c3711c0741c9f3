// Feeds arbitrary record-50 files through the settings load: the record
// reader, the unscramble and the sanitiser, then the helpers that index
// tables with the loaded values.
// fuzz-links: ui
#include <cstdlib>
#include <cstring>

#include "tests/fuzz/record_fuzz_support.h"
#include "ui/language.h"
#include "ui/settings.h"

namespace {

GLanguage* g_table = nullptr;

void SetUp() {
  record_fuzz::UsePrivateDirectory(kRecordSettings);
  g_table = GLanguage::Create();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
  if (!g_table) SetUp();
  record_fuzz::WriteInput(data, size);
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
