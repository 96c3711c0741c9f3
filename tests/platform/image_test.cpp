#include "platform/image.h"

#include <gtest/gtest.h>

TEST(Surface, PitchAndStorageOfTheBackBuffer) {
  Surface* s = Surface::Create(640, 480, 24);
  EXPECT_EQ(s->pitch, 1920);
  EXPECT_EQ(s->pixels, nullptr);
  // The storage holds one row more than the height: the last byte of row
  // 480 is writable (the sanitizers would catch it otherwise).
  s->base[481 * 1920 - 1] = 7;
  EXPECT_EQ(s->At(639, 480)[2], 7);
  s->Lock();
  EXPECT_EQ(s->pixels, s->base);
  s->Unlock();
  EXPECT_EQ(s->pixels, nullptr);
  delete s;
}

TEST(Image, MakesOnlyTheBuffersItsTypeNeeds) {
  Image* shadow = Image::Create(5, 4, 0, kImageShadow);
  EXPECT_EQ(shadow->rgb, nullptr);
  ASSERT_NE(shadow->mask, nullptr);
  EXPECT_EQ(shadow->mask->size, 20u);

  Image* opaque = Image::Create(5, 4, 0, kImageOpaque);
  ASSERT_NE(opaque->rgb, nullptr);
  EXPECT_EQ(opaque->rgb->size, 80u);
  EXPECT_EQ(opaque->mask, nullptr);

  Image* masked = Image::Create(2, 2, 0, kImageMasked);
  EXPECT_NE(masked->rgb, nullptr);
  EXPECT_NE(masked->mask, nullptr);
  delete shadow;
  delete opaque;
  delete masked;
}

TEST(Image, SharedBuffersLiveUntilTheirLastHolder) {
  PixelBuffer* colour = PixelBuffer::Create(12);
  PixelBuffer* mask = PixelBuffer::Create(4);
  colour->AddRef();  // the pack's own reference
  mask->AddRef();
  Image* image = Image::Create(2, 2, 0, kImageMasked, colour, mask);
  EXPECT_EQ(colour->refcount, 2);
  colour->data[11] = 42;
  colour->Release();  // the pack lets go
  mask->Release();
  EXPECT_EQ(image->Pixels()[11], 42);
  EXPECT_EQ(image->rgb->refcount, 1);
  delete image;  // frees both buffers; the leak checker confirms
}

TEST(PixelBuffer, ExternalStorageIsNotFreed) {
  u8 storage[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  PixelBuffer* b = PixelBuffer::Create(8, storage);
  EXPECT_EQ(b->owns, 0);
  b->AddRef();
  b->Release();
  EXPECT_EQ(storage[7], 8);
}
