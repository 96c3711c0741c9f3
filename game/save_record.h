// A saved game: the position before the player's next shot, as the 592
// bytes of records 0 (the autosave) and 10000 (the game the demo
// interrupted). The same bytes are the game's snapshot buffer in memory.
#pragma once

#include <cstddef>
#include <type_traits>

#include "platform/types.h"

class Board;
struct SettingsRecord;

constexpr int kSaveRows = 26;
constexpr int kSaveColumns = 22;

// Little-endian, every gap spelt out, so the struct is the record byte for
// byte (checked below). The zero bytes are never written.
struct SaveRecord {
  u16 level;  // 0-based
  u8 zero2[2];
  u32 score;
  u8 currentColour;  // the cue ball
  u8 nextColour;
  u8 levelCounters[2];
  u8 colourCount;
  u8 zero13;
  u16 aimTicks;
  u8 cells[kSaveRows][kSaveColumns];  // 0 empty, 1..8 a ball colour
  u8 valid;                           // 1 a resumable position, 0 none
  u8 zero589[3];

  // Level, score, both ball colours, the counters, the colour count and
  // the aim ticks from the settings, every cell's colour from the board;
  // marks the record valid.
  void Capture(const SettingsRecord& settings, const Board& board);
  // Copies the stored level, score, colours, counters, colour count and
  // aim ticks into the settings (the cells are the game's to lay out).
  void Restore(SettingsRecord& settings) const;
  // True for a position that can be resumed: marked valid, both balls of
  // a colour 1..8 and every cell empty or of a colour 1..8. A foreign
  // colour would select pictures outside the ball range, and a ball
  // without a colour would leave the game waiting for a shot forever.
  bool Resumable() const;

  u8* Bytes() { return reinterpret_cast<u8*>(this); }
  const u8* Bytes() const { return reinterpret_cast<const u8*>(this); }
};

constexpr u32 kSaveRecordSize = 592;

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "the record is stored little-endian");
static_assert(sizeof(SaveRecord) == kSaveRecordSize, "a saved game is 592 bytes");
static_assert(std::is_standard_layout<SaveRecord>::value &&
                  std::is_trivially_copyable<SaveRecord>::value,
              "a saved game is plain bytes");
static_assert(offsetof(SaveRecord, level) == 0, "level");
static_assert(offsetof(SaveRecord, score) == 4, "score");
static_assert(offsetof(SaveRecord, currentColour) == 8, "current colour");
static_assert(offsetof(SaveRecord, nextColour) == 9, "next colour");
static_assert(offsetof(SaveRecord, levelCounters) == 10, "level counters");
static_assert(offsetof(SaveRecord, colourCount) == 12, "colour count");
static_assert(offsetof(SaveRecord, aimTicks) == 14, "aim ticks");
static_assert(offsetof(SaveRecord, cells) == 16, "cells");
static_assert(offsetof(SaveRecord, valid) == 588, "valid flag");
