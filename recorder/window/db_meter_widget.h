#pragma once

// The segmented level meter as a Qt widget. The geometry and the lit-segment rule live in
// audio/level_meter.h; this widget only stores property values, turns the draw list into an
// off-screen image and copies that image onto the screen in one step, so that the ten or so
// updates a second during recording do not flicker.

#include <QImage>
#include <QWidget>

#include "audio/level_meter.h"

class DbMeterWidget : public QWidget {
  Q_OBJECT

 public:
  // The widget takes the size of `properties` and keeps it. Built from MakeDbMeterRecordLevel()
  // it carries the recorder meter's hint as its tool tip.
  explicit DbMeterWidget(const lorix::TDbMeterNormal& properties, QWidget* parent = nullptr);

  // Stores the position and redraws, but only when it differs from the current one.
  void SetPosition(int position);
  int Position() const { return properties_.Position; }
  // Segments lit at the current position, 0 .. number of segments (with ShowJustOne only the
  // topmost of them shows).
  int LitCount() const;

  const lorix::TDbMeterNormal& Properties() const { return properties_; }
  // How often the off-screen image has been drawn; unchanged values must not raise it.
  int RenderCount() const { return render_count_; }

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void Render();

  lorix::TDbMeterNormal properties_;
  QImage image_;
  int render_count_ = 0;
};
