#include "ui/controls/control_drawing.h"

#include <algorithm>

#include "platform/image.h"
#include "platform/image_pack.h"
#include "ui/app_context.h"
#include "ui/font.h"

namespace {

int Channel(u32 colour, int shift) { return static_cast<int>((colour >> shift) & 0xFF); }

// The three channel steps of a gradient over `count` lines; `scale` is 2
// for the gradient that turns back at the middle.
struct Steps {
  int c[3];
  Steps(u32 from, u32 to, int count, int scale) {
    for (int k = 0; k < 3; ++k)
      c[k] = count > 0 ? scale * (Channel(to, 8 * k) - Channel(from, 8 * k)) / count : 0;
  }
  // colour + n steps.
  u32 Apply(u32 colour, int n) const {
    u32 out = 0;
    for (int k = 0; k < 3; ++k) {
      const int v = std::max(0, std::min(255, Channel(colour, 8 * k) + n * c[k]));
      out |= static_cast<u32>(v) << (8 * k);
    }
    return out;
  }
};

void FillRow(Surface* target, int left, int right, int y, u32 colour) {
  target->FillRect(colour, Rect(left, y, right, y));
}

void FillColumn(Surface* target, int x, int top, int bottom, u32 colour) {
  target->FillRect(colour, Rect(x, top, x, bottom));
}

}  // namespace

u32 ReadPixel(const Surface* target, int x, int y) {
  if (!target || !target->pixels || x < 0 || y < 0 || x >= target->width || y >= target->height)
    return 0;
  const u8* p = target->pixels + y * target->pitch + x * 3;
  return static_cast<u32>(p[0]) | static_cast<u32>(p[1]) << 8 | static_cast<u32>(p[2]) << 16;
}

void BlitPaletted(Surface* target, const Image* image, i16 x, i16 y, const u32 palette[256],
                  const Rect* region) {
  if (target) target->BlitPaletted(image, x, y, palette, region);
}

void DrawCornerPiece(const SkinContext* skin, int index, const Rect& r, bool right, bool bottom,
                     const u32 palette[256], Surface* target) {
  const Image* image = skin && skin->imagePack ? skin->imagePack->GetImage(index) : nullptr;
  if (!image) return;
  const int x = right ? r.right - image->width + 1 : r.left;
  const int y = bottom ? r.bottom - image->height + 1 : r.top;
  BlitPaletted(target, image, static_cast<i16>(x), static_cast<i16>(y), palette, nullptr);
}

void DrawButtonFace(const SkinContext* skin, const Rect& r, u8 state, Surface* target) {
  if (!skin || !target || state >= kSkinStates) return;
  const u32* palette = skin->palette[state];
  auto corner = [&](int index, bool right, bool bottom) {
    DrawCornerPiece(skin, index, r, right, bottom, palette, target);
  };
  corner(kFaceTopLeft, false, false);
  corner(kFaceTopRight, true, false);
  corner(kFaceBottomLeft, false, true);
  corner(kFaceBottomRight, true, true);
  const int w = ImageWidth(skin, kFaceBottomRight), h = ImageHeight(skin, kFaceBottomRight);
  // Edges and middle continue the corners' inner pixels.
  for (int i = 0; i < h; ++i) {
    FillRow(target, r.left + w, r.right - w, r.top + i,
            ReadPixel(target, r.left + w - 1, r.top + i));
    FillRow(target, r.left + w, r.right - w, r.bottom - i,
            ReadPixel(target, r.left + w - 1, r.bottom - i));
  }
  for (int j = 0; j < w; ++j) {
    FillColumn(target, r.left + j, r.top + h, r.bottom - h,
               ReadPixel(target, r.left + j, r.top + h - 1));
    FillColumn(target, r.right - j, r.top + h, r.bottom - h,
               ReadPixel(target, r.right - j, r.top + h - 1));
  }
  target->FillRect(ReadPixel(target, r.right - w + 1, r.bottom - h + 1),
                   Rect(r.left + w, r.top + h, r.right - w, r.bottom - h));
}

void FillGradientV(Surface* target, u32 colour1, u32 colour2, const Rect& r) {
  if (!target) return;
  const Steps steps(colour1, colour2, r.Height(), 1);
  for (int y = r.top; y <= r.bottom; ++y)
    FillRow(target, r.left, r.right, y, steps.Apply(colour1, y - r.top));
}

void FillGradientV2(Surface* target, u32 colour1, u32 colour2, const Rect& r) {
  if (!target || r.bottom < r.top) return;
  const int rows = r.Height();
  const Steps steps(colour1, colour2, rows, 2);
  const int middle = (r.top + r.bottom) / 2;
  for (int y = r.top; y <= middle; ++y)
    FillRow(target, r.left, r.right, y, steps.Apply(colour1, y - r.top));
  // An even row count puts colour2 itself on the middle row and mirrors
  // the upper half below it; an odd one mirrors it about the middle row.
  int lowerTop = middle;
  if (rows % 2 == 0) {
    FillRow(target, r.left, r.right, middle, colour2);
    lowerTop = middle + 1;
  }
  const int last = middle - r.top;
  for (int y = lowerTop; y <= r.bottom; ++y)
    FillRow(target, r.left, r.right, y, steps.Apply(colour1, last - (y - lowerTop)));
}

void FillGradientH(Surface* target, u32 colour1, u32 colour2, const Rect& r) {
  if (!target) return;
  const Steps steps(colour1, colour2, r.Width(), 1);
  for (int x = r.left; x <= r.right; ++x)
    FillColumn(target, x, r.top, r.bottom, steps.Apply(colour1, x - r.left));
}
