#include <gtest/gtest.h>

#include <QApplication>
#include <QEvent>
#include <QImage>
#include <algorithm>
#include <variant>

#include "audio/level_meter.h"
#include "recorder/window/db_meter_widget.h"

namespace {

QColor ToQColor(lorix::Rgb rgb) {
  return QColor(rgb.r, rgb.g, rgb.b);
}

// The segment rectangles of the geometry: every FillRect after the background that is not
// a separator.
std::vector<lorix::FillRect> SegmentRects(const lorix::TDbMeterNormal& meter) {
  std::vector<lorix::FillRect> rects;
  const auto ops = lorix::Paint(meter);
  for (std::size_t i = 1; i < ops.size(); ++i) {
    const auto* rect = std::get_if<lorix::FillRect>(&ops[i]);
    if (rect != nullptr && rect->color != meter.SepColor) rects.push_back(*rect);
  }
  return rects;
}

struct ZoneCounts {
  int lit_green = 0;
  int lit_yellow = 0;
  int lit_red = 0;
  int dark = 0;
};

// Classifies the pixel at every segment's centre by colour. The centre is taken of the part
// inside the one-pixel bevel: the outermost segment reaches under the bevel.
ZoneCounts CountAtCentres(const QImage& image, const lorix::TDbMeterNormal& meter) {
  ZoneCounts counts;
  for (const lorix::FillRect& rect : SegmentRects(meter)) {
    const int left = std::max(rect.left, 1);
    const int top = std::max(rect.top, 1);
    const int right = std::min(rect.right, image.width() - 1);
    const int bottom = std::min(rect.bottom, image.height() - 1);
    const QColor pixel = image.pixelColor((left + right - 1) / 2, (top + bottom - 1) / 2);
    EXPECT_EQ(pixel, ToQColor(rect.color)) << "centre of " << rect.left << "," << rect.top;
    if (pixel == ToQColor(meter.GreenColor)) {
      ++counts.lit_green;
    } else if (pixel == ToQColor(meter.YellowColor)) {
      ++counts.lit_yellow;
    } else if (pixel == ToQColor(meter.RedColor)) {
      ++counts.lit_red;
    } else {
      ++counts.dark;
    }
  }
  return counts;
}

class PaintCounter : public QObject {
 public:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
  int paints = 0;
};

TEST(DbMeterWidget, RecorderMeterLightsTheZonesOfItsPosition) {
  DbMeterWidget meter(lorix::MakeDbMeterRecordLevel());
  EXPECT_EQ(meter.size(), QSize(9, 111));
  EXPECT_EQ(meter.toolTip(),
            QString::fromUtf8("Pegelspitzen sollten gelegentlich den roten Bereich erreichen!"));

  struct Case {
    int position;
    int green, yellow, red;
  };
  // Aqua is the recorder meter's "green"; 8 green, 17 yellow, 12 red segments.
  const Case cases[] = {{0, 0, 0, 0},     {1, 1, 0, 0},     {10, 4, 0, 0},  {20, 8, 0, 0},
                        {21, 8, 1, 0},    {70, 8, 17, 0},   {71, 8, 17, 1}, {99, 8, 17, 12},
                        {100, 8, 17, 12}, {150, 8, 17, 12}, {-1, 1, 0, 0},  {-2, 0, 0, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.position);
    meter.SetPosition(c.position);
    EXPECT_EQ(meter.Position(), c.position);
    EXPECT_EQ(meter.LitCount(), c.green + c.yellow + c.red);
    const QImage image = meter.grab().toImage();
    ASSERT_EQ(image.size(), QSize(9, 111));
    const ZoneCounts counts = CountAtCentres(image, meter.Properties());
    EXPECT_EQ(counts.lit_green, c.green);
    EXPECT_EQ(counts.lit_yellow, c.yellow);
    EXPECT_EQ(counts.lit_red, c.red);
    EXPECT_EQ(counts.dark, 37 - c.green - c.yellow - c.red);
    // Segment 1 is at the bottom, just above the bevel.
    EXPECT_EQ(image.pixelColor(4, 109), c.green > 0 ? QColor(0, 255, 255) : QColor(0, 0, 0));
  }
}

TEST(DbMeterWidget, LoweredBevelIsGrayTopLeftAndWhiteBottomRight) {
  DbMeterWidget meter(lorix::MakeDbMeterRecordLevel());
  const QImage image = meter.grab().toImage();
  const QColor white(255, 255, 255);
  const QColor gray(128, 128, 128);
  EXPECT_EQ(image.pixelColor(0, 0), gray);
  EXPECT_EQ(image.pixelColor(8, 0), gray);  // the top line is drawn over the right one
  EXPECT_EQ(image.pixelColor(0, 50), gray);
  EXPECT_EQ(image.pixelColor(8, 50), white);
  EXPECT_EQ(image.pixelColor(4, 110), white);
  // The left line stops short of its end point, so the bottom line's white shows there.
  EXPECT_EQ(image.pixelColor(0, 110), white);
  EXPECT_EQ(image.pixelColor(8, 110), white);
}

TEST(DbMeterWidget, DefaultHorizontalMeterLightsFromTheLeft) {
  lorix::TDbMeterNormal properties;  // 80 x 17, 3/2/1 segments of 13 pixels
  properties.Position = 50;
  DbMeterWidget meter(properties);
  EXPECT_EQ(meter.size(), QSize(80, 17));
  EXPECT_TRUE(meter.toolTip().isEmpty());
  const QImage image = meter.grab().toImage();
  const QColor lime(0, 255, 0);
  const QColor gray(128, 128, 128);
  for (int segment = 0; segment < 6; ++segment) {
    EXPECT_EQ(image.pixelColor(segment * 13 + 6, 8), segment < 3 ? lime : gray) << segment;
  }
  meter.SetPosition(100);
  const QImage full = meter.grab().toImage();
  EXPECT_EQ(full.pixelColor(3 * 13 + 6, 8), QColor(255, 255, 0));
  EXPECT_EQ(full.pixelColor(5 * 13 + 6, 8), QColor(255, 0, 0));
}

TEST(DbMeterWidget, RedrawsOnlyWhenThePositionChanges) {
  DbMeterWidget meter(lorix::MakeDbMeterRecordLevel());
  PaintCounter counter;
  meter.installEventFilter(&counter);
  meter.show();
  QApplication::processEvents();

  const int renders = meter.RenderCount();
  counter.paints = 0;
  meter.SetPosition(50);
  QApplication::processEvents();
  EXPECT_EQ(meter.RenderCount(), renders + 1);
  EXPECT_GE(counter.paints, 1);

  counter.paints = 0;
  meter.SetPosition(50);
  QApplication::processEvents();
  EXPECT_EQ(meter.RenderCount(), renders + 1);
  EXPECT_EQ(counter.paints, 0);
}

}  // namespace
