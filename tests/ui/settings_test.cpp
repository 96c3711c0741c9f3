#include "ui/settings.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "platform/record_file.h"
#include "tests/ui/ui_test_support.h"
#include "ui/language.h"

namespace {

using Bytes = std::vector<u8>;

Bytes Image(const SettingsRecord& r) { return Bytes(r.Bytes(), r.Bytes() + kSettingsRecordSize); }

// The defaults as they lie on disk, before the scramble.
Bytes DefaultImage() {
  Bytes b(kSettingsRecordSize, 0);
  b[3] = b[4] = b[5] = 1;  // sound, music, medium volume
  b[7] = 1;                // pen controls
  b[102] = 1;
  b[108] = 0xFF, b[109] = 0xC0, b[110] = 0xC0, b[111] = 0x00;  // 0x00C0C0FF
  b[128] = 6;              // colours
  b[132] = b[133] = 1;     // shadows, physics
  return b;
}

TEST(Settings, DefaultImageByteForByte) {
  SettingsRecord r;
  std::memset(r.Bytes(), 0xAA, kSettingsRecordSize);
  r.Reset();
  EXPECT_EQ(Image(r), DefaultImage());

  // The defaults alone leave the alignment bytes, the name after its
  // terminator and bytes 43 to 101 as they were.
  std::memset(r.Bytes(), 0xAA, kSettingsRecordSize);
  r.SetDefaults();
  Bytes expected = DefaultImage();
  for (int i : {106, 107, 113, 129, 134, 135}) expected[i] = 0xAA;
  for (int i = 43; i <= 101; ++i) expected[i] = 0xAA;
  for (int i = 13; i < 42; ++i) expected[i] = 0xAA;
  EXPECT_EQ(Image(r), expected);
}

TEST(Settings, SaveLoadAndAHostileRecordMadeSafe) {
  ui_testing::UserDirScope user;
  // Every byte survives a round trip, the reserved ones included.
  SettingsRecord r;
  r.Reset();
  r.skill = kSkillExpert;
  r.volume = 0;
  r.controls = 0;
  r.language = kLanguageFrench;
  r.score = 123456;
  std::strcpy(r.playerName, "Ada");
  for (int i = 0; i < 60; ++i) r.reserved42[i] = static_cast<u8>(i + 1);
  r.align134[1] = 0x77;
  ASSERT_EQ(r.Save(), 1u);
  SettingsRecord back;
  back.Reset();
  ASSERT_EQ(back.Load(), 1u);
  EXPECT_EQ(Image(back), Image(r));

  const Bytes hostile(kSettingsRecordSize, 0xFF);
  ASSERT_EQ(WriteRecordFile(kRecordSettings, hostile.data(), kSettingsRecordSize), 1u);
  ASSERT_EQ(back.Load(), 1u);
  EXPECT_EQ(back.skill, kSkillMaster);
  EXPECT_EQ(back.volume, 2);
  EXPECT_EQ(back.controls, 1);
  EXPECT_EQ(back.language, kLanguageEnglish);
  EXPECT_EQ(std::strlen(back.playerName), 29u);
  EXPECT_EQ(back.Top10RecordNumber(), 112);
  EXPECT_EQ(back.score, 0xFFFFFFFFu);  // values without a range are taken as they are

  // A short record counts as missing: the defaults.
  ASSERT_EQ(WriteRecordFile(kRecordSettings, hostile.data(), 100), 1u);
  std::memset(back.Bytes(), 0, kSettingsRecordSize);
  EXPECT_EQ(back.Load(), 0u);
  EXPECT_EQ(Image(back), DefaultImage());
}

// Only a record that is there, whole, and still cannot be read counts as
// unreadable; a missing or short one is simply not there.
TEST(Settings, UnreadableTellsAMissingRecordFromOneThatCannotBeRead) {
  enum Kind { kMissing, kShort, kNoPermission, kDirectory };
  const struct {
    Kind kind;
    bool unreadable;
  } cases[] = {{kMissing, false}, {kShort, false}, {kNoPermission, true}, {kDirectory, true}};
  for (const auto& c : cases) {
    ui_testing::UserDirScope dirs;
    char name[sizeof(g_UserDir) + 32];
    ASSERT_TRUE(RecordFileName(kRecordSettings, name, sizeof name));
    const Bytes bytes(kSettingsRecordSize, 1);
    if (c.kind == kShort || c.kind == kNoPermission) {
      const u32 size = c.kind == kShort ? 100 : kSettingsRecordSize;
      ASSERT_EQ(WriteRecordFile(kRecordSettings, bytes.data(), size), 1u);
    }
    if (c.kind == kNoPermission) {
      ASSERT_EQ(chmod(name, 0), 0);
    }
    if (c.kind == kDirectory) {
      ASSERT_EQ(mkdir(name, 0700), 0);
    }
    SettingsRecord r;
    std::memset(r.Bytes(), 0, kSettingsRecordSize);
    bool unreadable = !c.unreadable;
    {
      testing_support::FilePermissionsEnforced enforced;
      EXPECT_EQ(r.Load(&unreadable), 0u) << c.kind;
    }
    EXPECT_EQ(unreadable, c.unreadable) << c.kind;
    EXPECT_EQ(Image(r), DefaultImage()) << c.kind;
    chmod(name, 0600);
  }
}

TEST(Settings, SkillNameAndTop10Number) {
  std::unique_ptr<GLanguage> table(GLanguage::Create());
  SettingsRecord r;
  r.Reset();
  char name[32];
  EXPECT_EQ(r.Top10RecordNumber(), 100);
  r.SkillName(name, sizeof(name), *table);
  EXPECT_STREQ(name, "EasyRide");

  r.skill = kSkillMaster;
  table->SetLanguage(kLanguageFrench);
  r.SkillName(name, sizeof(name), *table);
  EXPECT_STREQ(name, "Ma\x8Ctre ");
  r.SkillName(name, 4, *table);  // bounded by the caller's buffer
  EXPECT_STREQ(name, "Ma\x8C");
  r.skill = 4;
  r.SkillName(name, sizeof(name), *table);
  EXPECT_STREQ(name, "");
}

}  // namespace
