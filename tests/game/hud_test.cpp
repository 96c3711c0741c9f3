// The score and level numbers, the cue gauge and the window buttons.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "game/cue_gauge.h"
#include "game/menu_button.h"
#include "game/number_display.h"
#include "platform/image_pack.h"
#include "platform/startup.h"
#include "tests/platform/pack_writer.h"
#include "tests/support/process.h"

namespace {

constexpr i32 kOne = 256;

int VisibleDigits(const NumberDisplay& d) {
  int n = 0;
  for (int i = 0; i < NumberDisplay::kDigits; ++i) n += d.Digit(i).visible;
  return n;
}

TEST(NumberDisplayTest, ScoreZeroIsOneCentredDigit) {
  NumberDisplay score;
  score.Init(486, 272, 150, 25);
  score.SetValue(0);
  ASSERT_EQ(VisibleDigits(score), 1);
  EXPECT_EQ(score.Digit(0).x, 548 * kOne);
  EXPECT_EQ(score.Digit(0).y, 249 * kOne);
  EXPECT_EQ(score.Digit(0).imageIndex, 343);
  score.SetValue(-5);
  EXPECT_EQ(score.Digit(0).imageIndex, 343);
  EXPECT_EQ(VisibleDigits(score), 1);
}

TEST(NumberDisplayTest, LevelTwelveShowsTwoDigits) {
  NumberDisplay level;
  level.Init(516, 330, 80, 25);
  level.SetValue(5);
  level.SetValue(12);
  ASSERT_EQ(VisibleDigits(level), 2);
  EXPECT_EQ(level.Digit(0).x, 531 * kOne);
  EXPECT_EQ(level.Digit(1).x, 556 * kOne);
  EXPECT_EQ(level.Digit(0).imageIndex, 344);
  EXPECT_EQ(level.Digit(1).imageIndex, 345);
  EXPECT_EQ(level.Digit(0).y, 307 * kOne);
}

TEST(NumberDisplayTest, TenMillionAndMoreShowsNineMillionsAndSoOn) {
  NumberDisplay score;
  score.Init(486, 272, 150, 25);
  for (i32 v : {10000000, 123456789, 0x7fffffff}) {
    score.SetValue(v);
    EXPECT_EQ(score.Value(), 9999999);
    ASSERT_EQ(VisibleDigits(score), 7);
    for (int i = 0; i < 7; ++i) EXPECT_EQ(score.Digit(i).imageIndex, 352);
    // 175 px of digits in a 150 px box: they start 12 px left of it.
    EXPECT_EQ(score.Digit(0).x, 474 * kOne);
  }
  score.SetValue(1234567);
  EXPECT_EQ(score.Digit(6).imageIndex, 343 + 7);
}

TEST(CueGaugeTest, PowerLiftsTheCue) {
  CueGauge gauge;
  gauge.Init(480, nullptr);
  EXPECT_EQ(gauge.Strip(), Rect(461, 11, 480, 469));
  EXPECT_EQ(gauge.Clip().y, 480 * kOne);
  EXPECT_EQ(gauge.Clip().x, 471 * kOne);  // no picture: width 0
  gauge.SetPower(4 * kOne);
  EXPECT_EQ(gauge.Clip().y, 241 * kOne);  // 469 - 4 x 57
  gauge.SetPower(0);  // the Keys controls show 1.0
  EXPECT_EQ(gauge.Power(), kOne);
  EXPECT_EQ(gauge.Clip().y, 412 * kOne);
  gauge.SetPower(20 * kOne);
  EXPECT_EQ(gauge.Power(), 8 * kOne);
  EXPECT_EQ(gauge.Clip().y, 13 * kOne);
  gauge.SetPower(kOne + 128);  // 1.5: 85.5 px rounds to 86
  EXPECT_EQ(gauge.Clip().y, 383 * kOne);
}

TEST(CueGaugeTest, ClicksOnTheStripGivePowers) {
  CueGauge gauge;
  gauge.Init(480, nullptr);
  EXPECT_EQ(gauge.ValueAt(470, 469), kOne);  // the bottom row: 1.0
  const i32 top = gauge.ValueAt(461, 11);    // the top row: just over 9.0
  EXPECT_GT(top, 9 * kOne);
  EXPECT_LT(top, 9 * kOne + 16);
  gauge.SetPower(top);
  EXPECT_EQ(gauge.Power(), 8 * kOne);
  EXPECT_EQ(gauge.ValueAt(470, 469 - 57), 2 * kOne);
  EXPECT_EQ(gauge.ValueAt(460, 200), -kOne);
  EXPECT_EQ(gauge.ValueAt(481, 200), -kOne);
  EXPECT_EQ(gauge.ValueAt(470, 470), -kOne);
  EXPECT_EQ(gauge.ValueAt(470, 10), -kOne);
}

TEST(MenuButtonTest, ThePressedLookShowsOnlyInStateTwo) {
  GCloseButton close;
  EXPECT_EQ(close.imageIndex, 338);
  EXPECT_EQ(close.x, 618 * kOne);
  EXPECT_EQ(close.y, 5 * kOne);
  EXPECT_EQ(close.state, 1);
  EXPECT_EQ(close.visible, 0);
  OClip& clip = close;
  clip.SetState(2);
  EXPECT_EQ(close.visible, 1);
  clip.SetState(5);  // other states change nothing else
  EXPECT_EQ(close.state, 5);
  EXPECT_EQ(close.visible, 1);
  clip.SetState(1);
  EXPECT_EQ(close.visible, 0);

  GMenuButton blank(0, 0, 0);  // no picture: never shown
  blank.SetState(2);
  EXPECT_EQ(blank.visible, 0);
  EXPECT_EQ(HitTestClip(blank, 0, 0, nullptr), 0);
}

// A pack of opaque pictures up to the close button: 1 x 1 pixels, except
// the menu button (100 x 28), the cue (12 x 467) and the close button
// (19 x 19).
class HudPackTest : public testing::Test {
 protected:
  void SetUp() override {
    std::snprintf(g_DataDir, sizeof g_DataDir, "%s/", dir.Path().c_str());
    ASSERT_TRUE(testing_support::WriteFile(dir / "640x480/.keep", {}));
    pack_writer::Bytes data;
    for (int i = 0; i <= 338; ++i) {
      const int w = i == 327 ? 100 : i == 328 ? 12 : i == 338 ? 19 : 1;
      const int h = i == 327 ? 28 : i == 328 ? 467 : i == 338 ? 19 : 1;
      const auto record = pack_writer::Record(0, w, h, 0, pack_writer::Bytes(w * h * 3, 0x40));
      data.insert(data.end(), record.begin(), record.end());
    }
    ASSERT_TRUE(pack_writer::WritePack(dir / "640x480", 1, 339, {data}));
    pack.reset(ImagePack::Create("640x480"));
    ASSERT_EQ(pack->ImageCount(), 339);
  }

