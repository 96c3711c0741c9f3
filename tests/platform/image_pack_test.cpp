#include "platform/image_pack.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "platform/startup.h"
#include "tests/platform/pack_writer.h"
#include "tests/support/process.h"

namespace {

using pack_writer::Bytes;
using pack_writer::Join;
using pack_writer::Record;

// A data directory in a temp dir with the pack in its "640x480" folder.
class PackTest : public testing::Test {
 protected:
  void SetUp() override {
    std::snprintf(g_DataDir, sizeof g_DataDir, "%s/", dir.Path().c_str());
    ASSERT_TRUE(testing_support::WriteFile(dir / "640x480/.keep", {}));
  }

  std::unique_ptr<ImagePack> Load(unsigned files, unsigned records, const std::vector<Bytes>& data) {
    EXPECT_TRUE(pack_writer::WritePack(dir / "640x480", files, records, data));
    return std::unique_ptr<ImagePack>(ImagePack::Create("640x480"));
  }

  testing_support::TempDir dir;
};

// n bytes counting up from first.
Bytes Fill(size_t n, unsigned char first) {
  Bytes b(n);
  for (size_t i = 0; i < n; ++i) b[i] = static_cast<unsigned char>(first + i);
  return b;
}

TEST_F(PackTest, RecordTypesMakeTheirImagesAndMaskRecordsNone) {
  // 0x12 is type 2 (masked, 3 x 3: 27 bytes and a pad byte) with record 1
  // as its mask; opaque 1 x 1 (padded); type 3 counts toward the table but
  // leaves its slot empty at the end; a shadow holds only a mask; a palette
  // image keeps one byte per pixel and shares the mask of record 1.
  auto pack = Load(1, 6, {Join({Record(0x12, 3, 3, 1, Fill(27, 10)), Record(15, 3, 3, 0, Fill(9, 100)),
                                Record(0, 1, 1, 0xABCDEF, Fill(3, 200)), Record(3, 1, 1, 0, Fill(3, 0)),
                                Record(14, 2, 2, 0, Fill(4, 70)), Record(12, 1, 2, 1, Fill(2, 90))})});
  EXPECT_EQ(pack->RecordCount(), 6);
  EXPECT_EQ(pack->RecordsRead(), 6);
  ASSERT_EQ(pack->ImageCount(), 5);

  const Image* masked = pack->GetImage(0);
  ASSERT_NE(masked, nullptr);
  EXPECT_EQ(masked->type, kImageMasked);
  EXPECT_EQ(masked->rgb->size, 27u);  // the pad byte is not part of the data
  EXPECT_EQ(masked->Pixels()[26], 36);
  EXPECT_EQ(masked->Mask()[8], 108);

  const Image* opaque = pack->GetImage(1);
  ASSERT_NE(opaque, nullptr);
  EXPECT_EQ(opaque->type, kImageOpaque);
  EXPECT_EQ(opaque->key, 0xABCDEFu);
  EXPECT_EQ(opaque->Pixels()[0], 200);  // read after the pad byte, not from it
  EXPECT_EQ(opaque->mask, nullptr);

  const Image* shadow = pack->GetImage(2);
  ASSERT_NE(shadow, nullptr);
  EXPECT_EQ(shadow->type, kImageShadow);
  EXPECT_EQ(shadow->rgb, nullptr);
  EXPECT_EQ(shadow->Mask()[3], 73);
  const Image* palette = pack->GetImage(3);
  ASSERT_NE(palette, nullptr);
  EXPECT_EQ(palette->type, kImagePalette);
  EXPECT_EQ(palette->rgb->size, 2u);
  EXPECT_EQ(palette->mask, masked->mask);  // one shared mask

  for (int index : {4, 5, -1, 32767}) EXPECT_EQ(pack->GetImage(index), nullptr) << index;
}

TEST_F(PackTest, RecordsRunOnAcrossFilesAndStopAtTheDeclaredCount) {
  // The mask of record 0 is record 1, in the second file; record 3 lies
  // beyond the declared three and is not read.
  auto pack = Load(2, 3, {Record(2, 2, 1, 1, Fill(6, 0)),
                          Join({Record(15, 2, 1, 0, Fill(2, 30)), Record(0, 1, 1, 0, Fill(3, 40)),
                                Record(0, 1, 1, 0, Fill(3, 60))})});
  EXPECT_EQ(pack->RecordsRead(), 3);
  ASSERT_EQ(pack->ImageCount(), 2);
  EXPECT_EQ(pack->GetImage(0)->Mask()[1], 31);
  EXPECT_EQ(pack->GetImage(1)->Pixels()[0], 40);
}

TEST_F(PackTest, MissingOrShortIndexLeavesThePackEmpty) {
  std::unique_ptr<ImagePack> none(ImagePack::Create("640x480"));
  EXPECT_EQ(none->RecordCount(), 0);
  EXPECT_EQ(none->GetImage(0), nullptr);

  ASSERT_TRUE(pack_writer::Write(dir / "640x480/bmst.bin", {1, 0, 3}));
  std::unique_ptr<ImagePack> shortIndex(ImagePack::Create("640x480"));
  EXPECT_EQ(shortIndex->RecordCount(), 0);
  EXPECT_EQ(shortIndex->GetImage(0), nullptr);

  // R = 0: the data file is not read.
  auto zero = Load(1, 0, {Record(0, 1, 1, 0, Fill(3, 0))});
  EXPECT_EQ(zero->RecordsRead(), 0);
  EXPECT_EQ(zero->ImageCount(), 0);
}

TEST_F(PackTest, BrokenDataEndsTheReadAndKeepsWhatCameBefore) {
  const Bytes good = Record(0, 1, 1, 0, Fill(3, 7));
  Bytes cut = Record(0, 2, 2, 0, Fill(12, 0));
  cut.resize(cut.size() - 5);
  struct Case {
    const char* what;
    std::vector<Bytes> files;
    unsigned declaredFiles;
    int read;
  };
  const Case cases[] = {
      {"record data cut short", {Join({good, cut})}, 1, 1},
      {"header cut short", {Join({good, Bytes{0, 0, 1, 0, 1}})}, 1, 1},
      {"65535 x 65535 declared in a tiny file", {Join({good, Record(0, 65535, 65535, 0, {})})}, 1, 1},
      {"second data file missing", {good}, 2, 1},
      {"a broken file stops the files after it", {Join({good, cut}), good}, 2, 1},
      {"odd data at the end without its pad byte", {Join({good, Record(0, 1, 1, 0, Fill(3, 9), false)})}, 1, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto pack = Load(c.declaredFiles, 10, c.files);
    EXPECT_EQ(pack->RecordCount(), 10);
    EXPECT_EQ(pack->RecordsRead(), c.read);
    EXPECT_EQ(pack->ImageCount(), c.read);
    ASSERT_NE(pack->GetImage(0), nullptr);
    EXPECT_EQ(pack->GetImage(0)->Pixels()[2], 9);
    EXPECT_EQ(pack->GetImage(c.read), nullptr);
    std::remove((dir / "640x480/bmdt1.bin").c_str());
  }
}

TEST_F(PackTest, BadMaskLinksAndOversizedImagesLeaveTheirSlotEmpty) {
  // Record 1 links past the records read, record 2 to a mask too small for
  // it, record 3 is wider than an image can be; the pictures after them
  // keep their indices.
  auto pack = Load(1, 6, {Join({Record(15, 1, 1, 0, Fill(1, 0)), Record(2, 1, 1, 9, Fill(3, 0)),
                                Record(2, 2, 1, 0, Fill(6, 0)), Record(0, 40000, 0, 0, {}),
                                Record(2, 1, 1, 0, Fill(3, 0)), Record(0, 1, 1, 0, Fill(3, 0))})});
  ASSERT_EQ(pack->ImageCount(), 5);
  for (int index : {0, 1, 2}) EXPECT_EQ(pack->GetImage(index), nullptr) << index;
  ASSERT_NE(pack->GetImage(3), nullptr);
  EXPECT_EQ(pack->GetImage(3)->type, kImageMasked);
  ASSERT_NE(pack->GetImage(4), nullptr);
  EXPECT_EQ(pack->GetImage(4)->type, kImageOpaque);
}

TEST_F(PackTest, AnImageHeldOutsideKeepsItsBuffersAfterThePackGoes) {
  auto pack = Load(1, 2, {Join({Record(2, 2, 1, 1, Fill(6, 20)), Record(15, 2, 1, 0, Fill(2, 5))})});
  const Image* inPack = pack->GetImage(0);
  ASSERT_NE(inPack, nullptr);
  EXPECT_EQ(inPack->rgb->refcount, 2);  // the pack's and the image's
  std::unique_ptr<Image> copy(Image::Create(2, 1, 0, kImageMasked, inPack->rgb, inPack->mask));
  pack.reset();
  EXPECT_EQ(copy->rgb->refcount, 1);
  EXPECT_EQ(copy->Pixels()[5], 25);
  EXPECT_EQ(copy->Mask()[1], 6);
  copy.reset();  // the last holder frees them; the leak checker confirms

  // Loading again drops what the pack held before.
  auto again = Load(1, 1, {Record(0, 1, 1, 0, Fill(3, 1))});
  again->Load("640x480");
  EXPECT_EQ(again->ImageCount(), 1);
}

}  // namespace
