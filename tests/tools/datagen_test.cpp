// The data generator's output read back with a reader of its own: the
// image pack's records and what the program relies on in each picture,
// and the sound effects' wave files. The generator runs for real, twice.
#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/image_pack.h"
#include "platform/startup.h"
#include "tests/support/process.h"

using testing_support::ChildProcess;
using testing_support::ReadFile;
using testing_support::TempDir;

namespace {

using Bytes = std::vector<std::uint8_t>;

unsigned U16(const Bytes& b, size_t at) { return b[at] | (b[at + 1] << 8); }
std::uint32_t U32(const Bytes& b, size_t at) {
  return U16(b, at) | (static_cast<std::uint32_t>(U16(b, at + 2)) << 16);
}

Bytes Load(const std::string& path) {
  const std::string s = ReadFile(path);
  return Bytes(s.begin(), s.end());
}

// ---- An image pack reader written for the test ----

struct Record {
  unsigned type = 0, width = 0, height = 0;
  std::uint32_t keyOrLink = 0;
  Bytes data;
};

struct PackImage {
  int record = 0;
  const Record* r = nullptr;
  int W() const { return static_cast<int>(r->width); }
  int H() const { return static_cast<int>(r->height); }
  unsigned Type() const { return r->type; }
};

struct Pack {
  unsigned files = 0, declared = 0;
  std::vector<Record> records;
  std::vector<PackImage> images;
  std::string problem;  // empty when the files parse cleanly
};

// Parses the index and data files strictly: every record whole, the pad
// byte where the data length is odd, nothing after the last record.
Pack ReadPack(const std::string& dir) {
  Pack pack;
  const Bytes index = Load(dir + "/bmst.bin");
  if (index.size() < 4) return pack.problem = "no index", pack;
  pack.files = U16(index, 0), pack.declared = U16(index, 2);
  for (unsigned f = 0; f < pack.files; ++f) {
    const Bytes d = Load(dir + "/bmdt" + std::to_string(f) + ".bin");
    if (d.empty()) return pack.problem = "missing or empty data file " + std::to_string(f), pack;
    size_t p = 0;
    while (p < d.size()) {
      if (d.size() - p < 10) return pack.problem = "partial header", pack;
      Record r;
      r.type = U16(d, p) & 15, r.width = U16(d, p + 2), r.height = U16(d, p + 4), r.keyOrLink = U32(d, p + 6);
      const bool perPixelByte = r.type == 12 || r.type == 14 || r.type == 15;
      const size_t n = static_cast<size_t>(r.width) * r.height * (perPixelByte ? 1 : 3);
      const size_t padded = n + (n & 1);
      if (d.size() - p - 10 < padded) return pack.problem = "record runs past its file", pack;
      if (n & 1 && d[p + 10 + n] != 0) return pack.problem = "pad byte not zero", pack;
      r.data.assign(d.begin() + p + 10, d.begin() + p + 10 + n);
      pack.records.push_back(std::move(r));
      p += 10 + padded;
    }
  }
  for (size_t i = 0; i < pack.records.size(); ++i)
    if (pack.records[i].type != 15) pack.images.push_back({static_cast<int>(i), &pack.records[i]});
  return pack;
}

// ---- Picture helpers ----

std::uint32_t Rgb(const PackImage& im, int x, int y) {
  const size_t i = (static_cast<size_t>(y) * im.W() + x) * 3;
  const Bytes& d = im.r->data;
  return (d[i + 2] << 16) | (d[i + 1] << 8) | d[i];
}

int Luma(std::uint32_t rgb) { return (((rgb >> 16) & 255) * 3 + ((rgb >> 8) & 255) * 6 + (rgb & 255)) / 10; }

// The mask of a masked or palette image (through its link), or of a shadow.
const Bytes& MaskOf(const Pack& pack, const PackImage& im) {
  return im.Type() == 14 ? im.r->data : pack.records[im.r->keyOrLink].data;
}

int MaskAt(const Pack& pack, const PackImage& im, int x, int y) {
  return MaskOf(pack, im)[static_cast<size_t>(y) * im.W() + x];
}

bool HasInk(const PackImage& glyph) {
  for (int y = 0; y < glyph.H(); ++y)
    for (int x = 0; x < glyph.W(); ++x)
      if (Rgb(glyph, x, y) == 0) return true;
  return false;
}

// ---- Running the generator ----

int RunGenerator(const std::vector<std::string>& args, const std::map<std::string, std::string>& env,
                 const std::string& errPath = "") {
  std::vector<std::string> argv = {DATAGEN_EXE};
  argv.insert(argv.end(), args.begin(), args.end());
  ChildProcess child;
  if (!child.Start(argv, env, "", "", errPath)) return -1;
  const auto status = child.Wait(300000);
  return status ? ChildProcess::ExitCode(*status) : -1;
}

std::vector<std::string> FilesUnder(const std::string& dir, const std::string& prefix = "") {
  std::vector<std::string> out;
  DIR* d = opendir(dir.c_str());
  if (!d) return out;
  while (dirent* e = readdir(d)) {
    const std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    const std::string path = dir + "/" + name;
    const auto inner = FilesUnder(path, prefix + name + "/");
    if (e->d_type == DT_DIR)
      out.insert(out.end(), inner.begin(), inner.end());
    else
      out.push_back(prefix + name);
  }
  closedir(d);
  std::sort(out.begin(), out.end());
  return out;
}

class GeneratedData : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    out_ = new TempDir();
    status_ = RunGenerator({out_->Path()}, {});
    pack_ = new Pack(ReadPack(out_->Path() + "/640x480"));
  }
  static void TearDownTestSuite() {
    delete pack_;
    delete out_;
  }
  void SetUp() override {
    ASSERT_EQ(status_, 0) << "the generator failed";
    ASSERT_EQ(pack_->problem, "");
  }
  const Pack& P() const { return *pack_; }
  const PackImage& At(int index) const { return pack_->images.at(index); }

  static TempDir* out_;
  static int status_;
  static Pack* pack_;
};

