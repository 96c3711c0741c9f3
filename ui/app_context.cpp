#include "ui/app_context.h"

#include <cstring>

#include "platform/color_ramp.h"
#include "platform/fixed_math.h"
#include "platform/system.h"
#include "ui/language.h"
#include "ui/settings.h"

namespace {

constexpr u32 kWhite = 0xFFFFFF;

enum RampKind { kRampTint, kRampFromBlack, kRampToWhite };

// The ramps have 255 entries; the palette's last entry continues the ramp
// to its end colour (white, or the colour itself for the ramp from black).
void BuildPalette(u32 colour, RampKind kind, u32 palette[kPaletteSize]) {
  switch (kind) {
    case kRampTint:
      BuildTintRamp(colour, palette);
      break;
    case kRampFromBlack:
      BuildRampFromBlack(colour, palette);
      break;
    case kRampToWhite:
      BuildRampToWhite(colour, palette);
      break;
  }
  palette[kRampSize] = kind == kRampFromBlack ? colour : kWhite;
}

}  // namespace

AppContext* AppContext::Create(ImagePack* pack) {
  AppContext* context = new AppContext();
  CheckAlloc(context);
  context->generalRandom = GetTickMs();
  context->colourRandom = GetTickMs();

  context->settings = new SettingsRecord();
  context->settings->Reset();

  context->language = GLanguage::Create();
  context->language->SetLanguage(context->settings->language);

  context->trig = new i32[360];
  LoadTrigTable(context->trig);

  context->BuildSkin(pack);
  return context;
}

void AppContext::BuildSkin(ImagePack* pack) {
  static_assert(kPaletteSize == kRampSize + 1, "a palette is a ramp and its end colour");
  skin = new SkinContext();
  std::memset(skin, 0, sizeof(*skin));
  skin->imagePack = pack;
  skin->fillColour = kWhite;

  // Control states 0 normal, 1 disabled, 2 focused, 3 pressed or checked.
  skin->baseColour[0] = 0x4040FF;
  BuildPalette(0x4040FF, kRampTint, skin->palette[0]);
  skin->baseColour[2] = 0x40FF40;
  BuildPalette(0x40FF40, kRampTint, skin->palette[2]);
  skin->baseColour[3] = 0x40FF40;
  BuildPalette(0x40FF40, kRampFromBlack, skin->palette[3]);
  skin->baseColour[1] = 0x666666;
  BuildPalette(0x666666, kRampToWhite, skin->palette[1]);

  // Every control draws its text with colour index 0.
  skin->textColour[0][0] = TintColor(0x4040FF, 128);
  skin->textColour[0][2] = TintColor(0x40FF40, 64);
  skin->textColour[0][3] = TintColor(0x40FF40, 32);
  skin->textColour[0][1] = 0xCCCCCC;
}

AppContext::~AppContext() {
  delete[] trig;
  delete skin;
  delete settings;
  delete language;
}
