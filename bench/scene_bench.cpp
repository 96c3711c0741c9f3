// bench-links: platform_window platform
// The drawing cost of a game frame on the 640 x 480 back buffer: a full
// redraw of the table with 300 balls and their shadows, a typical
// dirty-rectangle frame (one flying ball and a few effect balls moving),
// and the conversion of the 24-bit buffer to a 32-bit display image.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>
#include <sys/stat.h>

#include "platform/display_format.h"
#include "platform/engine.h"
#include "platform/image_pack.h"
#include "platform/startup.h"
#include "platform/window.h"
#include "tests/platform/pack_writer.h"

namespace {

using pack_writer::Bytes;
using pack_writer::Record;

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kBallSize = 22;  // a 20-pixel disc with a transparent border
constexpr int kColours = 8;
// Picture indices of the synthetic pack.
constexpr int kFirstBall = 4;  // after the four table quadrants
constexpr int kShadowImage = kFirstBall + kColours;

// A 320 x 240 quadrant of felt with a little texture.
Bytes Quadrant(int q) {
  std::vector<u32> colours;
  for (int y = 0; y < 240; ++y) {
    for (int x = 0; x < 320; ++x) colours.push_back(0x105020u + static_cast<u32>((x * 7 + y * 3 + q) & 15));
  }
  return pack_writer::Pixels(colours);
}

// Mask of a disc: `inside` within, a soft one-pixel edge, transparent outside.
Bytes DiscMask(int inside, int edge) {
  Bytes mask;
  const int c2 = kBallSize - 1;  // twice the centre, so the disc sits centred
  for (int y = 0; y < kBallSize; ++y) {
    for (int x = 0; x < kBallSize; ++x) {
      const int dx = 2 * x - c2;
      const int dy = 2 * y - c2;
      const int d2 = dx * dx + dy * dy;  // four times the squared distance
      mask.push_back(static_cast<unsigned char>(d2 <= 18 * 18 ? inside : (d2 <= 20 * 20 ? edge : 255)));
    }
  }
  return mask;
}

// Writes the pack (table, eight ball colours, one shadow) and loads it.
ImagePack* MakePack() {
  static char dir[] = "/tmp/scene_bench.XXXXXX";
  if (!mkdtemp(dir)) std::abort();
  std::snprintf(g_DataDir, sizeof g_DataDir, "%s/", dir);
  Bytes data;
  for (int q = 0; q < 4; ++q) data = pack_writer::Join({data, Record(0, 320, 240, 0, Quadrant(q))});
  const int maskRecord = 4 + kColours;
  for (int c = 0; c < kColours; ++c) {
    const u32 colour = 0x2040E0u * static_cast<u32>(c + 1) & 0xFFFFFF;
    data = pack_writer::Join(
        {data, Record(2, kBallSize, kBallSize, maskRecord,
                      pack_writer::Pixels(std::vector<u32>(kBallSize * kBallSize, colour)))});
  }
  data = pack_writer::Join({data, Record(15, kBallSize, kBallSize, 0, DiscMask(0, 128)),
                            Record(14, kBallSize, kBallSize, 0, DiscMask(140, 200))});
  const std::string packDir = std::string(dir) + "/640x480";
  if (mkdir(packDir.c_str(), 0700) != 0) std::abort();
  if (!pack_writer::WritePack(packDir, 1, 4 + kColours + 2, {data})) std::abort();
  ImagePack* pack = ImagePack::Create("640x480");
  for (const char* name : {"/bmst.bin", "/bmdt0.bin", ""}) std::remove((packDir + name).c_str());
  std::remove(dir);
  if (pack->ImageCount() != kShadowImage + 1) std::abort();
  return pack;
}

// A ball sprite as the game makes one: shadow and ball, centred, sub-pixel.
struct Sprite {
  OClip shadow;
  OClip ball;
  void Place(int x, int y) {
    ball.x = x;
    ball.y = y;
    shadow.x = x + 5 * 128;  // the shadow falls half the height (10) away
    shadow.y = y + 5 * 128;
  }
};

// The game screen: the table, 300 balls on the hexagonal grid at sub-pixel
// positions, and seven moving balls (one flying, six effects) on top.
struct Scene {
  static constexpr int kBoardBalls = 300;
  static constexpr int kMovers = 7;