TempDir* GeneratedData::out_ = nullptr;
int GeneratedData::status_ = -1;
Pack* GeneratedData::pack_ = nullptr;

TEST_F(GeneratedData, PackHoldsExactlyTheDeclaredRecordsAndLinksMasksOfTheSameSize) {
  EXPECT_GE(P().files, 2u);
  EXPECT_EQ(P().records.size(), P().declared);
  EXPECT_EQ(P().images.size(), 620u);
  for (size_t i = 0; i < P().records.size(); ++i) {
    const Record& r = P().records[i];
    if (r.type != 2 && r.type != 12) continue;
    ASSERT_LT(r.keyOrLink, P().records.size()) << "record " << i;
    const Record& m = P().records[r.keyOrLink];
    EXPECT_EQ(m.type, 15u) << "record " << i;
    EXPECT_EQ(m.width, r.width) << "record " << i;
    EXPECT_EQ(m.height, r.height) << "record " << i;
  }
}

struct Expect {
  int first, last;
  unsigned type;
  int maxW, maxH;  // exact when min is 0
  int minW, minH;
};

TEST_F(GeneratedData, EveryIndexHasItsTypeAndSize) {
  for (int k = 0; k <= 42; ++k) {
    EXPECT_EQ(At(k).Type(), 14u) << k;
    EXPECT_EQ(At(k).W(), k + 4) << k;
    EXPECT_EQ(At(k).H(), k + 4) << k;
  }
  for (int c = 1; c <= 8; ++c)
    for (int k = 0; k <= 34; ++k) {
      const PackImage& b = At(35 * c + 8 + k);
      EXPECT_EQ(b.Type(), 2u) << c << "/" << k;
      EXPECT_EQ(b.W(), k + 4) << c << "/" << k;
      EXPECT_EQ(b.H(), k + 4) << c << "/" << k;
    }
  const Expect table[] = {
      {323, 326, 0, 320, 240, 320, 240}, {327, 327, 0, 120, 34, 80, 22},    {328, 328, 2, 20, 2000, 1, 467},
      {329, 329, 2, 154, 35, 1, 1},      {330, 330, 2, 124, 34, 1, 1},      {331, 334, 2, 154, 99, 1, 1},
      {335, 338, 0, 19, 19, 19, 19},     {339, 342, 0, 320, 240, 320, 240}, {343, 352, 2, 25, 23, 1, 1},
      {353, 364, 12, 16, 16, 4, 4},      {588, 588, 0, 596, 260, 1, 1},     {589, 619, 1, 1, 12, 1, 12},
  };
  for (const Expect& e : table)
    for (int i = e.first; i <= e.last; ++i) {
      EXPECT_EQ(At(i).Type(), e.type) << i;
      EXPECT_LE(At(i).W(), e.maxW) << i;
      EXPECT_LE(At(i).H(), e.maxH) << i;
      EXPECT_GE(At(i).W(), e.minW) << i;
      EXPECT_GE(At(i).H(), e.minH) << i;
    }
  for (int d = 344; d <= 352; ++d) {
    EXPECT_EQ(At(d).W(), At(343).W()) << d;
    EXPECT_EQ(At(d).H(), At(343).H()) << d;
  }
}

