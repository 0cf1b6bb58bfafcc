#pragma once

// The playback block PanelPlay (play, pause, stop, the start-position slider, the position and
// file labels, the two playback volume sliders, the system mixer and the button that opens the
// sound with its associated application) and the playback status line PanelPlayStatus. They
// only hold and paint the widgets; the main window routes their events.

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QSlider>

#include "audio/wave_playback.h"
#include "recorder/recorder_controls.h"

namespace lorix {

class PlayBlock : public QFrame {
  Q_OBJECT

 public:
  explicit PlayBlock(QWidget* parent = nullptr);

  void Paint(const RecorderControls& c, const WavePlayback& playback);

  QPushButton* ButtonPlay;
  QPushButton* ButtonPause;
  QPushButton* ButtonStop;
  QSlider* ScrollbarPlay;
  QLabel* LabelPlayPos;
  QLabel* LabelPlayFile;
  QPushButton* ButtonStartApplication;
  QSlider* ScrollbarVolWaveout;
  QSlider* ScrollBarVolSpeakers;
  QPushButton* ButtonWinMixerPlay;
};

class PlayStatusBlock : public QFrame {
  Q_OBJECT

 public:
  explicit PlayStatusBlock(QWidget* parent = nullptr);

  void Paint(const WavePlayback& playback);

  QLabel* LabelPlayStatus;
};

}  // namespace lorix
