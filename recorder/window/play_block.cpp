#include "recorder/window/play_block.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QStyle>
#include <QVBoxLayout>

#include "audio/mixer_bindings.h"
#include "recorder/window/main_window_paint.h"
#include "recorder/window/record_block.h"

namespace lorix {
namespace {

QPushButton* MediaButton(const char* name, QStyle::StandardPixmap icon, QWidget* parent) {
  auto* button = Named(new QPushButton(parent), name);
  button->setIcon(parent->style()->standardIcon(icon));
  button->setIconSize(QSize(20, 20));
  button->setFixedSize(40, 32);
  return button;
}

QString Hint(VolumeSlider slider) {
  const std::string_view hint = BindingOf(slider).hint;
  return QString::fromUtf8(hint.data(), static_cast<qsizetype>(hint.size()));
}

}  // namespace

PlayBlock::PlayBlock(QWidget* parent) : QFrame(parent) {
  setObjectName(QStringLiteral("PanelPlay"));
  setFrameStyle(QFrame::StyledPanel | QFrame::Raised);

  ButtonPlay = MediaButton("ButtonPlay", QStyle::SP_MediaPlay, this);
  ButtonPlay->setCheckable(true);
  ButtonPause = MediaButton("ButtonPause", QStyle::SP_MediaPause, this);
  ButtonPause->setCheckable(true);
  ButtonStop = MediaButton("ButtonStop", QStyle::SP_MediaStop, this);
  ButtonStop->setCheckable(true);

  ScrollbarPlay = Named(new QSlider(Qt::Horizontal, this), "ScrollbarPlay");
  ScrollbarPlay->setRange(0, WavePlayback::kSliderMax);
  ScrollbarPlay->setSingleStep(100);
  ScrollbarPlay->setPageStep(250);
  ScrollbarPlay->setMinimumWidth(200);

  LabelPlayPos = Named(new QLabel(this), "LabelPlayPos");
  LabelPlayFile = Named(new QLabel(this), "LabelPlayFile");
  LabelPlayFile->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  LabelPlayFile->setMinimumWidth(60);
  ButtonStartApplication = Named(new QPushButton(this), "ButtonStartApplication");

  ScrollbarVolWaveout =
      MakeVolumeSlider("ScrollbarVolWaveout", Hint(VolumeSlider::kScrollbarVolWaveout), this);
  ScrollBarVolSpeakers =
      MakeVolumeSlider("ScrollBarVolSpeakers", Hint(VolumeSlider::kScrollBarVolSpeakers), this);
  for (QSlider* slider : {ScrollbarVolWaveout, ScrollBarVolSpeakers}) slider->setFixedHeight(80);
  ButtonWinMixerPlay = Named(new QPushButton(this), "ButtonWinMixerPlay");
  ButtonWinMixerPlay->setIcon(style()->standardIcon(QStyle::SP_MediaVolume));
  ButtonWinMixerPlay->setToolTip(QStringLiteral("System-Mixer Wiedergabe"));

  auto* heading = new QLabel(QStringLiteral(" Wiedergabe:"), this);
  QFont bold = heading->font();
  bold.setBold(true);
  heading->setFont(bold);

  auto* transport = new QHBoxLayout;
  transport->setSpacing(4);
  transport->addWidget(ButtonPlay);
  transport->addWidget(ButtonPause);
  transport->addWidget(ButtonStop);
  transport->addSpacing(8);
  transport->addWidget(ScrollbarPlay, 1);

  auto* left = new QVBoxLayout;
  left->setSpacing(3);
  left->addWidget(heading);
  left->addLayout(transport);
  left->addWidget(LabelPlayPos);
  left->addWidget(LabelPlayFile);
  left->addWidget(ButtonStartApplication, 0, Qt::AlignLeft);

  auto* volumes = new QGridLayout;
  volumes->setVerticalSpacing(2);
  volumes->addWidget(ScrollbarVolWaveout, 0, 0, Qt::AlignHCenter);
  volumes->addWidget(ScrollBarVolSpeakers, 0, 1, Qt::AlignHCenter);
  volumes->addWidget(ButtonWinMixerPlay, 1, 0, 1, 2, Qt::AlignHCenter);

  auto* outer = new QHBoxLayout(this);
  outer->setContentsMargins(8, 6, 8, 6);
  outer->setSpacing(12);
  outer->addLayout(left, 1);
  outer->addLayout(volumes);
}

void PlayBlock::Paint(const RecorderControls& c, const WavePlayback& playback) {
  PaintButton(*ButtonPlay, c.ButtonPlay);
  PaintButton(*ButtonPause, c.ButtonPause);
  PaintButton(*ButtonStop, c.ButtonStop);
  ScrollbarPlay->setEnabled(c.ScrollbarPlay.enabled);
  ScrollbarPlay->setToolTip(ToQt(c.ScrollbarPlay.hint));
  // While the user drags the thumb, it shows the chosen start, not the stopped playback.
  if (!ScrollbarPlay->isSliderDown()) {
    const QSignalBlocker block(ScrollbarPlay);
    ScrollbarPlay->setValue(playback.ScrollbarPlay());
  }
  LabelPlayPos->setText(ToQt(playback.LabelPlayPos()));
  LabelPlayFile->setText(ToQt(playback.LabelPlayFile()));
  LabelPlayFile->setToolTip(LabelPlayFile->text());
  const WavePlayback::ApplicationButton& application = playback.ButtonStartApplication();
  ButtonStartApplication->setEnabled(application.enabled);
  // Until an application is found, the button keeps the caption the running window gives it
  // in place of the short design-time one.
  const bool design_caption = application.caption == WavePlayback::ApplicationButton{}.caption;
  ButtonStartApplication->setText(
      design_caption ? QStringLiteral("Wave-Datei mit verknüpfter Anwendung öffnen")
                     : ToQt(application.caption));
  ButtonStartApplication->setToolTip(ToQt(application.hint));
}

PlayStatusBlock::PlayStatusBlock(QWidget* parent) : QFrame(parent) {
  setObjectName(QStringLiteral("PanelPlayStatus"));
  setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  LabelPlayStatus = Named(new QLabel(this), "LabelPlayStatus");
  LabelPlayStatus->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(8, 3, 8, 3);
  layout->addWidget(LabelPlayStatus);
}

void PlayStatusBlock::Paint(const WavePlayback& playback) {
  LabelPlayStatus->setText(ToQt(playback.LabelPlayStatus()));
  LabelPlayStatus->setToolTip(LabelPlayStatus->text());
}

}  // namespace lorix
