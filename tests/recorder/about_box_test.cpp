// The about box on the offscreen platform: its texts, the running time at every show, the links
// and the recommendation, with the desktop, the clipboard and the clock replaced.

#include "recorder/window/about_box.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "codec/info_text.h"
#include "codec/version.h"
#include "tests/support/recording_dialogs.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using lorix::AboutBox;
using lorix::WallClock;

class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    // Before the application exists, or Qt looks for a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "about_tests";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
  }
};

const ::testing::Environment* const kQtEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

fs::path MakeTempDir(const char* prefix) {
  std::string pattern = (fs::temp_directory_path() / (std::string(prefix) + "XXXXXX")).string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp: " + pattern);
  return pattern;
}

void Click(QWidget* widget) {
  const QPointF inside(1, 1);
  QMouseEvent press(QEvent::MouseButtonPress, inside, widget->mapToGlobal(inside), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QMouseEvent release(QEvent::MouseButtonRelease, inside, widget->mapToGlobal(inside),
                      Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(widget, &press);
  QApplication::sendEvent(widget, &release);
}

std::string Text(const QLabel* label) {
  return label->text().toStdString();
}

class AboutBoxTest : public ::testing::Test {
 protected:
  AboutBoxTest() : folder_(MakeTempDir("lorix-about-box-")), start_(WallClock::now()) {
    now_ = start_;
  }
  ~AboutBoxTest() override { fs::remove_all(folder_); }

  lorix::AboutBoxParts Parts() {
    lorix::AboutBoxParts parts{.program_name = "Lorix",
                               .program_folder = folder_,
                               .start_time = start_,
                               .dialogs = dialogs_};
    parts.clock = [this] { return now_; };
    parts.open = [this](const std::string& target) { opened_.push_back(target); };
    parts.set_clipboard = [this](const std::string& text) { clipboard_.push_back(text); };
    return parts;
  }

  fs::path folder_;
  WallClock::time_point start_;
  WallClock::time_point now_;
  lorix::testing::RecordingDialogs dialogs_;
  std::vector<std::string> opened_;
  std::vector<std::string> clipboard_;
};

TEST_F(AboutBoxTest, ShowsNameVersionsAndContactsAtCreation) {
  AboutBox box(Parts());
  EXPECT_EQ(box.windowTitle().toStdString(), "Programm-Informationen");
  EXPECT_EQ(Text(box.PanelTitle()), std::string("LORIX V.") + lorix::ProgramVersion);
  EXPECT_EQ(Text(box.LabelVersion()), std::string("Lorix V.") + lorix::kFileVersion);
  EXPECT_EQ(Text(box.Label1()), "Programm-Laufzeit:");
  EXPECT_EQ(Text(box.LabelEMailAdr1()), lorix::kAuthorMail);
  EXPECT_EQ(Text(box.LabelEMailAdr2()), "");
  EXPECT_EQ(Text(box.LabelWebsite()), lorix::kWebPageUrl);
  EXPECT_EQ(box.ButtonClose()->text().toStdString(), "Schließen");
  EXPECT_EQ(box.ButtonRecommand()->text().toStdString(), "LORIX\n weiterempfehlen ...");
  // The controls carry their component names.
  for (const char* name :
       {"PanelTitle", "LabelVersion", "Label1", "LabelRunTimeMinutes", "Label5", "LabelEMailAdr1",
        "LabelEMailAdr2", "Label8", "LabelWebsite", "ButtonClose", "ButtonRecommand"}) {
    EXPECT_NE(box.findChild<QWidget*>(name), nullptr) << name;
  }
  for (const QLabel* link : {box.LabelEMailAdr1(), box.LabelEMailAdr2(), box.LabelWebsite()}) {
    EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor) << Text(link);
  }
}

TEST_F(AboutBoxTest, RunningTimeIsTakenAtShowAndOnClick) {
  AboutBox box(Parts());
  now_ = start_ + 100s;
  box.show();
  EXPECT_EQ(Text(box.LabelRunTimeMinutes()), "0:02");
  now_ = start_ + 75min;
  Click(box.Label1());
  EXPECT_EQ(Text(box.LabelRunTimeMinutes()), "1:15");
  now_ = start_ + 2h;
  Click(box.LabelRunTimeMinutes());
  EXPECT_EQ(Text(box.LabelRunTimeMinutes()), "2:00");
  EXPECT_EQ(box.focusWidget(), box.ButtonClose());
  box.ButtonClose()->click();
  EXPECT_FALSE(box.isVisible());
}

TEST_F(AboutBoxTest, LinksOpenTheWebPageAndTaggedMails) {
  AboutBox box(Parts());
  Click(box.LabelWebsite());
  Click(box.LabelEMailAdr1());
  Click(box.LabelEMailAdr2());
  const std::string tag = std::string("Lorix%28V.") + lorix::kFileVersion + "%29";
  ASSERT_EQ(opened_.size(), 3u);
  EXPECT_EQ(opened_[0], lorix::kWebPageUrl);
  EXPECT_EQ(opened_[1],
            "mailto:" + std::string(lorix::kAuthorMail) + "?subject=" + tag + "&body=" + tag);
  // The empty second label: no recipient at all.
  EXPECT_EQ(opened_[2], "mailto:?subject=" + tag + "&body=" + tag);
  EXPECT_TRUE(dialogs_.shown.empty());
  EXPECT_TRUE(clipboard_.empty());
}

TEST_F(AboutBoxTest, RecommendationGoesToClipboardAndOnYesToTheMailProgram) {
  AboutBox box(Parts());
  dialogs_.answers = {lorix::DialogAnswer::kYes};
  box.ButtonRecommand()->click();
  ASSERT_EQ(clipboard_.size(), 1u);
  EXPECT_EQ(clipboard_[0],
            "MailTo: \r\nsubject=LORIX\r\n\r\n\r\nProgramm-Empfehlung: LORIX\r\n\r\n\r\n");
  ASSERT_EQ(dialogs_.shown.size(), 1u);
  const lorix::DialogRequest& question = dialogs_.shown[0];
  EXPECT_EQ(question.buttons, lorix::DialogButtons::kYesNo);
  EXPECT_EQ(question.icon, lorix::DialogIcon::kQuestion);
  EXPECT_EQ(question.caption, "LORIX");
  EXPECT_EQ(question.text,
            "Programm-Empfehlung: LORIX\r\n\r\n\r\n"
            "Der obige Text wurde in die Zwischenablage kopiert.\r\n"
            "(Sie können den Text auch anpassen in \"" +
                (folder_ / "Empfehlung.txt").string() +
                "\")\r\n\r\n"
                "Wollen Sie Ihr Mail-Programm zur Weiterempfehlung starten?");
  EXPECT_EQ(opened_,
            std::vector<std::string>{"mailto:?subject=LORIX&body=Programm-Empfehlung%3A%20LORIX"});
}

TEST_F(AboutBoxTest, RecommendationOnNoStaysOnTheClipboardOnly) {
  AboutBox box(Parts());
  dialogs_.answers = {lorix::DialogAnswer::kNo};
  box.ButtonRecommand()->click();
  EXPECT_EQ(clipboard_.size(), 1u);
  EXPECT_EQ(dialogs_.shown.size(), 1u);
  EXPECT_TRUE(opened_.empty());
}

TEST_F(AboutBoxTest, RecommendationUsesTheTextFileReadAtEachClick) {
  AboutBox box(Parts());
  std::ofstream(folder_ / "Empfehlung.txt", std::ios::binary) << "Hör mal!\nLORIX";
  box.ButtonRecommand()->click();
  ASSERT_EQ(clipboard_.size(), 1u);
  EXPECT_EQ(clipboard_[0], "MailTo: \r\nsubject=LORIX\r\n\r\n\r\nHör mal!\r\nLORIX\r\n\r\n\r\n");
  ASSERT_EQ(opened_.size(), 1u);
  EXPECT_EQ(opened_[0], "mailto:?subject=LORIX&body=H%C3%B6r%20mal%21%0D%0ALORIX");
  ASSERT_EQ(dialogs_.shown.size(), 1u);
  EXPECT_EQ(dialogs_.shown[0].text.rfind("Hör mal!\r\nLORIX\r\n\r\n\r\nDer obige Text", 0), 0u);
}

TEST_F(AboutBoxTest, OneBoxForTheWholeRunShownModally) {
  std::unique_ptr<AboutBox> box;
  QWidget main_window;
  std::vector<std::string> shown_times;
  const auto close_when_shown = [&shown_times] {
    QTimer::singleShot(0, [&shown_times] {
      auto* modal = qobject_cast<AboutBox*>(QApplication::activeModalWidget());
      ASSERT_NE(modal, nullptr);
      shown_times.push_back(Text(modal->LabelRunTimeMinutes()));
      modal->ButtonClose()->click();
    });
  };
  now_ = start_ + 3min;
  close_when_shown();
  lorix::ShowAboutBox(box, Parts(), &main_window);
  ASSERT_NE(box, nullptr);
  AboutBox* const first = box.get();
  EXPECT_EQ(first->parentWidget(), &main_window);
  now_ = start_ + 61min;
  close_when_shown();
  lorix::ShowAboutBox(box, Parts(), &main_window);
  EXPECT_EQ(box.get(), first);
  EXPECT_EQ(shown_times, (std::vector<std::string>{"0:03", "1:01"}));
  box.reset();  // before its parent, as a member of the main window would be
}

TEST_F(AboutBoxTest, Screenshot) {
  AboutBox box(Parts());
  now_ = start_ + 75min;
  box.show();
  const fs::path folder = LORIX_SCREENSHOT_DIR;
  fs::create_directories(folder);
  const QString file = QString::fromStdString((folder / "about_box.png").string());
  EXPECT_TRUE(box.grab().save(file));
}

}  // namespace
