// The string table of every text the user interface shows, in English or
// French. French texts keep their accented letters as code page 437 bytes
// (e acute 0x82, a circumflex 0x83, a grave 0x85, c cedilla 0x87,
// e circumflex 0x88, e grave 0x8A, i circumflex 0x8C, o circumflex 0x93),
// which the bitmap font draws directly.
#pragma once

#include "platform/types.h"

// Ids of the texts. 0 and 74..99 hold no text.
enum TextId : i16 {
  kTextNewGame = 1,
  kTextContinue = 2,
  kTextDemo = 3,
  kTextOptions = 4,
  kTextHelp = 5,
  kTextTop10 = 6,
  kTextSave = 7,
  kTextLoad = 8,
  kTextExit = 9,
  kTextEmpty = 10,
  kTextAnonymous = 11,
  kTextPublish = 12,
  kTextClear = 13,
  kTextEasyRide = 14,
  kTextNovice = 15,
  kTextExpert = 16,
  kTextMaster = 17,
  kTextSound = 18,
  kTextMusic = 19,
  kTextLow = 20,
  kTextMedium = 21,
  kTextHigh = 22,
  kTextVolume = 23,
  kTextOk = 24,
  kTextCancel = 25,
  kTextLevel = 26,
  kTextAutosave = 27,
  kTextConfirm = 28,
  kTextPickGame = 29,
  kTextStartNewGame = 30,
  kTextAreYouSure = 31,
  kTextGameMode = 32,
  kTextQuitGame = 33,
  kTextSkins = 34,
  kTextControls = 35,
  kTextKeys = 36,
  kTextPen = 37,
  kTextAbout = 38,
  kTextNext = 39,
  kTextPrev = 40,
  kTextBestResult = 41,
  kTextEnterName = 42,
  kTextName = 43,
  kTextKeyboard = 44,
  kTextScore = 45,
  kTextSkill = 46,
  kTextGameOver = 47,
  kTextYes = 48,
  kTextNo = 49,
  kTextClose = 50,
  kTextScoring = 51,
  kTextClassic = 52,
  kTextSniper = 53,
  kTextArcade = 54,
  kTextStrategy = 55,
  kTextPhysics = 56,
  kText3DEffects = 57,
  kTextBgColor = 58,
  kTextDefault = 59,
  kTextColour = 60,
  kTextCaps = 61,
  kTextShift = 62,
  kTextBackspace = 63,
  kTextClr = 64,
  kTextDel = 65,
  kTextLanguage = 66,
  kTextEnglish = 67,
  kTextFrench = 68,
  kTextHelpText = 69,
  kTextAboutUpper = 70,
  kTextAboutLower = 71,
  kTextContest = 72,
  kTextBack = 73,
};

constexpr int kTextSlots = 100;
constexpr int kLastTextId = 73;

enum Language : i16 { kLanguageEnglish = 0, kLanguageFrench = 1 };

class GLanguage : public CBase {
 public:
  // A new table serves English.
  static GLanguage* Create();
  ~GLanguage() override = default;

  // Selects English (0) or French (1); any other value leaves every slot
  // empty.
  void SetLanguage(i16 language);
  // The text of the id in the current language: never null, an empty text
  // for an id outside 0..99 or a slot without text.
  const char* GetString(i16 id) const;
  // Empties every slot.
  void Clear();

 private:
  GLanguage();
  void Load(const char* const* texts);

  // Each slot points at a constant text of the current language, or is
  // null.
  const char* slots_[kTextSlots];
};
