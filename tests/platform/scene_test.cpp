#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

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

// A colour that names the source pixel it came from.
u32 Code(int sx, int sy) { return 0x400000u + static_cast<u32>(sy * 256 + sx + 1); }

Bytes CodedPixels(int w, int h) {
  std::vector<u32> colours;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) colours.push_back(Code(x, y));
  }
  return pack_writer::Pixels(colours);
}

// The pack the scene draws from: an opaque 8 x 6 table, a solid 4 x 4
// masked ball with no transparent border (so any pixel left behind
// shows), a 3 x 2 marker whose pixels name their position, a 4 x 4 shadow
// and a palette picture the scene never draws.
void WriteScenePack(const std::string& dir) {
  const Bytes solidMask(16, 0);
  ASSERT_TRUE(pack_writer::WritePack(
      dir, 1, 8,
      {pack_writer::Join({Record(0, 8, 6, 0, CodedPixels(8, 6)),
                          Record(2, 4, 4, 2, pack_writer::Pixels(std::vector<u32>(16, 0xE02010))),
                          Record(15, 4, 4, 0, solidMask),
                          Record(2, 3, 2, 4, CodedPixels(3, 2)),
                          Record(15, 3, 2, 0, Bytes(6, 0)),
                          Record(14, 4, 4, 0, Bytes(16, 128)),
                          Record(12, 2, 2, 7, Bytes(4, 1)),
                          Record(15, 2, 2, 0, Bytes(4, 0))})}));
}

class SceneTest : public testing::Test {
 protected:
  void SetUp() override {
    std::snprintf(g_DataDir, sizeof g_DataDir, "%s/", dir.Path().c_str());
    ASSERT_TRUE(testing_support::WriteFile(dir / "640x480/.keep", {}));
    WriteScenePack(dir / "640x480");
    pack.reset(ImagePack::Create("640x480"));
    ASSERT_EQ(pack->ImageCount(), kPictures);
    window.CreateOffscreen(kWidth, kHeight);
    engine.Init(&window, pack.get(), &clips, &dirty);
    engine.background = kBackground;
    engine.clearFlag = 1;
    engine.ClearBackground(true);
    referenceWindow.CreateOffscreen(kWidth, kHeight);
    reference.Init(&referenceWindow, pack.get(), &clips, &referenceDirty);
    reference.background = kBackground;
    reference.clearFlag = 1;
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

  // The back buffer against a full redraw of the same clips.
  void ExpectSameAsFullRedraw() {
    reference.DrawAll();
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        ASSERT_EQ(PixelAt(Screen(), x, y), PixelAt(*referenceWindow.BackBuffer(), x, y))
            << "at " << x << "," << y;
      }
    }
  }

  testing_support::TempDir dir;
  std::unique_ptr<ImagePack> pack;
  OWindow window;
  OWindow referenceWindow;
  OClip clipStore[16];
  PointerList<OClip> clips{16};
  DirtyList dirty{64};
  DirtyList referenceDirty{64};
  OEngine engine;
  OEngine reference;
};

TEST(DirtyList, MergesOverlapsOnly) {
  DirtyList list(8);
  list.Add(Rect(0, 0, 9, 9));
  list.Add(Rect(10, 0, 19, 9));  // touching sides, no shared pixel
  ASSERT_EQ(list.count, 2);
  list.Add(Rect(5, 5, 12, 12));
  ASSERT_EQ(list.count, 1);
  EXPECT_EQ(list.items[0], Rect(0, 0, 19, 12));

  // A merge that grows the new rectangle over one already passed by needs
  // another pass.
  DirtyList again(8);
  again.Add(Rect(0, 0, 3, 1));
  again.Add(Rect(3, 2, 6, 5));
  ASSERT_EQ(again.count, 2);
  again.Add(Rect(6, 1, 6, 2));
  ASSERT_EQ(again.count, 1);
  EXPECT_EQ(again.items[0], Rect(0, 0, 6, 5));
  EXPECT_EQ(again.Bounds(), Rect(0, 0, 6, 5));
}

TEST(DirtyList, AFullListDropsWhatMergesWithNothing) {
  DirtyList list(2);
  list.Add(Rect(0, 0, 1, 1));
  list.Add(Rect(5, 5, 6, 6));
  list.Add(Rect(10, 10, 11, 11));
  ASSERT_EQ(list.count, 2);
  EXPECT_EQ(list.Bounds(), Rect(0, 0, 6, 6));
  list.Add(Rect(1, 1, 5, 5));  // merges both, so it fits
  ASSERT_EQ(list.count, 1);
  EXPECT_EQ(list.items[0], Rect(0, 0, 6, 6));
}

TEST_F(SceneTest, AnchorsPlaceThePicture) {
  struct Case {
    u8 anchor;
    int left, top;        // whole-pixel placement at (8, 6)
    int subLeft;          // the same clip with the sub-pixel flag
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
  AddClip(kPalette, 10 << 8, 0);       // never drawn by the scene
  AddClip(99, 12 << 8, 0);              // no such picture
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
  EXPECT_EQ(PixelAt(Screen(), 15, 11), 0x0000FFu);
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

  // Less than a pixel: a whole-pixel clip does not repaint.
  ball->x += 200;
  EXPECT_EQ(engine.DrawDirty(area, 0), 0);

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
}

TEST_F(SceneTest, AGivenAreaIsRepaintedEvenWhenNothingChanged) {
  AddClip(kTable, 0, 0);
  Rect area;
  engine.DrawDirty(area, 0);
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
  // fractional coordinates, partly off the edges too; after each dirty
  // redraw the screen must equal a full redraw.
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

TEST_F(SceneTest, SubpixelClipsAreComparedByTheirExactPosition) {
  OClip* ball = AddClip(kBall, 3 << 8, 3 << 8, kAnchorTopLeft, 1);
  Rect area;
  ASSERT_EQ(engine.DrawDirty(area, 0), 1);
  // Whole position: the whole-pixel blit one up and left of the origin.
  EXPECT_EQ(area, Rect(3, 3, 6, 6));
  ball->x += 64;
  ASSERT_EQ(engine.DrawDirty(area, 0), 1);
  // With a fraction on x only the fractional blit still writes 3 x 3
  // pixels from the origin (4, 4), rows 4 to 6 included.
  EXPECT_EQ(area, Rect(3, 3, 6, 6));
  EXPECT_EQ(ball->rect, Rect(4, 4, 6, 6));
  ExpectSameAsFullRedraw();
  ball->alpha = 9;  // a change of alpha repaints too
  EXPECT_EQ(engine.DrawDirty(area, 0), 1);
}

// Counts the ticks that reach it.
class CountingClip : public OClip {
 public:
  void Update() override { ++updates; }
  int updates = 0;
};

class InitCountingEngine : public OEngine {
 public:
  i32 OnInit() override { return ++inits; }
  int inits = 0;
};

TEST_F(SceneTest, InitAndTickReachTheSubclassAndTheClips) {
  CountingClip a;
  CountingClip b;
  clips.Add(&a);
  clips.Add(&b);
  InitCountingEngine e;
  e.Init(&window, pack.get(), &clips, &dirty);
  EXPECT_EQ(e.inits, 1);
  EXPECT_EQ(e.Tick(), 1);
  EXPECT_EQ(a.updates, 1);
  EXPECT_EQ(b.updates, 1);
}

}  // namespace
