#include "recorder/window/file_info_block.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QStyle>
#include <QVBoxLayout>

#include "recorder/window/main_window_paint.h"

namespace lorix {
namespace {

QPushButton* ExpertButton(FormControl id, QWidget* parent) {
  return FromTable(new QPushButton(parent), id);
}

}  // namespace

SpecialsBlock::SpecialsBlock(QWidget* parent) : QFrame(parent) {
  using C = FormControl;
  FromTable(this, C::kPanelSpecials);
  setFrameStyle(QFrame::StyledPanel | QFrame::Raised);

  LabelMSPCMInfo = FromTable(new QLabel(this), C::kLabelMSPCMInfo);
  LabelPCMInfo = FromTable(new QLabel(this), C::kLabelPCMInfo);
  LabelMSLRXInfo = FromTable(new QLabel(this), C::kLabelMSLRXInfo);
  LabelLoadedFile = FromTable(new QLabel(this), C::kLabelLoadedFile);
  LabelLoadedFile->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  LabelLoadedFile->setMinimumWidth(60);
  LabelFreq = FromTable(new QLabel(this), C::kLabelFreq);
  ButtonShowMSINFofMail = FromTable(new QPushButton(this), C::kButtonShowMSINFofMail);
  ButtonShowMSINFofMail->setIcon(style()->standardIcon(QStyle::SP_FileDialogInfoView));
  // The glyph stands to the right of the text.
  ButtonShowMSINFofMail->setLayoutDirection(Qt::RightToLeft);
  ButtonShowMSINFofMail->setMinimumHeight(40);

  PanelExpertButtons = FromTable(new QWidget(this), C::kPanelExpertButtons);
  PanelButtons = FromTable(new QWidget(PanelExpertButtons), C::kPanelButtons);
  ButtonLoadPCMFile = ExpertButton(C::kButtonLoadPCMFile, PanelButtons);
  ButtonLoadLRXFile = ExpertButton(C::kButtonLoadLRXFile, PanelButtons);
  ButtonSaveLRXFile = ExpertButton(C::kButtonSaveLRXFile, PanelButtons);
  ButtonSavePCMFile = ExpertButton(C::kButtonSavePCMFile, PanelButtons);
  ButtonCompress = ExpertButton(C::kButtonCompress, PanelButtons);
  ButtonDecompress = ExpertButton(C::kButtonDecompress, PanelButtons);
  ButtonGraphPCM = ExpertButton(C::kButtonGraphPCM, PanelButtons);
  ButtonGraphLRX = ExpertButton(C::kButtonGraphLRX, PanelButtons);
  // The graph buttons have no function.
  ButtonGraphPCM->hide();
  ButtonGraphLRX->hide();

  auto* rows = new QGridLayout(PanelButtons);
  rows->setContentsMargins(0, 0, 0, 0);
  rows->setSpacing(4);
  rows->addWidget(ButtonLoadPCMFile, 0, 0);
  rows->addWidget(ButtonCompress, 0, 1);
  rows->addWidget(ButtonLoadLRXFile, 0, 2);
  rows->addWidget(ButtonSavePCMFile, 1, 0);
  rows->addWidget(ButtonDecompress, 1, 1);
  rows->addWidget(ButtonSaveLRXFile, 1, 2);
  rows->addWidget(ButtonGraphPCM, 2, 0);
  rows->addWidget(ButtonGraphLRX, 2, 2);
  auto* expert = new QHBoxLayout(PanelExpertButtons);
  expert->setContentsMargins(0, 4, 0, 0);
  expert->addWidget(PanelButtons);
  PanelExpertButtons->hide();

  auto* info = new QGridLayout;
  info->setVerticalSpacing(2);
  info->addWidget(Heading(C::kLabelSpecialsHeading, this), 0, 0, 1, 3);
  info->addWidget(LabelMSPCMInfo, 1, 0);
  info->addWidget(LabelPCMInfo, 1, 1);
  info->addWidget(LabelFreq, 1, 2);
  info->addWidget(LabelMSLRXInfo, 2, 0, 1, 3);
  auto* loaded = new QHBoxLayout;
  loaded->addWidget(FromTable(new QLabel(this), C::kLabel6));
  loaded->addWidget(LabelLoadedFile, 1);
  info->addLayout(loaded, 3, 0, 1, 3);
  info->setColumnStretch(2, 1);

  auto* top = new QHBoxLayout;
  top->addLayout(info, 1);
  top->addWidget(ButtonShowMSINFofMail, 0, Qt::AlignTop);

  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(8, 6, 8, 6);
  outer->setSpacing(2);
  outer->addLayout(top);
  outer->addWidget(PanelExpertButtons);
}

void SpecialsBlock::Paint(const RecorderControls& c) {
  LabelMSPCMInfo->setText(ToQt(c.LabelMSPCMInfo));
  LabelPCMInfo->setText(ToQt(c.LabelPCMInfo));
  LabelMSLRXInfo->setText(ToQt(c.LabelMSLRXInfo));
  LabelLoadedFile->setText(ToQt(c.LabelLoadedFile));
  LabelLoadedFile->setToolTip(LabelLoadedFile->text());
  LabelFreq->setText(ToQt(c.LabelFreq));
  PaintButton(*ButtonShowMSINFofMail, c.ButtonShowMSINFofMail);
  PanelButtons->setEnabled(c.PanelButtons_enabled);
  PaintButton(*ButtonSaveLRXFile, c.ButtonSaveLRXFile);
  PaintButton(*ButtonSavePCMFile, c.ButtonSavePCMFile);
  PaintButton(*ButtonCompress, c.ButtonCompress);
  PaintButton(*ButtonDecompress, c.ButtonDecompress);
  PaintButton(*ButtonGraphPCM, c.ButtonGraphPCM);
  PaintButton(*ButtonGraphLRX, c.ButtonGraphLRX);
}

}  // namespace lorix
