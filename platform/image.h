// Pixel storage shared by reference count, the pictures of the image bank,
// and the 24-bit drawable surfaces that all drawing writes into.
#pragma once

#include "platform/types.h"

// A block of pixel or mask bytes shared between images by reference count.
class PixelBuffer : public CBase {
 public:
  // size bytes of owned storage, or the given external storage (not owned).
  static PixelBuffer* Create(u32 size, u8* external = nullptr);
  ~PixelBuffer() override;

  void AddRef() { ++refcount; }
  // Drops one reference; the buffer destroys itself when none is left.
  void Release();

  u8* data = nullptr;
  i16 refcount = 0;
  u8 owns = 0;
  u32 size = 0;  // bytes in data, so readers can bound what they touch

 private:
  PixelBuffer() = default;
};

// How an image is drawn.
enum ImageType : u8 {
  kImageOpaque = 0,
  kImageColorKey = 1,
  kImageMasked = 2,
  kImageMaskedAlpha = 3,
  kImagePalette = 12,  // one palette index per pixel plus a mask; drawn by the controls
  kImageShadow = 14,   // mask only: darkens what is under it
  kImageMaskRecord = 15,
};

class Image : public CBase {
 public:
  static Image* Create(int width, int height, u32 key, u8 type, PixelBuffer* rgb = nullptr,
                       PixelBuffer* mask = nullptr);
  ~Image() override;
  Image(const Image&) = delete;
  Image& operator=(const Image&) = delete;

  // Takes the given buffers (adding a reference) or makes owned ones where
  // the type needs them.
  void AttachBuffers(PixelBuffer* rgbBuffer, PixelBuffer* maskBuffer);

  // Bytes of colour and mask data (null when the image has none).
  u8* Pixels() const { return rgb ? rgb->data : nullptr; }
  u8* Mask() const { return mask ? mask->data : nullptr; }

  i16 width = 0;
  i16 height = 0;
  u32 key = 0;
  u8 type = 0;
  PixelBuffer* rgb = nullptr;
  PixelBuffer* mask = nullptr;

 protected:
  Image(int w, int h, u32 k, u8 t);
};

// A drawable 24-bit picture (bytes B, G, R). Fills and blits address it
// through the drawing origin `pixels`, which whoever draws a frame sets to
// `base` first and clears afterwards.
class Surface : public Image {
 public:
  static Surface* Create(int width, int height, int bitsPerPixel);
  ~Surface() override;

  void Alloc(int bitsPerPixel);
  void Lock() { pixels = base; }
  void Unlock() { pixels = nullptr; }

  // Address of pixel (x, y) from the base (for tests and converters).
  u8* At(int x, int y) const { return base + y * pitch + x * 3; }

  // Fills, lines and blitters. They write through the drawing origin
  // `pixels` (nothing is drawn while it is clear) and never touch a pixel
  // outside the surface. Colours are 0x00RRGGBB. `region`, when given, is
  // the part of the placement to draw, in surface coordinates.
  void FillRect(u32 colour, const Rect& rect);
  void Fill(u32 colour);
  // Horizontal or vertical lines, both ends included; other lines draw
  // nothing.
  void DrawLine(int x1, int y1, int x2, int y2, u32 colour);
  void DrawLineClipped(int x1, int y1, int x2, int y2, u32 colour, const Rect& clip);

  void BlitOpaque(const Image* image, int x, int y, const Rect* region = nullptr);
  // Skips the pixels equal to the image's key.
  void BlitColorKey(const Image* image, int x, int y, const Rect* region = nullptr);
  // Mask 0 copies, 255 skips, values between blend toward the destination.
  void BlitMasked(const Image* image, int x, int y, const Rect* region = nullptr);
  void BlitMaskedAlpha(const Image* image, int x, int y, u8 alpha, const Rect* region = nullptr);
  // Darkens the destination by the mask (a mask-only image).
  void BlitShadow(const Image* image, int x, int y, const Rect* region = nullptr);
  // Paints `colour` wherever the image's pixel is black (the ink of a glyph).
  void BlitInk(const Image* image, int x, int y, u32 colour, const Rect* region = nullptr);
  // One palette index byte per pixel, blended through the mask as
  // BlitMasked does (the control pieces).
  void BlitPaletted(const Image* image, int x, int y, const u32 palette[256],
                    const Rect* region = nullptr);
  // The same at a fractional position: fx and fy (0..255) weight each
  // output pixel between four neighbouring source pixels. The output is
  // (width - 1) x (height - 1) pixels from (x, y).
  void BlitMaskedSubpixel(const Image* image, int x, int y, int fx, int fy,
                          const Rect* region = nullptr);
  void BlitMaskedAlphaSubpixel(const Image* image, int x, int y, int fx, int fy, u8 alpha,
                               const Rect* region = nullptr);
  void BlitShadowSubpixel(const Image* image, int x, int y, int fx, int fy,
                          const Rect* region = nullptr);

  u8* base = nullptr;
  u8* pixels = nullptr;
  i32 pitch = 0;

 private:
  Surface(int w, int h) : Image(w, h, 0, kImageOpaque) {}
};
