// The dirty list and the scene engine drawing a small pack: placements,
// full and dirty redraws, and moving sub-pixel clips without trails.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "platform/clip.h"
#include "platform/dirty_list.h"
#include "platform/engine.h"
#include "platform/image_pack.h"
#include "platform/startup.h"
#include "platform/window.h"
#include "tests/platform/pack_writer.h"
#include "tests/support/process.h"

namespace {

using pack_writer::Bytes;
using pack_writer::Code;
using pack_writer::Record;

constexpr u32 kBackground = 0x202020;
constexpr int kWidth = 16;
constexpr int kHeight = 12;

// Picture indices of the test pack.
enum : i16 { kTable = 0, kBall = 1, kMarker = 2, kShadow = 3, kPalette = 4, kPictures = 5 };

u32 PixelAt(const Surface& s, int x, int y) {
  const u8* p = s.At(x, y);
  return p[0] | (p[1] << 8) | (p[2] << 16);
}

TEST(DirtyList, MergesOverlapsAgainAndAgainAndDropsWhenFull) {
  DirtyList list(8);
  list.Add(Rect(0, 0, 9, 9));
  list.Add(Rect(10, 0, 19, 9));  // touching sides, no shared pixel
  ASSERT_EQ(list.count, 2);
  EXPECT_EQ(list.Bounds(), Rect(0, 0, 19, 9));
  list.Add(Rect(5, 5, 12, 12));
  ASSERT_EQ(list.count, 1);
  EXPECT_EQ(list.items[0], Rect(0, 0, 19, 12));

  // A merge that grows the new rectangle over one already passed by needs
  // another pass.
  list.Clear();
  list.Add(Rect(0, 0, 3, 1));
  list.Add(Rect(3, 2, 6, 5));  // touching rows
  ASSERT_EQ(list.count, 2);
  list.Add(Rect(6, 1, 6, 2));
  ASSERT_EQ(list.count, 1);
  EXPECT_EQ(list.items[0], Rect(0, 0, 6, 5));

  // A full list drops what merges with nothing, and takes what merges.
  DirtyList full(2);
  for (const Rect& r : {Rect(0, 0, 1, 1), Rect(5, 5, 6, 6), Rect(10, 10, 11, 11)}) full.Add(r);
  EXPECT_EQ(full.count, 2);
  EXPECT_EQ(full.Bounds(), Rect(0, 0, 6, 6));
  full.Add(Rect(1, 1, 5, 5));
  ASSERT_EQ(full.count, 1);
  EXPECT_EQ(full.items[0], Rect(0, 0, 6, 6));
}

// The scene draws from this pack: an opaque 8 x 6 table, a solid 4 x 4
// masked ball with no transparent border (so any pixel left behind shows),
// a 3 x 2 marker whose pixels name their position, a 4 x 4 shadow and a
// palette picture the scene never draws.
class SceneTest : public testing::Test {
 protected:
  void SetUp() override {
    std::snprintf(g_DataDir, sizeof g_DataDir, "%s/", dir.Path().c_str());
    ASSERT_TRUE(testing_support::WriteFile(dir / "640x480/.keep", {}));
    ASSERT_TRUE(pack_writer::WritePack(
        dir / "640x480", 1, 8,
        {pack_writer::Join({Record(0, 8, 6, 0, pack_writer::CodedPixels(8, 6)),
                            Record(2, 4, 4, 2, pack_writer::Pixels(std::vector<u32>(16, 0xE02010))),
                            Record(15, 4, 4, 0, Bytes(16, 0)),
                            Record(2, 3, 2, 4, pack_writer::CodedPixels(3, 2)),
                            Record(15, 3, 2, 0, Bytes(6, 0)), Record(14, 4, 4, 0, Bytes(16, 128)),
                            Record(12, 2, 2, 7, Bytes(4, 1)), Record(15, 2, 2, 0, Bytes(4, 0))})}));
    pack.reset(ImagePack::Create("640x480"));
    ASSERT_EQ(pack->ImageCount(), kPictures);
    window.CreateOffscreen(kWidth, kHeight);
    engine.Init(&window, pack.get(), &clips, &dirty);
    engine.background = kBackground;
    engine.clearFlag = 1;
    engine.ClearBackground(true);
  }

  OClip* AddClip(i16 image, int x, int y, u8 anchor = kAnchorTopLeft, u8 subpixel = 0) {
    OClip* clip = &clipStore[clips.Count()];
    clip->imageIndex = image;
    clip->x = x;
    clip->y = y;
    clip->anchor = anchor;
    clip->subpixel = subpixel;
    clip->visible = 1;
    clips.Add(clip);
    return clip;
  }

