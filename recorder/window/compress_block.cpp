#include "recorder/window/compress_block.h"

#include <QGridLayout>
#include <QSignalBlocker>

#include "recorder/window/main_window_paint.h"

namespace lorix {
namespace {

QSlider* LevelSlider(const char* name, QWidget* parent) {
  auto* slider = Named(new QSlider(Qt::Horizontal, parent), name);
  slider->setRange(0, 8);
  slider->setSingleStep(1);
  slider->setPageStep(1);
  slider->setTickInterval(1);
  slider->setTickPosition(QSlider::TicksBelow);
  slider->setToolTip(QStringLiteral("Standard-Einstellung: 4"));
  slider->setMinimumWidth(150);
  return slider;
}

QLabel* Number(const char* name, QWidget* parent) {
  auto* label = Named(new QLabel(parent), name);
  label->setMinimumWidth(14);
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return label;
}

}  // namespace

CompressBlock::CompressBlock(QWidget* parent) : QFrame(parent) {
  setObjectName(QStringLiteral("PanelOptionsCompress"));
  setFrameStyle(QFrame::StyledPanel | QFrame::Raised);

  TBCompressLevel = LevelSlider("TBCompressLevel", this);
  TBMuteLevel = LevelSlider("TBMuteLevel", this);
  LabelQuality = Number("LabelQuality", this);
  LabelCompressLevel = Number("LabelCompressLevel", this);
  LabelMuteLevel = Number("LabelMuteLevel", this);
  LabelMutePercent = Named(new QLabel(this), "LabelMutePercent");

  auto* heading = Named(new QLabel(QStringLiteral(" Kompressions-Einst.: "), this), "Label9");
  QFont bold = heading->font();
  bold.setBold(true);
  heading->setFont(bold);

  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(8, 6, 8, 6);
  grid->setVerticalSpacing(2);
  grid->addWidget(heading, 0, 0, 1, 5);
  grid->addWidget(Named(new QLabel(QStringLiteral("Sprach-Qualität  :"), this), "Label1"), 1, 0);
  grid->addWidget(LabelQuality, 1, 1);
  grid->addWidget(TBCompressLevel, 1, 2);
  grid->addWidget(LabelCompressLevel, 1, 3);
  grid->addWidget(Named(new QLabel(QStringLiteral(":  Kompressions-Level"), this), "Label2"), 1, 4);
  grid->addWidget(Named(new QLabel(QStringLiteral("Pause-Stummschalt-Pegel  :"), this), "Label4"),
                  2, 0);
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
