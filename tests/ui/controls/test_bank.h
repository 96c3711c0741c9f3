// Small image banks for the control, font and screen tests, written to a
// temporary data directory and loaded through the real loader: every
// picture is a 1 x 1 opaque dot except the pictures a test sets (glyphs of
// chosen widths, all ink; palette pieces with their masks).
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/image.h"
#include "platform/image_pack.h"
#include "tests/platform/pack_writer.h"
#include "tests/support/process.h"
#include "tools/common/png_writer.h"
#include "tests/ui/ui_test_support.h"
#include "ui/app_context.h"

namespace controls_testing {

constexpr int kGlyphRows = 12;

// A picture of a test bank: a 1 x 1 dot (type 0), an all-ink glyph (type
// 1: black pixels) or a palette piece (type 12) with its mask.
struct BankPicture {
  int type = 0;
  int width = 1, height = 1;
  std::vector<unsigned char> indices, mask;
};

// Writes the pictures as the image bank of the directory, the palette
// pieces' masks after them.
inline void WriteBank(const std::string& dir, const std::vector<BankPicture>& pictures) {
  using pack_writer::Bytes;
  using pack_writer::Record;
  Bytes data;
  int maskRecord = static_cast<int>(pictures.size());
  for (const BankPicture& p : pictures) {
    Bytes record;
    if (p.type == 12)
      record = Record(12, p.width, p.height, maskRecord++, p.indices);
    else if (p.type == 1)
      record = Record(1, p.width, p.height, 0xFFFFFF, Bytes(size_t(p.width) * p.height * 3, 0));
    else
      record = Record(0, 1, 1, 0, {0x10, 0x20, 0x30});
    data = pack_writer::Join({data, record});
  }
  for (const BankPicture& p : pictures) {
    if (p.type == 12) data = pack_writer::Join({data, Record(15, p.width, p.height, 0, p.mask)});
  }
  ASSERT_TRUE(testing_support::WriteFile(dir + "/.keep", {}));
  ASSERT_TRUE(pack_writer::WritePack(dir, 1, static_cast<unsigned>(maskRecord), {data}));
}

class TestBank {
 public:
  explicit TestBank(int imageCount = 620) : pictures_(static_cast<size_t>(imageCount)) {}

  // An all-ink glyph of the width; ignored past the bank.
  void Glyph(int index, int width) {
    if (index < static_cast<int>(pictures_.size()))
      pictures_[static_cast<size_t>(index)] = BankPicture{1, width, kGlyphRows, {}, {}};
  }
  // A palette piece: one index byte and one mask byte per pixel.
  void Piece(int index, int width, int height, std::vector<unsigned char> indices,
             std::vector<unsigned char> mask) {
    pictures_.at(static_cast<size_t>(index)) =
        BankPicture{12, width, height, std::move(indices), std::move(mask)};
  }

  // Writes and loads the bank; the context's skin draws from it.
  void Load() {
    WriteBank(dirs_.Dir() / "bank", pictures_);
    pack_.reset(ImagePack::Create("bank"));
    ASSERT_EQ(pack_->ImageCount(), static_cast<int>(pictures_.size()));
    context_.reset(AppContext::Create(pack_.get()));
  }

  SkinContext* Skin() const { return context_->skin; }
  ImagePack* Pack() const { return pack_.get(); }

 private:
  ui_testing::UserDirScope dirs_;
  std::vector<BankPicture> pictures_;
  std::unique_ptr<ImagePack> pack_;
  std::unique_ptr<AppContext> context_;
};

// A locked 24-bit surface filled with one colour.
inline std::unique_ptr<Surface> MakeSurface(int w, int h, u32 fill) {
  std::unique_ptr<Surface> s(Surface::Create(w, h, 24));
  s->Lock();
  s->Fill(fill);
  return s;
}

inline u32 PixelOf(const Surface& s, int x, int y) {
  const u8* p = s.At(x, y);
  return static_cast<u32>(p[0]) | static_cast<u32>(p[1]) << 8 | static_cast<u32>(p[2]) << 16;
}

// The inked spans [first, last] of one surface row, in the colour.
using Runs = std::vector<std::pair<int, int>>;
inline Runs InkRuns(const Surface& s, int y, u32 colour) {
  Runs runs;
  for (int x = 0; x < s.width; ++x) {
    if (PixelOf(s, x, y) != colour) continue;
    if (!runs.empty() && runs.back().second == x - 1)
      runs.back().second = x;
    else
      runs.push_back({x, x});
  }
  return runs;
}

// Keeps a surface with the test artifacts, to look at.
inline bool SavePng(const Surface& s, const std::string& name) {
  std::vector<u8> rgb;
  for (int y = 0; y < s.height; ++y)
    for (int x = 0; x < s.width; ++x) {
      const u8* p = s.At(x, y);
      rgb.insert(rgb.end(), {p[2], p[1], p[0]});
    }
  return png::Write(testing_support::ArtifactDir() + "/" + name, s.width, s.height, 3, rgb);
}

}  // namespace controls_testing
