#pragma once

// The compression block PanelOptionsCompress: the compression and mute sliders (0..8) with
// their labels. It only holds and paints the widgets; the main window routes their events.

#include <QFrame>
#include <QLabel>
#include <QSlider>

#include "recorder/recorder_controls.h"

namespace lorix {

class CompressBlock : public QFrame {
  Q_OBJECT

 public:
  explicit CompressBlock(QWidget* parent = nullptr);

  // Slider positions are set without change signals: they only show the workflow's values.
  void Paint(const RecorderControls& c);

  QSlider* TBCompressLevel;
  QLabel* LabelQuality;
  QLabel* LabelCompressLevel;
  QSlider* TBMuteLevel;
  QLabel* LabelMuteLevel;
  QLabel* LabelMutePercent;
};

}  // namespace lorix
