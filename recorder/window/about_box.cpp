#include "recorder/window/about_box.h"

#include <QClipboard>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>
#include <utility>

#include "codec/info_text.h"
#include "codec/version.h"
#include "desktop/mailto_url.h"
#include "desktop/open_with_desktop.h"
#include "recorder/window/main_window_paint.h"

namespace lorix {

namespace {

// Labels that open an address look like links: underlined, link colour, pointing hand.
void StyleAsLink(QLabel* label) {
  label->setCursor(Qt::PointingHandCursor);
  label->setStyleSheet(QStringLiteral("QLabel { color: #1a5fb4; text-decoration: underline; }"));
}

}  // namespace

AboutBox::AboutBox(AboutBoxParts parts, QWidget* parent)
    : QDialog(parent), parts_(std::move(parts)) {
  if (!parts_.clock) parts_.clock = [] { return WallClock::now(); };
  if (!parts_.open) parts_.open = [](const std::string& target) { OpenWithDesktop(target); };
  if (!parts_.set_clipboard) {
    parts_.set_clipboard = [](const std::string& text) {
      QGuiApplication::clipboard()->setText(ToQt(text));
    };
  }

  setObjectName(QStringLiteral("FormAbout"));
  setWindowTitle(QString::fromUtf8("Programm-Informationen"));

  PanelTitle_ = Named(new QLabel(this), "PanelTitle");
  PanelTitle_->setAlignment(Qt::AlignCenter);
  PanelTitle_->setMinimumHeight(64);
  QFont title_font = PanelTitle_->font();
  title_font.setBold(true);
  title_font.setPointSizeF(title_font.pointSizeF() * 1.8);
  PanelTitle_->setFont(title_font);
  PanelTitle_->setStyleSheet(
      QStringLiteral("QLabel { color: white; background: qlineargradient(x1:0, y1:0, x2:1, y2:1, "
                     "stop:0 #1c4f7c, stop:1 #2f7fb5); }"));

  LabelVersion_ = Named(new QLabel(this), "LabelVersion");
  QFont version_font = LabelVersion_->font();
  version_font.setBold(true);
  LabelVersion_->setFont(version_font);
  LabelVersion_->setAlignment(Qt::AlignCenter);

  Label1_ = Named(new QLabel(QString::fromUtf8("Programm-Laufzeit:"), this), "Label1");
  LabelRunTimeMinutes_ = Named(new QLabel(QStringLiteral("0:00"), this), "LabelRunTimeMinutes");
  Label2_ = Named(new QLabel(QString::fromUtf8(kMakerNameLine1), this), "Label2");
  Label3_ = Named(new QLabel(QString::fromUtf8(kMakerNameLine2), this), "Label3");
  Label5_ = Named(new QLabel(QStringLiteral("eMail:"), this), "Label5");
  LabelEMailAdr1_ = Named(new QLabel(this), "LabelEMailAdr1");
  LabelEMailAdr2_ = Named(new QLabel(this), "LabelEMailAdr2");
  Label8_ = Named(new QLabel(QStringLiteral("Website:"), this), "Label8");
  LabelWebsite_ = Named(new QLabel(this), "LabelWebsite");
  for (QLabel* link : {LabelEMailAdr1_, LabelEMailAdr2_, LabelWebsite_}) StyleAsLink(link);
  for (QLabel* clickable :
       {Label1_, LabelRunTimeMinutes_, LabelEMailAdr1_, LabelEMailAdr2_, LabelWebsite_}) {
    clickable->installEventFilter(this);
  }
  QFont maker_font = Label2_->font();
  maker_font.setBold(true);
  Label2_->setFont(maker_font);

  ButtonClose_ = new QPushButton(QString::fromUtf8("Schließen"), this);
  ButtonClose_->setObjectName(QStringLiteral("ButtonClose"));
  ButtonClose_->setDefault(true);
  ButtonRecommand_ = new QPushButton(this);
  ButtonRecommand_->setObjectName(QStringLiteral("ButtonRecommand"));
  connect(ButtonClose_, &QPushButton::clicked, this, &AboutBox::ButtonCloseClick);
  connect(ButtonRecommand_, &QPushButton::clicked, this, &AboutBox::ButtonRecommandClick);

  // The details: captions on the left, values on the right.
  auto* details = new QGridLayout;
  details->setHorizontalSpacing(12);
  details->setVerticalSpacing(4);
  details->addWidget(LabelVersion_, 0, 0, 1, 2);
  details->setRowMinimumHeight(1, 6);
  details->addWidget(Label1_, 2, 0, Qt::AlignRight);
  details->addWidget(LabelRunTimeMinutes_, 2, 1);
  details->setRowMinimumHeight(3, 12);
  details->addWidget(Label2_, 4, 0, 1, 2, Qt::AlignHCenter);
  details->addWidget(Label3_, 5, 0, 1, 2, Qt::AlignHCenter);
  details->setRowMinimumHeight(6, 12);
  details->addWidget(Label5_, 7, 0, Qt::AlignRight);
  details->addWidget(LabelEMailAdr1_, 7, 1);
  details->addWidget(LabelEMailAdr2_, 8, 1);
  details->addWidget(Label8_, 9, 0, Qt::AlignRight);
  details->addWidget(LabelWebsite_, 9, 1);
  details->setColumnStretch(1, 1);

  auto* rule = new QFrame(this);
  rule->setFrameShape(QFrame::HLine);
  rule->setFrameShadow(QFrame::Sunken);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(ButtonRecommand_);
  buttons->addStretch(1);
  buttons->addWidget(ButtonClose_, 0, Qt::AlignBottom);

  auto* body = new QVBoxLayout;
  body->setContentsMargins(20, 14, 20, 14);
  body->addLayout(details);
  body->addSpacing(8);
  body->addWidget(rule);
  body->addSpacing(4);
  body->addLayout(buttons);

  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->setSpacing(0);
  outer->addWidget(PanelTitle_);
  outer->addLayout(body);
  outer->setSizeConstraint(QLayout::SetFixedSize);
  PanelTitle_->setMinimumWidth(380);

  FormCreate();
  ButtonClose_->setMinimumSize(ButtonRecommand_->sizeHint().width() * 3 / 4,
                               ButtonRecommand_->sizeHint().height());
}

void AboutBox::FormCreate() {
  ButtonRecommand_->setText(QString::fromUtf8("LORIX\n weiterempfehlen ..."));
  LabelVersion_->setText(ToQt(VersionText(parts_.program_name, kFileVersion)));
  PanelTitle_->setText(ToQt(PanelTitleText(ProgramVersion)));
  LabelEMailAdr1_->setText(ToQt(kAuthorMail));
  LabelEMailAdr2_->setText(QString());
  // The empty second address line is hidden so that it leaves no gap between the contact rows.
  LabelEMailAdr2_->setVisible(false);
  LabelWebsite_->setText(ToQt(kWebPageUrl));
}

void AboutBox::FormActivate() {
  LabelRunTimeMinutesClick();
  ButtonClose_->setFocus();
}

void AboutBox::LabelRunTimeMinutesClick() {
  LabelRunTimeMinutes_->setText(
      ToQt(RunTimeText(RunTimeMinutes(parts_.start_time, parts_.clock()))));
}

void AboutBox::LabelWebsiteClick() {
  Open(LabelWebsite_->text().toStdString());
}

void AboutBox::LabelEMailsClick(QLabel* sender) {
  const std::string tag = EMailTag(parts_.program_name, kFileVersion);
  Open(MailtoUrl(sender->text().toStdString(), tag, tag));
}

void AboutBox::ButtonRecommandClick() {
  const std::string link =
      RecommendationMailLink(parts_.program_folder, parts_.dialogs, parts_.set_clipboard);
  if (!link.empty()) Open(link);
}

void AboutBox::ButtonCloseClick() {
  accept();
}

void AboutBox::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormActivate();
}

bool AboutBox::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::MouseButtonRelease ||
      static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) {
    return QDialog::eventFilter(watched, event);
  }
  if (watched == Label1_ || watched == LabelRunTimeMinutes_) {
    LabelRunTimeMinutesClick();
  } else if (watched == LabelWebsite_) {
    LabelWebsiteClick();
  } else if (watched == LabelEMailAdr1_ || watched == LabelEMailAdr2_) {
    LabelEMailsClick(static_cast<QLabel*>(watched));
  } else {
    return QDialog::eventFilter(watched, event);
  }
  return true;
}

void AboutBox::Open(const std::string& target) {
  parts_.open(target);
}

void ShowAboutBox(std::unique_ptr<AboutBox>& box, const AboutBoxParts& parts, QWidget* parent) {
  if (!box) box = std::make_unique<AboutBox>(parts, parent);
  box->exec();
}

}  // namespace lorix
