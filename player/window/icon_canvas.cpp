#include "player/window/icon_canvas.h"

#include <algorithm>
#include <cmath>

namespace lorix {
namespace {

constexpr int kSamples = 4;  // per pixel and axis
constexpr double kPi = 3.14159265358979323846;

std::uint8_t Mix(double a, double b, double share_of_b) {
  return static_cast<std::uint8_t>(std::lround(a + (b - a) * share_of_b));
}

}  // namespace

IconCanvas::IconCanvas(int width, int height)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * height * 4, 0) {}

Rgba IconCanvas::At(int x, int y) const {
  const std::uint8_t* p = &pixels_[(static_cast<std::size_t>(y) * width_ + x) * 4];
  return {p[0], p[1], p[2], p[3]};
}

void IconCanvas::Blend(int x, int y, Rgba color, double coverage) {
  std::uint8_t* p = &pixels_[(static_cast<std::size_t>(y) * width_ + x) * 4];
  const double src_a = color.a / 255.0 * coverage;
  const double dst_a = p[3] / 255.0;
  const double out_a = src_a + dst_a * (1.0 - src_a);
  if (out_a <= 0.0) return;
  const std::uint8_t src[3] = {color.r, color.g, color.b};
  for (int i = 0; i < 3; ++i) {
    const double value = (src[i] * src_a + p[i] * dst_a * (1.0 - src_a)) / out_a;
    p[i] = static_cast<std::uint8_t>(std::lround(std::clamp(value, 0.0, 255.0)));
  }
  p[3] = static_cast<std::uint8_t>(std::lround(out_a * 255.0));
}

void IconCanvas::Cover(const std::function<bool(double x, double y)>& inside, Rgba color) {
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      int hits = 0;
      for (int sy = 0; sy < kSamples; ++sy) {
        for (int sx = 0; sx < kSamples; ++sx) {
          if (inside(x + (sx + 0.5) / kSamples, y + (sy + 0.5) / kSamples)) ++hits;
        }
      }
      if (hits > 0) Blend(x, y, color, static_cast<double>(hits) / (kSamples * kSamples));
    }
  }
}

void IconCanvas::FillRect(double x0, double y0, double x1, double y1, Rgba color) {
  Cover([=](double x, double y) { return x >= x0 && x < x1 && y >= y0 && y < y1; }, color);
}

void IconCanvas::FillPolygon(const std::vector<IconPoint>& points, Rgba color) {
  Cover(
      [&points](double x, double y) {
        bool in = false;
        for (std::size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
          const IconPoint& a = points[i];
          const IconPoint& b = points[j];
          if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) {
            in = !in;
          }
        }
        return in;
      },
      color);
}

void IconCanvas::FillEllipse(double cx, double cy, double rx, double ry, Rgba color) {
  Cover(
      [=](double x, double y) {
        const double dx = (x - cx) / rx;
        const double dy = (y - cy) / ry;
        return dx * dx + dy * dy <= 1.0;
      },
      color);
}

void IconCanvas::FillArc(double cx, double cy, double inner, double outer, double from, double to,
                         Rgba color) {
  Cover(
      [=](double x, double y) {
        const double dx = x - cx;
        const double dy = cy - y;
        const double r = std::sqrt(dx * dx + dy * dy);
        if (r < inner || r > outer) return false;
        double angle = std::atan2(dy, dx) * 180.0 / kPi;
        if (angle < from) angle += 360.0;
        return angle >= from && angle <= to;
      },
      color);
}

void IconCanvas::FillLine(double x0, double y0, double x1, double y1, double width, Rgba color) {
  const double length = std::hypot(x1 - x0, y1 - y0);
  if (length <= 0.0) return;
  // Unit vectors along and across the stroke, half a width long across.
  const double ux = (x1 - x0) / length, uy = (y1 - y0) / length;
  const double nx = -uy * width / 2, ny = ux * width / 2;
  const double ex = ux * width / 2, ey = uy * width / 2;
  FillPolygon({{x0 - ex + nx, y0 - ey + ny},
               {x1 + ex + nx, y1 + ey + ny},
               {x1 + ex - nx, y1 + ey - ny},
               {x0 - ex - nx, y0 - ey - ny}},
              color);
}

IconCanvas IconCanvas::Grayed(Rgba background) const {
  IconCanvas grayed = *this;
  for (std::size_t i = 0; i < pixels_.size(); i += 4) {
    const double gray = 0.30 * pixels_[i] + 0.59 * pixels_[i + 1] + 0.11 * pixels_[i + 2];
    const std::uint8_t bg[3] = {background.r, background.g, background.b};
    for (int c = 0; c < 3; ++c) grayed.pixels_[i + c] = Mix(gray, bg[c], 0.5);
  }
  return grayed;
}

std::vector<std::uint8_t> IconCanvas::OnBackground(Rgba background) const {
  std::vector<std::uint8_t> rgb;
  rgb.reserve(static_cast<std::size_t>(width_) * height_ * 3);
  const std::uint8_t bg[3] = {background.r, background.g, background.b};
  for (std::size_t i = 0; i < pixels_.size(); i += 4) {
    const double alpha = pixels_[i + 3] / 255.0;
    for (int c = 0; c < 3; ++c) rgb.push_back(Mix(bg[c], pixels_[i + c], alpha));
  }
  return rgb;
}

}  // namespace lorix