  Scene() : clips(3000), dirty(3000) {
    window.CreateOffscreen(kWidth, kHeight);
    engine.Init(&window, pack.get(), &clips, &dirty);
    engine.background = 0x000000;
    engine.clearFlag = 1;
    for (int q = 0; q < 4; ++q) {
      table[q].imageIndex = static_cast<i16>(q);
      table[q].x = (q % 2) * 320 * 256;
      table[q].y = (q / 2) * 240 * 256;
      table[q].visible = 1;
      clips.Add(&table[q]);
    }
    for (int i = 0; i < kBoardBalls + kMovers; ++i) {
      Sprite& s = sprites[i];
      for (OClip* c : {&s.shadow, &s.ball}) {
        c->anchor = kAnchorCentre;
        c->subpixel = 1;
        c->visible = 1;
      }
      s.shadow.imageIndex = kShadowImage;
      s.ball.imageIndex = static_cast<i16>(kFirstBall + i % kColours);
      clips.Add(&s.shadow);
      clips.Add(&s.ball);
      const int row = i / 22;
      const int col = i % 22;
      // 20-pixel cells, odd rows half a cell right, a little jitter below a pixel.
      s.Place((16 + col * 20 + (row & 1) * 10) * 256 + (i * 37 & 255),
              (16 + row * 17) * 256 + (i * 91 & 255));
    }
  }

  // Moves the flying ball and the effect balls one step.
  void Step() {
    ++frame;
    for (int m = 0; m < kMovers; ++m) {
      const int t = (frame + m * 40) % 400;
      const int along = t < 200 ? t : 400 - t;  // back and forth
      sprites[kBoardBalls + m].Place((40 + along * 2) * 256 + along * 83 % 256,
                                     (440 - along * 2) * 256 + (m * 29 + along * 57) % 256);
    }
  }

  std::unique_ptr<ImagePack> pack{MakePack()};
  OWindow window;
  PointerList<OClip> clips;
  DirtyList dirty;
  OEngine engine;
  OClip table[4];
  Sprite sprites[kBoardBalls + kMovers];
  int frame = 0;
};

Scene& TheScene() {
  static Scene* scene = new Scene();
  return *scene;
}

// The 32-bit image the frame is converted into.
std::vector<u8>& DisplayImage() {
  static std::vector<u8> image(static_cast<size_t>(kWidth) * kHeight * 4);
  return image;
}

void BM_FullRedraw(benchmark::State& state) {
  Scene& scene = TheScene();
  for (auto _ : state) {
    scene.engine.DrawAll();
    benchmark::DoNotOptimize(scene.window.BackBuffer()->base[1000]);
  }
}
BENCHMARK(BM_FullRedraw)->Unit(benchmark::kMicrosecond);

// What the game does each tick: the dirty redraw and, with argument 1,
// the conversion of its bounding box for the window.
void BM_DirtyFrame(benchmark::State& state) {
  const bool convert = state.range(0) != 0;
  Scene& scene = TheScene();
  scene.engine.DrawAll();
  Rect area;
  scene.engine.DrawDirty(area, 0);
  const DisplayFormat format;  // 24-bit depth, 4 bytes a pixel
  std::vector<u8>& image = DisplayImage();
  long pixels = 0;
  for (auto _ : state) {
    scene.Step();
    if (!scene.engine.DrawDirty(area, 0)) continue;
    pixels += area.Width() * area.Height();
    int x0, y0, x1, y1;
    if (convert && ClipUpdateRect(area, kWidth, kHeight, x0, y0, x1, y1)) {
      ConvertRect(format, *scene.window.BackBuffer(), image.data(), kWidth * 4, x0, y0, x1, y1);
    }
    benchmark::DoNotOptimize(image.data());
  }
  state.counters["bounding_px"] =
      benchmark::Counter(static_cast<double>(pixels), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_DirtyFrame)->ArgName("convert")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_ConvertFullFrame(benchmark::State& state) {
  Scene& scene = TheScene();
  scene.engine.DrawAll();
  const DisplayFormat format;  // 24-bit depth, 4 bytes a pixel
  std::vector<u8>& image = DisplayImage();
  for (auto _ : state) {
    ConvertRect(format, *scene.window.BackBuffer(), image.data(), kWidth * 4, 0, 0, kWidth - 1,
                kHeight - 1);
    benchmark::DoNotOptimize(image.data());
  }
}
BENCHMARK(BM_ConvertFullFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
