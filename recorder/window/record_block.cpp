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

QPushButton* StepButton(const char* name, QWidget* parent) {
  auto* button = Named(new QPushButton(parent), name);
  button->setMinimumSize(kStepButtonWidth, kStepButtonHeight);
  return button;
}

QLabel* Caption(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  QFont bold = label->font();
  bold.setBold(true);
  label->setFont(bold);
  return label;
}

// A label whose text may be a long path: it never widens the window, and its tool tip shows
// the whole text.
QLabel* PathLabel(const char* name, QWidget* parent) {
  auto* label = Named(new QLabel(parent), name);
  label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  label->setMinimumWidth(60);
  return label;
}

void SetPathText(QLabel& label, const std::string& text) {
  label.setText(ToQt(text));
  label.setToolTip(label.text());
}

QString Hint(VolumeSlider slider) {
  const std::string_view hint = BindingOf(slider).hint;
  return QString::fromUtf8(hint.data(), static_cast<qsizetype>(hint.size()));
}

}  // namespace

QSlider* MakeVolumeSlider(const char* name, const QString& hint, QWidget* parent) {
  auto* slider = Named(new QSlider(Qt::Vertical, parent), name);
  slider->setRange(0, 1000);
  slider->setSingleStep(10);
  slider->setPageStep(100);
  slider->setInvertedAppearance(true);  // 0 at the top
  slider->setToolTip(hint);
  slider->setFixedHeight(111);
  return slider;
}

