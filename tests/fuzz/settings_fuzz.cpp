// Feeds arbitrary record-50 files through the settings load: the record
// reader, the unscramble and the sanitiser, then the helpers that index
// tables with the loaded values. Then the game starts as the program
// starts it, with what was loaded, leaves the title and plays a few hundred
// ticks with the keys and the pointer.
// fuzz-links: shell
#include <cstdlib>
#include <cstring>

#include "audio/sound_manager.h"
#include "game/board.h"
#include "game/game.h"
#include "shell/gwindow.h"
#include "tests/fuzz/record_fuzz_support.h"
#include "ui/app_context.h"
#include "ui/language.h"
#include "ui/settings.h"

namespace {

GLanguage* g_table = nullptr;

void SetUp() {
  record_fuzz::UsePrivateDirectory(kRecordSettings);
  g_SoundEnabled = 0;  // no device and no sound thread
  g_table = GLanguage::Create();
}

void CheckLoad(size_t size) {
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
}

// The player's part of one tick: Left held for a while, a Space pull, a
// click on the table and a quick tap, over and over.
void Play(GWindow& window, int tick) {
  constexpr u32 kXkLeft = 0xff51, kXkUp = 0xff52, kXkSpace = 0x20;
  const int t = tick % 50;
  if (t == 0) window.OnKeyDown(kXkLeft);
  if (t == 10) window.OnKeyUp(kXkLeft);
  if (t == 15) window.OnKeyDown(kXkSpace);
  if (t == 25) window.OnKeyUp(kXkSpace);
  if (t == 35) {
    window.OnMouseDown(231, 120);
    window.OnMouseUp(231, 120);
  }
  if (t == 40) {
    window.OnKeyDown(kXkUp);
    window.OnKeyUp(kXkUp);
  }
}

// Starts the game on an offscreen window as the program does, so that it
// reads record 50 itself, and plays.
void PlayWithLoadedSettings() {
  GWindow window;
  window.CreateOffscreen(640, 480);
  window.OnCreate();
  if (!window.game) std::abort();
  GGame& game = *static_cast<GGame*>(window.game);
  window.PollGameResult();  // the first key leaves the title
  for (int tick = 0; tick < 250; ++tick) {
    Play(window, tick);
    window.OnTimer(20);
    if (game.State() > kLastGameState) std::abort();
    if (game.cueBall.colour > Board::kMaxColours) std::abort();
  }
  for (int i = 0; i < Board::kCells; ++i) {
    if (game.GetBoard().Cell(i / Board::kColumns, i % Board::kColumns).colour > Board::kMaxColours) {
      std::abort();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
  if (!g_table) SetUp();
  record_fuzz::WriteInput(data, size);
  CheckLoad(size);
  PlayWithLoadedSettings();
  return 0;
}
