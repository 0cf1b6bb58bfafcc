#include "recorder/window/db_meter_widget.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cstdlib>
#include <type_traits>
#include <variant>

namespace {

QColor ToQColor(lorix::Rgb rgb) {
  return QColor(rgb.r, rgb.g, rgb.b);
}

// Everything but the position: the recorder's meter keeps its look while its position moves.
bool SameLook(const lorix::TDbMeterNormal& a, const lorix::TDbMeterNormal& b) {
  return a.BevelStyle == b.BevelStyle && a.BevelWidth == b.BevelWidth &&
         a.GreenColor == b.GreenColor && a.Greens == b.Greens && a.GreenMax == b.GreenMax &&
         a.GreenBack == b.GreenBack && a.YellowColor == b.YellowColor && a.Yellows == b.Yellows &&
         a.YellowMax == b.YellowMax && a.YellowBack == b.YellowBack && a.RedColor == b.RedColor &&
         a.Reds == b.Reds && a.RedMax == b.RedMax && a.RedBack == b.RedBack &&
         a.ShowJustOne == b.ShowJustOne && a.SepWidth == b.SepWidth && a.SepColor == b.SepColor &&
         a.Style == b.Style && a.Direction == b.Direction && a.Width == b.Width &&
         a.Height == b.Height;
}

void FillClipped(QImage& image, const lorix::FillRect& rect) {
  const int left = std::max(rect.left, 0);
  const int top = std::max(rect.top, 0);
  const int right = std::min(rect.right, image.width());
  const int bottom = std::min(rect.bottom, image.height());
  if (left >= right || top >= bottom) return;
  QPainter painter(&image);
  painter.fillRect(left, top, right - left, bottom - top, ToQColor(rect.color));
}

void SetPixelClipped(QImage& image, int x, int y, QRgb color) {
  if (x >= 0 && y >= 0 && x < image.width() && y < image.height()) image.setPixel(x, y, color);
}

// Pixel by pixel rather than with QPainter::drawLine, because the geometry wants the pen's end
// point left out, which Qt's line end handling does not promise for every pen and platform.
void DrawPolyline(QImage& image, const lorix::Polyline& line) {
  const QRgb color = ToQColor(line.color).rgb();
  for (std::size_t i = 1; i < line.points.size(); ++i) {
    int x = line.points[i - 1].x;
    int y = line.points[i - 1].y;
    const int x1 = line.points[i].x;
    const int y1 = line.points[i].y;
    // Bresenham, stopping before the segment's end point.
    const int dx = std::abs(x1 - x);
    const int dy = -std::abs(y1 - y);
    const int sx = x < x1 ? 1 : -1;
    const int sy = y < y1 ? 1 : -1;
    int error = dx + dy;
    while (x != x1 || y != y1) {
      SetPixelClipped(image, x, y, color);
      const int twice = 2 * error;
      if (twice >= dy) {
        error += dy;
        x += sx;
      }
      if (twice <= dx) {
        error += dx;
        y += sy;
      }
    }
  }
}

}  // namespace

DbMeterWidget::DbMeterWidget(const lorix::TDbMeterNormal& properties, QWidget* parent)
    : QWidget(parent), properties_(properties) {
  setFixedSize(properties_.Width, properties_.Height);
  // Every pixel comes from the image: Qt need not clear the background first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  if (SameLook(properties_, lorix::MakeDbMeterRecordLevel())) {
    setToolTip(QString::fromUtf8(lorix::kDbMeterRecordLevelHint.data(),
                                 static_cast<qsizetype>(lorix::kDbMeterRecordLevelHint.size())));
  }
  Render();
}

void DbMeterWidget::SetPosition(int position) {
  if (!lorix::SetProperty(properties_.Position, static_cast<std::int32_t>(position))) return;
  Render();
  update();
}

int DbMeterWidget::LitCount() const {
  // The geometry's count runs below 0 and above n for far-out positions; both ends mean none
  // and all.
  const std::int64_t n = std::int64_t{properties_.Greens} + properties_.Yellows + properties_.Reds;
  return static_cast<int>(std::clamp<std::int64_t>(lorix::LitSegmentCount(properties_), 0,
                                                   std::max<std::int64_t>(n, 0)));
}

QSize DbMeterWidget::sizeHint() const {
  return {properties_.Width, properties_.Height};
}

void DbMeterWidget::Render() {
  image_ =
      QImage(std::max(properties_.Width, 1), std::max(properties_.Height, 1), QImage::Format_RGB32);
  image_.fill(ToQColor(properties_.SepColor));
  for (const lorix::DrawOp& op : lorix::Paint(properties_)) {
    std::visit(
        [this](const auto& shape) {
          if constexpr (std::is_same_v<std::decay_t<decltype(shape)>, lorix::FillRect>) {
            FillClipped(image_, shape);
          } else {
            DrawPolyline(image_, shape);
          }
        },
        op);
  }
  ++render_count_;
}

void DbMeterWidget::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.drawImage(event->rect(), image_, event->rect());
}