  Surface& Screen() { return *window.BackBuffer(); }

  std::vector<u8> ScreenBytes() const {
    const Surface& s = *window.BackBuffer();
    return std::vector<u8>(s.base, s.base + s.pitch * s.height);
  }
  // The back buffer against a full redraw of the same clips (which leaves
  // the state of the dirty redraw as it was).
  void ExpectSameAsFullRedraw() {
    const std::vector<u8> dirtyRedraw = ScreenBytes();
    engine.DrawAll();
    ASSERT_EQ(dirtyRedraw, ScreenBytes());
  }

  testing_support::TempDir dir;
  std::unique_ptr<ImagePack> pack;
  OWindow window;
  OClip clipStore[16];
  PointerList<OClip> clips{16};
  DirtyList dirty{64};
  OEngine engine;
};

TEST_F(SceneTest, AnchorsPlaceThePicture) {
  struct Case {
    u8 anchor;
    int left, top;  // whole-pixel placement at (8, 6)
    int subLeft;    // the same clip with the sub-pixel flag
  };
  const Case cases[] = {{kAnchorTopLeft, 8, 6, 8},     {kAnchorCentre, 7, 5, 7},
                        {kAnchorTopRight, 6, 6, 6},    {kAnchorBottomLeft, 8, 5, 9},
                        {kAnchorBottomRight, 6, 5, 6}};
  OClip* marker = AddClip(kMarker, 8 << 8, 6 << 8);
  for (const Case& c : cases) {
    for (u8 subpixel = 0; subpixel < 2; ++subpixel) {
      SCOPED_TRACE(testing::Message() << "anchor " << int(c.anchor) << " sub-pixel " << int(subpixel));
      marker->anchor = c.anchor;
      marker->subpixel = subpixel;
      engine.DrawAll();
      const int left = subpixel ? c.subLeft : c.left;
      EXPECT_EQ(PixelAt(Screen(), left, c.top), Code(0, 0));
      EXPECT_EQ(PixelAt(Screen(), left + 2, c.top + 1), Code(2, 1));
      EXPECT_EQ(PixelAt(Screen(), left - 1, c.top), kBackground);
    }
  }
  marker->anchor = 5;  // no placement: nothing drawn
  engine.DrawAll();
  for (int x = 0; x < kWidth; ++x) ASSERT_EQ(PixelAt(Screen(), x, 5), kBackground);
}

TEST_F(SceneTest, DrawAllPaintsVisibleClipsInListOrder) {
  AddClip(kTable, 0, 0);
  AddClip(kBall, 2 << 8, 1 << 8);
  AddClip(kPalette, 10 << 8, 0);  // never drawn by the scene
  AddClip(99, 12 << 8, 0);        // no such picture
  AddClip(kBall, 12 << 8, 8 << 8)->visible = 0;
  OClip* last = AddClip(kShadow, 5 << 8, 2 << 8);
  engine.DrawAll();
  EXPECT_EQ(Screen().pixels, nullptr);
  EXPECT_EQ(PixelAt(Screen(), 0, 0), Code(0, 0));
  EXPECT_EQ(PixelAt(Screen(), 2, 1), 0xE02010u);
  EXPECT_EQ(PixelAt(Screen(), 5, 2), 0x701008u);  // the shadow halves the ball under it
  EXPECT_EQ(PixelAt(Screen(), 7, 5), (Code(7, 5) >> 1) & 0x7F7F7F);
  EXPECT_EQ(PixelAt(Screen(), 10, 0), kBackground);
  EXPECT_EQ(PixelAt(Screen(), 12, 0), kBackground);
  EXPECT_EQ(PixelAt(Screen(), 12, 8), kBackground);

  // Without the full-redraw flag the background is left as it was.
  last->visible = 0;
  engine.clearFlag = 0;
  Screen().Lock();
  Screen().FillRect(0x0000FF, Rect(8, 0, 15, 11));
  Screen().Unlock();
  engine.DrawAll();
  engine.ClearBackground(true);
  EXPECT_EQ(PixelAt(Screen(), 15, 11), 0x0000FFu);
  engine.clearFlag = 1;
  engine.ClearBackground(true);
  EXPECT_EQ(PixelAt(Screen(), 15, 11), kBackground);
  EXPECT_EQ(Screen().pixels, nullptr);
}

TEST_F(SceneTest, DirtyRedrawRepaintsOnlyWhatChanged) {
  AddClip(kTable, 0, 0);
  OClip* ball = AddClip(kBall, 2 << 8, 1 << 8);
  Rect area;
  ASSERT_EQ(engine.DrawDirty(area, 0), 1);
  EXPECT_EQ(area, Rect(0, 0, 7, 5));
  EXPECT_EQ(ball->changed, 2);
  ExpectSameAsFullRedraw();
  EXPECT_EQ(engine.DrawDirty(area, 0), 0);

  // Less than a pixel: a whole-pixel clip does not repaint; a new alpha does.
  ball->x += 200;
  EXPECT_EQ(engine.DrawDirty(area, 0), 0);
  ball->alpha = 9;
  EXPECT_EQ(engine.DrawDirty(area, 0), 1);

  // Moved off the table: the table shows again where it was.
  ball->x = 10 << 8;
  ball->y = 7 << 8;
  ASSERT_EQ(engine.DrawDirty(area, 0), 1);
  EXPECT_EQ(ball->changed, 3);
  EXPECT_EQ(area, Rect(2, 1, 13, 10));
  ExpectSameAsFullRedraw();

  // Hidden: its area returns to the background; hidden again: nothing.
  ball->visible = 0;
  ASSERT_EQ(engine.DrawDirty(area, 0), 1);
  EXPECT_EQ(ball->changed, 1);
  EXPECT_EQ(area, Rect(10, 7, 13, 10));
  ExpectSameAsFullRedraw();
  EXPECT_EQ(engine.DrawDirty(area, 0), 0);

  // A picture that leaves the pack counts as hidden.
  ball->visible = 1;
  ASSERT_EQ(engine.DrawDirty(area, 0), 1);
  ball->imageIndex = 99;
  ASSERT_EQ(engine.DrawDirty(area, 0), 1);
  EXPECT_EQ(area, Rect(10, 7, 13, 10));
  ExpectSameAsFullRedraw();
  EXPECT_EQ(engine.DrawDirty(area, 0), 0);

  // A given area is repainted even when nothing changed, and only it.
  Screen().Lock();
  Screen().Fill(0x00FF00);
  Screen().Unlock();
  area = Rect(5, 3, 9, 8);
  ASSERT_EQ(engine.DrawDirty(area, 1), 1);
  EXPECT_EQ(area, Rect(5, 3, 9, 8));
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      u32 expected = 0x00FF00;
      if (area.Contains(x, y)) expected = (x < 8 && y < 6) ? Code(x, y) : kBackground;
      ASSERT_EQ(PixelAt(Screen(), x, y), expected) << x << "," << y;
    }
  }
}

