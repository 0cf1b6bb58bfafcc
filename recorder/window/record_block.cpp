#include "recorder/window/record_block.h"

#include <array>

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

#include "audio/mixer_bindings.h"

namespace lorix {
namespace {

constexpr int kStepButtonHeight = 46;
constexpr int kStepButtonWidth = 112;

// The glyph of step 1: a microphone.
QIcon MicrophoneIcon() {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(60, 60, 70));
  painter.drawRoundedRect(QRectF(11, 2, 10, 18), 5, 5);
  painter.setPen(QPen(QColor(60, 60, 70), 2.2));
  painter.setBrush(Qt::NoBrush);
  painter.drawArc(QRectF(7, 6, 18, 18), 200 * 16, 140 * 16);
  painter.drawLine(QPointF(16, 24), QPointF(16, 28));
  painter.drawLine(QPointF(10, 29), QPointF(22, 29));
  return QIcon(pixmap);
}

// The glyph of step 2: a red record dot.
QIcon RecordIcon() {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(120, 0, 0), 1));
  painter.setBrush(QColor(220, 30, 30));
  painter.drawEllipse(QRectF(2, 2, 12, 12));
  return QIcon(pixmap);
}

QPushButton* StepButton(FormControl id, QWidget* parent) {
  auto* button = FromTable(new QPushButton(parent), id);
  button->setMinimumSize(kStepButtonWidth, kStepButtonHeight);
  button->setCheckable(FormControlRowOf(id).flags & kFormToggle);
  return button;
}

// A label whose text may be a long path: it never widens the window, and its tool tip shows
// the whole text.
QLabel* PathLabel(FormControl id, QWidget* parent) {
  auto* label = FromTable(new QLabel(parent), id);
  label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  label->setMinimumWidth(60);
  return label;
}

void SetPathText(QLabel& label, const std::string& text) {
  label.setText(ToQt(text));
  label.setToolTip(label.text());
}

}  // namespace

QSlider* MakeVolumeSlider(FormControl id, QWidget* parent) {
  auto* slider = FromTable(new QSlider(Qt::Vertical, parent), id);
  const FormControlRow& row = FormControlRowOf(id);
  slider->setRange(row.range.min, row.range.max);
  slider->setSingleStep(row.range.line);
  slider->setPageStep(row.range.page);
  slider->setInvertedAppearance(row.flags & kFormInverted);  // 0 at the top
  slider->setFixedHeight(111);
  return slider;
}

