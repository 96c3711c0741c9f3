#include "tools/datagen/preview_screens.h"

#include "platform/color_ramp.h"
#include "tools/datagen/composer.h"
#include "tools/datagen/layout.h"

namespace datagen {
namespace {

using Bank = std::vector<Picture>;

bool Has(const Bank& bank, int index) { return index < static_cast<int>(bank.size()); }

void Place(Composer& c, const Bank& bank, int index, int x, int y) {
  if (Has(bank, index)) c.Blit(bank[index], x, y);
}

// A ball of the given frame centred at (x, y) (pixels, fractions allowed)
// with its shadow offset by half its height above the table, drawn as the
// ball sprites are: sub-pixel clips anchored at their centre.
void PlaceBall(Composer& c, const Bank& bank, int colour, int frame, float x, float y, float shadowOffset) {
  const auto fixed = [](float v) { return static_cast<std::int32_t>(v * 256); };
  if (Has(bank, kShadowFirst + frame))
    c.DrawSprite(bank[kShadowFirst + frame], fixed(x + shadowOffset), fixed(y + shadowOffset));
  if (Has(bank, BallIndex(colour, frame))) c.DrawSprite(bank[BallIndex(colour, frame)], fixed(x), fixed(y));
}

void PlaceQuadrants(Composer& c, const Bank& bank, int first) {
  for (int q = 0; q < 4; ++q) Place(c, bank, first + q, (q % 2) * 320, (q / 2) * 240);
}

void PlaceNumber(Composer& c, const Bank& bank, int value, int boxX, int boxW, int y) {
  const std::string digits = std::to_string(value);
  int x = boxX + (boxW - 25 * static_cast<int>(digits.size())) / 2;
  for (char d : digits) {
    Place(c, bank, kDigitFirst + (d - '0'), x, y);
    x += 25;
  }
}

// A board of a few rows of balls, the aiming dots and the cue ball.
void PlaceBoard(Composer& c, const Bank& bank) {
  static const char* const rows[] = {"1122334455667788112233", "812345678123456781234",
                                     "3311..5566..7788..1122", "..44..66...2...8......",
                                     "....1...7.........3...", ".....5................"};
  for (int r = 0; r < 6; ++r)
    for (int col = 0; rows[r][col]; ++col) {
      if (rows[r][col] == '.') continue;
      const int x = (r % 2 ? 26 : 16) + 20 * col, y = 16 + 18 * r;
      PlaceBall(c, bank, rows[r][col] - '0', kRestFrame, x, y, 5);
    }
  for (int k = 1; k <= 13; ++k) PlaceBall(c, bank, 7, 2, kShootX + k * 8.3f, kShootY - k * 18.2f, 5);
  PlaceBall(c, bank, 3, kRestFrame, kShootX, kShootY, 5);
  PlaceBall(c, bank, 6, kRestFrame, kShootX, kShootY + 20, 5);
  // A shot in flight and a burst growing.
  PlaceBall(c, bank, 5, 24, 330.4f, 250.7f, 8);
  PlaceBall(c, bank, 2, 8, 200.5f, 140.25f, 4);
}

Composer GameScreen(const Bank& bank, bool pressed) {
  Composer c(kScreenW, kScreenH, 0);
  PlaceQuadrants(c, bank, kTableFirst);
  if (pressed) {
    Place(c, bank, kMenuPressed, kMenuX, kMenuY);
    Place(c, bank, kWindowButtonFirst + 3, kWindowButtonX[3], kWindowButtonY);
  }
  PlaceNumber(c, bank, 3, 516, 80, kLevelDigitsY);
  if (Has(bank, kCue)) {
    const Picture& cue = bank[kCue];
    Place(c, bank, kCue, 461 + (20 - cue.width) / 2, kGrooveBottom - 57 * 4);
  }
  Place(c, bank, kLevelCaption, kLevelCaptionX, kLevelCaptionY);
  Place(c, bank, kBadgeFirst + 2, kBadgeX, kBadgeY);
  PlaceBoard(c, bank);
  PlaceNumber(c, bank, 1234, 486, 150, kScoreDigitsY);
  Place(c, bank, kScoreCaption, kScoreCaptionX, kScoreCaptionY);
  return c;
}

Composer TitleScreen(const Bank& bank) {
  Composer c(kScreenW, kScreenH, 0);
  PlaceQuadrants(c, bank, kTitleFirst);
  const float sparks[][4] = {{120.3f, 90.6f, 2, 11}, {300.5f, 160, 6, 8},     {380, 60.2f, 8, 13},
                             {90, 300, 4, 6},        {250.7f, 330.1f, 1, 10}, {200, 220.5f, 3, 4},
                             {410.2f, 380.9f, 5, 9}};
  for (const auto& s : sparks)
    PlaceBall(c, bank, static_cast<int>(s[2]), static_cast<int>(s[3]), s[0], s[1], 6);
  return c;
}

// The eight rest balls in a cluster on the felt, enlarged for a close look.
Composer BallCloseUp(const Bank& bank) {
  Composer c(160, 60, 0);
  Composer table(kScreenW, kScreenH, 0);
  PlaceQuadrants(table, bank, kTableFirst);
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 160; ++x) c.Set(x, y, table.Get(150 + x, 200 + y));
  for (int k = 0; k < 8; ++k)
    PlaceBall(c, bank, k + 1, kRestFrame, 16 + 20 * (k % 7) + (k / 7) * 10, 16 + 18 * (k / 7), 5);
  for (int k = 0; k < 8; ++k) PlaceBall(c, bank, k + 1, 6 + k, 16.5f + 18 * k + k * 0.11f, 48.25f, 3);
  Composer big(c.Width() * 5, c.Height() * 5, 0);
  for (int y = 0; y < big.Height(); ++y)
    for (int x = 0; x < big.Width(); ++x) big.Set(x, y, c.Get(x / 5, y / 5));
  return big;
}

}  // namespace

void StatePalette(int state, std::uint32_t palette[255]) {
  switch (state) {
    case 1: BuildRampToWhite(0x666666, palette); break;
    case 2: BuildTintRamp(0x40FF40, palette); break;
    case 3: BuildRampFromBlack(0x40FF40, palette); break;
    default: BuildTintRamp(0x4040FF, palette); break;
  }
}

Composer ControlsDialog(const Bank& bank);

bool WriteScreenPreviews(const Bank& bank, const std::string& dir, std::string& error) {
  const std::pair<std::string, Composer> shots[] = {
      {"screen-game.png", GameScreen(bank, false)},  {"screen-game-pressed.png", GameScreen(bank, true)},
      {"screen-title.png", TitleScreen(bank)},       {"balls-closeup.png", BallCloseUp(bank)},
      {"screen-controls.png", ControlsDialog(bank)},
  };
  for (const auto& [name, shot] : shots)
    if (!shot.WritePng(dir + "/" + name)) {
      error = "cannot write " + dir + "/" + name;
      return false;
    }
  return true;
}

}  // namespace datagen