RecordBlock::RecordBlock(QWidget* parent) : QFrame(parent) {
  setObjectName(QStringLiteral("PanelRecord"));
  setFrameStyle(QFrame::StyledPanel | QFrame::Raised);

  PanelTipRecordLevelOnOff = Named(new StepTip(this), "PanelTipRecordLevelOnOff");
  PanelTipRecordLevelOnOffMicro = Named(new StepTip(this), "PanelTipRecordLevelOnOffMicro");
  PanelTipRecord = Named(new StepTip(this), "PanelTipRecord");
  PanelTipComprDecomprAndPlay = Named(new StepTip(this), "PanelTipComprDecomprAndPlay");
  PanelTipCreateOpenMail = Named(new StepTip(this), "PanelTipCreateOpenMail");

  ButtonRecordLevelOnOff = StepButton("ButtonRecordLevelOnOff", this);
  ButtonRecordLevelOnOff->setIcon(MicrophoneIcon());
  ButtonRecordLevelOnOff->setIconSize(QSize(32, 32));
  ButtonRecordLevelOnOff->setCheckable(true);
  ButtonRecord = StepButton("ButtonRecord", this);
  ButtonRecord->setIcon(RecordIcon());
  ButtonRecord->setCheckable(true);
  ButtonComprDecomprAndPlay = StepButton("ButtonComprDecomprAndPlay", this);
  ButtonCreateOpenMail = StepButton("ButtonCreateOpenMail", this);
  step_group = new QButtonGroup(this);
  step_group->addButton(ButtonRecordLevelOnOff);
  step_group->addButton(ButtonRecord);

  ButtonAndPlayOrig = Named(new QPushButton(this), "ButtonAndPlayOrig");
  ButtonAndPlay = Named(new QPushButton(this), "ButtonAndPlay");
  ButtonReset = Named(new QPushButton(this), "ButtonReset");
  ButtonExplorer = Named(new QPushButton(QStringLiteral("&Explorer"), this), "ButtonExplorer");
  ButtonExplorer->setToolTip(
      QStringLiteral("Ordner der erstellten LORIX-Anhänge öffnen (Archivieren, Aufräumen, ...)"));
  for (QPushButton* button : {ButtonAndPlayOrig, ButtonAndPlay, ButtonReset, ButtonExplorer}) {
    button->setMinimumHeight(40);
  }
  CBAndPlayLRXFile = Named(new QCheckBox(QStringLiteral("automatisch ab-  hören (&prüfen)"), this),
                           "CBAndPlayLRXFile");
  CBMikeToOutEnabled =
      Named(new QCheckBox(ToQt(kCBMikeToOutEnabledCaption), this), "CBMikeToOutEnabled");
  CBMikeToOutEnabled->setToolTip(QStringLiteral(
      "Achtung: Mithören über die Lautsprecher während der Aufnahme kann eine Rückkopplung "
      "(Pfeifton) verursachen!"));
  // How the mail program is started after step 4.
  GroupBoxMailApp = Named(new QWidget(this), "GroupBoxMailApp");
  GroupBoxMailApp->setToolTip(QStringLiteral("Start-Methode des Mail-Programms auswählen"));
  Label10 = Named(new QLabel(QStringLiteral("Mail-Programm starten:"), GroupBoxMailApp), "Label10");
  Label10->setToolTip(QStringLiteral("Start-Methode des Mail-Programms auswählen"));
  RBMailAppMAPI =
      Named(new QRadioButton(QStringLiteral("üb. MAPI (empf.)"), GroupBoxMailApp), "RBMailAppMAPI");
  RBMailAppMAPI->setToolTip(QStringLiteral(
      "Nach Fertigstellung Mail-Programm automatisch starten über das installierte MAPI"));
  RBMailAppMAPI->setChecked(true);
  RBMailAppNo = Named(new QRadioButton(QStringLiteral("nie"), GroupBoxMailApp), "RBMailAppNo");
  RBMailAppNo->setToolTip(
      QStringLiteral("Nach Fertigstellung kein Mail-Programm automatisch starten"));
  RBMailAppShell =
      Named(new QRadioButton(QStringLiteral("System"), GroupBoxMailApp), "RBMailAppShell");
  RBMailAppShell->setToolTip(
      QStringLiteral("Nach Fertigstellung Mail-Programm automatisch starten über Windows-System"));
  ButtonMailAppHelp =
      Named(new QPushButton(QStringLiteral("?"), GroupBoxMailApp), "ButtonMailAppHelp");
  ButtonMailAppHelp->setToolTip(
      QStringLiteral("Hilfe zur Auswahl der Start-Methode des Mail-Programms"));
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
  GroupBoxAttachmentKind = Named(new QWidget(this), "GroupBoxAttachmentKind");
  GroupBoxAttachmentKind->setToolTip(
      QStringLiteral("Was in Schritt 4 erstellt und an die Mail angehängt wird"));
  LabelAttachmentKind = Named(new QLabel(QStringLiteral("Anhang als:"), GroupBoxAttachmentKind),
                              "LabelAttachmentKind");
  LabelAttachmentKind->setToolTip(GroupBoxAttachmentKind->toolTip());
  RBAttachmentProgram =
      Named(new QRadioButton(QStringLiteral("Programm (.EXE)"), GroupBoxAttachmentKind),
            "RBAttachmentProgram");
  RBAttachmentProgram->setToolTip(QStringLiteral(
      "Selbst abspielendes Programm: startet unter Windows ohne Installation, wird aber von "
      "manchen Mail-Diensten abgewiesen"));
  RBAttachmentProgram->setChecked(true);
  RBAttachmentAudio =
      Named(new QRadioButton(QStringLiteral("Audiodatei (.MP3)"), GroupBoxAttachmentKind),
            "RBAttachmentAudio");
  RBAttachmentAudio->setToolTip(
      QStringLiteral("MP3-Audiodatei: spielt auf jedem Telefon, Computer und in jedem Browser"));
  RBAttachmentBoth =
      Named(new QRadioButton(QStringLiteral("beides"), GroupBoxAttachmentKind), "RBAttachmentBoth");
  RBAttachmentBoth->setToolTip(
      QStringLiteral("Programm und MP3-Audiodatei erstellen und beide anhängen"));
  auto* kind_row = new QHBoxLayout(GroupBoxAttachmentKind);
  kind_row->setContentsMargins(0, 0, 0, 0);
  kind_row->addWidget(LabelAttachmentKind);
  kind_row->addWidget(RBAttachmentProgram);
  kind_row->addWidget(RBAttachmentAudio);
  kind_row->addWidget(RBAttachmentBoth);
  kind_row->addStretch(1);

  ButtonWinMixerRecord = Named(new QPushButton(this), "ButtonWinMixerRecord");
  ButtonWinMixerRecord->setIcon(style()->standardIcon(QStyle::SP_MediaVolume));
  ButtonWinMixerRecord->setToolTip(QStringLiteral("System-Mixer Aufnahme"));

  ScrollBarRecordLevel =
      MakeVolumeSlider("ScrollBarRecordLevel", Hint(VolumeSlider::kScrollBarRecordLevel), this);
  DbMeterRecordLevel =
      Named(new DbMeterWidget(MakeDbMeterRecordLevel(), this), "DbMeterRecordLevel");
  PanelScrollBarMikeOut = Named(new QWidget(this), "PanelScrollBarMikeOut");
  ScrollBarMikeOut = MakeVolumeSlider("ScrollBarMikeOut", Hint(VolumeSlider::kScrollBarMikeOut),
                                      PanelScrollBarMikeOut);
  auto* mike_out = new QHBoxLayout(PanelScrollBarMikeOut);
  mike_out->setContentsMargins(0, 0, 0, 0);
  mike_out->addWidget(ScrollBarMikeOut);
  PanelScrollBarMikeOut->hide();

  LabelSmpsRecorded = Named(new QLabel(this), "LabelSmpsRecorded");
  LabelRecordedOrLoaded = Named(new QLabel(this), "LabelRecordedOrLoaded");
  LabelRecordedWAV_File = PathLabel("LabelRecordedWAV_File", this);
  LabelKBExpectedLRX = Named(new QLabel(this), "LabelKBExpectedLRX");

  // Left: the steps and the further actions; right: the level column.
  auto* steps = new QGridLayout;
  steps->setHorizontalSpacing(6);
  steps->setVerticalSpacing(3);
  steps->addWidget(Caption(QStringLiteral(" Sprachanhang erstellen (1-4): "), this), 0, 0, 1, 4);
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
  steps->addWidget(Caption(QStringLiteral(" Weitere Aktionen  und  Einstellungen:"), this), 4, 0, 1,
                   4);
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
