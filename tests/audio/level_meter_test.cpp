#include "audio/level_meter.h"

#include <gtest/gtest.h>

#include <ostream>
#include <utility>
#include <vector>

namespace lorix {

// Readable failure messages for the draw list.
void PrintTo(const Rgb& c, std::ostream* os) {
  *os << "rgb(" << int{c.r} << "," << int{c.g} << "," << int{c.b} << ")";
}
void PrintTo(const FillRect& r, std::ostream* os) {
  PrintTo(r.color, os);
  *os << " fill (" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
}
void PrintTo(const Polyline& l, std::ostream* os) {
  PrintTo(l.color, os);
  *os << " line";
  for (const Point& p : l.points) *os << " (" << p.x << "," << p.y << ")";
}

namespace testing {
namespace {

TDbMeterNormal Recorder(std::int32_t position) {
  TDbMeterNormal meter = MakeDbMeterRecordLevel();
  meter.Position = position;
  return meter;
}

// The rectangles of segments 1..n in order; with separators every other fill is one.
std::vector<FillRect> Segments(const TDbMeterNormal& meter) {
  const std::vector<DrawOp> ops = Paint(meter);
  std::vector<FillRect> segments;
  const std::size_t step = meter.SepWidth > 0 ? 2 : 1;
  for (std::size_t i = 1; i < ops.size() && std::holds_alternative<FillRect>(ops[i]); i += step) {
    segments.push_back(std::get<FillRect>(ops[i]));
  }
  return segments;
}

std::vector<Rgb> Colors(const std::vector<FillRect>& rects) {
  std::vector<Rgb> colors;
  for (const FillRect& r : rects) colors.push_back(r.color);
  return colors;
}

TEST(DbMeterRecordLevel, LitSegmentsAcrossTheLevelScale) {
  const std::pair<std::int32_t, std::int64_t> cases[] = {{0, 0},    {1, 1},    {10, 4},  {20, 8},
                                                         {21, 9},   {70, 25},  {71, 26}, {99, 37},
                                                         {100, 37}, {150, 37}, {-1, 1},  {-2, -1}};
  for (const auto& [position, count] : cases) {
    const TDbMeterNormal meter = Recorder(position);
    EXPECT_EQ(LitSegmentCount(meter), count) << position;
    const std::vector<FillRect> segments = Segments(meter);
    ASSERT_EQ(segments.size(), 37u);
    for (int i = 0; i < 37; ++i) {
      const Rgb lit = i < 8 ? kAqua : i < 25 ? kYellow : kRed;
      EXPECT_EQ(segments[i].color, i < count ? lit : kBlack) << position << " segment " << i + 1;
    }
  }
}

TEST(DbMeterRecordLevel, ShowJustOneLightsOnlyTheTopSegment) {
  TDbMeterNormal meter = Recorder(50);
  meter.ShowJustOne = true;
  std::vector<Rgb> expected(37, kBlack);
  expected[17] = kYellow;
  EXPECT_EQ(Colors(Segments(meter)), expected);
  meter.Position = 100;
  expected[17] = kBlack;
  expected[36] = kRed;
  EXPECT_EQ(Colors(Segments(meter)), expected);
}

TEST(LevelMeter, CountsRoundHalvesToEven) {
  TDbMeterNormal meter;  // 4 segments per 16 units, 4 per 8, 2 per 4: exact halves
  meter.Greens = 4, meter.GreenMax = 16, meter.Yellows = 4, meter.YellowMax = 8;
  meter.Reds = 2, meter.RedMax = 4;
  const std::pair<std::int32_t, std::int64_t> cases[] = {
      {10, 2}, {6, 2},  {2, 1},  {-2, 1}, {-6, -2}, {-10, -2},  // green: 2.5 1.5 .5 -.5 ...
      {17, 5}, {19, 6}, {21, 6}, {25, 9}, {27, 10}, {28, 10}};  // yellow, red, full
  for (const auto& [position, count] : cases) {
    meter.Position = position;
    EXPECT_EQ(LitSegmentCount(meter), count) << position;
  }
}

TEST(LevelMeter, ZonesWithoutSegments) {
  struct Case {
    std::int32_t greens, yellows, reds, position;
    std::int64_t count;
  };
  const Case cases[] = {
      {0, 2, 1, 0, 0},  {0, 2, 1, -5, 1}, {0, 2, 1, 1, 1},   // green zone has width 0
      {0, 2, 1, 25, 2}, {0, 2, 1, 26, 3}, {0, 2, 1, 50, 3},  // the scale ends at 50
      {3, 0, 1, 50, 3}, {3, 0, 1, 60, 4}, {3, 0, 1, 75, 4},  // red follows green directly
      {3, 2, 0, 76, 5}, {3, 2, 0, 99, 5}, {3, 2, 0, 75, 5},  // inside red: everything
  };
  for (const Case& c : cases) {
    TDbMeterNormal meter;  // 50 / 25 / 25 position units
    meter.Greens = c.greens, meter.Yellows = c.yellows, meter.Reds = c.reds;
    meter.Position = c.position;
    EXPECT_EQ(LitSegmentCount(meter), c.count)
        << c.greens << "/" << c.yellows << "/" << c.reds << " at " << c.position;
  }
  TDbMeterNormal meter;
  meter.Greens = 0, meter.Position = -5;
  EXPECT_EQ(Colors(Segments(meter)), (std::vector<Rgb>{kYellow, kGray, kGray}));
}

TEST(LevelMeter, SegmentGeometryAndMirroring) {
  using enum tdbmeterdirection;
  struct Case {
    TDbMeterNormal meter;
    tdbmeterdirection direction;
    FillRect first, first_separator, last;
  };
  const TDbMeterNormal horizontal;  // 80 x 17, 6 segments of 13 pixels
  const Case cases[] = {
      {Recorder(0),
       ddLeftUp,
       {kBlack, 0, 107, 8, 110},
       {kSilver, 0, 106, 8, 108},
       {kBlack, 0, -1, 8, 2}},
      {Recorder(0),
       ddRightDown,
       {kBlack, 0, 0, 8, 3},
       {kSilver, 0, 2, 8, 4},
       {kBlack, 0, 108, 8, 111}},
      {horizontal,
       ddLeftUp,
       {kGray, 66, 0, 79, 16},
       {kSilver, 65, 0, 67, 16},
       {kGray, 1, 0, 14, 16}},
      {horizontal,
       ddRightDown,
       {kGray, 0, 0, 13, 16},
       {kSilver, 12, 0, 14, 16},
       {kGray, 65, 0, 78, 16}},
  };
  for (const Case& c : cases) {
    TDbMeterNormal meter = c.meter;
    meter.Direction = c.direction;
    const std::vector<DrawOp> ops = Paint(meter);
    const std::vector<FillRect> segments = Segments(meter);
    ASSERT_GE(ops.size(), 3u);
    EXPECT_EQ(std::get<FillRect>(ops[1]), c.first);
    EXPECT_EQ(std::get<FillRect>(ops[2]), c.first_separator);
    EXPECT_EQ(segments.back(), c.last);
    const bool vertical = meter.Style == Tdbmeterstyle::dsVertical;
    for (std::size_t i = 0; i < segments.size(); ++i) {  // equal lengths, one after the other
      const FillRect& s = segments[i];
      const int length = vertical ? 111 / 37 : 80 / 6;
      EXPECT_EQ(vertical ? s.bottom - s.top : s.right - s.left, length) << i;
      if (i == 0) continue;
      const FillRect& p = segments[i - 1];
      const int step = vertical ? s.top - p.top : s.left - p.left;
      EXPECT_EQ(step, c.direction == ddLeftUp ? -length : length) << i;
    }
  }
}

TEST(LevelMeter, DrawListOrder) {
  const std::vector<DrawOp> ops = Paint(Recorder(100));
  ASSERT_EQ(ops.size(), 1u + 2 * 37 + 2);
  EXPECT_EQ(std::get<FillRect>(ops[0]), (FillRect{kSilver, 0, 0, 9, 111}));
  for (std::size_t i = 1; i <= 74; ++i) {
    ASSERT_TRUE(std::holds_alternative<FillRect>(ops[i])) << i;
    EXPECT_EQ(std::get<FillRect>(ops[i]).color == kSilver, i % 2 == 0) << i;
  }
  EXPECT_EQ(std::get<Polyline>(ops[75]), (Polyline{kWhite, {{-1, 110}, {8, 110}, {8, -1}}}));
  EXPECT_EQ(std::get<Polyline>(ops[76]), (Polyline{kGray, {{9, 0}, {0, 0}, {0, 110}}}));

  TDbMeterNormal meter = Recorder(100);
  meter.SepWidth = 0;  // no separators
  EXPECT_EQ(Paint(meter).size(), 1u + 37 + 2);
  meter.Visible = false;
  EXPECT_TRUE(Paint(meter).empty());
}

TEST(LevelMeter, SegmentsOnlyWhenLongerThanTheSeparator) {
  const std::vector<DrawOp> background_and_bevel = {FillRect{kSilver, 0, 0, 9, 30},
                                                    Polyline{kWhite, {{-1, 29}, {8, 29}, {8, -1}}},
                                                    Polyline{kGray, {{9, 0}, {0, 0}, {0, 29}}}};
  TDbMeterNormal meter = Recorder(100);
  meter.Height = 30;  // 37 segments in 30 pixels
  EXPECT_EQ(Paint(meter), background_and_bevel);
  meter.SepWidth = -1;  // segments of length 0 still draw nothing
  EXPECT_EQ(Paint(meter), background_and_bevel);

  TDbMeterNormal wide;  // 80 pixels
  wide.Greens = 40, wide.Yellows = 0, wide.Reds = 0;
  wide.SepWidth = 2;  // segments of 2 pixels
  EXPECT_EQ(Paint(wide).size(), 3u);
  wide.SepWidth = 1;
  EXPECT_EQ(Paint(wide).size(), 1u + 2 * 40 + 2);
  wide.Greens = 0;  // no segments at all
  EXPECT_EQ(Paint(wide).size(), 3u);
}

TEST(LevelMeter, BevelLines) {
  const auto lines = [](const TDbMeterNormal& meter) {
    std::vector<Polyline> result;
    for (const DrawOp& op : Paint(meter)) {
      if (const auto* line = std::get_if<Polyline>(&op)) result.push_back(*line);
    }
    return result;
  };
  TDbMeterNormal meter;  // 80 x 17
  meter.BevelWidth = 2;
  const std::vector<Polyline> lowered = {{kWhite, {{-1, 16}, {79, 16}, {79, -1}}},
                                         {kWhite, {{-1, 15}, {78, 15}, {78, -1}}},
                                         {kGray, {{80, 0}, {0, 0}, {0, 15}}},
                                         {kGray, {{80, 1}, {1, 1}, {1, 15}}}};
  EXPECT_EQ(lines(meter), lowered);
  meter.BevelStyle = BevelCut::kSpace;
  EXPECT_EQ(lines(meter), lowered);
  meter.BevelStyle = BevelCut::kRaised;
  std::vector<Polyline> raised = lowered;
  for (Polyline& line : raised) line.color = line.color == kWhite ? kGray : kWhite;
  EXPECT_EQ(lines(meter), raised);
  meter.BevelStyle = BevelCut::kNone;
  EXPECT_TRUE(lines(meter).empty());

  meter.BevelStyle = BevelCut::kLowered;
  meter.BevelWidth = 5;
  meter.Height = 12;  // 5 is more than a third: drawn 1 wide
  EXPECT_EQ(lines(meter), (std::vector<Polyline>{{kWhite, {{-1, 11}, {79, 11}, {79, -1}}},
                                                 {kGray, {{80, 0}, {0, 0}, {0, 11}}}}));
}

TEST(LevelMeter, SettersReportChanges) {
  TDbMeterNormal meter = Recorder(100);  // 9 x 111, BevelWidth 1
  const std::pair<std::uint8_t, std::uint8_t> bevel_widths[] = {{5, 1}, {3, 3}, {4, 1},
                                                                {2, 2}, {0, 1}, {1, 1}};
  std::uint8_t stored = meter.BevelWidth;
  for (const auto& [value, normalised] : bevel_widths) {
    EXPECT_EQ(SetBevelWidth(meter, value), normalised != stored) << int{value};
    EXPECT_EQ(meter.BevelWidth, normalised) << int{value};
    stored = normalised;
  }
  EXPECT_EQ(NormalizeBevelWidth(5, 80, 17), 5);
  EXPECT_EQ(NormalizeBevelWidth(6, 80, 17), 1);  // a third of the height

  EXPECT_FALSE(SetProperty(meter.Position, 100));
  EXPECT_TRUE(SetProperty(meter.Position, 99));
  EXPECT_EQ(meter.Position, 99);
  EXPECT_FALSE(SetProperty(meter.GreenColor, kAqua));
  EXPECT_TRUE(SetProperty(meter.GreenColor, kLime));
}

}  // namespace
}  // namespace testing
}  // namespace lorix