RecordBlock::RecordBlock(QWidget* parent) : QFrame(parent) {
  using C = FormControl;
  FromTable(this, C::kPanelRecord);
  setFrameStyle(QFrame::StyledPanel | QFrame::Raised);

  PanelTipRecordLevelOnOff = FromTable(new StepTip(this), C::kPanelTipRecordLevelOnOff);
  PanelTipRecordLevelOnOffMicro = FromTable(new StepTip(this), C::kPanelTipRecordLevelOnOffMicro);
  PanelTipRecord = FromTable(new StepTip(this), C::kPanelTipRecord);
  PanelTipComprDecomprAndPlay = FromTable(new StepTip(this), C::kPanelTipComprDecomprAndPlay);
  PanelTipCreateOpenMail = FromTable(new StepTip(this), C::kPanelTipCreateOpenMail);

  ButtonRecordLevelOnOff = StepButton(C::kButtonRecordLevelOnOff, this);
  ButtonRecordLevelOnOff->setIcon(MicrophoneIcon());
  ButtonRecordLevelOnOff->setIconSize(QSize(32, 32));
  ButtonRecord = StepButton(C::kButtonRecord, this);
  ButtonRecord->setIcon(RecordIcon());
  ButtonComprDecomprAndPlay = StepButton(C::kButtonComprDecomprAndPlay, this);
  ButtonCreateOpenMail = StepButton(C::kButtonCreateOpenMail, this);
  step_group = new QButtonGroup(this);
  step_group->addButton(ButtonRecordLevelOnOff);
  step_group->addButton(ButtonRecord);

  ButtonAndPlayOrig = FromTable(new QPushButton(this), C::kButtonAndPlayOrig);
  ButtonAndPlay = FromTable(new QPushButton(this), C::kButtonAndPlay);
  ButtonReset = FromTable(new QPushButton(this), C::kButtonReset);
  ButtonExplorer = FromTable(new QPushButton(this), C::kButtonExplorer);
  for (QPushButton* button : {ButtonAndPlayOrig, ButtonAndPlay, ButtonReset, ButtonExplorer}) {
    button->setMinimumHeight(40);
  }
  CBAndPlayLRXFile = FromTable(new QCheckBox(this), C::kCBAndPlayLRXFile);
  CBMikeToOutEnabled = FromTable(new QCheckBox(this), C::kCBMikeToOutEnabled);
  // How the mail program is started after step 4.
  GroupBoxMailApp = FromTable(new QWidget(this), C::kGroupBoxMailApp);
  Label10 = FromTable(new QLabel(GroupBoxMailApp), C::kLabel10);
  RBMailAppMAPI = FromTable(new QRadioButton(GroupBoxMailApp), C::kRBMailAppMAPI);
  RBMailAppMAPI->setChecked(true);
  RBMailAppNo = FromTable(new QRadioButton(GroupBoxMailApp), C::kRBMailAppNo);
  RBMailAppShell = FromTable(new QRadioButton(GroupBoxMailApp), C::kRBMailAppShell);
  ButtonMailAppHelp = FromTable(new QPushButton(GroupBoxMailApp), C::kButtonMailAppHelp);
  ButtonMailAppHelp->setFixedWidth(24);
  auto* mail_row = new QHBoxLayout(GroupBoxMailApp);
  mail_row->setContentsMargins(0, 0, 0, 0);
  mail_row->addWidget(Label10);
  mail_row->addWidget(RBMailAppMAPI);
  mail_row->addWidget(RBMailAppNo);
  mail_row->addWidget(RBMailAppShell);
  mail_row->addStretch(1);
  mail_row->addWidget(ButtonMailAppHelp);
  // What step 4 writes: the self-playing program, an MP3 file for every device, or both.
  GroupBoxAttachmentKind = FromTable(new QWidget(this), C::kGroupBoxAttachmentKind);
  LabelAttachmentKind = FromTable(new QLabel(GroupBoxAttachmentKind), C::kLabelAttachmentKind);
  RBAttachmentProgram =
      FromTable(new QRadioButton(GroupBoxAttachmentKind), C::kRBAttachmentProgram);
  RBAttachmentProgram->setChecked(true);
  RBAttachmentAudio = FromTable(new QRadioButton(GroupBoxAttachmentKind), C::kRBAttachmentAudio);
  RBAttachmentBoth = FromTable(new QRadioButton(GroupBoxAttachmentKind), C::kRBAttachmentBoth);
  auto* kind_row = new QHBoxLayout(GroupBoxAttachmentKind);
  kind_row->setContentsMargins(0, 0, 0, 0);
  kind_row->addWidget(LabelAttachmentKind);
  kind_row->addWidget(RBAttachmentProgram);
  kind_row->addWidget(RBAttachmentAudio);
  kind_row->addWidget(RBAttachmentBoth);
  kind_row->addStretch(1);

  ButtonWinMixerRecord = FromTable(new QPushButton(this), C::kButtonWinMixerRecord);
  ButtonWinMixerRecord->setIcon(style()->standardIcon(QStyle::SP_MediaVolume));

  ScrollBarRecordLevel = MakeVolumeSlider(C::kScrollBarRecordLevel, this);
  DbMeterRecordLevel =
      FromTable(new DbMeterWidget(MakeDbMeterRecordLevel(), this), C::kDbMeterRecordLevel);
  PanelScrollBarMikeOut = FromTable(new QWidget(this), C::kPanelScrollBarMikeOut);
  ScrollBarMikeOut = MakeVolumeSlider(C::kScrollBarMikeOut, PanelScrollBarMikeOut);
  auto* mike_out = new QHBoxLayout(PanelScrollBarMikeOut);
  mike_out->setContentsMargins(0, 0, 0, 0);
  mike_out->addWidget(ScrollBarMikeOut);
  PanelScrollBarMikeOut->hide();

  LabelSmpsRecorded = FromTable(new QLabel(this), C::kLabelSmpsRecorded);
  LabelRecordedOrLoaded = FromTable(new QLabel(this), C::kLabelRecordedOrLoaded);
  LabelRecordedWAV_File = PathLabel(C::kLabelRecordedWAV_File, this);
  LabelKBExpectedLRX = FromTable(new QLabel(this), C::kLabelKBExpectedLRX);

  // Left: the steps and the further actions; right: the level column.
  auto* steps = new QGridLayout;
  steps->setHorizontalSpacing(6);
  steps->setVerticalSpacing(3);
  steps->addWidget(Heading(C::kLabel3, this), 0, 0, 1, 4);
  const std::array<StepTip*, 4> tips{PanelTipRecordLevelOnOff, PanelTipRecord,
                                     PanelTipComprDecomprAndPlay, PanelTipCreateOpenMail};
  const std::array<QPushButton*, 4> buttons{ButtonRecordLevelOnOff, ButtonRecord,
                                            ButtonComprDecomprAndPlay, ButtonCreateOpenMail};
  for (int i = 0; i < 4; ++i) {
    tips[static_cast<std::size_t>(i)]->setFixedHeight(20);
    steps->addWidget(tips[static_cast<std::size_t>(i)], 1, i);
    steps->addWidget(buttons[static_cast<std::size_t>(i)], 2, i);
  }
  steps->addItem(new QSpacerItem(0, 8), 3, 0);
  steps->addWidget(Heading(C::kLabel5, this), 4, 0, 1, 4);
  steps->addWidget(ButtonAndPlayOrig, 5, 0);
  steps->addWidget(ButtonAndPlay, 5, 1);
  steps->addWidget(ButtonReset, 5, 2);
  steps->addWidget(ButtonExplorer, 5, 3);
  steps->addWidget(CBAndPlayLRXFile, 6, 0, 1, 2);
  steps->addWidget(CBMikeToOutEnabled, 6, 2, 1, 2);
  steps->addWidget(GroupBoxMailApp, 7, 0, 1, 4);
  steps->addWidget(GroupBoxAttachmentKind, 8, 0, 1, 4);
  auto* file_row = new QHBoxLayout;
  file_row->addWidget(LabelRecordedOrLoaded);
  file_row->addWidget(LabelRecordedWAV_File, 1);
  steps->addLayout(file_row, 9, 0, 1, 4);
  auto* size_row = new QHBoxLayout;
  size_row->addWidget(LabelSmpsRecorded);
  size_row->addStretch(1);
  size_row->addWidget(LabelKBExpectedLRX);
  steps->addLayout(size_row, 10, 0, 1, 4);

  auto* level = new QVBoxLayout;
  level->setSpacing(3);
  PanelTipRecordLevelOnOffMicro->setFixedHeight(20);
  level->addWidget(PanelTipRecordLevelOnOffMicro);
  auto* meters = new QHBoxLayout;
  meters->setSpacing(4);
  meters->addWidget(ScrollBarRecordLevel);
  meters->addWidget(DbMeterRecordLevel, 0, Qt::AlignVCenter);
  meters->addWidget(PanelScrollBarMikeOut);
  level->addLayout(meters);
  level->addWidget(ButtonWinMixerRecord, 0, Qt::AlignHCenter);
  level->addStretch(1);

  auto* outer = new QHBoxLayout(this);
  outer->setContentsMargins(8, 6, 8, 6);
  outer->setSpacing(12);
  outer->addLayout(steps, 1);
  outer->addLayout(level);
}

