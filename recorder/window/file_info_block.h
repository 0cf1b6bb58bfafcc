#pragma once

// The file-info block PanelSpecials: the sizes of the buffers, the last loaded file, the
// sample rate, the info-text button, and the expert file-button row PanelExpertButtons (shown in
// expert mode only). The file functions behind the buttons are not connected yet; the buttons
// already follow the workflow's enabled states.

#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "recorder/recorder_controls.h"

namespace lorix {

class SpecialsBlock : public QFrame {
  Q_OBJECT

 public:
  explicit SpecialsBlock(QWidget* parent = nullptr);

  void Paint(const RecorderControls& c);

  QLabel* LabelMSPCMInfo;
  QLabel* LabelPCMInfo;
  QLabel* LabelMSLRXInfo;
  QLabel* LabelLoadedFile;
  QLabel* LabelFreq;
  QPushButton* ButtonShowMSINFofMail;

  QWidget* PanelExpertButtons;
  QWidget* PanelButtons;
  QPushButton* ButtonLoadPCMFile;
  QPushButton* ButtonLoadLRXFile;
  QPushButton* ButtonSaveLRXFile;
  QPushButton* ButtonSavePCMFile;
  QPushButton* ButtonCompress;
  QPushButton* ButtonDecompress;
  QPushButton* ButtonGraphPCM;
  QPushButton* ButtonGraphLRX;
};

}  // namespace lorix
