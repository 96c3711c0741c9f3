// The game screen: its layout, the options applied after the menu, the
// effects asked for, and a dirty redraw that always shows what a full
// redraw of the same clips shows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/window.h"
#include "tests/game/game_rig.h"
#include "tools/common/png_writer.h"

namespace {

using game_testing::GameRig;

constexpr i32 kOne = 256;

std::vector<u8> Pixels(OWindow& window) {
  const Surface* s = window.BackBuffer();
  std::vector<u8> rgb;
  rgb.reserve(640 * 480 * 3);
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) {
      const u8* p = s->At(x, y);
      rgb.insert(rgb.end(), {p[2], p[1], p[0]});
    }
  }
  return rgb;
}

// Pixels where the screen the dirty redraws left differs from a full
// redraw of the same clips (which then stays on the screen). A differing
// screen is kept as a picture for a person to look at.
int PixelsOffFullRedraw(GameRig& rig, const std::string& name) {
  const std::vector<u8> dirty = Pixels(rig.window);
  rig.game->DrawAll();
  const std::vector<u8> full = Pixels(rig.window);
  int n = 0;
  for (size_t i = 0; i < full.size(); i += 3) {
    n += dirty[i] != full[i] || dirty[i + 1] != full[i + 1] || dirty[i + 2] != full[i + 2];
  }
  if (n) png::Write(testing_support::ArtifactDir() + "/" + name + ".png", 640, 480, 3, dirty);
  return n;
}

// The menu opens over the game; the options screen may change the
// shadows; the window repaints the game in full and resumes it.
void MenuOverTheGame(GameRig& rig, u8 shadows) {
  rig.game->Pause();
  rig.Settings().shadows = shadows;
  rig.game->ApplySettings();
  rig.window.BackBuffer()->Lock();
  rig.window.BackBuffer()->Fill(0xff00ff);  // the screens drawn over the game
  rig.window.BackBuffer()->Unlock();
  rig.game->DrawAll();
  rig.game->Resume();
}

// Demo frames, then the menu over a flight twice, switching the shadows
// off and on again (they come back where the ball and the lattice have
// taken them, and move on at once): the screen always equals a full
// redraw, so no clip leaves a trail.
TEST(GameScreenTest, DirtyRedrawLeavesNoTrails) {
  GameRig rig(89);
  rig.Tick(40);
  EXPECT_EQ(PixelsOffFullRedraw(rig, "trail_title"), 0);
  rig.game->StartDemo();
  for (int i = 0; i < 8; ++i) {
    rig.Tick(75);
    EXPECT_EQ(PixelsOffFullRedraw(rig, "trail_demo_" + std::to_string(i)), 0) << i;
  }
  ASSERT_TRUE(rig.TickUntil(kStateShot));
  MenuOverTheGame(rig, 0);
  rig.Tick(2);
  EXPECT_EQ(PixelsOffFullRedraw(rig, "trail_no_shadows"), 0);
  MenuOverTheGame(rig, 1);
  for (int i = 0; i < 6; ++i) {
    rig.Tick(2);
    EXPECT_EQ(PixelsOffFullRedraw(rig, "trail_resumed_" + std::to_string(i)), 0) << i;
  }
}

// Physics off puts every ball back on its centre, shadows off hides them,
// and the controls switched bring the cue power and the dots with them.
TEST(GameScreenTest, OptionsAppliedAfterTheMenu) {
  GameRig rig(97);
  ASSERT_TRUE(rig.StartPlaying());
  EXPECT_TRUE(rig.game->Gauge().Clip().visible);
  EXPECT_EQ(rig.game->Gauge().Clip().y, (469 - 4 * 57) * kOne);  // Pen: 4.0
  rig.Click(231, 200);
  ASSERT_TRUE(rig.TickUntil(kStateMatch));  // the lattice has pushed the balls aside
  Board& board = rig.GetBoard();
  auto offCentre = [&] {
    int n = 0;
    for (int i = 0; i < Board::kCells; ++i) {
      const int r = i / Board::kColumns, c = i % Board::kColumns;
      const Ball& b = board.Cell(r, c);
      if (b.colour) n += b.x != Board::CellX(r, c) || b.y != Board::CellY(r) || b.ballClip.x != b.x ||
                         b.shadowClip.visible;
    }
    return n;
  };
  ASSERT_GT(offCentre(), 0);
  rig.game->Pause();
  rig.Settings().physics = 0;
  rig.Settings().shadows = 0;
  rig.Settings().controls = kControlsKeys;
  rig.game->ApplySettings();
  EXPECT_EQ(offCentre(), 0);
  EXPECT_FALSE(rig.game->cueBall.shadowClip.visible);
  EXPECT_EQ(rig.game->GetAimer().mode, kControlsKeys);
  EXPECT_EQ(rig.game->cuePower, 0);
  EXPECT_EQ(rig.game->Gauge().Power(), kOne);
  ASSERT_TRUE(rig.TickUntil(kStatePlayerAims));
  EXPECT_TRUE(rig.game->GetAimer().dots[0].ballClip.visible);

  rig.game->Pause();
  rig.Settings().controls = kControlsPen;
  rig.game->ApplySettings();
  EXPECT_EQ(rig.game->cuePower, 4 * kOne);
  for (const Ball& dot : rig.game->GetAimer().dots) EXPECT_EQ(dot.state, kBallHidden);
}

// Shot when the ball leaves, bounce at a cushion and after a shot that
// makes no cluster; nothing at all with the Sound setting off.
TEST(GameScreenTest, EffectsAtTheirMoments) {
  GameRig rig(101);
  ASSERT_TRUE(rig.StartPlaying());
  rig.ClearBoard();
  rig.Put(0, 0, rig.OtherColour());
  rig.Put(0, 1, rig.game->cueBall.colour == 1 ? 3 : 1);
  rig.TakeEffects();
  rig.Click(440, 312);  // off the right cushion, up to the top left
  ASSERT_TRUE(rig.TickUntil(kStateMatch));
  EXPECT_EQ(rig.TakeEffects(), (std::vector<int>{SoundShot, SoundBounce}));
  rig.Tick();
  EXPECT_EQ(rig.TakeEffects(), std::vector<int>{SoundBounce});  // two is no cluster
  EXPECT_EQ(rig.game->State(), kStateGrowth);

  rig.game->Pause();
  rig.Settings().sound = 0;
  rig.game->ApplySettings();
  ASSERT_TRUE(rig.TickUntil(kStatePlayerAims));
  rig.Click(440, 312);
  rig.TickUntilAiming();
  EXPECT_TRUE(rig.TakeEffects().empty());
}

}  // namespace
