// The settings record: every user option and the state of the game in
// progress that survives a restart. The same 136 bytes live in memory, where
// the game and the screens change them in place, and on disk as record 50.
#pragma once

#include <cstddef>
#include <type_traits>

#include "platform/types.h"

class GLanguage;

// Skills, settings byte 1.
enum Skill : u8 { kSkillEasyRide = 0, kSkillNovice = 1, kSkillExpert = 2, kSkillMaster = 3 };

// Little-endian, with every alignment gap spelt out, so the struct is the
// record byte for byte (checked below).
struct SettingsRecord {
  u8 aimTimeLimit;      // 1: aiming is limited in time
  u8 skill;             // Skill
  u8 countShots;        // 1: shots are the score and lower is better
  u8 sound;             // effects on
  u8 music;             // music on
  u8 volume;            // 0 Low, 1 Medium, 2 High
  u8 autosave;          // save the running game at exit and resume it
  u8 controls;          // 0 Keys, 1 Pen
  u32 score;            // score of the game in progress
  char playerName[30];  // last name entered for the top-10, terminated
  u8 reserved42[60];
  u8 reserved102;
  u8 gameStarted;       // a game was started in this run
  u8 reserved104;
  u8 language;          // 0 English, 1 French
  u8 align106[2];
  u32 background;       // background colour 0x00RRGGBB
  u8 windowMode;        // window size mode of the maximise button
  u8 align113;
  u16 level;            // current level, 0-based
  u8 reserved116[8];
  u8 currentColour;     // colour of the cue ball
  u8 nextColour;        // colour of the next ball
  u8 levelCounters[2];  // cleared at each level start, kept in saved games
  u8 colourCount;       // ball colours in play
  u8 align129;
  u16 aimTicks;         // ticks spent aiming in this level
  u8 shadows;           // 3D effects: ball shadows drawn
  u8 physics;           // the spring lattice moves the balls
  u8 align134[2];

  // Writes every default; alignment and reserved bytes stay as they are.
  void SetDefaults();
  // Zero-fills the whole record, then writes the defaults, so no stray
  // byte reaches the disk.
  void Reset();
  // Makes a record read from disk safe to use: the name terminated and
  // every choice within its range (language: anything else is English).
  void Sanitize();

  // Reads record 50 over this one and sanitises it; when it cannot be read
  // the defaults are written instead. 1 when the record was read. When
  // unreadable is given it says whether the record is there but could not
  // be read (no permission, an I/O error); a missing or short record is
  // not unreadable.
  u32 Load(bool* unreadable = nullptr);
  // Writes the 136 bytes as record 50; 1 on success.
  u32 Save() const;

  // The record number of the current skill's top-10 table: 100 + 4 x skill.
  i32 Top10RecordNumber() const;
  // The current skill's name in the table's language into out (at most
  // size bytes with the terminator); empty for an unknown skill.
  void SkillName(char* out, std::size_t size, const GLanguage& table) const;

  u8* Bytes() { return reinterpret_cast<u8*>(this); }
  const u8* Bytes() const { return reinterpret_cast<const u8*>(this); }
};

constexpr u32 kSettingsRecordSize = 136;
constexpr u32 kDefaultBackground = 0x00C0C0FF;

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "the record is stored little-endian");
static_assert(sizeof(SettingsRecord) == kSettingsRecordSize, "the settings record is 136 bytes");
static_assert(std::is_standard_layout<SettingsRecord>::value &&
                  std::is_trivially_copyable<SettingsRecord>::value,
              "the settings record is plain bytes");
static_assert(offsetof(SettingsRecord, skill) == 1 && offsetof(SettingsRecord, controls) == 7,
              "option bytes");
static_assert(offsetof(SettingsRecord, score) == 8, "score");
static_assert(offsetof(SettingsRecord, playerName) == 12, "player name");
static_assert(offsetof(SettingsRecord, reserved42) == 42, "reserved block");
static_assert(offsetof(SettingsRecord, reserved102) == 102, "reserved byte");
static_assert(offsetof(SettingsRecord, gameStarted) == 103, "game started");
static_assert(offsetof(SettingsRecord, language) == 105, "language");
static_assert(offsetof(SettingsRecord, background) == 108, "background");
static_assert(offsetof(SettingsRecord, windowMode) == 112, "window mode");
static_assert(offsetof(SettingsRecord, level) == 114, "level");
static_assert(offsetof(SettingsRecord, reserved116) == 116, "reserved block");
static_assert(offsetof(SettingsRecord, currentColour) == 124, "current colour");
static_assert(offsetof(SettingsRecord, nextColour) == 125, "next colour");
static_assert(offsetof(SettingsRecord, levelCounters) == 126, "level counters");
static_assert(offsetof(SettingsRecord, colourCount) == 128, "colour count");
static_assert(offsetof(SettingsRecord, aimTicks) == 130, "aim ticks");
static_assert(offsetof(SettingsRecord, shadows) == 132, "3D effects");
static_assert(offsetof(SettingsRecord, physics) == 133, "physics");
