// The screen's pixel format and the conversion of the 24-bit back buffer
// (bytes B, G, R) into it.
#pragma once

#include "platform/image.h"

struct DisplayFormat {
  int depth = 24;          // the visual's depth: 15, 16 or 24 are converted
  int bytesPerPixel = 4;   // of a ZPixmap image at that depth
  u32 redMask = 0xFF0000, greenMask = 0x00FF00, blueMask = 0x0000FF;
  int redShift = 16, greenShift = 8, blueShift = 0;
  int redBits = 8, greenBits = 8, blueBits = 8;

  // Fills masks, shifts and bit counts from the visual's three masks.
  void SetMasks(u32 red, u32 green, u32 blue);
};

// The part of rect that UpdateRect sends: grown by one pixel to the right
// and downwards, then cut to columns 0..width-1 and rows 0..height-1.
// False when nothing is left.
bool ClipUpdateRect(const Rect& rect, int width, int height, int& x0, int& y0, int& x1, int& y1);

// Converts columns x0..x1 of rows y0..y1 (inclusive, already clipped) of
// the surface into dst, whose rows are dstPitch bytes apart. 15/16-bit
// pixels are stored low byte first; 24-bit ones as B, G, R (the fourth byte
// of a 4-byte pixel is left alone). Other depths are not converted.
void ConvertRect(const DisplayFormat& format, const Surface& src, u8* dst, int dstPitch, int x0,
                 int y0, int x1, int y1);
