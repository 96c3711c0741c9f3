#include "shell/top10_record.h"

#include <cstring>

#include "platform/record_file.h"
#include "platform/str.h"
#include "ui/language.h"

i32 Top10Record::RecordNumber(u8 skill) { return kRecordTop10Base + 4 * skill; }

void Top10Record::SetName(int i, const char* name) {
  std::memset(names[i], 0, kTop10NameSize);
  StrNCpy(names[i], name ? name : "", kTop10NameSize - 1);
}

void Top10Record::Reset(const GLanguage* language) {
  const char* empty = language ? language->GetString(kTextEmpty) : "";
  for (int i = 0; i < kTop10Entries; ++i) {
    SetName(i, empty);
    scores[i] = 0;
  }
}

u32 Top10Record::Qualifies(i32 score, i32 order) const {
  if (score == 0) return 0;
  const i32 last = scores[kTop10Entries - 1];
  if (order >= 1) return score >= last ? 1 : 0;
  return last == 0 || score <= last ? 1 : 0;
}

int Top10Record::Insert(const char* name, i32 score, i32 order, const GLanguage* language) {
  if (score == 0 || !Qualifies(score, order)) return -1;

  int place = -1;
  if (order >= 1) {
    // Below every entry at least as good: equal scores keep their rank.
    if (score == scores[kTop10Entries - 1]) {
      place = kTop10Entries - 1;
    } else {
      place = 0;
      for (int i = kTop10Entries - 2; i >= 0; --i) {
        if (scores[i] >= score) {
          place = i + 1;
          break;
        }
      }
    }
  } else {
    // Above the first entry at least as high, or in the first empty one;
    // an empty entry takes any score up to the limit.
    for (int i = 0; i < kTop10Entries && place < 0; ++i) {
      const bool empty = scores[i] == 0;
      if ((!empty && scores[i] >= score) || (empty && score <= kTop10EmptyScoreLimit)) place = i;
    }
    // A score above the limit finds no entry in that scan: it takes the
    // first empty entry, and without one it is not stored.
    for (int i = 0; i < kTop10Entries && place < 0; ++i) {
      if (scores[i] == 0) place = i;
    }
    if (place < 0) return -1;
  }

  for (int i = kTop10Entries - 1; i > place; --i) {
    std::memcpy(names[i], names[i - 1], kTop10NameSize);
    scores[i] = scores[i - 1];
  }
  const char* anonymous = language ? language->GetString(kTextAnonymous) : "Anonymous";
  SetName(place, name && name[0] ? name : anonymous);
  scores[place] = score;
  return place;
}

u32 Top10Record::Read(u8 skill) {
  Top10Record read;
  if (!ReadRecordFile(RecordNumber(skill), read.Bytes(), kTop10RecordSize)) return 0;
  // Names from the file may run to the end of their field.
  for (char* name : read.names) name[kTop10NameSize - 1] = 0;
  *this = read;
  return 1;
}

u32 Top10Record::Write(u8 skill) const {
  return WriteRecordFile(RecordNumber(skill), Bytes(), kTop10RecordSize);
}

u32 Top10Record::Load(u8 skill, const GLanguage* language) {
  Reset(nullptr);
  if (Read(skill)) return 1;
  Reset(language);
  return 0;
}
