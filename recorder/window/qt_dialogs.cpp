#include "recorder/window/qt_dialogs.h"

#include <QAbstractButton>
#include <QMessageBox>

namespace {

QMessageBox::Icon ToQtIcon(lorix::DialogIcon icon) {
  switch (icon) {
    case lorix::DialogIcon::kNone:
      return QMessageBox::NoIcon;
    case lorix::DialogIcon::kInformation:
      return QMessageBox::Information;
    case lorix::DialogIcon::kWarning:
      return QMessageBox::Warning;
    case lorix::DialogIcon::kError:
      return QMessageBox::Critical;
    case lorix::DialogIcon::kQuestion:
      return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

// Texts come with CR LF line breaks; a lone CR or LF is a break as well.
QString ToDisplayText(const std::string& text) {
  QString result = QString::fromStdString(text);
  result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return result;
}

// German captions even when no Qt translation is loaded.
void SetButton(QMessageBox& box, QMessageBox::StandardButton button, const char* text) {
  box.button(button)->setText(QString::fromUtf8(text));
}

}  // namespace

QtDialogs::QtDialogs(QWidget* parent) : parent_(parent) {}

lorix::DialogAnswer QtDialogs::Show(const lorix::DialogRequest& request) {
  QMessageBox box(parent_);
  box.setWindowTitle(QString::fromStdString(request.caption));
  // Plain text: the program's messages hold file names, which must not be read as markup.
  box.setTextFormat(Qt::PlainText);
  box.setText(ToDisplayText(request.text));
  box.setIcon(ToQtIcon(request.icon));

  // The first button is the default, as in the desktop's own boxes; Escape and the window's
  // close button give the refusing one.
  QMessageBox::StandardButton accept = QMessageBox::Ok;
  QMessageBox::StandardButton refuse = QMessageBox::Ok;
  switch (request.buttons) {
    case lorix::DialogButtons::kOk:
      box.setStandardButtons(QMessageBox::Ok);
      SetButton(box, QMessageBox::Ok, "OK");
      break;
    case lorix::DialogButtons::kOkCancel:
      box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
      SetButton(box, QMessageBox::Ok, "OK");
      SetButton(box, QMessageBox::Cancel, "Abbrechen");
      refuse = QMessageBox::Cancel;
      break;
    case lorix::DialogButtons::kYesNo:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      SetButton(box, QMessageBox::Yes, "Ja");
      SetButton(box, QMessageBox::No, "Nein");
      accept = QMessageBox::Yes;
      refuse = QMessageBox::No;
      break;
  }
  box.setDefaultButton(accept);
  box.setEscapeButton(refuse);

  box.exec();
  QAbstractButton* clicked = box.clickedButton();
  const QMessageBox::StandardButton answer =
      clicked != nullptr ? box.standardButton(clicked) : refuse;
  switch (answer) {
    case QMessageBox::Ok:
      return lorix::DialogAnswer::kOk;
    case QMessageBox::Yes:
      return lorix::DialogAnswer::kYes;
    case QMessageBox::No:
      return lorix::DialogAnswer::kNo;
    default:
      break;
  }
  return request.buttons == lorix::DialogButtons::kYesNo ? lorix::DialogAnswer::kNo
                                                         : lorix::DialogAnswer::kCancel;
}
