// A small image bank for the control and font tests, written to a temporary
// data directory and loaded through the real loader: every picture is a
// 1 x 1 opaque dot except the pictures a test sets (glyphs of chosen widths,
// all ink, 12 rows; palette pieces with their masks).
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/image.h"
#include "platform/image_pack.h"
#include "tests/platform/pack_writer.h"
#include "tests/ui/ui_test_support.h"
#include "ui/app_context.h"

namespace controls_testing {

constexpr int kGlyphRows = 12;

class TestBank {
 public:
  explicit TestBank(int imageCount = 620) : pictures_(static_cast<size_t>(imageCount)) {}

  // An all-ink glyph (black pixels) of the width; ignored past the bank.
  void Glyph(int index, int width) {
    if (index < static_cast<int>(pictures_.size()))
      pictures_[static_cast<size_t>(index)] = Picture{1, width, kGlyphRows, {}, {}};
  }
  // A palette piece: one index byte and one mask byte per pixel.
  void Piece(int index, int width, int height, std::vector<unsigned char> indices,
             std::vector<unsigned char> mask) {
    pictures_.at(static_cast<size_t>(index)) =
        Picture{12, width, height, std::move(indices), std::move(mask)};
  }

  // Writes and loads the bank; the context's skin draws from it.
  void Load() {
    using pack_writer::Bytes;
    Bytes data, masks;
    int maskRecord = static_cast<int>(pictures_.size());
    for (const Picture& p : pictures_) {
      if (p.type == 12) {
        data = pack_writer::Join(
            {data, pack_writer::Record(12, p.width, p.height, maskRecord++, p.indices)});
      } else if (p.type == 1) {
        Bytes ink(static_cast<size_t>(p.width) * p.height * 3, 0);
        data = pack_writer::Join({data, pack_writer::Record(1, p.width, p.height, 0xFFFFFF, ink)});
      } else {
        data = pack_writer::Join({data, pack_writer::Record(0, 1, 1, 0, {0x10, 0x20, 0x30})});
      }
    }
    int records = static_cast<int>(pictures_.size());
    for (const Picture& p : pictures_) {
      if (p.type != 12) continue;
      data = pack_writer::Join({data, pack_writer::Record(15, p.width, p.height, 0, p.mask)});
      ++records;
    }
    ASSERT_TRUE(testing_support::WriteFile(dirs_.Dir() / "bank/.keep", {}));
    ASSERT_TRUE(
        pack_writer::WritePack(dirs_.Dir() / "bank", 1, static_cast<unsigned>(records), {data}));
    pack_.reset(ImagePack::Create("bank"));
    ASSERT_EQ(pack_->ImageCount(), static_cast<int>(pictures_.size()));
    context_.reset(AppContext::Create(pack_.get()));
  }

  SkinContext* Skin() const { return context_->skin; }
  ImagePack* Pack() const { return pack_.get(); }

 private:
  struct Picture {
    int type = 0;
    int width = 1, height = 1;
    std::vector<unsigned char> indices, mask;
  };
  ui_testing::UserDirScope dirs_;
  std::vector<Picture> pictures_;
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

}  // namespace controls_testing
