#pragma once

// A small RGBA picture drawn from filled shapes, for the player's icons. Each pixel is sampled
// 4 x 4 times, so slanted and round edges come out smooth. Coordinates are in pixels with
// (0, 0) at the top left corner of the top left pixel; shapes are painted over what is there.

#include <cstdint>
#include <functional>
#include <vector>

namespace lorix {

struct Rgba {
  std::uint8_t r = 0, g = 0, b = 0, a = 255;
  bool operator==(const Rgba&) const = default;
};

struct IconPoint {
  double x = 0, y = 0;
};

class IconCanvas {
 public:
  IconCanvas(int width, int height);

  int width() const { return width_; }
  int height() const { return height_; }
  Rgba At(int x, int y) const;
  // Rows from the top, 4 bytes (R, G, B, A) per pixel.
  const std::vector<std::uint8_t>& pixels() const { return pixels_; }

  void FillRect(double x0, double y0, double x1, double y1, Rgba color);
  // Inside by the even-odd rule.
  void FillPolygon(const std::vector<IconPoint>& points, Rgba color);
  void FillEllipse(double cx, double cy, double rx, double ry, Rgba color);
  // A piece of a ring around (cx, cy) between radii `inner` and `outer`, from angle `from` to
  // `to` in degrees, counter-clockwise from the positive x axis (y pointing up).
  void FillArc(double cx, double cy, double inner, double outer, double from, double to,
               Rgba color);
  // A straight stroke of `width` with square ends.
  void FillLine(double x0, double y0, double x1, double y1, double width, Rgba color);

  // The picture with every colour mixed with its grey and then halfway toward `background`:
  // how a disabled control shows its picture.
  IconCanvas Grayed(Rgba background) const;
  // The picture laid onto an opaque `background`: RGB, 3 bytes per pixel.
  std::vector<std::uint8_t> OnBackground(Rgba background) const;

 private:
  // Paints `color` over every pixel with the share of its 16 samples that `inside` accepts.
  void Cover(const std::function<bool(double x, double y)>& inside, Rgba color);
  void Blend(int x, int y, Rgba color, double coverage);

  int width_;
  int height_;
  std::vector<std::uint8_t> pixels_;
};

}  // namespace lorix
