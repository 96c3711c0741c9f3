#include "platform/clip.h"

namespace {

i16 ToI16(int v) { return static_cast<i16>(v < INT16_MIN ? INT16_MIN : (v > INT16_MAX ? INT16_MAX : v)); }

// A rectangle of int edges cut to the 16-bit range; the on-screen part of
// a placement far off the screen is unchanged by the cut.
Rect BoundedRect(int left, int top, int right, int bottom) {
  return Rect(ToI16(left), ToI16(top), ToI16(right), ToI16(bottom));
}

}  // namespace

bool OClip::Place(const Image& picture, int& drawX, int& drawY, Rect& area) const {
  const int w = picture.width;
  const int h = picture.height;
  const int px = x >> 8;  // whole pixels, rounding down
  const int py = y >> 8;
  int left = 0;
  int top = 0;
  switch (anchor) {
    case kAnchorTopLeft: left = px, top = py; break;
    case kAnchorCentre: left = px - w / 2, top = py - h / 2; break;
    case kAnchorTopRight: left = px - w + 1, top = py; break;
    case kAnchorBottomLeft: left = px, top = py - h + 1; break;
    case kAnchorBottomRight: left = px - w + 1, top = py - h + 1; break;
    default: return false;
  }
  if (!subpixel) {
    drawX = left;
    drawY = top;
    area = BoundedRect(left, top, left + w - 1, top + h - 1);
    return true;
  }
  // The sub-pixel origin lies one pixel right of and below the whole-pixel
  // placement; the bottom-left anchor has always sat one more to the right.
  const int ox = left + (anchor == kAnchorBottomLeft ? 2 : 1);
  const int oy = top + 1;
  if ((x & 255) || (y & 255)) {
    // The fractional blit writes (w - 1) x (h - 1) pixels from the origin.
    drawX = ox;
    drawY = oy;
  } else {
    // Without a fraction the whole-pixel blit draws all w x h pixels one up
    // and left of the origin.
    drawX = ox - 1;
    drawY = oy - 1;
  }
  area = BoundedRect(drawX, drawY, ox + w - 2, oy + h - 2);
  return true;
}

void OClip::Draw(Surface& target, const Image& picture, const Rect* region) const {
  int drawX = 0;
  int drawY = 0;
  Rect area;
  if (!Place(picture, drawX, drawY, area)) return;
  const u8 type = blend == kBlendOwnType ? picture.type : blend;
  const int fx = x & 255;
  const int fy = y & 255;
  if (subpixel && (fx || fy)) {
    switch (type) {
      case kImageMasked: target.BlitMaskedSubpixel(&picture, drawX, drawY, fx, fy, region); break;
      case kImageMaskedAlpha:
        target.BlitMaskedAlphaSubpixel(&picture, drawX, drawY, fx, fy, alpha, region);
        break;
      case kImageShadow: target.BlitShadowSubpixel(&picture, drawX, drawY, fx, fy, region); break;
      default: break;
    }
    return;
  }
  // Sub-pixel clips draw only the masked and shadow types.
  if (subpixel && type != kImageMasked && type != kImageMaskedAlpha && type != kImageShadow) return;
  switch (type) {
    case kImageOpaque: target.BlitOpaque(&picture, drawX, drawY, region); break;
    case kImageColorKey: target.BlitColorKey(&picture, drawX, drawY, region); break;
    case kImageMasked: target.BlitMasked(&picture, drawX, drawY, region); break;
    case kImageMaskedAlpha: target.BlitMaskedAlpha(&picture, drawX, drawY, alpha, region); break;
    case kImageShadow: target.BlitShadow(&picture, drawX, drawY, region); break;
    default: break;
  }
}