  testing_support::TempDir dir;
  std::unique_ptr<ImagePack> pack;
};

TEST_F(HudPackTest, TheCueIsCentredInItsStrip) {
  CueGauge gauge;
  gauge.Init(480, pack.get());
  EXPECT_EQ(gauge.Clip().x, 465 * kOne);  // 461 + (20 - 12) / 2
  EXPECT_EQ(gauge.Clip().imageIndex, 328);
}

TEST_F(HudPackTest, ButtonsAreHitOnTheirPictureOnly) {
  GCloseButton close;  // 19 x 19 at (618, 5)
  EXPECT_EQ(HitTestClip(close, 618, 5, pack.get()), 1);
  EXPECT_EQ(HitTestClip(close, 636, 23, pack.get()), 1);
  EXPECT_EQ(HitTestClip(close, 637, 5, pack.get()), 0);
  EXPECT_EQ(HitTestClip(close, 617, 5, pack.get()), 0);
  EXPECT_EQ(HitTestClip(close, 620, 24, pack.get()), 0);
  GMenuButton menu;  // 100 x 28 at (511, 42)
  EXPECT_EQ(HitTestClip(menu, 610, 69, pack.get()), 1);
  EXPECT_EQ(HitTestClip(menu, 611, 42, pack.get()), 0);
  EXPECT_EQ(HitTestClip(menu, 511, 41, pack.get()), 0);
  // A picture the pack does not hold, or a negative one, is never hit.
  GMenuButton missing(400, 0, 0);
  EXPECT_EQ(HitTestClip(missing, 0, 0, pack.get()), 0);
  GMenuButton negative(-1, 0, 0);
  EXPECT_EQ(HitTestClip(negative, 0, 0, pack.get()), 0);
}

}  // namespace
