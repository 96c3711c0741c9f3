// The generator's painting surfaces: a coverage plane (how much of each
// pixel a shape or a text covers) and an RGBA canvas that shapes are
// painted onto with a colour or a per-pixel shader.
#pragma once

#include <functional>
#include <vector>

#include "tools/datagen/color.h"

namespace datagen {

// Signed distance helpers: negative inside, positive outside, in pixels.
float SdCircle(float x, float y, float cx, float cy, float r);
float SdRoundRect(float x, float y, float left, float top, float right, float bottom, float radius);

class Coverage {
 public:
  Coverage() = default;
  Coverage(int width, int height) : w_(width), h_(height), v_(static_cast<size_t>(width) * height) {}

  // A shape given by a signed distance function of the pixel centre,
  // anti-aliased over one pixel.
  static Coverage FromSdf(int width, int height, const std::function<float(float, float)>& sdf);

  int Width() const { return w_; }
  int Height() const { return h_; }
  float Get(int x, int y) const {
    return (x < 0 || y < 0 || x >= w_ || y >= h_) ? 0.0f : v_[static_cast<size_t>(y) * w_ + x];
  }
  float& At(int x, int y) { return v_[static_cast<size_t>(y) * w_ + x]; }

  // Gaussian-like blur (three box passes) of the given radius.
  Coverage Blurred(int radius) const;
  // Grown by radius pixels (the maximum over a disc).
  Coverage Dilated(float radius) const;
  Coverage Shifted(int dx, int dy) const;
  // this * (1 - other): the part of this shape outside other.
  Coverage Minus(const Coverage& other) const;
  // The same shape inside a bigger plane, moved by (dx, dy).
  Coverage Placed(int width, int height, int dx, int dy) const {
    return Resized(width, height).Shifted(dx, dy);
  }
  // Bounding box of the pixels above the threshold; false when none.
  bool Bounds(float threshold, int& left, int& top, int& right, int& bottom) const;

 private:
  Coverage Resized(int width, int height) const;
  int w_ = 0, h_ = 0;
  std::vector<float> v_;
};

using Shader = std::function<Color(int x, int y)>;

class Canvas {
 public:
  Canvas() = default;
  Canvas(int width, int height, Color fill = {0, 0, 0, 0})
      : w_(width), h_(height), px_(static_cast<size_t>(width) * height, fill) {}

  int Width() const { return w_; }
  int Height() const { return h_; }
  const Color& Get(int x, int y) const { return px_[static_cast<size_t>(y) * w_ + x]; }
  Color& At(int x, int y) { return px_[static_cast<size_t>(y) * w_ + x]; }

  // Source-over of colour c with the given coverage at one pixel.
  void Blend(int x, int y, Color c, float coverage);
  // Every pixel from the shader (replacing what was there).
  void Fill(const Shader& shader);
  // The coverage plane placed at (ox, oy), painted with the shader (which
  // receives canvas coordinates) or a flat colour.
  void Paint(const Coverage& cov, int ox, int oy, const Shader& shader);
  void Paint(const Coverage& cov, int ox, int oy, Color c);
  // Another canvas over this one at (x, y).
  void Draw(const Canvas& src, int x, int y);
  // Multiplies the colour of covered pixels by (1 - strength * coverage):
  // shadows and shading that keep the alpha.
  void Darken(const Coverage& cov, int ox, int oy, float strength);
  Canvas Crop(int x, int y, int width, int height) const;

 private:
  int w_ = 0, h_ = 0;
  std::vector<Color> px_;
};

}  // namespace datagen
