// Saved games: the snapshot as the player aims, the record written and read
// back into a game that goes on where it was, and the records refused.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/record_file.h"
#include "tests/game/game_rig.h"

namespace {

using game_testing::GameRig;
using Bytes = std::vector<u8>;

Bytes ReadRecord(i32 number) {
  Bytes bytes(kSaveRecordSize);
  if (!ReadRecordFile(number, bytes.data(), kSaveRecordSize)) bytes.clear();
  return bytes;
}

Bytes BytesOf(const SaveRecord& r) { return {r.Bytes(), r.Bytes() + kSaveRecordSize}; }

void Write(const SaveRecord& r) { ASSERT_EQ(WriteRecordFile(kRecordAutosave, r.Bytes(), kSaveRecordSize), 1u); }

// Saved after a few shots, then loaded into a game that has moved on: it
// flies in again and its next snapshot is the saved record byte for byte.
TEST(GameSaveTest, SaveAndLoadRestoreEveryField) {
  GameRig rig(67, [](SettingsRecord& s) { s.aimTimeLimit = 1; });
  ASSERT_TRUE(rig.StartPlaying());
  for (int i = 0; i < 4 && rig.game->State() == kStatePlayerAims; ++i) {
    rig.Click(231, 240);
    rig.Tick();
    rig.TickUntilAiming();
  }
  rig.Tick(7);  // aim ticks go into the record
  rig.Settings().levelCounters[0] = 3;  // kept by the record, cleared only by a new level
  rig.game->SnapshotSave();
  ASSERT_EQ(rig.game->SaveGame(kRecordDemoInterrupt), 1);
  const Bytes saved = BytesOf(rig.game->SaveBuffer());
  EXPECT_EQ(ReadRecord(kRecordDemoInterrupt), saved);

  rig.game->StartDemo();
  rig.Tick(200);
  ASSERT_EQ(rig.game->LoadGame(kRecordDemoInterrupt), 1);
  EXPECT_EQ(rig.game->runState, kRunPlaying);
  EXPECT_EQ(rig.game->demo, 0);
  EXPECT_EQ(rig.game->State(), kStateFlyIn);
  ASSERT_TRUE(rig.TickUntil(kStatePlayerAims));
  EXPECT_EQ(BytesOf(rig.game->SaveBuffer()), saved);
  EXPECT_EQ(rig.game->ScoreDisplay().Value(), static_cast<i32>(rig.Settings().score));
}

// A record of a finished game or with a colour outside 1..8 (0..8 for a
// cell) is refused before anything changes; a new game starts instead.
TEST(GameSaveTest, RefusedRecordsChangeNothing) {
  GameRig rig(73);
  ASSERT_TRUE(rig.StartPlaying());
  const SaveRecord good = rig.game->SaveBuffer();
  const SettingsRecord before = rig.Settings();
  const Bytes buffer = BytesOf(good);

  const struct {
    void (*spoil)(SaveRecord&);
    const char* why;
  } cases[] = {{[](SaveRecord& r) { r.valid = 0; }, "a finished game"},
               {[](SaveRecord& r) { r.cells[10][4] = 9; }, "a foreign cell colour"},
               {[](SaveRecord& r) { r.cells[0][0] = 255; }, "a foreign cell colour"},
               {[](SaveRecord& r) { r.nextColour = 12; }, "a foreign ball colour"},
               {[](SaveRecord& r) { r.currentColour = 0; }, "a ball without a colour"}};
  for (const auto& k : cases) {
    SaveRecord r = good;
    k.spoil(r);
    Write(r);
    EXPECT_EQ(rig.game->LoadGame(kRecordAutosave), 0) << k.why;
    EXPECT_EQ(rig.game->State(), kStatePlayerAims) << k.why;
    EXPECT_EQ(std::memcmp(&rig.Settings(), &before, sizeof before), 0) << k.why;
    EXPECT_EQ(BytesOf(rig.game->SaveBuffer()), buffer) << k.why;
  }
  EXPECT_EQ(rig.game->LoadGame(kRecordDemoInterrupt), 0);  // no such record
  EXPECT_EQ(rig.GetBoard().Cell(10, 4).colour, good.cells[10][4]);

  // Colours 0..8 everywhere are taken. The loaded level keeps the skill's
  // colour count without the level term until the next level starts.
  SaveRecord r = good;
  r.cells[3][3] = 8;
  r.level = 5;
  r.colourCount = 6;
  Write(r);
  EXPECT_EQ(rig.game->LoadGame(kRecordAutosave), 1);
  EXPECT_EQ(rig.GetBoard().Cell(3, 3).colour, 8);
  EXPECT_EQ(rig.Settings().level, 5);
  EXPECT_EQ(rig.Settings().colourCount, 4);
  EXPECT_EQ(rig.game->LevelDisplay().Value(), 6);
}

// A new game invalidates the snapshot at once: leaving during its fly-in
// writes a record that is refused, not the old position.
TEST(GameSaveTest, ANewGameInvalidatesTheSnapshot) {
  GameRig rig(79);
  ASSERT_TRUE(rig.StartPlaying());
  rig.game->NewGame();
  ASSERT_EQ(rig.game->SaveGame(kRecordAutosave), 1);
  EXPECT_EQ(ReadRecord(kRecordAutosave)[588], 0);
  EXPECT_EQ(rig.game->LoadGame(kRecordAutosave), 0);
}

}  // namespace