TEST_F(GeneratedData, BallsAndShadowsSuitSubPixelDrawing) {
  for (int i = 0; i <= 322; ++i) {
    const PackImage& im = At(i);
    const int n = im.W();
    for (int t = 0; t < n; ++t)  // a fully transparent one-pixel border
      for (const auto& [x, y] : {std::pair{t, 0}, {t, n - 1}, {0, t}, {n - 1, t}})
        ASSERT_EQ(MaskAt(P(), im, x, y), 255) << "image " << i << " at " << x << "," << y;
    if (im.Type() != 2) continue;
    // No dark fringe: a transparent pixel next to the disc carries a colour
    // close to the disc's edge, not black.
    for (int y = 1; y < n - 1; ++y)
      for (int x = 1; x < n - 1; ++x) {
        if (MaskAt(P(), im, x, y) != 255) continue;
        for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}})
          if (MaskAt(P(), im, x + dx, y + dy) < 128) {
            ASSERT_GE(Luma(Rgb(im, x, y)) * 2 + 8, Luma(Rgb(im, x + dx, y + dy))) << "image " << i;
          }
      }
  }
  // The rest frame: 22 x 22 with a 20-pixel disc in the middle.
  for (int c = 1; c <= 8; ++c) {
    const PackImage& b = At(35 * c + 8 + 18);
    int solid = 0, left = 99, right = -1;
    for (int y = 0; y < 22; ++y)
      for (int x = 0; x < 22; ++x) {
        if (MaskAt(P(), b, x, y) < 128) ++solid;
        if (MaskAt(P(), b, x, y) < 255) left = std::min(left, x), right = std::max(right, x);
      }
    EXPECT_NEAR(solid, 314, 16) << "colour " << c;  // pi * 10^2
    EXPECT_EQ(left, 1);
    EXPECT_EQ(right, 20);
    EXPECT_EQ(MaskAt(P(), b, 10, 10), 0);
  }
  // Shadows: darkest in the middle at about 55 %, fading out.
  for (int k = 8; k <= 42; ++k) {
    const int mid = (k + 4) / 2;
    EXPECT_NEAR(MaskAt(P(), At(k), mid, mid), 140, 12) << k;
  }
  // The aiming dots (colour 7's first frames) must read on the felt: white.
  for (int i = 253; i <= 257; ++i) {
    const PackImage& dot = At(i);
    long sum = 0, weight = 0;
    for (int y = 0; y < dot.H(); ++y)
      for (int x = 0; x < dot.W(); ++x) {
        const int opacity = 255 - MaskAt(P(), dot, x, y);
        sum += Luma(Rgb(dot, x, y)) * opacity, weight += opacity;
      }
    EXPECT_GT(sum / weight, 170) << i;
  }
}

TEST_F(GeneratedData, ControlPiecesFitHowTheControlsCopyThem) {
  for (int i = 353; i <= 364; ++i) {
    const PackImage& im = At(i);
    for (int y = 0; y < im.H(); ++y)
      for (int x = 0; x < im.W(); ++x)
        if (MaskAt(P(), im, x, y) != 255) {
          ASSERT_NE(im.r->data[y * im.W() + x], 255) << i;
        }
  }
  auto opaque = [&](int i, int x, int y) { return MaskAt(P(), At(i), x, y) == 0; };
  // Group-frame corners: all one size; the edges are copied from the ends
  // of the corner lines.
  for (int i = 354; i <= 356; ++i) {
    EXPECT_EQ(At(i).W(), At(353).W());
    EXPECT_EQ(At(i).H(), At(353).H());
  }
  const int fw = At(353).W(), fh = At(353).H();
  EXPECT_TRUE(opaque(353, fw - 1, 0));
  EXPECT_TRUE(opaque(353, 0, fh - 1));
  EXPECT_TRUE(opaque(354, fw - 1, fh - 1));
  EXPECT_TRUE(opaque(355, fw - 1, fh - 1));
  // Button-face corners: one size, at most 8 x 8; the rows and columns the
  // face is stretched from, and the middle's pixel, opaque.
  for (int i = 357; i <= 360; ++i) {
    EXPECT_EQ(At(i).W(), At(360).W());
    EXPECT_EQ(At(i).H(), At(360).H());
  }
  const int w = At(360).W(), h = At(360).H();
  EXPECT_LE(w, 8);
  EXPECT_LE(h, 8);
  for (int i = 0; i < h; ++i) {
    EXPECT_TRUE(opaque(357, w - 1, i)) << i;
    EXPECT_TRUE(opaque(359, w - 1, i)) << i;
  }
  for (int j = 0; j < w; ++j) {
    EXPECT_TRUE(opaque(357, j, h - 1)) << j;
    EXPECT_TRUE(opaque(358, j, h - 1)) << j;
  }
  ASSERT_TRUE(opaque(360, 0, 0));
  const int body = At(360).r->data[0];
  EXPECT_GE(body, 200);  // light, under the blue button text
  EXPECT_LE(body, 235);
}

