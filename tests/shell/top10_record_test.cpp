// The top-10 table: where a result goes in either order, the names it
// stores, and records that are missing, short or hostile.
#include "shell/top10_record.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/record_file.h"
#include "tests/support/process.h"
#include "tests/ui/ui_test_support.h"
#include "ui/language.h"

using Scores = std::vector<i32>;

TEST(Top10Record, InsertPlacesEachResult) {
  struct Case {
    Scores before;
    i32 order, score;
    int place;  // -1: not stored
  };
  const Scores full = {900, 800, 700, 600, 500, 400, 300, 200, 150, 120};
  const Case cases[] = {
      {{500, 400, 400, 300}, 1, 400, 3},  // below the equal ones
      {full, 1, 120, 9},                  // ties the 10th
      {full, 1, 119, -1},
      {{50, 80}, -1, 80, 1}, {{50, 80}, -1, 90, 2},  // above the equal one; the first empty
      {{50, 80}, -1, 20000000, 2},  // above the empty-entry limit
      {{1, 2, 3, 4, 5, 6, 7, 8, 9}, -1, 10000001, 9},
      {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, -1, 11, -1},
      {{500}, 1, 0, -1}, {{500}, -1, 0, -1}, {{}, 1, -5, -1},
      {{0, 5, 7}, -1, 6, 0},  // an unsorted file
  };
  for (const Case& c : cases) {
    Top10Record table;
    for (int i = 0; i < kTop10Entries; ++i) {
      table.scores[i] = i < static_cast<int>(c.before.size()) ? c.before[i] : 0;
      table.SetName(i, std::to_string(i).c_str());
    }
    Scores expected(table.scores, table.scores + kTop10Entries);
    if (c.place >= 0) {
      expected.insert(expected.begin() + c.place, c.score);
      expected.pop_back();
    }
    const std::string what = std::to_string(c.score) + " order " + std::to_string(c.order);
    EXPECT_EQ(table.Qualifies(c.score, c.order), c.place >= 0 ? 1u : 0u) << what;
    EXPECT_EQ(table.Insert("new", c.score, c.order, nullptr), c.place) << what;
    EXPECT_EQ(Scores(table.scores, table.scores + kTop10Entries), expected) << what;
    // The names moved with their scores.
    const int p = c.place < 0 ? 10 : c.place;
    for (int i = 0; i < kTop10Entries; ++i) {
      const std::string name = i < p ? std::to_string(i) : i == p ? "new" : std::to_string(i - 1);
      EXPECT_EQ(table.names[i], name) << what;
    }
  }
}

TEST(Top10Record, NamesAndRecordFiles) {
  ui_testing::UserDirScope dirs;
  std::unique_ptr<GLanguage> french(GLanguage::Create());
  french->SetLanguage(kLanguageFrench);
  Top10Record table;
  EXPECT_EQ(table.Load(2, french.get()), 0u);  // missing: an empty table
  EXPECT_STREQ(table.names[9], "Vide");
  EXPECT_EQ(table.scores[0], 0);
  table.Insert(std::string(40, 'x').c_str(), 300, 1, nullptr);
  table.Insert("", 200, 1, nullptr);
  table.Insert(nullptr, 100, 1, french.get());
  EXPECT_EQ(table.names[0], std::string(29, 'x'));
  EXPECT_STREQ(table.names[1], "Anonymous");
  EXPECT_STREQ(table.names[2], "Anonyme ");

  // Skill 1 is record 104, scrambled; it reads back whole.
  ASSERT_EQ(table.Write(1), 1u);
  const std::string raw = testing_support::ReadFile(dirs.Dir() / "000104.bin");
  ASSERT_EQ(raw.size(), kTop10RecordSize);
  EXPECT_EQ(static_cast<u8>(raw[0]), 'x' ^ 104);
  Top10Record back;
  ASSERT_EQ(back.Load(1, nullptr), 1u);
  EXPECT_EQ(std::string(back.names[1]) + std::to_string(back.scores[2]), "Anonymous100");

  // A short record leaves the table as it was; names that fill their
  // fields are cut at 29 characters.
  WriteRecordFile(Top10Record::RecordNumber(3), table.Bytes(), kTop10RecordSize - 1);
  EXPECT_EQ(back.Read(3), 0u);
  EXPECT_EQ(back.scores[0], 300);
  const std::vector<u8> hostile(kTop10RecordSize, 'A');
  WriteRecordFile(Top10Record::RecordNumber(0), hostile.data(), kTop10RecordSize);
  ASSERT_EQ(back.Read(0), 1u);
  for (const auto& name : back.names) EXPECT_EQ(name, std::string(29, 'A'));
}
