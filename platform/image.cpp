#include "platform/image.h"

#include <cstdlib>
#include <cstdio>

#include "platform/system.h"

PixelBuffer* PixelBuffer::Create(u32 size, u8* external) {
  PixelBuffer* b = new PixelBuffer();
  CheckAlloc(b);
  if (external) {
    b->data = external;
    b->owns = 0;
  } else {
    // Zeroed, so a buffer that a short read leaves half-filled holds no garbage.
    b->data = static_cast<u8*>(std::calloc(size > 0 ? size : 1, 1));
    b->owns = 1;
  }
  b->size = size;
  b->refcount = 0;
  return b;
}

PixelBuffer::~PixelBuffer() {
  if (owns) std::free(data);
  data = nullptr;
  owns = 0;
}

void PixelBuffer::Release() {
  --refcount;
  if (refcount < 1) delete this;
}

Image::Image(int w, int h, u32 k, u8 t)
    : width(static_cast<i16>(w)), height(static_cast<i16>(h)), key(k), type(t) {}

Image* Image::Create(int width, int height, u32 key, u8 type, PixelBuffer* rgbBuffer,
                     PixelBuffer* maskBuffer) {
  Image* img = new Image(width, height, key, type);
  CheckAlloc(img);
  img->AttachBuffers(rgbBuffer, maskBuffer);
  return img;
}

void Image::AttachBuffers(PixelBuffer* rgbBuffer, PixelBuffer* maskBuffer) {
  const u32 area = static_cast<u32>(width > 0 ? width : 0) * static_cast<u32>(height > 0 ? height : 0);
  if (rgbBuffer) {
    rgb = rgbBuffer;
  } else if (type != kImageShadow) {
    rgb = PixelBuffer::Create(area * 4);
  }
  if (rgb) rgb->AddRef();

  if (maskBuffer) {
    mask = maskBuffer;
    mask->AddRef();
  } else if (type == 2 || type == 3 || type == 4 || type == 5 || type == kImageShadow) {
    mask = PixelBuffer::Create(area);
    mask->AddRef();
  }
}

Image::~Image() {
  if (rgb) rgb->Release();
  if (mask) mask->Release();
  rgb = nullptr;
  mask = nullptr;
}

Surface* Surface::Create(int width, int height, int bitsPerPixel) {
  Surface* s = new Surface(width, height);
  CheckAlloc(s);
  s->Alloc(bitsPerPixel);
  return s;
}

void Surface::Alloc(int bitsPerPixel) {
  pitch = width * bitsPerPixel / 8;
  // One spare row past the bottom, as the drawing code has always had.
  base = static_cast<u8*>(std::calloc(static_cast<size_t>(height + 1) * static_cast<size_t>(pitch), 1));
  if (!base) {
    std::fputs("Could not allocate memory for a drawing surface, exiting...\n", stderr);
    std::exit(1);
  }
}

Surface::~Surface() {
  std::free(base);
  base = nullptr;
  pixels = nullptr;
}
