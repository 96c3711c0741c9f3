#include "tools/datagen/image_bank.h"

#include "tools/datagen/about.h"
#include "tools/datagen/balls.h"
#include "tools/datagen/bitmap_font.h"
#include "tools/datagen/controls.h"
#include "tools/datagen/cue.h"
#include "tools/datagen/hud.h"
#include "tools/datagen/layout.h"
#include "tools/datagen/table.h"
#include "tools/datagen/title.h"

namespace datagen {
namespace {

void Append(std::vector<Picture>& bank, std::vector<Picture> more) {
  for (Picture& p : more) bank.push_back(std::move(p));
}

}  // namespace

std::vector<Picture> BuildImageBank(const FontSet& fonts) {
  std::vector<Picture> bank;
  bank.reserve(kImageCount);
  for (int k = 0; k < kShadowFrames; ++k) bank.push_back(ShadowFrame(k));
  for (int c = 1; c <= kBallColours; ++c)
    for (int k = 0; k < kBallFrames; ++k) bank.push_back(BallFrame(c, k));
  TablePictures table = MakeTable(fonts);
  Append(bank, std::move(table.quadrants));              // 323..326
  bank.push_back(std::move(table.menuPressed));          // 327
  bank.push_back(MakeCue());                             // 328
  bank.push_back(MakeCaption(fonts, "SCORE", 150, 30));  // 329
  bank.push_back(MakeCaption(fonts, "LEVEL", 80, 30));   // 330: centred on the level digits
  for (int skill = 0; skill < 4; ++skill) bank.push_back(MakeBadge(fonts, skill));  // 331..334
  Append(bank, std::move(table.windowPressed));                                     // 335..338
  Append(bank, MakeTitle(fonts));                                                   // 339..342
  for (int d = 0; d < 10; ++d) bank.push_back(MakeDigit(fonts, d));                 // 343..352
  Append(bank, MakeControlPieces());                                                // 353..364
  Append(bank, MakeGlyphs(fonts));                                                  // 365..587
  bank.push_back(MakeAboutPicture(fonts));                                          // 588
  Append(bank, MakeControlGlyphs());                                                // 589..619
  return bank;
}

}  // namespace datagen
