#include "audio/level_meter.h"

#include <algorithm>
#include <cmath>

namespace lorix {
namespace {

// Nearest integer, halves to the even neighbour (the default rounding mode).
std::int64_t RoundHalfEven(double x) {
  return static_cast<std::int64_t>(std::nearbyint(x));
}

// Along-axis coordinate seen from the other end of the control.
std::int64_t Mirror(std::int64_t v, std::int64_t extent) {
  return extent - v - 1;
}

// The rectangle spanning `from` to `to` along the meter's axis and 0 to `cross` - 1 across it.
FillRect AxisRect(const TDbMeterNormal& meter, std::int64_t from, std::int64_t to,
                  std::int64_t cross, Rgb color) {
  const bool horizontal = meter.Style == Tdbmeterstyle::dsHorizontal;
  if (meter.Direction == tdbmeterdirection::ddLeftUp) {
    const std::int64_t extent = horizontal ? meter.Width : meter.Height;
    from = Mirror(from, extent);
    to = Mirror(to, extent);
  }
  const std::int64_t along_lo = std::min(from, to);
  const std::int64_t along_hi = std::max(from, to);
  const std::int64_t across_lo = std::min<std::int64_t>(0, cross - 1);
  const std::int64_t across_hi = std::max<std::int64_t>(0, cross - 1);
  const auto c = [](std::int64_t v) { return static_cast<std::int32_t>(v); };
  if (horizontal) return {color, c(along_lo), c(across_lo), c(along_hi), c(across_hi)};
  return {color, c(across_lo), c(along_lo), c(across_hi), c(along_hi)};
}

void AddBevel(const TDbMeterNormal& meter, std::vector<DrawOp>& ops) {
  const std::int32_t w = meter.Width;
  const std::int32_t h = meter.Height;
  std::int32_t b = meter.BevelStyle == BevelCut::kNone ? 0 : meter.BevelWidth;
  if (h / 3 < b || w / 3 < b) b = 1;
  if (b <= 0) return;
  Rgb first = kWhite;
  Rgb second = kGray;
  if (meter.BevelStyle == BevelCut::kRaised) std::swap(first, second);
  for (std::int32_t k = 0; k < b; ++k) {  // bottom and right edges
    ops.push_back(Polyline{first, {{-1, h - k - 1}, {w - k - 1, h - k - 1}, {w - k - 1, -1}}});
  }
  for (std::int32_t k = 0; k < b; ++k) {  // top and left edges
    ops.push_back(Polyline{second, {{w, k}, {k, k}, {k, h - b}}});
  }
}

}  // namespace

TDbMeterNormal MakeDbMeterRecordLevel() {
  TDbMeterNormal meter;
  meter.Width = 9;
  meter.Height = 111;
  meter.Style = Tdbmeterstyle::dsVertical;
  meter.Direction = tdbmeterdirection::ddLeftUp;
  meter.BevelStyle = BevelCut::kLowered;
  meter.BevelWidth = 1;
  meter.Greens = 8;
  meter.GreenMax = 20;
  meter.GreenColor = kAqua;
  meter.Yellows = 17;
  meter.YellowMax = 50;
  meter.Reds = 12;
  meter.RedMax = 30;
  meter.GreenBack = kBlack;
  meter.YellowBack = kBlack;
  meter.RedBack = kBlack;
  meter.SepWidth = 1;
  meter.SepColor = kSilver;
  meter.ShowJustOne = false;
  meter.Position = 100;
  return meter;
}

std::uint8_t NormalizeBevelWidth(std::uint8_t value, std::int32_t width, std::int32_t height) {
  if (value == 0) return 1;
  if (value > height / 3 || value > width / 3) return 1;
  return value;
}

bool SetBevelWidth(TDbMeterNormal& meter, std::uint8_t value) {
  return SetProperty(meter.BevelWidth, NormalizeBevelWidth(value, meter.Width, meter.Height));
}

std::int64_t LitSegmentCount(const TDbMeterNormal& meter) {
  // 64-bit sums keep extreme property values from overflowing. Each division below is only
  // reached with a positive divisor: p can lie inside a zone only if that zone is wider than 0.
  const std::int64_t n =
      std::int64_t{meter.Greens} + std::int64_t{meter.Yellows} + std::int64_t{meter.Reds};
  const std::int64_t p = meter.Position;
  const std::int64_t g = meter.Greens == 0 ? 0 : meter.GreenMax;
  const std::int64_t y = meter.Yellows == 0 ? 0 : meter.YellowMax;
  std::int64_t count;
  if (g + y + meter.RedMax <= p) {
    count = n;
  } else if (p > g + y) {  // red zone: lights at least one red segment
    const std::int64_t below = std::int64_t{meter.Greens} + meter.Yellows;
    if (meter.Reds == 0) {
      count = n;
    } else {
      count = RoundHalfEven(static_cast<double>(meter.Reds) / meter.RedMax *
                            static_cast<double>(p - g - y)) +
              below;
      if (count == below) ++count;
    }
  } else if (p > g) {  // yellow zone: lights at least one yellow segment
    if (meter.Yellows == 0) {
      count = n;
    } else {
      count = RoundHalfEven(static_cast<double>(meter.Yellows) / static_cast<double>(y) *
                            static_cast<double>(p - g)) +
              meter.Greens;
      if (count == meter.Greens) ++count;
    }
  } else if (g == 0) {  // green zone, with zero and negative positions
    count = 0;
  } else {
    count = RoundHalfEven(static_cast<double>(meter.Greens) / static_cast<double>(g) *
                          static_cast<double>(p));
  }
  if (count == 0 && p != 0) count = 1;
  return count;
}

std::vector<DrawOp> Paint(const TDbMeterNormal& meter) {
  std::vector<DrawOp> ops;
  if (!meter.Visible) return ops;
  ops.push_back(FillRect{meter.SepColor, 0, 0, meter.Width, meter.Height});

  const std::int64_t n =
      std::int64_t{meter.Greens} + std::int64_t{meter.Yellows} + std::int64_t{meter.Reds};
  if (n > 0) {
    const bool horizontal = meter.Style == Tdbmeterstyle::dsHorizontal;
    const std::int64_t a = (horizontal ? meter.Width : meter.Height) / n;
    const std::int64_t e = horizontal ? meter.Height : meter.Width;
    // a = 0 passes the first test only with a negative SepWidth, and then draws nothing.
    if (a > meter.SepWidth && a != 0) {
      const std::int64_t c = LitSegmentCount(meter);
      const std::int64_t greens_and_yellows = std::int64_t{meter.Greens} + meter.Yellows;
      for (std::int64_t i = 1; i <= n; ++i) {
        const bool lit = i <= c && (!meter.ShowJustOne || i == c);
        Rgb color;
        if (i > greens_and_yellows) {
          color = lit ? meter.RedColor : meter.RedBack;
        } else if (i > meter.Greens) {
          color = lit ? meter.YellowColor : meter.YellowBack;
        } else {
          color = lit ? meter.GreenColor : meter.GreenBack;
        }
        ops.push_back(AxisRect(meter, (i - 1) * a, i * a, e, color));
        if (meter.SepWidth > 0) {
          ops.push_back(AxisRect(meter, i * a - meter.SepWidth, i * a + 1, e, meter.SepColor));
        }
      }
    }
  }

  AddBevel(meter, ops);
  return ops;
}

}  // namespace lorix