void RecordBlock::Paint(const RecorderControls& c) {
  PanelTipRecordLevelOnOff->Paint(c.PanelTipRecordLevelOnOff);
  PanelTipRecordLevelOnOffMicro->Paint(c.PanelTipRecordLevelOnOffMicro);
  PanelTipRecord->Paint(c.PanelTipRecord);
  PanelTipComprDecomprAndPlay->Paint(c.PanelTipComprDecomprAndPlay);
  PanelTipCreateOpenMail->Paint(c.PanelTipCreateOpenMail);

  // An exclusive group refuses to release its pressed button, so it is opened while the
  // pressed states are set; the states themselves never show both pressed.
  step_group->setExclusive(false);
  PaintButton(*ButtonRecordLevelOnOff, c.ButtonRecordLevelOnOff);
  PaintButton(*ButtonRecord, c.ButtonRecord);
  step_group->setExclusive(true);
  PaintButton(*ButtonComprDecomprAndPlay, c.ButtonComprDecomprAndPlay);
  PaintButton(*ButtonCreateOpenMail, c.ButtonCreateOpenMail);

  PaintButton(*ButtonAndPlayOrig, c.ButtonAndPlayOrig);
  PaintButton(*ButtonAndPlay, c.ButtonAndPlay);
  PaintButton(*ButtonReset, c.ButtonReset);
  CBAndPlayLRXFile->setChecked(c.CBAndPlayLRXFile);

  DbMeterRecordLevel->SetPosition(static_cast<int>(c.DbMeterRecordLevel));
  LabelSmpsRecorded->setText(ToQt(c.LabelSmpsRecorded));
  LabelRecordedOrLoaded->setText(ToQt(c.LabelRecordedOrLoaded));
  SetPathText(*LabelRecordedWAV_File, c.LabelRecordedWAV_File);
  LabelKBExpectedLRX->setText(ToQt(c.LabelKBExpectedLRX));
}

}  // namespace lorix
