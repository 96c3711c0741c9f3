#include "platform/image.h"

#include <gtest/gtest.h>

// (How images share their buffers is tested with the image pack.)

TEST(Surface, PitchAndStorageOfTheBackBuffer) {
  Surface* s = Surface::Create(640, 480, 24);
  EXPECT_EQ(s->pitch, 1920);
  EXPECT_EQ(s->pixels, nullptr);
  // The storage holds one row more than the height: the last byte of row
  // 480 is writable (the sanitizers would catch it otherwise).
  s->base[481 * 1920 - 1] = 7;
  EXPECT_EQ(s->At(639, 480)[2], 7);
  delete s;
}

TEST(PixelBuffer, ExternalStorageIsNotFreed) {
  u8 storage[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  PixelBuffer* b = PixelBuffer::Create(8, storage);
  b->AddRef();
  b->Release();  // frees the buffer object, not the storage (the sanitizers would catch it)
  EXPECT_EQ(storage[7], 8);
}