TEST_F(GeneratedData, FontGlyphsAreTwelveRowsOfBlackInk) {
  auto glyph = [&](int byte) -> const PackImage& { return At(365 + byte - 33); };
  for (int byte = 33; byte <= 255; ++byte) {
    const PackImage& g = glyph(byte);
    ASSERT_TRUE(g.Type() == 0 || g.Type() == 1) << byte;
    if (g.Type() == 1) {
      EXPECT_EQ(g.r->keyOrLink, 0xFFFFFFu) << byte;
    }
    EXPECT_EQ(g.H(), 12) << byte;
    for (int y = 0; y < g.H(); ++y)
      for (int x = 0; x < g.W(); ++x) {
        const std::uint32_t c = Rgb(g, x, y);
        ASSERT_TRUE(c == 0 || c == 0xFFFFFF) << "byte " << byte << " pixel " << std::hex << c;
      }
  }
  for (int byte = 33; byte <= 126; ++byte) EXPECT_TRUE(HasInk(glyph(byte))) << "byte " << byte;
  for (int byte : {0x82, 0x83, 0x85, 0x87, 0x88, 0x8A, 0x8C, 0x93}) EXPECT_TRUE(HasInk(glyph(byte))) << byte;
  for (int image : {466, 471, 475, 478}) EXPECT_TRUE(HasInk(At(image))) << image;
  for (int d = '1'; d <= '9'; ++d) EXPECT_EQ(glyph(d).W(), glyph('0').W()) << static_cast<char>(d);
  for (int i = 589; i <= 619; ++i) EXPECT_FALSE(HasInk(At(i))) << i;
  // A blank is three times as wide as '!': keep it a word gap.
  EXPECT_LE(3 * glyph('!').W(), 6);
}

TEST_F(GeneratedData, TitleKeepsTheFireworksSkyDark) {
  long sum = 0, count = 0;
  for (int y = 6; y <= 455; ++y)
    for (int x = 6; x <= 455; ++x) {
      const PackImage& q = At(339 + (y >= 240 ? 2 : 0) + (x >= 320 ? 1 : 0));
      sum += Luma(Rgb(q, x % 320, y % 240));
      ++count;
    }
  EXPECT_LT(sum / count, 70);
}

// ---- Wave files ----

struct Wave {
  unsigned format = 0, channels = 0, bits = 0;
  std::uint32_t rate = 0;
  std::vector<std::int16_t> samples;
  bool ok = false;
};

Wave ReadWave(const std::string& path) {
  Wave w;
  const Bytes b = Load(path);
  if (b.size() < 12 || std::string(b.begin(), b.begin() + 4) != "RIFF" ||
      std::string(b.begin() + 8, b.begin() + 12) != "WAVE" || U32(b, 4) + 8 != b.size())
    return w;
  for (size_t p = 12; p + 8 <= b.size();) {
    const std::string id(b.begin() + p, b.begin() + p + 4);
    const std::uint32_t n = U32(b, p + 4);
    if (p + 8 + n > b.size()) return w;
    if (id == "fmt " && n >= 16)
      w.format = U16(b, p + 8), w.channels = U16(b, p + 10), w.rate = U32(b, p + 12), w.bits = U16(b, p + 22);
    if (id == "data") {
      for (size_t i = 0; i + 1 < n; i += 2) w.samples.push_back(static_cast<std::int16_t>(U16(b, p + 8 + i)));
      w.ok = true;
    }
    p += 8 + n + (n & 1);
  }
  return w;
}

