// The main window's file functions, step 4, the mail start method and the about box, through
// the real widgets on the offscreen platform.

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <string>

#include "codec/file_io.h"
#include "desktop/mailto_url.h"
#include "recorder/window/about_box.h"
#include "recorder/window/qt_file_dialog.h"
#include "tests/recorder/main_window_fixture.h"

namespace lorix {
namespace {

namespace fs = std::filesystem;

class MainWindowFilesTest : public testing::MainWindowFixture {
 protected:
  void Start(const fs::path& settings_file = {}) {
    std::ofstream(paths_.player_program) << "player stand-in";
    Create(settings_file);
    window_->show();
    QCoreApplication::processEvents();
    ASSERT_TRUE(window_->AppStarted());
  }

  // Records, pauses and compresses without listening: step 4 is open then.
  void RecordAndCompress() {
    Find<QCheckBox>("CBAndPlayLRXFile")->click();
    Button("ButtonRecord")->click();
    Capture(4);
    Button("ButtonRecord")->click();
    queue_.RunPending();
    Button("ButtonComprDecomprAndPlay")->click();
    ASSERT_TRUE(Button("ButtonCreateOpenMail")->isEnabled());
  }

  // Step 4 into LORIXs under `name`.
  fs::path Step4(const std::string& name) {
    const fs::path target = paths_.lorixs_folder / name;
    files_.answers.push_back(target.string());
    Button("ButtonCreateOpenMail")->click();
    return target;
  }
};

TEST_F(MainWindowFilesTest, TheCheckedMailMethodDecidesTheHandOffAndIsStored) {
  Start();
  RecordAndCompress();
  const fs::path mapi = Step4("mapi.EXE");
  const std::string subject = MailSubject(static_cast<std::int64_t>(fs::file_size(mapi)));
  ASSERT_EQ(mail_drafts_.size(), 1U);
  EXPECT_EQ(mail_drafts_[0].subject, subject);
  EXPECT_EQ(mail_drafts_[0].attachments, std::vector<fs::path>{mapi});
  EXPECT_EQ(dialogs_.shown.back().text, "Die Datei \"" + mapi.string() + "\" wurde erstellt!");

  Find<QRadioButton>("RBMailAppShell")->click();
  EXPECT_EQ(settings_.Options.MailAppStartSelection, 2);
  const fs::path shell = Step4("system.EXE");
  ASSERT_EQ(mail_urls_.size(), 1U);
  EXPECT_EQ(mail_urls_[0], MailtoUrl("", subject, shell.string() + " \r\n\r\n\r\n"));

  Find<QRadioButton>("RBMailAppNo")->click();
  EXPECT_EQ(settings_.Options.MailAppStartSelection, 0);
  const std::size_t boxes = dialogs_.shown.size();
  Step4("nie.EXE");
  EXPECT_EQ(dialogs_.shown.size(), boxes + 1);  // only "… wurde erstellt!"
  EXPECT_EQ(mail_drafts_.size(), 1U);
  EXPECT_EQ(mail_urls_.size(), 1U);
  for (const char* name : {"mapi.EXE", "system.EXE", "nie.EXE"}) {
    EXPECT_TRUE(fs::exists(paths_.lorixs_folder / name)) << name;
  }

  // A failed hand-off is reported with its message; the attachment stays.
  Find<QRadioButton>("RBMailAppMAPI")->click();
  mail_result_ = 1;
  Step4("abbruch.EXE");
  EXPECT_EQ(dialogs_.shown.back().text,
            "Benutzer hat Senden abgebrochen oder MAPI nicht installiert.");
  EXPECT_TRUE(fs::exists(paths_.lorixs_folder / "abbruch.EXE"));
}

TEST_F(MainWindowFilesTest, TheStoredMailMethodChecksItsRadioButton) {
  const fs::path ini = folder_ / "LORIX.INI";
  std::ofstream(ini) << "[Options]\r\nMailAppStartSelection=2\r\nAttachmentKind=7\r\n";
  Start(ini);
  EXPECT_TRUE(Find<QRadioButton>("RBMailAppShell")->isChecked());
  EXPECT_FALSE(Find<QRadioButton>("RBMailAppMAPI")->isChecked());
  for (const char* kind : {"RBAttachmentProgram", "RBAttachmentAudio", "RBAttachmentBoth"}) {
    EXPECT_FALSE(Find<QRadioButton>(kind)->isChecked()) << kind;
  }
}

TEST_F(MainWindowFilesTest, TheAttachmentKindDecidesWhatIsWrittenAndMailed) {
  const fs::path ini = folder_ / "LORIX.INI";
  std::ofstream(ini) << "[Options]\r\nAttachmentKind=2\r\n";
  Start(ini);
  EXPECT_TRUE(Find<QRadioButton>("RBAttachmentBoth")->isChecked());
  RecordAndCompress();
  EXPECT_NE(Button("ButtonCreateOpenMail")->toolTip().indexOf(QStringLiteral("MP3-Audiodatei")),
            -1);

  // Both: the program under the chosen name and the MP3 beside it, mailed together.
  const fs::path program = Step4("beides.EXE");
  const fs::path mp3 = paths_.lorixs_folder / "beides.mp3";
  ASSERT_TRUE(fs::exists(mp3));
  std::string tag(3, '\0');
  std::ifstream(mp3, std::ios::binary).read(tag.data(), 3);
  EXPECT_EQ(tag, "ID3");
  EXPECT_EQ(dialogs_.shown.back().text, "Die Dateien \"" + program.string() + "\" und \"" +
                                            mp3.string() + "\" wurden erstellt!");
  ASSERT_EQ(mail_drafts_.size(), 1U);
  EXPECT_EQ(mail_drafts_[0].attachments, (std::vector<fs::path>{program, mp3}));
  EXPECT_EQ(mail_drafts_[0].subject,
            MailSubject(static_cast<std::int64_t>(fs::file_size(program) + fs::file_size(mp3))));

  // Audio only: its own dialog, preset with the last name; only the MP3 is written and mailed.
  Find<QRadioButton>("RBAttachmentAudio")->click();
  EXPECT_EQ(settings_.Options.AttachmentKind, 1);
  const fs::path only = Step4("nur-audio");
  EXPECT_EQ(files_.requests.back().title, "Lorix-Audiodatei speichern");
  EXPECT_EQ(files_.requests.back().default_extension, "mp3");
  EXPECT_EQ(files_.requests.back().file_name, mp3.string());
  EXPECT_TRUE(fs::exists(only.string() + ".mp3"));
  EXPECT_FALSE(fs::exists(only.string() + ".EXE"));
  ASSERT_EQ(mail_drafts_.size(), 2U);
  EXPECT_EQ(mail_drafts_[1].attachments, std::vector<fs::path>{only.string() + ".mp3"});
}

TEST_F(MainWindowFilesTest, ExpertButtonsLoadAnAttachmentAndShowItsInformation) {
  Start();
  RecordAndCompress();
  const fs::path attachment = Step4("gruss.EXE");
  Button("ButtonReset")->click();
  window_->SetExpertMode(true);
  window_->SetBlockVisible(Block::kSpecials, true);
  window_->SetBlockVisible(Block::kPlay, false);

  files_.answers.push_back(attachment.string());
  Button("ButtonLoadLRXFile")->click();
  EXPECT_EQ(files_.requests.back().title, "Lorix-Sprachanhang laden");
  EXPECT_EQ(Find<QLabel>("LabelLoadedFile")->text().toStdString(), attachment.string());
  EXPECT_TRUE(window_->BlockVisible(Block::kPlay));  // the decoded version plays
  EXPECT_TRUE(window_->workflow().playback().PlaybackActive());
  Button("ButtonStop")->click();
  EXPECT_TRUE(Button("ButtonCreateOpenMail")->isEnabled());
  EXPECT_FALSE(Button("ButtonRecord")->isEnabled());

  ASSERT_TRUE(Button("ButtonShowMSINFofMail")->isEnabled());
  Button("ButtonShowMSINFofMail")->click();
  ASSERT_EQ(opened_files_.size(), 1U);
  EXPECT_EQ(opened_files_[0], (paths_.temps_folder / "TempInfo-utf8.txt").string());

  Button("ButtonDecompress")->click();
  EXPECT_EQ(Find<QLabel>("PanelBottom")->text().left(5), "WAV: ");
}

TEST_F(MainWindowFilesTest, AboutBoxOpensFromTheMenuOnce) {
  Start();
  std::vector<QString> captions;
  for (int i = 0; i < 2; ++i) {
    QTimer::singleShot(0, [&captions] {
      QWidget* box = QApplication::activeModalWidget();
      ASSERT_NE(box, nullptr);
      captions.push_back(box->windowTitle());
      box->findChild<QPushButton*>(QStringLiteral("ButtonClose"))->click();
    });
    window_->menu().MIInfo->trigger();
  }
  EXPECT_EQ(captions, (std::vector<QString>{QStringLiteral("Programm-Informationen"),
                                            QStringLiteral("Programm-Informationen")}));
  EXPECT_EQ(window_->findChildren<AboutBox*>().size(), 1);
}

TEST_F(MainWindowFilesTest, SaveDialogReadsAsAsked) {
  Start();
  QFileDialog dialog(window_.get());
  FileDialogRequest request = PrepareOpenSaveDialog(
      true, false, (paths_.lorixs_folder / "LORIX_20240131_174502.EXE").string(),
      paths_.lorixs_folder.string());
  PrepareQtFileDialog(dialog, request);
  EXPECT_EQ(dialog.windowTitle(), "Lorix-Sprachanhang speichern");
  EXPECT_EQ(dialog.selectedNameFilter(), "LORIX-Anhänge (*.exe)");
  EXPECT_EQ(dialog.defaultSuffix(), "EXE");
  EXPECT_EQ(dialog.labelText(QFileDialog::Accept), "Speichern");
  EXPECT_EQ(dialog.directory().absolutePath().toStdString(), paths_.lorixs_folder.string());
  EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
  EXPECT_EQ(QtNameFilters(kOpenSaveDialogFilter).size(), 5);

  dialog.show();
  QCoreApplication::processEvents();
  const QLineEdit* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(name->text(), "LORIX_20240131_174502.EXE");
  fs::create_directories(LORIX_SCREENSHOT_DIR);
  EXPECT_TRUE(dialog.grab().save(QStringLiteral(LORIX_SCREENSHOT_DIR "/recorder_save_dialog.png")));
  dialog.reject();

  request = PrepareOpenSaveDialog(false, true, "", paths_.lorixs_folder.string());
  PrepareQtFileDialog(dialog, request);
  EXPECT_EQ(dialog.labelText(QFileDialog::Accept), "Laden");
  EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFile);
  EXPECT_EQ(dialog.selectedNameFilter(), "PCM-Sound-Dateien (*.wav)");
}

TEST_F(MainWindowFilesTest, ScreenshotAfterStepFour) {
  Start();
  RecordAndCompress();
  Step4("gruss.EXE");
  for (Block block :
       {Block::kOptionsCompress, Block::kPlay, Block::kPlayStatus, Block::kSpecials}) {
    window_->SetBlockVisible(block, true);
  }
  QCoreApplication::processEvents();
  EXPECT_TRUE(Button("ButtonCreateOpenMail")->isEnabled());
  fs::create_directories(LORIX_SCREENSHOT_DIR);
  EXPECT_TRUE(
      window_->grab().save(QStringLiteral(LORIX_SCREENSHOT_DIR "/recorder_after_step4.png")));
}

}  // namespace
}  // namespace lorix
