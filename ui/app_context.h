// The program-wide state that the game and every screen reach through the
// window: the language table, the settings, the two random states, the sine
// table and the skin the controls draw with.
#pragma once

#include "platform/types.h"

class GLanguage;
class ImagePack;
struct SettingsRecord;

// Control states the skin has colours for (4, hidden, is never drawn).
constexpr int kSkinStates = 4;
constexpr int kSkinColourIndices = 5;
constexpr int kPaletteSize = 256;

// The drawing context of all controls.
struct SkinContext {
  u32 baseColour[kSkinStates];
  // One palette per control state for palette images; entries 0..254 are
  // the state's colour ramp and entry 255 its end colour.
  u32 palette[kSkinStates][kPaletteSize];
  u32 fillColour;
  // Indexed [colour index][control state].
  u32 textColour[kSkinColourIndices][kSkinStates];
  ImagePack* imagePack;  // the window's image bank, not owned

  // The text colour of a colour index and control state.
  u32 TextColour(int colourIndex, int state) const { return textColour[colourIndex][state]; }
};

class AppContext {
 public:
  // A new context with the default settings, English texts, both random
  // states seeded from the millisecond clock and the skin filled in.
  static AppContext* Create(ImagePack* pack);
  ~AppContext();
  AppContext(const AppContext&) = delete;
  AppContext& operator=(const AppContext&) = delete;

  GLanguage* language = nullptr;
  SettingsRecord* settings = nullptr;
  u32 generalRandom = 0;  // fireworks, computer player, shuffles of animations, growth timing
  u32 colourRandom = 0;   // every choice of a ball colour
  i32* trig = nullptr;    // 360 entries of 256 x sin(d degrees)
  SkinContext* skin = nullptr;

 private:
  AppContext() = default;
  void BuildSkin(ImagePack* pack);
};