TEST_F(SceneTest, MovingSubpixelClipsLeaveNoTrail) {
  // A solid ball and its shadow moved through every mix of whole and
  // fractional coordinates (a fraction alone too), partly off the edges;
  // after each dirty redraw the screen must equal a full redraw.
  AddClip(kTable, 0, 0);
  OClip* shadow = AddClip(kShadow, 0, 0, kAnchorCentre, 1);
  OClip* ball = AddClip(kBall, 0, 0, kAnchorCentre, 1);
  const int path[][2] = {{5 << 8, 4 << 8},   {1400, 4 << 8},    {1400, 1100},      {6 << 8, 1100},
                         {6 << 8, 5 << 8},   {1700, 5 << 8},    {7 << 8, 1390},    {1, 1},
                         {-300, 200},        {4000, 2900},      {4100, 2900},      {4100, 11 << 8},
                         {9 << 8, 6 << 8},   {9 << 8 | 128, 6 << 8}, {2 << 8, 2 << 8}};
  Rect area;
  for (const auto& p : path) {
    SCOPED_TRACE(testing::Message() << "ball at " << p[0] << "," << p[1]);
    ball->x = p[0];
    ball->y = p[1];
    shadow->x = p[0] + 300;
    shadow->y = p[1] + 300;
    engine.DrawDirty(area, 0);
    ExpectSameAsFullRedraw();
  }
}

// Counts the ticks and start-ups that reach it.
struct CountingClip : OClip {
  void Update() override { ++updates; }
  int updates = 0;
};
struct CountingEngine : OEngine {
  i32 OnInit() override { return ++inits; }
  int inits = 0;
};

TEST_F(SceneTest, InitAndTickReachTheSubclassAndEveryClip) {
  CountingClip a, b;
  clips.Add(&a);
  clips.Add(&b);
  CountingEngine e;
  e.Init(&window, pack.get(), &clips, &dirty);
  EXPECT_EQ(e.Tick(), 1);
  EXPECT_EQ(e.inits, 1);
  EXPECT_TRUE(a.updates == 1 && b.updates == 1);
}

}  // namespace
