#pragma once

// Geometry of the segmented level meter: a row or column of equal segments in a green, a yellow
// and a red zone, each segment lit in its zone colour or dark in the zone's background colour,
// with separators between the segments and an optional bevel. Everything here is plain data; the
// widget that owns a TDbMeterNormal stores property values through the setters below, and when
// one reports a change it paints the list that Paint returns into its off-screen image.

#include <cstdint>
#include <string_view>
#include <variant>
#include <vector>

namespace lorix {

struct Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;

  bool operator==(const Rgb&) const = default;
};

inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kGray{128, 128, 128};
inline constexpr Rgb kSilver{192, 192, 192};
inline constexpr Rgb kLime{0, 255, 0};
inline constexpr Rgb kAqua{0, 255, 255};
inline constexpr Rgb kYellow{255, 255, 0};
inline constexpr Rgb kRed{255, 0, 0};

// Frame look. kSpace draws like kLowered: only kRaised swaps the two bevel colours.
enum class BevelCut : std::uint8_t { kNone, kLowered, kRaised, kSpace };

enum class Tdbmeterstyle : std::uint8_t { dsVertical, dsHorizontal };

// Where segment 1 is: left/top (ddRightDown) or right/bottom (ddLeftUp).
enum class tdbmeterdirection : std::uint8_t { ddRightDown, ddLeftUp };

// The meter's properties with their defaults. Positions are in position units: green covers
// up to GreenMax, yellow the next YellowMax units, red the next RedMax units.
struct TDbMeterNormal {
  BevelCut BevelStyle = BevelCut::kLowered;
  std::uint8_t BevelWidth = 1;  // store through SetBevelWidth, which normalises it
  Rgb GreenColor = kLime;
  std::int32_t Greens = 3;
  std::int32_t GreenMax = 50;
  Rgb GreenBack = kGray;
  Rgb YellowColor = kYellow;
  std::int32_t Yellows = 2;
  std::int32_t YellowMax = 25;
  Rgb YellowBack = kGray;
  Rgb RedColor = kRed;
  std::int32_t Reds = 1;
  std::int32_t RedMax = 25;
  Rgb RedBack = kGray;
  bool ShowJustOne = false;  // light only the topmost lit segment
  std::int32_t SepWidth = 1;
  Rgb SepColor = kSilver;  // separators and background
  Tdbmeterstyle Style = Tdbmeterstyle::dsHorizontal;
  tdbmeterdirection Direction = tdbmeterdirection::ddRightDown;
  std::int32_t Position = 0;

  // The control itself.
  std::int32_t Width = 80;
  std::int32_t Height = 17;
  bool Visible = true;
};

// The recorder's meter DbMeterRecordLevel: 9 x 111 pixels, vertical with segment 1 at the
// bottom, 37 segments of 3 pixels on the 0..100 level scale.
TDbMeterNormal MakeDbMeterRecordLevel();

inline constexpr std::string_view kDbMeterRecordLevelHint =
    "Pegelspitzen sollten gelegentlich den roten Bereich erreichen!";

// Stores `value` in `property` only if it differs. Returns whether it did; the widget repaints
// exactly then.
template <typename T>
bool SetProperty(T& property, const T& value) {
  if (property == value) return false;
  property = value;
  return true;
}

// The bevel width the control keeps for `value` at its current size: 0 becomes 1, and a width
// greater than a third of the height or of the width becomes 1.
std::uint8_t NormalizeBevelWidth(std::uint8_t value, std::int32_t width, std::int32_t height);

// Normalises `value` for the meter's current size, then stores it like SetProperty. Setting a
// value that normalises to the stored one is no change.
bool SetBevelWidth(TDbMeterNormal& meter, std::uint8_t value);

// The number of segments lit at the meter's Position. Below 1 nothing is lit; above the number
// of segments everything is. Negative positions can give negative counts (-2 gives -1 on the
// recorder's meter); such values are part of the result, not clamped.
std::int64_t LitSegmentCount(const TDbMeterNormal& meter);

// Rectangles are (left, top, right, bottom) with right and bottom exclusive: the pixels
// left <= x < right, top <= y < bottom are filled. Corners are always ordered (left <= right,
// top <= bottom), also where the mirrored segment coordinates of ddLeftUp come out reversed.
// Coordinates may lie outside the control; the painter clips them.
struct FillRect {
  Rgb color;
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;

  bool operator==(const FillRect&) const = default;
};

struct Point {
  std::int32_t x = 0;
  std::int32_t y = 0;

  bool operator==(const Point&) const = default;
};

// A one-pixel line through `points`, drawn like a pen moved from point to point: every pixel
// from one point up to the next is painted, but the last point itself is not (a flat-capped
// cosmetic pen paints it that way).
struct Polyline {
  Rgb color;
  std::vector<Point> points;

  bool operator==(const Polyline&) const = default;
};

using DrawOp = std::variant<FillRect, Polyline>;

// The whole picture of the meter, to be painted in order onto an image of Width x Height:
// the background in SepColor, then for segment 1, 2, ... its rectangle followed by its
// separator, then the bevel lines (bottom and right edges first, then top and left).
// An invisible meter draws nothing. A segment length of 0 (only possible with a negative
// SepWidth) would give empty segment rectangles only; they are left out, so the list never
// grows beyond the control's size.
std::vector<DrawOp> Paint(const TDbMeterNormal& meter);

}  // namespace lorix
