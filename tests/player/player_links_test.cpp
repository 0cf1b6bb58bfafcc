// The information text, the web, download and mail links with their copy buttons, the WAV
// application, the system mixer, missing services and the window's fixed texts.

#include <tuple>

#include "codec/text_encoding.h"
#include "player/player_texts.h"
#include "tests/player/player_fixture.h"

namespace lorix::testing {
namespace {

using PlayerLinks = PlayerTest;

auto Fields(const DialogRequest& box) {
  return std::tuple(box.caption, box.text, box.icon, box.buttons);
}

const std::string kWeb(kWebPageUrl);
const std::string kDownload(kDownloadPageUrl);
const std::string kMail(kAuthorMail);

TEST_F(PlayerLinks, QuestionsOpenTheirTargetOnlyAfterOk) {
  struct Link {
    PlayerControl button;
    PlayerKey key;
    std::string caption, text, target;
  };
  const std::string subject = "LORIX-Player(V.1.5.0.100)";
  const Link links[] = {
      {PlayerControl::kBtnWebPage, PlayerKey::kW, "Zusätzliche Information",
       "Wollen Sie \"" + kWeb + "\" für weitere Informationen öffnen?", kWeb},
      {PlayerControl::kBtnDownload, PlayerKey::kD, "Download starten",
       "Wollen Sie das aktuellste LORIX-Sende-Programm herunterladen ?\r\n(\"" + kDownload + "\")",
       kDownload},
      {PlayerControl::kBtnMail, PlayerKey::kL, "eMail senden",
       "Wollen Sie eine eMail senden an \"" + kMail + "\" ?",
       "mailto:" + kMail + "?subject=" + subject + "&body=" + subject},
  };
  for (const Link& link : links) {
    SCOPED_TRACE(link.caption);
    dialogs_.shown.clear();
    opened_.clear();
    dialogs_.answers = {DialogAnswer::kCancel, DialogAnswer::kNo, DialogAnswer::kYes};
    for (int i = 0; i < 3; ++i) app_.Command(link.button);
    EXPECT_TRUE(opened_.empty());
    app_.Command(link.button);
    app_.KeyDown(link.key);
    EXPECT_EQ(opened_, (std::vector<std::string>{link.target, link.target}));
    ASSERT_EQ(dialogs_.shown.size(), 5u);
    for (const DialogRequest& box : dialogs_.shown) {
      EXPECT_EQ(Fields(box),
                std::tuple(link.caption, link.text, DialogIcon::kNone, DialogButtons::kOkCancel));
    }
  }
  EXPECT_TRUE(copied_.empty()) << "the keys never copy";
}

TEST_F(PlayerLinks, CopyButtonsPutTheAddressOnTheClipboardAndSaySo) {
  app_.Command(PlayerControl::kBtnCopyWebPage);
  app_.Command(PlayerControl::kBtnCopyDownload);
  app_.Command(PlayerControl::kBtnCopyMail);
  EXPECT_EQ(copied_, (std::vector<std::string>{kWeb, kDownload, kMail}));
  EXPECT_TRUE(opened_.empty());
  ASSERT_EQ(dialogs_.shown.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(Fields(dialogs_.shown[i]),
              std::tuple("Info", "\"" + copied_[i] + "\"\r\nwurde in die Zwischenablage kopiert",
                         DialogIcon::kNone, DialogButtons::kOk));
    // The click that copied may have put another program in front: the answer holds the
    // player and comes forward.
    EXPECT_EQ(dialogs_.shown[i].modality, DialogModality::kTaskModal);
  }

  // A clipboard another program holds: the box says the copy failed, never that it worked.
  clipboard_works_ = false;
  dialogs_.shown.clear();
  app_.Command(PlayerControl::kBtnCopyMail);
  ASSERT_EQ(dialogs_.shown.size(), 1u);
  EXPECT_EQ(Fields(dialogs_.shown[0]),
            std::tuple("Info",
                       "\"" + kMail +
                           "\"\r\nkonnte nicht in die Zwischenablage kopiert werden. Bitte noch "
                           "einmal versuchen.",
                       DialogIcon::kError, DialogButtons::kOk));
  EXPECT_EQ(dialogs_.shown[0].modality, DialogModality::kTaskModal);
}

TEST_F(PlayerLinks, WaveApplicationOpensTheCurrentFileAfterAskingAlsoWhenDisabled) {
  app_.Command(PlayerControl::kBtnWaveApp);
  app_.KeyDown(PlayerKey::kN);
  EXPECT_TRUE(dialogs_.shown.empty()) << "no file yet";

  const fs::path mail = WriteAttachmentFile("Nachricht.EXE", 1000);
  wave_app_ = "/opt/Klang/bin/wav.play.bin";
  app_.LoadSoundFile(mail.string());
  EXPECT_TRUE(app_.screen().BtnWaveAppEnabled);
  EXPECT_EQ(app_.WaveAppName(), "wav");
  dialogs_.answers = {DialogAnswer::kCancel};
  app_.KeyDown(PlayerKey::kN);
  app_.Command(PlayerControl::kBtnWaveApp);
  EXPECT_EQ(opened_, std::vector<std::string>{TempWave()});
  ASSERT_EQ(dialogs_.shown.size(), 2u);
  EXPECT_EQ(
      Fields(dialogs_.shown[1]),
      std::tuple("Datei öffnen", "Wollen Sie die Datei \"" + TempWave() + "\" mit \"wav\" öffnen?",
                 DialogIcon::kNone, DialogButtons::kOkCancel));

  // No application found: the button is disabled, the key still asks and opens.
  wave_app_.clear();
  const fs::path wav = WriteWav("Gruss.wav");
  app_.LoadSoundFile(wav.string());
  EXPECT_FALSE(app_.screen().BtnWaveAppEnabled);
  app_.KeyDown(PlayerKey::kN);
  EXPECT_EQ(dialogs_.shown.size(), 3u);
  EXPECT_EQ(opened_.back(), wav.string());
}

TEST_F(PlayerLinks, SystemMixerIsReportedMissingBelowThirtyOne) {
  const std::pair<int, bool> results[] = {
      {0, true}, {30, true}, {31, false}, {32, false}, {42, false}};
  for (const auto& [result, reported] : results) {
    mixer_result_ = result;
    dialogs_.shown.clear();
    app_.KeyDown(PlayerKey::kM);
    app_.Command(PlayerControl::kBtnMixer);
    ASSERT_EQ(dialogs_.shown.size(), reported ? 2u : 0u) << result;
    for (const DialogRequest& box : dialogs_.shown) {
      EXPECT_EQ(Fields(box), std::tuple("Information", "Systemmixer nicht verfügbar !!",
                                        DialogIcon::kError, DialogButtons::kOk));
    }
  }
}

TEST_F(PlayerLinks, InfoTextOpensAUtf8CopyOfTheAttachmentsText) {
  app_.OpenInfoText();
  EXPECT_TRUE(opened_.empty()) << "nothing loaded";

  app_.LoadSoundFile(WriteAttachmentFile("Nachricht.EXE", 1000).string());
  app_.Command(PlayerControl::kBtnInfo);
  app_.KeyDown(PlayerKey::kI);
  const fs::path copy = Temp("TempInfo-utf8.txt");
  EXPECT_EQ(opened_, (std::vector<std::string>{copy.string(), copy.string()}));
  const Bytes utf8 = ReadFile(copy);
  EXPECT_EQ(std::string(utf8.begin(), utf8.end()), Cp1252ToUtf8(InfoText()));
  EXPECT_NE(std::string(utf8.begin(), utf8.end()).find("Empfänger"), std::string::npos);
  EXPECT_EQ(ReadFile(Temp(kTempInfoName)), Bytes(InfoText().begin(), InfoText().end()));

  // Where viewers read the Western code page (Windows), the stored text itself is opened and no
  // UTF-8 copy is made.
  {
    app_.PlayerShutdown();  // the media service plays one file at a time
    PlayerServices services = Services();
    services.info_text_view = nullptr;
    const TempDir start;
    PlayerApp windows_like(std::move(services), mixer_, dialogs_, {start.path(), own_, "1.5"});
    windows_like.LoadSoundFile(WriteAttachmentFile("Nachricht.EXE", 1000).string());
    opened_.clear();
    windows_like.OpenInfoText();
    const fs::path stored = start.path() / kTempFolder / kTempInfoName;
    EXPECT_EQ(opened_, std::vector<std::string>{stored.string()});
    EXPECT_EQ(ReadFile(stored), Bytes(InfoText().begin(), InfoText().end()));
    EXPECT_FALSE(fs::exists(start.path() / kTempFolder / kInfoViewName));
    windows_like.PlayerShutdown();
  }

  // A stream without the program in front has its text in front of the file: none to open.
  const fs::path lrx = dir_.path() / "Aufnahme.lrx";
  WriteFile(lrx, ToneStream(1000, 11025, InfoTextLength()));
  const fs::path bare = dir_.path() / "Kurz.EXE";
  WriteFile(bare, Stream({0x80, 0xB2, 0x91}, 6, 11025, 200));
  for (const fs::path& file : {lrx, bare}) {
    opened_.clear();
    app_.LoadSoundFile(file.string());
    ASSERT_EQ(app_.CurrentWavFile(), TempWave()) << file;
    app_.OpenInfoText();
    EXPECT_TRUE(opened_.empty()) << file;
  }
}

TEST_F(PlayerLinks, MissingServicesDoNothing) {
  PlayerServices bare;
  bare.send_command = [this](const std::string& command, std::string& reply) {
    return mci_.MciSendString(command, reply);
  };
  PlayerApp app(bare, mixer_, dialogs_, {dir_.path(), own_, "2.0.0.1"});
  EXPECT_EQ(app.screen().Title, "LORIX-Player V.2.0.0.1");
  app.LoadSoundFile(WriteAttachmentFile("Nachricht.EXE", 1000).string());
  EXPECT_TRUE(app.playback().PlaybackActive());
  EXPECT_FALSE(app.screen().BtnWaveAppEnabled);
  app.OpenInfoText();
  app.StartWaveApplication();
  app.OpenWebPage(PlayerControl::kBtnWebPage);
  app.MailToAuthor(PlayerControl::kBtnCopyMail);
  app.StartSystemMixer();
  app.PlayerShutdown();
  ASSERT_EQ(dialogs_.shown.size(), 4u);
  // Without a clipboard nothing was copied, and the box says so.
  EXPECT_EQ(dialogs_.shown[2].icon, DialogIcon::kError);
  EXPECT_EQ(dialogs_.shown[3].text, "Systemmixer nicht verfügbar !!");
  EXPECT_FALSE(app.playback().PlaybackActive());
}

TEST(PlayerTexts, HelpLinesEndInCrLfAndAcceleratorsAreDropped) {
  const std::string help = HelpText();
  EXPECT_EQ(help.rfind("Tasten und Funktionen:\r\n", 0), 0u);
  EXPECT_TRUE(help.ends_with("I-Taste:      Weitere Informationen\r\n\r\n"));
  for (std::size_t at = help.find('\n'); at != std::string::npos; at = help.find('\n', at + 1)) {
    EXPECT_EQ(help[at - 1], '\r') << at;
  }
  EXPECT_EQ(WithoutAccelerators("Exter&ne A&nwdg."), "Externe Anwdg.");
  EXPECT_EQ(WithoutAccelerators("Laut && leise&"), "Laut & leise");
}

}  // namespace
}  // namespace lorix::testing
