// Saved games: the snapshot as the player aims, the record written and read
// back into a game that goes on where it was, and the records refused.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/record_file.h"
#include "tests/game/game_rig.h"

namespace {

using game_testing::GameRig;

std::vector<u8> ReadRecord(i32 number) {
  std::vector<u8> bytes(kSaveRecordSize);
  if (!ReadRecordFile(number, bytes.data(), kSaveRecordSize)) bytes.clear();
  return bytes;
}

std::vector<u8> Bytes(const SaveRecord& r) { return {r.Bytes(), r.Bytes() + kSaveRecordSize}; }

// Plays shots straight up until the game has moved on a few shots.
void PlayShots(GameRig& rig, int shots) {
  for (int i = 0; i < shots && rig.game->State() == kStatePlayerAims; ++i) {
    rig.Click(231, 240);
    rig.Tick();
    rig.TickUntilAiming();
  }
}

// Saved, then loaded into a game that has moved on: it flies in again and
// its next snapshot is the saved record byte for byte.
TEST(GameSaveTest, SaveAndLoadRestoreEveryField) {
  GameRig rig(67, [](SettingsRecord& s) { s.aimTimeLimit = 1; });
  ASSERT_TRUE(rig.StartPlaying());
  PlayShots(rig, 4);
  rig.Tick(7);  // aim ticks go into the record
  rig.game->SnapshotSave();
  rig.Settings().levelCounters[0] = 3;  // kept by the record, cleared only by a new level
  rig.game->SnapshotSave();
  ASSERT_EQ(rig.game->SaveGame(kRecordDemoInterrupt), 1);
  const std::vector<u8> saved = Bytes(rig.game->SaveBuffer());
  EXPECT_EQ(ReadRecord(kRecordDemoInterrupt), saved);

  rig.game->StartDemo();
  rig.Tick(200);
  ASSERT_EQ(rig.game->LoadGame(kRecordDemoInterrupt), 1);
  EXPECT_EQ(rig.game->runState, kRunPlaying);
  EXPECT_EQ(rig.game->demo, 0);
  EXPECT_EQ(rig.game->State(), kStateFlyIn);
  ASSERT_TRUE(rig.TickUntil(kStatePlayerAims));
  EXPECT_EQ(Bytes(rig.game->SaveBuffer()), saved);
  EXPECT_EQ(rig.Settings().levelCounters[0], 3);
  EXPECT_EQ(rig.game->ScoreDisplay().Value(), static_cast<i32>(rig.Settings().score));
}

// A loaded level keeps the skill's colour count without the level term
// until the next level starts.
TEST(GameSaveTest, LoadedLevelKeepsTheSkillsColourCount) {
  GameRig rig(71);
  ASSERT_TRUE(rig.StartPlaying());
  SaveRecord record = rig.game->SaveBuffer();
  record.level = 5;
  record.colourCount = 6;
  ASSERT_EQ(WriteRecordFile(kRecordAutosave, record.Bytes(), kSaveRecordSize), 1u);
  ASSERT_EQ(rig.game->LoadGame(kRecordAutosave), 1);
  EXPECT_EQ(rig.Settings().level, 5);
  EXPECT_EQ(rig.Settings().colourCount, 4);
  EXPECT_EQ(rig.game->LevelDisplay().Value(), 6);
}

TEST(GameSaveTest, RefusedRecordsChangeNothing) {
  GameRig rig(73);
  ASSERT_TRUE(rig.StartPlaying());
  SaveRecord good = rig.game->SaveBuffer();
  const SettingsRecord before = rig.Settings();
  const std::vector<u8> buffer = Bytes(rig.game->SaveBuffer());

  auto refused = [&](const SaveRecord& r, const char* why) {
    ASSERT_EQ(WriteRecordFile(kRecordAutosave, r.Bytes(), kSaveRecordSize), 1u);
    EXPECT_EQ(rig.game->LoadGame(kRecordAutosave), 0) << why;
    EXPECT_EQ(rig.game->State(), kStatePlayerAims) << why;
    EXPECT_EQ(std::memcmp(&rig.Settings(), &before, sizeof before), 0) << why;
    EXPECT_EQ(Bytes(rig.game->SaveBuffer()), buffer) << why;
  };
  SaveRecord r = good;
  r.valid = 0;
  refused(r, "a finished game");
  r = good;
  r.cells[10][4] = 9;
  refused(r, "a foreign cell colour");
  r = good;
  r.cells[0][0] = 255;
  refused(r, "a foreign cell colour");
  r = good;
  r.nextColour = 12;
  refused(r, "a foreign ball colour");
  r = good;
  r.currentColour = 0;
  refused(r, "a ball without a colour");
  EXPECT_EQ(rig.game->LoadGame(kRecordDemoInterrupt), 0);  // no such record
  EXPECT_EQ(rig.game->runState, kRunPlaying);
  EXPECT_EQ(rig.GetBoard().Cell(10, 4).colour, good.cells[10][4]);

  // A record of colours 0..8 everywhere is taken.
  r = good;
  r.cells[3][3] = 8;
  ASSERT_EQ(WriteRecordFile(kRecordAutosave, r.Bytes(), kSaveRecordSize), 1u);
  EXPECT_EQ(rig.game->LoadGame(kRecordAutosave), 1);
  EXPECT_EQ(rig.GetBoard().Cell(3, 3).colour, 8);
}

// After a game over or a cleared table the snapshot is invalid, and so is
// a record written from it; a new game invalidates it at once.
TEST(GameSaveTest, RecordOfAFinishedGameIsRefused) {
  GameRig rig(79);
  ASSERT_TRUE(rig.StartPlaying());
  EXPECT_EQ(rig.game->SaveBuffer().valid, 1);
  rig.game->NewGame();  // leaving during the fly-in of a new game
  EXPECT_EQ(rig.game->State(), kStateFlyIn);
  ASSERT_EQ(rig.game->SaveGame(kRecordAutosave), 1);
  EXPECT_EQ(ReadRecord(kRecordAutosave)[588], 0);
  EXPECT_EQ(rig.game->LoadGame(kRecordAutosave), 0);

  ASSERT_TRUE(rig.TickUntil(kStatePlayerAims));
  rig.Put(25, 3, 1);
  rig.Put(25, 4, 2);
  rig.Click(231, 240);
  ASSERT_TRUE(rig.TickUntil(kStateGameOver));
  ASSERT_EQ(rig.game->SaveGame(kRecordAutosave), 1);
  EXPECT_EQ(rig.game->LoadGame(kRecordAutosave), 0);
  EXPECT_EQ(rig.game->State(), kStateGameOver);
}

}  // namespace
