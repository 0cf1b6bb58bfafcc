#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "recorder/window/qt_dialogs.h"

namespace {

// What the box looked like when the scripted user acted on it.
struct Seen {
  QString title;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QStringList buttons;
  QString default_button;
};

// Waits for the modal message box, notes what it shows and lets `act` answer it.
void WhenBoxAppears(Seen& seen, std::function<void(QMessageBox&)> act) {
  QTimer::singleShot(10, [&seen, act] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) {
      WhenBoxAppears(seen, act);
      return;
    }
    seen.title = box->windowTitle();
    seen.text = box->text();
    seen.icon = box->icon();
    for (QAbstractButton* button : box->buttons()) seen.buttons.append(button->text());
    seen.buttons.sort();
    if (box->defaultButton() != nullptr) seen.default_button = box->defaultButton()->text();
    act(*box);
  });
}

std::function<void(QMessageBox&)> Click(const QString& text) {
  return [text](QMessageBox& box) {
    for (QAbstractButton* button : box.buttons()) {
      if (button->text() == text) {
        button->click();
        return;
      }
    }
    ADD_FAILURE() << "no button " << text.toStdString();
    box.done(0);
  };
}

void PressEscape(QMessageBox& box) {
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(&box, &press);
}

void CloseWindow(QMessageBox& box) {
  box.close();
}

lorix::DialogRequest Request(lorix::DialogButtons buttons,
                             lorix::DialogIcon icon = lorix::DialogIcon::kQuestion) {
  return {"LORIX", "Die letzte Aufnahme löschen?", icon, buttons};
}

TEST(QtDialogs, OkBoxShowsCaptionTextAndIconExactly) {
  QtDialogs dialogs;
  Seen seen;
  WhenBoxAppears(seen, Click("OK"));
  const lorix::DialogAnswer answer =
      dialogs.Show({"Fehler", "Keine Datei-Wiedergabe möglich !\r\nDrücken Sie erst \"<b>\" !",
                    lorix::DialogIcon::kInformation, lorix::DialogButtons::kOk});
  EXPECT_EQ(answer, lorix::DialogAnswer::kOk);
  EXPECT_EQ(seen.title, QString::fromUtf8("Fehler"));
  // CR LF becomes one line break; markup-like text stays as it is.
  EXPECT_EQ(seen.text,
            QString::fromUtf8("Keine Datei-Wiedergabe möglich !\nDrücken Sie erst \"<b>\" !"));
  EXPECT_EQ(seen.icon, QMessageBox::Information);
  EXPECT_EQ(seen.buttons, QStringList{"OK"});
}

TEST(QtDialogs, OkCancelAnswersByButtonAndEscape) {
  QtDialogs dialogs;
  Seen seen;
  WhenBoxAppears(seen, Click("Abbrechen"));
  EXPECT_EQ(dialogs.Show(Request(lorix::DialogButtons::kOkCancel)), lorix::DialogAnswer::kCancel);
  EXPECT_EQ(seen.buttons, (QStringList{"Abbrechen", "OK"}));
  EXPECT_EQ(seen.default_button, "OK");
  EXPECT_EQ(seen.icon, QMessageBox::Question);
  EXPECT_EQ(seen.text, QString::fromUtf8("Die letzte Aufnahme löschen?"));

  Seen ok;
  WhenBoxAppears(ok, Click("OK"));
  EXPECT_EQ(dialogs.Show(Request(lorix::DialogButtons::kOkCancel)), lorix::DialogAnswer::kOk);

  Seen escaped;
  WhenBoxAppears(escaped, PressEscape);
  EXPECT_EQ(dialogs.Show(Request(lorix::DialogButtons::kOkCancel)), lorix::DialogAnswer::kCancel);

  Seen closed;
  WhenBoxAppears(closed, CloseWindow);
  EXPECT_EQ(dialogs.Show(Request(lorix::DialogButtons::kOkCancel)), lorix::DialogAnswer::kCancel);
}

TEST(QtDialogs, YesNoAnswersInGerman) {
  QtDialogs dialogs;
  Seen seen;
  WhenBoxAppears(seen, Click("Ja"));
  EXPECT_EQ(dialogs.Show(Request(lorix::DialogButtons::kYesNo)), lorix::DialogAnswer::kYes);
  EXPECT_EQ(seen.buttons, (QStringList{"Ja", "Nein"}));
  EXPECT_EQ(seen.default_button, "Ja");

  Seen no;
  WhenBoxAppears(no, Click("Nein"));
  EXPECT_EQ(dialogs.Show(Request(lorix::DialogButtons::kYesNo)), lorix::DialogAnswer::kNo);

  Seen escaped;
  WhenBoxAppears(escaped, PressEscape);
  EXPECT_EQ(dialogs.Show(Request(lorix::DialogButtons::kYesNo)), lorix::DialogAnswer::kNo);

  Seen closed;
  WhenBoxAppears(closed, CloseWindow);
  EXPECT_EQ(dialogs.Show(Request(lorix::DialogButtons::kYesNo)), lorix::DialogAnswer::kNo);
}

TEST(QtDialogs, IconsFollowTheRequest) {
  QWidget owner;
  QtDialogs dialogs;
  dialogs.SetParent(&owner);
  const std::pair<lorix::DialogIcon, QMessageBox::Icon> icons[] = {
      {lorix::DialogIcon::kNone, QMessageBox::NoIcon},
      {lorix::DialogIcon::kWarning, QMessageBox::Warning},
      {lorix::DialogIcon::kError, QMessageBox::Critical},
      {lorix::DialogIcon::kQuestion, QMessageBox::Question}};
  for (const auto& [icon, expected] : icons) {
    Seen seen;
    QWidget* parent = nullptr;
    WhenBoxAppears(seen, [&parent](QMessageBox& box) {
      parent = box.parentWidget();
      box.button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(dialogs.Show(Request(lorix::DialogButtons::kOk, icon)), lorix::DialogAnswer::kOk);
    EXPECT_EQ(seen.icon, expected);
    EXPECT_EQ(parent, &owner);
  }
}

}  // namespace
