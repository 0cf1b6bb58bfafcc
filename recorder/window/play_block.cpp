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

QPushButton* MediaButton(FormControl id, QStyle::StandardPixmap icon, QWidget* parent) {
  auto* button = FromTable(new QPushButton(parent), id);
  button->setCheckable(FormControlRowOf(id).flags & kFormToggle);
  button->setIcon(parent->style()->standardIcon(icon));
  button->setIconSize(QSize(20, 20));
  button->setFixedSize(40, 32);
  return button;
}

}  // namespace

PlayBlock::PlayBlock(QWidget* parent) : QFrame(parent) {
  using C = FormControl;
  FromTable(this, C::kPanelPlay);
  setFrameStyle(QFrame::StyledPanel | QFrame::Raised);

  ButtonPlay = MediaButton(C::kButtonPlay, QStyle::SP_MediaPlay, this);
  ButtonPause = MediaButton(C::kButtonPause, QStyle::SP_MediaPause, this);
  ButtonStop = MediaButton(C::kButtonStop, QStyle::SP_MediaStop, this);

  ScrollbarPlay = FromTable(new QSlider(Qt::Horizontal, this), C::kScrollbarPlay);
  const FormRange& play_range = FormControlRowOf(C::kScrollbarPlay).range;
  ScrollbarPlay->setRange(play_range.min, play_range.max);
  ScrollbarPlay->setSingleStep(play_range.line);
  ScrollbarPlay->setPageStep(play_range.page);
  ScrollbarPlay->setMinimumWidth(200);

  LabelPlayPos = FromTable(new QLabel(this), C::kLabelPlayPos);
  LabelPlayFile = FromTable(new QLabel(this), C::kLabelPlayFile);
  LabelPlayFile->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  LabelPlayFile->setMinimumWidth(60);
  ButtonStartApplication = FromTable(new QPushButton(this), C::kButtonStartApplication);

  ScrollbarVolWaveout = MakeVolumeSlider(C::kScrollbarVolWaveout, this);
  ScrollBarVolSpeakers = MakeVolumeSlider(C::kScrollBarVolSpeakers, this);
  for (QSlider* slider : {ScrollbarVolWaveout, ScrollBarVolSpeakers}) slider->setFixedHeight(80);
  ButtonWinMixerPlay = FromTable(new QPushButton(this), C::kButtonWinMixerPlay);
  ButtonWinMixerPlay->setIcon(style()->standardIcon(QStyle::SP_MediaVolume));

  auto* transport = new QHBoxLayout;
  transport->setSpacing(4);
  transport->addWidget(ButtonPlay);
  transport->addWidget(ButtonPause);
  transport->addWidget(ButtonStop);
  transport->addSpacing(8);
  transport->addWidget(ScrollbarPlay, 1);

  auto* left = new QVBoxLayout;
  left->setSpacing(3);
  left->addWidget(Heading(C::kLabelPlayHeading, this));
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
  ButtonStartApplication->setText(design_caption
                                      ? TableCaption(FormControl::kButtonStartApplication)
                                      : ToQt(application.caption));
  ButtonStartApplication->setToolTip(ToQt(application.hint));
}

PlayStatusBlock::PlayStatusBlock(QWidget* parent) : QFrame(parent) {
  FromTable(this, FormControl::kPanelPlayStatus);
  setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  LabelPlayStatus = FromTable(new QLabel(this), FormControl::kLabelPlayStatus);
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
