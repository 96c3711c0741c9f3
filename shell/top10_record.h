// The ten best results of one skill, kept as record 100 + 4 x skill: ten
// names of 30 bytes, then ten signed 32-bit little-endian scores. Entry 0
// is the best; a score of 0 marks an empty entry.
#pragma once

#include <cstddef>
#include <type_traits>

#include "platform/types.h"

class GLanguage;

constexpr int kTop10Entries = 10;
constexpr int kTop10NameSize = 30;  // 29 characters and the terminator
constexpr u32 kTop10RecordSize = 340;
// With order -1 an empty entry takes a score up to this value.
constexpr i32 kTop10EmptyScoreLimit = 10000000;

struct Top10Record {
  char names[kTop10Entries][kTop10NameSize];
  i32 scores[kTop10Entries];

  // The order of a table: +1 when a higher score is better, -1 when the
  // score counts shots (settings byte 2 is 1) and a lower one is better.
  static i32 Order(u8 countShots) { return countShots == 1 ? -1 : 1; }
  // The record number of a skill's table.
  static i32 RecordNumber(u8 skill);

  // Every name := "Empty" in the table's language when one is given, else
  // the empty text; every score := 0.
  void Reset(const GLanguage* language);
  // 1 when the score earns a place in the table.
  u32 Qualifies(i32 score, i32 order) const;
  // Puts the result in its place, moving the entries below it down one;
  // the 10th entry drops out. An empty or null name is stored as
  // "Anonymous" (in the table's language when one is given); a longer name
  // is cut to 29 characters. Returns the index taken, or -1 when the score
  // has no place.
  int Insert(const char* name, i32 score, i32 order, const GLanguage* language);

  // Reads the skill's record over this one and terminates every name.
  // 1 on success; 0 for a missing or short file, leaving this one as it was.
  u32 Read(u8 skill);
  // Writes the 340 bytes as the skill's record (atomically); 1 on success.
  u32 Write(u8 skill) const;
  // The table as the screens show it: the skill's record, or an empty
  // table with "Empty" names (in the table's language when one is given)
  // when it cannot be read. 1 when the record was read, 0 when the empty
  // table stands in for it.
  u32 Load(u8 skill, const GLanguage* language);

  // Entry i's name, at most 29 characters: any text is cut to fit.
  void SetName(int i, const char* name);

  u8* Bytes() { return reinterpret_cast<u8*>(this); }
  const u8* Bytes() const { return reinterpret_cast<const u8*>(this); }
};

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "the record is stored little-endian");
static_assert(sizeof(Top10Record) == kTop10RecordSize, "the top-10 record is 340 bytes");
static_assert(std::is_standard_layout<Top10Record>::value &&
                  std::is_trivially_copyable<Top10Record>::value,
              "the top-10 record is plain bytes");
static_assert(offsetof(Top10Record, names) == 0 && offsetof(Top10Record, scores) == 300,
              "names, then scores");
