#pragma once

// The about box TFormAbout, caption "Programm-Informationen": program name and version, the
// running time, the maker's name lines, contact address and web page, and a button that
// recommends the program by mail. The texts come from recorder/about_texts.h; the box only
// routes clicks to its handlers and puts the texts on its widgets.
//
// The main window creates it on first use and keeps it for the rest of the run:
//
//   std::unique_ptr<AboutBox> about_box_;
//   ...
//   ShowAboutBox(about_box_, parts, this);   // creates it the first time, then exec()

#include <QDialog>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "audio/dialogs.h"
#include "recorder/about_texts.h"

class QEvent;
class QLabel;
class QPushButton;
class QShowEvent;

namespace lorix {

// Everything the box works with; `dialogs` must outlive it.
struct AboutBoxParts {
  // The program file's name up to its first '.'.
  std::string program_name = "LORIX";
  // Where "Empfehlung.txt" is looked for.
  std::filesystem::path program_folder;
  // When the program started.
  WallClock::time_point start_time = WallClock::now();
  Dialogs& dialogs;
  // The current time; unset: the system clock.
  std::function<WallClock::time_point()> clock = {};
  // Opens a web page or mailto: URL; unset: the desktop's program for it.
  std::function<void(const std::string&)> open = {};
  // Puts a text on the clipboard; unset: the application's clipboard.
  std::function<void(const std::string&)> set_clipboard = {};
};

class AboutBox : public QDialog {
  Q_OBJECT

 public:
  explicit AboutBox(AboutBoxParts parts, QWidget* parent = nullptr);

  // On every show: the running time is brought up to date and ButtonClose takes the focus.
  void FormActivate();
  // Also for Label1: shows the running time up to now.
  void LabelRunTimeMinutesClick();
  // Opens the web page shown in LabelWebsite.
  void LabelWebsiteClick();
  // For both e-mail labels: a new mail to the clicked label's address, tagged with the version.
  void LabelEMailsClick(QLabel* sender);
  // Puts the recommendation on the clipboard and, when the user agrees, opens it as a new mail.
  void ButtonRecommandClick();
  void ButtonCloseClick();

  QLabel* PanelTitle() const { return PanelTitle_; }
  QLabel* LabelVersion() const { return LabelVersion_; }
  QLabel* Label1() const { return Label1_; }
  QLabel* LabelRunTimeMinutes() const { return LabelRunTimeMinutes_; }
  QLabel* LabelEMailAdr1() const { return LabelEMailAdr1_; }
  QLabel* LabelEMailAdr2() const { return LabelEMailAdr2_; }
  QLabel* LabelWebsite() const { return LabelWebsite_; }
  QPushButton* ButtonClose() const { return ButtonClose_; }
  QPushButton* ButtonRecommand() const { return ButtonRecommand_; }

 protected:
  void showEvent(QShowEvent* event) override;
  // Clicks on the labels that act as links or refresh the running time.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FormCreate();
  void Open(const std::string& target);

  AboutBoxParts parts_;

  QLabel* PanelTitle_ = nullptr;
  QLabel* LabelVersion_ = nullptr;
  QLabel* Label1_ = nullptr;
  QLabel* LabelRunTimeMinutes_ = nullptr;
  QLabel* Label2_ = nullptr;
  QLabel* Label3_ = nullptr;
  QLabel* Label5_ = nullptr;
  QLabel* LabelEMailAdr1_ = nullptr;
  QLabel* LabelEMailAdr2_ = nullptr;
  QLabel* Label8_ = nullptr;
  QLabel* LabelWebsite_ = nullptr;
  QPushButton* ButtonClose_ = nullptr;
  QPushButton* ButtonRecommand_ = nullptr;
};

// MIInfo: creates the box in `box` on first use (one instance for the rest of the run) and shows
// it modally. `parts` is used only when the box is created.
void ShowAboutBox(std::unique_ptr<AboutBox>& box, const AboutBoxParts& parts, QWidget* parent);

}  // namespace lorix
