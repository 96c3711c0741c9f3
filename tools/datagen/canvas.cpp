#include "tools/datagen/canvas.h"

#include <algorithm>
#include <cmath>

namespace datagen {

float SdCircle(float x, float y, float cx, float cy, float r) { return std::hypot(x - cx, y - cy) - r; }

float SdRoundRect(float x, float y, float left, float top, float right, float bottom, float radius) {
  const float cx = (left + right) / 2, cy = (top + bottom) / 2;
  const float hx = (right - left) / 2 - radius, hy = (bottom - top) / 2 - radius;
  const float qx = std::fabs(x - cx) - hx, qy = std::fabs(y - cy) - hy;
  const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
  return outside + std::min(std::max(qx, qy), 0.0f) - radius;
}

Coverage Coverage::FromSdf(int width, int height, const std::function<float(float, float)>& sdf) {
  Coverage c(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) c.At(x, y) = Clamp01(0.5f - sdf(x + 0.5f, y + 0.5f));
  return c;
}

namespace {

// One box pass along rows (step 1) or columns (step width).
void BoxPass(std::vector<float>& v, int w, int h, int radius, bool rows) {
  const int lines = rows ? h : w, len = rows ? w : h;
  std::vector<float> line(len);
  for (int l = 0; l < lines; ++l) {
    auto at = [&](int i) -> float& {
      return rows ? v[static_cast<size_t>(l) * w + i] : v[static_cast<size_t>(i) * w + l];
    };
    for (int i = 0; i < len; ++i) line[i] = at(i);
    float sum = 0;
    for (int i = -radius; i <= radius; ++i) sum += (i >= 0 && i < len) ? line[i] : 0.0f;
    for (int i = 0; i < len; ++i) {
      at(i) = sum / (2 * radius + 1);
      const int out = i - radius, in = i + radius + 1;
      if (out >= 0) sum -= line[out];
      if (in < len) sum += line[in];
    }
  }
}

}  // namespace

Coverage Coverage::Blurred(int radius) const {
  Coverage c = *this;
  if (radius <= 0) return c;
  const int r = std::max(1, radius / 2);
  for (int pass = 0; pass < 3; ++pass) {
    BoxPass(c.v_, w_, h_, r, true);
    BoxPass(c.v_, w_, h_, r, false);
  }
  return c;
}

Coverage Coverage::Dilated(float radius) const {
  Coverage c(w_, h_);
  const int r = static_cast<int>(std::ceil(radius));
  for (int y = 0; y < h_; ++y) {
    for (int x = 0; x < w_; ++x) {
      float best = 0;
      for (int dy = -r; dy <= r; ++dy)
        for (int dx = -r; dx <= r; ++dx) {
          const float d = std::hypot(static_cast<float>(dx), static_cast<float>(dy));
          if (d > radius + 0.5f) continue;
          const float weight = Clamp01(radius + 0.5f - d);
          best = std::max(best, Get(x + dx, y + dy) * weight);
        }
      c.At(x, y) = best;
    }
  }
  return c;
}

Coverage Coverage::Shifted(int dx, int dy) const {
  Coverage c(w_, h_);
  for (int y = 0; y < h_; ++y)
    for (int x = 0; x < w_; ++x) c.At(x, y) = Get(x - dx, y - dy);
  return c;
}

Coverage Coverage::Minus(const Coverage& other) const {
  Coverage c = *this;
  for (int y = 0; y < h_; ++y)
    for (int x = 0; x < w_; ++x) c.At(x, y) *= 1.0f - other.Get(x, y);
  return c;
}

Coverage Coverage::Resized(int width, int height) const {
  Coverage c(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) c.At(x, y) = Get(x, y);
  return c;
}

bool Coverage::Bounds(float threshold, int& left, int& top, int& right, int& bottom) const {
  left = w_, top = h_, right = -1, bottom = -1;
  for (int y = 0; y < h_; ++y)
    for (int x = 0; x < w_; ++x)
      if (Get(x, y) > threshold) {
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
      }
  return right >= 0;
}

void Canvas::Blend(int x, int y, Color c, float coverage) {
  if (x < 0 || y < 0 || x >= w_ || y >= h_) return;
  const float alpha = c.a * Clamp01(coverage);
  if (alpha <= 0) return;
  Color& d = At(x, y);
  const float outA = alpha + d.a * (1 - alpha);
  if (outA <= 0) return;
  const float keep = d.a * (1 - alpha);
  d.r = (c.r * alpha + d.r * keep) / outA;
  d.g = (c.g * alpha + d.g * keep) / outA;
  d.b = (c.b * alpha + d.b * keep) / outA;
  d.a = outA;
}

void Canvas::Fill(const Shader& shader) {
  for (int y = 0; y < h_; ++y)
    for (int x = 0; x < w_; ++x) At(x, y) = shader(x, y);
}

void Canvas::Paint(const Coverage& cov, int ox, int oy, const Shader& shader) {
  for (int y = 0; y < cov.Height(); ++y)
    for (int x = 0; x < cov.Width(); ++x) {
      const float k = cov.Get(x, y);
      const int cx = x + ox, cy = y + oy;
      if (k > 0 && cx >= 0 && cy >= 0 && cx < w_ && cy < h_) Blend(cx, cy, shader(cx, cy), k);
    }
}

void Canvas::Paint(const Coverage& cov, int ox, int oy, Color c) {
  Paint(cov, ox, oy, [c](int, int) { return c; });
}

void Canvas::Draw(const Canvas& src, int x, int y) {
  for (int sy = 0; sy < src.h_; ++sy)
    for (int sx = 0; sx < src.w_; ++sx) {
      const Color& c = src.Get(sx, sy);
      Blend(x + sx, y + sy, c, 1.0f);
    }
}

void Canvas::Darken(const Coverage& cov, int ox, int oy, float strength) {
  for (int y = 0; y < cov.Height(); ++y)
    for (int x = 0; x < cov.Width(); ++x) {
      const int cx = x + ox, cy = y + oy;
      if (cx < 0 || cy < 0 || cx >= w_ || cy >= h_) continue;
      Color& d = At(cx, cy);
      const float k = 1.0f - strength * cov.Get(x, y);
      d.r *= k, d.g *= k, d.b *= k;
    }
}

Canvas Canvas::Crop(int x, int y, int width, int height) const {
  Canvas c(width, height);
  for (int cy = 0; cy < height; ++cy)
    for (int cx = 0; cx < width; ++cx)
      if (x + cx >= 0 && y + cy >= 0 && x + cx < w_ && y + cy < h_) c.At(cx, cy) = Get(x + cx, y + cy);
  return c;
}

}  // namespace datagen
