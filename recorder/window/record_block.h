#pragma once

// The recording block PanelRecord: the four step buttons with their tips, the further actions,
// the record-level and monitoring sliders beside the level meter, and the labels of the
// recording. It only holds and paints the widgets; the main window routes their events.

#include <QButtonGroup>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

#include "recorder/recorder_controls.h"
#include "recorder/window/db_meter_widget.h"
#include "recorder/window/main_window_paint.h"

namespace lorix {

class RecordBlock : public QFrame {
  Q_OBJECT

 public:
  explicit RecordBlock(QWidget* parent = nullptr);

  void Paint(const RecorderControls& c);

  // Steps 1 to 4.
  StepTip* PanelTipRecordLevelOnOff;
  StepTip* PanelTipRecordLevelOnOffMicro;
  QPushButton* ButtonRecordLevelOnOff;
  StepTip* PanelTipRecord;
  QPushButton* ButtonRecord;
  StepTip* PanelTipComprDecomprAndPlay;
  QPushButton* ButtonComprDecomprAndPlay;
  StepTip* PanelTipCreateOpenMail;
  QPushButton* ButtonCreateOpenMail;
  // Steps 1 and 2 show at most one of them pressed.
  QButtonGroup* step_group;

  // Further actions and settings.
  QPushButton* ButtonAndPlayOrig;
  QPushButton* ButtonAndPlay;
  QPushButton* ButtonReset;
  QCheckBox* CBAndPlayLRXFile;
  QPushButton* ButtonExplorer;
  QCheckBox* CBMikeToOutEnabled;
  QPushButton* ButtonWinMixerRecord;
  // The start method of the mail program after step 4; the tags are MailMethod's values.
  QWidget* GroupBoxMailApp;
  QLabel* Label10;
  QRadioButton* RBMailAppMAPI;
  QRadioButton* RBMailAppNo;
  QRadioButton* RBMailAppShell;
  QPushButton* ButtonMailAppHelp;
  // What step 4 writes and mails; the tags are AttachmentChoice's values.
  QWidget* GroupBoxAttachmentKind;
  QLabel* LabelAttachmentKind;
  QRadioButton* RBAttachmentProgram;
  QRadioButton* RBAttachmentAudio;
  QRadioButton* RBAttachmentBoth;

  // Record level, the meter and the monitoring level (shown while monitoring is on).
  QSlider* ScrollBarRecordLevel;
  DbMeterWidget* DbMeterRecordLevel;
  QWidget* PanelScrollBarMikeOut;
  QSlider* ScrollBarMikeOut;

  QLabel* LabelSmpsRecorded;
  QLabel* LabelRecordedOrLoaded;
  QLabel* LabelRecordedWAV_File;
  QLabel* LabelKBExpectedLRX;
};

// A vertical volume slider with the range, steps and hint of its row: 0 (full volume) at the
// top.
QSlider* MakeVolumeSlider(FormControl id, QWidget* parent);

}  // namespace lorix
