// The score and level numbers, the cue gauge and the window buttons.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "game/cue_gauge.h"
#include "game/menu_button.h"
#include "game/number_display.h"
#include "platform/image_pack.h"
#include "platform/startup.h"
#include "tests/platform/pack_writer.h"
#include "tests/support/process.h"

namespace {

constexpr i32 kOne = 256;

// Digits are centred in their box 25 px apart, their clips 23 px above it:
// score 0 at x 548, level 12 at 531 and 556. From 10,000,000 on the score
// shows 9,999,999 in its seven clips, starting 12 px left of its 150 px box.
TEST(NumberDisplayTest, DigitsAreCentredInTheirBox) {
  struct Case {
    int boxX, boxWidth;
    i32 value, shown;
    int firstX;
    std::vector<int> images;
  };
  const std::vector<int> nines(7, 352);
  const Case cases[] = {
      {486, 150, 0, 0, 548, {343}},
      {486, 150, -5, 0, 548, {343}},
      {516, 80, 12, 12, 531, {344, 345}},
      {486, 150, 1234567, 1234567, 474, {344, 345, 346, 347, 348, 349, 350}},
      {486, 150, 10000000, 9999999, 474, nines},
      {486, 150, 0x7fffffff, 9999999, 474, nines},
  };
  for (const Case& k : cases) {
    NumberDisplay d;
    d.Init(k.boxX, 272, k.boxWidth, 25);
    d.SetValue(7654321);  // seven digits, of which the later value hides the rest
    d.SetValue(k.value);
    EXPECT_EQ(d.Value(), k.shown);
    const int count = static_cast<int>(k.images.size());
    for (int i = 0; i < NumberDisplay::kDigits; ++i) {
      EXPECT_EQ(d.Digit(i).visible, i < count) << k.value << " digit " << i;
      if (i >= count) continue;
      EXPECT_EQ(d.Digit(i).imageIndex, k.images[i]) << k.value << " digit " << i;
      EXPECT_EQ(d.Digit(i).x, (k.firstX + 25 * i) * kOne) << k.value << " digit " << i;
      EXPECT_EQ(d.Digit(i).y, 249 * kOne);
    }
  }
}

// The strip runs from y 11 to 469 with 57 px per power step; the cue's
// top rises by that much per step from the strip's bottom, and a click on
// the strip gives the power at its height.
TEST(CueGaugeTest, PowerLiftsTheCueAndClicksSetIt) {
  CueGauge gauge;
  gauge.Init(480, nullptr);
  EXPECT_EQ(gauge.Strip(), Rect(461, 11, 480, 469));
  EXPECT_EQ(gauge.Clip().y, 480 * kOne);  // below the window until a power is shown
  EXPECT_EQ(gauge.Clip().x, 471 * kOne);  // without a picture: as if 0 px wide
  const struct {
    i32 power, shown;
    int top;
  } powers[] = {{4 * kOne, 4 * kOne, 241},  // 469 - 4 x 57
                {0, kOne, 412},             // the Keys controls show 1.0
                {20 * kOne, 8 * kOne, 13},
                {kOne + 128, kOne + 128, 383}};  // 1.5: 85.5 px rounds to 86
  for (const auto& p : powers) {
    gauge.SetPower(p.power);
    EXPECT_EQ(gauge.Power(), p.shown);
    EXPECT_EQ(gauge.Clip().y, p.top * kOne) << p.power;
  }
  EXPECT_EQ(gauge.ValueAt(470, 469), kOne);
  EXPECT_EQ(gauge.ValueAt(470, 469 - 57), 2 * kOne);
  const i32 top = gauge.ValueAt(461, 11);  // just over 9.0
  EXPECT_TRUE(top > 9 * kOne && top < 9 * kOne + 16);
  for (const auto& [x, y] : {std::pair{460, 200}, {481, 200}, {470, 470}, {470, 10}}) {
    EXPECT_EQ(gauge.ValueAt(x, y), -kOne) << x << "," << y;
  }
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
}

TEST_F(HudPackTest, ButtonsAreHitOnTheirPictureOnly) {
  GCloseButton close;  // 19 x 19 at (618, 5)
  GMenuButton menu;    // 100 x 28 at (511, 42)
  GMenuButton missing(400, 0, 0), negative(-1, 0, 0);  // pictures the pack does not hold
  const struct {
    const OClip& button;
    int x, y;
    u8 hit;
  } cases[] = {{close, 618, 5, 1},  {close, 636, 23, 1}, {close, 637, 5, 0}, {close, 617, 5, 0},
               {close, 620, 24, 0}, {menu, 610, 69, 1},  {menu, 611, 42, 0}, {menu, 511, 41, 0},
               {missing, 0, 0, 0},  {negative, 0, 0, 0}};
  for (const auto& k : cases) EXPECT_EQ(HitTestClip(k.button, k.x, k.y, pack.get()), k.hit) << k.x << "," << k.y;
  // Pressed, a button shows its picture; other states but 0 and 1 leave
  // it so; one without a picture stays hidden.
  close.SetState(2);
  close.SetState(5);
  EXPECT_EQ(close.visible, 1);
  GMenuButton blank(0, 0, 0);
  blank.SetState(2);
  EXPECT_EQ(blank.visible, 0);
}

}  // namespace
