#include "recorder/window/compress_block.h"

#include <QGridLayout>
#include <QSignalBlocker>

#include "recorder/window/main_window_paint.h"

namespace lorix {
namespace {

QSlider* LevelSlider(FormControl id, QWidget* parent) {
  auto* slider = FromTable(new QSlider(Qt::Horizontal, parent), id);
  const FormRange& range = FormControlRowOf(id).range;
  slider->setRange(range.min, range.max);
  slider->setSingleStep(range.line);
  slider->setPageStep(range.page);
  slider->setTickInterval(range.tick_every);
  slider->setTickPosition(QSlider::TicksBelow);
  slider->setMinimumWidth(150);
  return slider;
}

QLabel* Number(FormControl id, QWidget* parent) {
  auto* label = FromTable(new QLabel(parent), id);
  label->setMinimumWidth(14);
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return label;
}

}  // namespace

CompressBlock::CompressBlock(QWidget* parent) : QFrame(parent) {
  using C = FormControl;
  FromTable(this, C::kPanelOptionsCompress);
  setFrameStyle(QFrame::StyledPanel | QFrame::Raised);

  TBCompressLevel = LevelSlider(C::kTBCompressLevel, this);
  TBMuteLevel = LevelSlider(C::kTBMuteLevel, this);
  LabelQuality = Number(C::kLabelQuality, this);
  LabelCompressLevel = Number(C::kLabelCompressLevel, this);
  LabelMuteLevel = Number(C::kLabelMuteLevel, this);
  LabelMutePercent = FromTable(new QLabel(this), C::kLabelMutePercent);

  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(8, 6, 8, 6);
  grid->setVerticalSpacing(2);
  grid->addWidget(Heading(C::kLabel9, this), 0, 0, 1, 5);
  grid->addWidget(FromTable(new QLabel(this), C::kLabel1), 1, 0);
  grid->addWidget(LabelQuality, 1, 1);
  grid->addWidget(TBCompressLevel, 1, 2);
  grid->addWidget(LabelCompressLevel, 1, 3);
  grid->addWidget(FromTable(new QLabel(this), C::kLabel2), 1, 4);
  grid->addWidget(FromTable(new QLabel(this), C::kLabel4), 2, 0);
  grid->addWidget(LabelMuteLevel, 2, 1);
  grid->addWidget(TBMuteLevel, 2, 2);
  grid->addWidget(LabelMutePercent, 2, 3, 1, 2);
  grid->setColumnStretch(2, 1);
}

void CompressBlock::Paint(const RecorderControls& c) {
  {
    const QSignalBlocker block_compress(TBCompressLevel);
    const QSignalBlocker block_mute(TBMuteLevel);
    TBCompressLevel->setValue(c.TBCompressLevel);
    TBMuteLevel->setValue(c.TBMuteLevel);
  }
  LabelQuality->setText(ToQt(c.LabelQuality));
  LabelCompressLevel->setText(ToQt(c.LabelCompressLevel));
  LabelMuteLevel->setText(ToQt(c.LabelMuteLevel));
  LabelMutePercent->setText(ToQt(c.LabelMutePercent));
}

}  // namespace lorix
