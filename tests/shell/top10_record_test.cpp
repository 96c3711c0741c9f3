// The top-10 table: where a result goes in either order, the names it
// stores, and the record read back from files that are missing, short or
// hostile.
#include "shell/top10_record.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/record_file.h"
#include "tests/support/process.h"
#include "tests/ui/ui_test_support.h"
#include "ui/language.h"

namespace {

using Scores = std::vector<i32>;

Top10Record Table(const Scores& scores) {
  Top10Record table;
  table.Reset(nullptr);
  for (int i = 0; i < kTop10Entries; ++i) {
    table.scores[i] = i < static_cast<int>(scores.size()) ? scores[i] : 0;
    table.SetName(i, ("p" + std::to_string(i)).c_str());
  }
  return table;
}

Scores ScoresOf(const Top10Record& table) { return Scores(table.scores, table.scores + 10); }

}  // namespace

TEST(Top10Record, InsertPlacesEachResult) {
  struct Case {
    const char* what;
    Scores before;
    i32 order;
    i32 score;
    int place;
    Scores after;
  };
  const Scores full = {900, 800, 700, 600, 500, 400, 300, 200, 150, 120};
  const Case cases[] = {
      {"equal scores rank above", {500, 400, 400, 300}, 1, 400, 3,
       {500, 400, 400, 400, 300, 0, 0, 0, 0, 0}},
      {"best", {500, 400}, 1, 600, 0, {600, 500, 400, 0, 0, 0, 0, 0, 0, 0}},
      {"ties the 10th", full, 1, 120, 9, {900, 800, 700, 600, 500, 400, 300, 200, 150, 120}},
      {"below the 10th", full, 1, 119, -1, full},
      {"order -1: above an equal", {50, 80}, -1, 80, 1, {50, 80, 80, 0, 0, 0, 0, 0, 0, 0}},
      {"order -1: first empty", {50, 80}, -1, 90, 2, {50, 80, 90, 0, 0, 0, 0, 0, 0, 0}},
      {"order -1: above the limit", {50, 80}, -1, 20000000, 2,
       {50, 80, 20000000, 0, 0, 0, 0, 0, 0, 0}},
      {"order -1: above the limit, one empty", {1, 2, 3, 4, 5, 6, 7, 8, 9}, -1, 10000001, 9,
       {1, 2, 3, 4, 5, 6, 7, 8, 9, 10000001}},
      {"order -1: full and worse", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, -1, 11, -1,
       {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
      {"zero, order 1", {500}, 1, 0, -1, {500, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {"zero, order -1", {500}, -1, 0, -1, {500, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {"negative into an empty table", {}, 1, -5, -1, Scores(10, 0)},
      {"unsorted file", {0, 5, 7}, -1, 6, 0, {6, 0, 5, 7, 0, 0, 0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    Top10Record table = Table(c.before);
    const Scores before = ScoresOf(table);
    const std::string tenth = table.names[9];
    EXPECT_EQ(table.Qualifies(c.score, c.order), c.place >= 0 ? 1u : 0u) << c.what;
    EXPECT_EQ(table.Insert("new", c.score, c.order, nullptr), c.place) << c.what;
    EXPECT_EQ(ScoresOf(table), c.after) << c.what;
    if (c.place < 0) {
      EXPECT_EQ(std::string(table.names[9]), tenth) << c.what;
      continue;
    }
    EXPECT_STREQ(table.names[c.place], "new") << c.what;
    // The entry that was there moved down one place with its name.
    if (c.place < 9) {
      EXPECT_STREQ(table.names[c.place + 1], ("p" + std::to_string(c.place)).c_str()) << c.what;
    }
  }
}

TEST(Top10Record, NamesAreBoundedAndEmptyOnesAnonymous) {
  std::unique_ptr<GLanguage> french(GLanguage::Create());
  french->SetLanguage(kLanguageFrench);
  Top10Record table;
  table.Reset(french.get());
  for (const auto& name : table.names) EXPECT_STREQ(name, "Vide");

  const std::string longName(40, 'x');
  table.Insert(longName.c_str(), 300, 1, nullptr);
  table.Insert("", 200, 1, nullptr);
  table.Insert(nullptr, 100, 1, french.get());
  EXPECT_EQ(std::string(table.names[0]), std::string(29, 'x'));
  EXPECT_STREQ(table.names[1], "Anonymous");
  EXPECT_STREQ(table.names[2], "Anonyme ");
  EXPECT_STREQ(table.names[3], "Vide");
  table.Reset(nullptr);
  EXPECT_STREQ(table.names[0], "");
}

TEST(Top10Record, RecordFilesMissingShortHostileAndWritten) {
  ui_testing::UserDirScope dirs;
  std::unique_ptr<GLanguage> english(GLanguage::Create());
  Top10Record table = Table({1234});

  // Missing: the screens get an empty table of "Empty" rows.
  EXPECT_EQ(table.Load(2, english.get()), 0u);
  EXPECT_STREQ(table.names[0], "Empty");
  EXPECT_EQ(table.scores[0], 0);

  // Written as record 104 for skill 1, scrambled, and read back.
  table = Table({1234, 99});
  ASSERT_EQ(table.Write(1), 1u);
  const std::string raw = testing_support::ReadFile(dirs.Dir() / "000104.bin");
  ASSERT_EQ(raw.size(), kTop10RecordSize);
  EXPECT_EQ(static_cast<u8>(raw[0]), static_cast<u8>('p' ^ 104));
  Top10Record back;
  EXPECT_EQ(back.Load(1, english.get()), 1u);
  EXPECT_EQ(std::memcmp(&back, &table, kTop10RecordSize), 0);

  // A short file is not read and leaves the table as it was.
  WriteRecordFile(Top10Record::RecordNumber(3), table.Bytes(), kTop10RecordSize - 1);
  back = Table({7});
  EXPECT_EQ(back.Read(3), 0u);
  EXPECT_EQ(back.scores[0], 7);

  // A file whose names fill their whole fields reads with each name cut
  // at 29 characters.
  std::vector<u8> hostile(kTop10RecordSize, 'A');
  WriteRecordFile(Top10Record::RecordNumber(0), hostile.data(), kTop10RecordSize);
  ASSERT_EQ(back.Read(0), 1u);
  for (const auto& name : back.names) EXPECT_EQ(std::string(name), std::string(29, 'A'));
  EXPECT_EQ(back.scores[9], 0x41414141);
}