TEST_F(GeneratedData, SoundEffectsAre16BitMonoAt22050HzBelowMinus6dB) {
  const int limit = static_cast<int>(32768 * std::pow(10.0, -6.0 / 20));  // 16422
  for (int n = 0; n < 4; ++n) {
    const Wave w = ReadWave(out_->Path() + "/wav/" + std::to_string(n) + ".wav");
    ASSERT_TRUE(w.ok) << n;
    EXPECT_EQ(w.format, 1u);
    EXPECT_EQ(w.channels, 1u);
    EXPECT_EQ(w.bits, 16u);
    EXPECT_EQ(w.rate, 22050u);
    int peak = 0;
    for (std::int16_t s : w.samples) peak = std::max(peak, std::abs(static_cast<int>(s)));
    EXPECT_LE(peak, limit) << n;
    EXPECT_GT(peak, limit / 2) << n;  // not silent
    EXPECT_GT(w.samples.size(), 22050u / 20) << n;
    EXPECT_LT(w.samples.size(), 22050u * 2) << n;
    // Faded at both ends: no click.
    EXPECT_LT(std::abs(w.samples.front()), peak / 20) << n;
    EXPECT_LT(std::abs(w.samples.back()), peak / 20) << n;
  }
}

TEST_F(GeneratedData, SameInputGivesTheSameBytesAndTheBuildsDataIsCurrent) {
  TempDir again;
  ASSERT_EQ(RunGenerator({again.Path()}, {}), 0);
  const auto files = FilesUnder(out_->Path());
  ASSERT_EQ(files, FilesUnder(again.Path()));
  for (const std::string& f : files) {
    EXPECT_TRUE(ReadFile(out_->Path() + "/" + f) == ReadFile(again.Path() + "/" + f)) << f;
    EXPECT_TRUE(ReadFile(out_->Path() + "/" + f) == ReadFile(std::string(DORRIMAC_BUILD_DIR) + "/" + f)) << f;
  }
}

// The program's own loader sees the same pictures: every index through the
// pack's bounds-checked accessor, with the type, size and bytes read above.
TEST_F(GeneratedData, ThePackLoadsWithTheProgramsImagePack) {
  std::snprintf(g_DataDir, sizeof g_DataDir, "%s/", out_->Path().c_str());
  std::unique_ptr<ImagePack> pack(ImagePack::Create("640x480"));
  EXPECT_EQ(pack->RecordCount(), static_cast<int>(P().declared));
  EXPECT_EQ(pack->RecordsRead(), static_cast<int>(P().declared));
  ASSERT_EQ(pack->ImageCount(), 620);
  EXPECT_EQ(pack->GetImage(620), nullptr);
  for (int i = 0; i < 620; ++i) {
    const ::Image* im = pack->GetImage(i);
    ASSERT_NE(im, nullptr) << i;
    const PackImage& mine = At(i);
    EXPECT_EQ(im->type, mine.Type()) << i;
    EXPECT_EQ(im->width, mine.W()) << i;
    EXPECT_EQ(im->height, mine.H()) << i;
    if (mine.Type() != 14) {
      ASSERT_NE(im->Pixels(), nullptr) << i;
      EXPECT_EQ(std::memcmp(im->Pixels(), mine.r->data.data(), mine.r->data.size()), 0) << i;
    }
    if (mine.Type() == 2 || mine.Type() == 12 || mine.Type() == 14) {
      const Bytes& mask = MaskOf(P(), mine);
      ASSERT_NE(im->Mask(), nullptr) << i;
      EXPECT_EQ(std::memcmp(im->Mask(), mask.data(), mask.size()), 0) << i;
    }
  }
}

TEST(DatagenRun, ReportsMissingFontsAndBadArguments) {
  TempDir empty, err;
  EXPECT_EQ(RunGenerator({empty / "out"}, {{"DORRIMAC_FONT_DIR", empty.Path()}}, err / "stderr"), 1);
  const std::string message = ReadFile(err / "stderr");
  EXPECT_NE(message.find("DejaVuSans.ttf"), std::string::npos) << message;
  EXPECT_NE(message.find("not found"), std::string::npos) << message;
  EXPECT_EQ(RunGenerator({}, {}), 2);
  EXPECT_EQ(RunGenerator({"--preview"}, {}), 2);
}

}  // namespace
