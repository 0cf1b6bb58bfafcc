// Start-up, loading of WAV files and attachments, dropped files, keys, button routing and the
// end of the program.

#include <algorithm>
#include <functional>
#include <tuple>

#include "player/player_controls.h"
#include "player/player_texts.h"
#include "player/player_window_glue.h"
#include "tests/player/player_fixture.h"
#include "tests/support/scoped_environment.h"

namespace lorix::testing {
namespace {

using PlayerStart = PlayerTest;
using PlayerLoad = PlayerTest;
using PlayerKeys = PlayerTest;
using PlayerCommands = PlayerTest;
using PlayerWindowGlueTest = PlayerTest;
using Strings = std::vector<std::string>;

// Everything the window shows, for comparing two screens.
auto Visible(const PlayerScreen& s) {
  return std::tuple(s.Title, s.LineStatus, s.LineFile, s.LabelPosition, s.TrackPosition,
                    s.TrackVolume, s.BtnPlayEnabled, s.BtnPauseEnabled, s.BtnStopEnabled,
                    s.BtnWaveAppEnabled, s.PauseIcon, s.CompactView);
}

bool AllPlayButtons(const PlayerScreen& s) {
  return s.BtnPlayEnabled && s.BtnPauseEnabled && s.BtnStopEnabled;
}

TEST_F(PlayerStart, AdjustsTheMixerAndPlaysTheRecordingAtItsOwnEnd) {
  EXPECT_EQ(app_.screen().Title, "LORIX-Player V.1.5.0.100");
  EXPECT_TRUE(fs::is_directory(dir_.path() / kTempFolder));
  WriteAttachmentFile(own_.filename().string());
  app_.Start({});
  EXPECT_EQ(mixer_backend_.writes,
            (std::vector<FakeMixerBackend::Write>{
                {kSpeakersMute, {0}}, {kWaveOutMute, {0}}, {kWaveOutVolume, {32768}}}));
  EXPECT_EQ(TakeCommands(), PlayFromStart(TempWave()));
  const PlayerScreen& s = app_.screen();
  EXPECT_EQ(s.LineStatus, "ok.");
  EXPECT_EQ(s.LineFile, "abspielen:  " + own_.string() + " (" + TempWave() + ") [4.00 Sek.]  ");
  EXPECT_TRUE(AllPlayButtons(s));
  EXPECT_TRUE(s.BtnWaveAppEnabled);
  EXPECT_EQ(app_.WaveAppName(), "org");
  EXPECT_EQ(app_.CurrentWavFile(), TempWave());
  EXPECT_EQ(app_.SampleRate(), 11025);
  EXPECT_TRUE(dialogs_.shown.empty());
  EXPECT_EQ(ReadFile(TempWave()).size(), 44u + 44100u);
}

TEST_F(PlayerStart, PlaysTheFirstArgumentAndNeverReportsItself) {
  WriteFile(own_, kPlayerBytes);  // a player without a recording
  app_.Start({});
  EXPECT_EQ(app_.screen().LineFile, "geladen:  " + own_.string());
  EXPECT_FALSE(app_.screen().BtnPlayEnabled || app_.screen().BtnPauseEnabled ||
               app_.screen().BtnStopEnabled || app_.screen().BtnWaveAppEnabled);
  const fs::path wav = WriteWav("Gruss.wav");
  app_.Start({wav.string(), "/nowhere/else.wav"});
  EXPECT_EQ(TakeCommands(), PlayFromStart(wav.string()));
  EXPECT_EQ(app_.screen().LineFile, "abspielen:  " + wav.string() + " [4.00 Sek.]  ");

  // No argument, or an empty one: the program itself, which holds nothing and is not reported.
  for (const Strings& arguments : {Strings{""}, Strings{}}) {
    app_.ShowStatus("Status");
    app_.Start(arguments);
    EXPECT_EQ(app_.screen().LineFile, "geladen:  " + own_.string());
    EXPECT_EQ(app_.screen().LineStatus, "ok.");
    EXPECT_TRUE(app_.CurrentWavFile().empty());
    EXPECT_TRUE(dialogs_.shown.empty());
    EXPECT_TRUE(TakeCommands().empty());  // the WAV plays on
    EXPECT_TRUE(app_.playback().PlaybackActive());
  }
  // The same bytes under another name are a foreign file.
  fs::copy_file(own_, dir_.path() / "Kopie.exe");
  app_.Start({(dir_.path() / "Kopie.exe").string()});
  EXPECT_EQ(dialogs_.shown.size(), 1u);
}

TEST_F(PlayerStart, WithoutAUsableTEMPsInTheStartFolderItPlaysFromThePrivateFolder) {
  TempDir run;
  ScopedEnvironment environment;
  environment.Set("XDG_RUNTIME_DIR", run.path().string());
  const fs::path attachment = WriteAttachmentFile("LORIX_Gruss.EXE");
  const fs::path victim = dir_.path() / "victim";
  fs::create_directory(victim);
  const fs::path fallback_wave = run.path() / "lorix" / kTempFolder / kTempWaveName;
  // A link or a shared folder someone planted, a file in the way (as in a folder where nothing
  // can be made), a start folder that is gone.
  const std::vector<std::function<fs::path(const fs::path&)>> start_folders = {
      [&](const fs::path& start) {
        fs::create_directory_symlink(victim, start / kTempFolder);
        return start;
      },
      [](const fs::path& start) {
        fs::create_directory(start / kTempFolder);
        fs::permissions(start / kTempFolder, fs::perms::all);
        return start;
      },
      [](const fs::path& start) {
        WriteFile(start / kTempFolder, {'x'});
        return start;
      },
      [](const fs::path& start) { return start / "entfernt"; },
  };
  for (const auto& prepare : start_folders) {
    const TempDir start;
    PlayerApp app(Services(), mixer_, dialogs_, {prepare(start.path()), own_, "1.5.0.100"});
    app.LoadSoundFile(attachment.string());
    EXPECT_EQ(app.CurrentWavFile(), fallback_wave.string());
    EXPECT_TRUE(app.playback().PlaybackActive());
    EXPECT_TRUE(dialogs_.shown.empty());
    app.PlayerShutdown();
  }
  EXPECT_TRUE(fs::is_empty(victim));
}

// Two messages started one after the other from one folder: the second player leaves the first
// one's TEMPs alone and plays from a private folder of its own; a third one gets yet another.
TEST_F(PlayerStart, APlayerNeverTouchesTheTEMPsAnotherRunningPlayerHolds) {
  TempDir run;
  ScopedEnvironment environment;
  environment.Set("XDG_RUNTIME_DIR", run.path().string());
  app_.LoadSoundFile(WriteAttachmentFile("LORIX_Erste.EXE", 2000).string());
  ASSERT_EQ(app_.CurrentWavFile(), TempWave());
  const Bytes first_wave = ReadFile(TempWave());
  const Bytes first_info = ReadFile(Temp(kTempInfoName));
  const fs::path second = WriteAttachmentFile("LORIX_Zweite.EXE", 3000);

  ManualPlaybackBackend backend_b, backend_c;
  MciService mci_b(backend_b), mci_c(backend_c);
  const fs::path private_folder = run.path() / "lorix";
  PlayerApp b(ServicesWith(mci_b), mixer_, dialogs_, {dir_.path(), own_, "1.5.0.100"});
  b.LoadSoundFile(second.string());
  EXPECT_EQ(b.CurrentWavFile(), (private_folder / "TEMPs" / kTempWaveName).string());
  {
    PlayerApp c(ServicesWith(mci_c), mixer_, dialogs_, {dir_.path(), own_, "1.5.0.100"});
    c.LoadSoundFile(second.string());
    EXPECT_EQ(c.CurrentWavFile(), (private_folder / "TEMPs-2" / kTempWaveName).string());
    EXPECT_EQ(ReadFile(c.CurrentWavFile()).size(), 44u + 3u * 11025u);
    EXPECT_TRUE(app_.playback().PlaybackActive() && b.playback().PlaybackActive() &&
                c.playback().PlaybackActive());
    c.PlayerShutdown();
  }
  EXPECT_TRUE(dialogs_.shown.empty());
  EXPECT_EQ(ReadFile(TempWave()), first_wave);
  EXPECT_EQ(ReadFile(Temp(kTempInfoName)), first_info);

  // A player that has ended leaves its folder to the next one.
  const PlayerApp next(ServicesWith(mci_c), mixer_, dialogs_, {dir_.path(), own_, "1.5.0.100"});
  EXPECT_EQ(next.TempFolder(), private_folder / "TEMPs-2");
  b.PlayerShutdown();
}

// Installed (menu entry, file manager), the player writes nothing into the folder it was
// started from, even where it could.
TEST_F(PlayerStart, AnInstalledPlayerUsesThePrivateFolderAtOnce) {
  TempDir run, start;
  ScopedEnvironment environment;
  environment.Set("XDG_RUNTIME_DIR", run.path().string());
  PlayerSetup setup{start.path(), own_, "1.5.0.100"};
  setup.installed = true;
  ManualPlaybackBackend backend;
  MciService mci(backend);
  PlayerApp installed(ServicesWith(mci), mixer_, dialogs_, setup);
  installed.LoadSoundFile(WriteAttachmentFile("LORIX_Gruss.EXE", 1000).string());
  EXPECT_EQ(installed.CurrentWavFile(), (run.path() / "lorix" / "TEMPs" / kTempWaveName).string());
  EXPECT_TRUE(installed.playback().PlaybackActive());
  EXPECT_TRUE(fs::is_empty(start.path()));
  installed.PlayerShutdown();
}

TEST_F(PlayerLoad, WavFilesPlayDirectlyAtTheRateOfTheLastRecording) {
  app_.LoadSoundFile(WriteAttachmentFile("Nachricht.EXE", 1000, 8000).string());
  ASSERT_EQ(app_.SampleRate(), 8000);
  for (const std::string name : {"a.wav", "B.WAV", "c.wAv.daten"}) {
    SCOPED_TRACE(name);
    const fs::path wav = WriteWav(name, 11025, 2000);
    repaints_.clear();
    commands_.clear();
    app_.ShowStatus("vorher");
    app_.LoadSoundFile(wav.string());
    EXPECT_EQ(app_.CurrentWavFile(), wav.string());
    EXPECT_EQ(TakeCommands().back(), "play mciAlias");
    EXPECT_TRUE(repaints_.empty()) << "no extraction";
    EXPECT_EQ(app_.screen().LineStatus, "vorher");
    EXPECT_EQ(app_.screen().LineFile, "abspielen:  " + wav.string() + " [2.00 Sek.]  ");
    EXPECT_EQ(app_.SampleRate(), 8000);
    EXPECT_EQ(app_.playback().PlayLengthSamples(), 16000);
  }
  // Without the point the name is no WAV name: the file goes through the extraction.
  const fs::path mail = WriteAttachmentFile("Nachricht_wav.EXE");
  app_.LoadSoundFile(mail.string());
  EXPECT_EQ(app_.CurrentWavFile(), TempWave());
  EXPECT_EQ(app_.SampleRate(), 11025);
}

TEST_F(PlayerLoad, TheContentDecidesWhetherAFileIsAWavFileNotItsPath) {
  // An attachment whose folder and name hold ".wav" is unpacked and plays.
  fs::create_directory(dir_.path() / "Nachrichten.wav-Archiv");
  const fs::path mail = WriteAttachmentFile("Nachrichten.wav-Archiv/gruss.wav.EXE");
  app_.LoadSoundFile(mail.string());
  EXPECT_EQ(TakeCommands(), PlayFromStart(TempWave()));
  EXPECT_TRUE(dialogs_.shown.empty());
  // So does a ".lrx" file saved under a WAV name.
  const fs::path lrx = dir_.path() / "Aufnahme.wav";
  WriteFile(lrx, ToneStream(2000, 11025, 0));
  app_.LoadSoundFile(lrx.string());
  EXPECT_EQ(app_.screen().LineFile,
            "abspielen:  " + lrx.string() + " (" + TempWave() + ") [2.00 Sek.]  ");
  // A WAV file plays directly whatever its name.
  const fs::path wav = WriteWav("Gruss.daten");
  app_.LoadSoundFile(wav.string());
  EXPECT_EQ(app_.CurrentWavFile(), wav.string());
  // Only where the content says nothing does the last extension decide.
  const fs::path damaged = dir_.path() / "Kaputt.wav";
  WriteFile(damaged, Bytes(100, 'x'));
  app_.LoadSoundFile(damaged.string());
  EXPECT_EQ(app_.CurrentWavFile(), damaged.string());
  ASSERT_EQ(dialogs_.shown.size(), 1u);
  EXPECT_EQ(dialogs_.shown[0].text.rfind("mci-Open: ", 0), 0u);
}

TEST_F(PlayerLoad, AnAttachmentShowsItsDecodingWhileItIsUnpacked) {
  const fs::path mail = WriteAttachmentFile("Nachricht 1.EXE");
  app_.TrackBarMoved(PlayerControl::kTrackPosition, 700);
  app_.LoadSoundFile(mail.string());
  ASSERT_GE(repaints_.size(), 3u);
  EXPECT_EQ(repaints_[0].LineStatus, "dekomprimieren ...");
  EXPECT_EQ(repaints_[0].LineFile, "geladen:  " + mail.string());
  EXPECT_EQ(repaints_[0].TrackPosition, 0);
  EXPECT_EQ(repaints_[1].LabelPosition, "dekomprimiert: 0.00 Sek.  ");
  const Bytes bytes = ReadFile(mail);
  const auto tokens = static_cast<int>(ParseTokens(PayloadOf(bytes)).size());
  EXPECT_EQ(repaints_.back().LabelPosition, "dekomprimiert: 4.00 Sek.  ");
  EXPECT_EQ(repaints_.back().TrackPosition, tokens * 1000 / static_cast<int>(bytes.size()));
  EXPECT_LT(repaints_.back().TrackPosition, 1000);
  EXPECT_EQ(app_.screen().LineStatus, "ok.");
  EXPECT_EQ(app_.screen().LineFile,
            "abspielen:  " + mail.string() + " (" + TempWave() + ") [4.00 Sek.]  ");
  EXPECT_EQ(app_.extraction().SourceFileSize, static_cast<std::int64_t>(bytes.size()));
  EXPECT_EQ(ReadFile(Temp(kTempInfoName)), Bytes(InfoText().begin(), InfoText().end()));
}

TEST_F(PlayerLoad, RejectedFilesAreReportedWhileThePlaybackGoesOn) {
  PlayFor(WriteWav("Gruss.wav"), 1000);
  const fs::path foreign = dir_.path() / "Rechnung.pdf";
  WriteFile(foreign, Bytes(500, 'x'));
  app_.LoadSoundFile(foreign.string());
  ASSERT_EQ(dialogs_.shown.size(), 1u);
  EXPECT_EQ(dialogs_.shown[0].caption, "Information");
  EXPECT_EQ(dialogs_.shown[0].icon, DialogIcon::kError);
  EXPECT_EQ(dialogs_.shown[0].text,
            "Die Datei  \"" + foreign.string() + "\"  hat nicht das LORIX-Format !!");
  EXPECT_EQ(app_.screen().LineStatus, "ok.");
  EXPECT_EQ(app_.screen().LineFile, "geladen:  " + foreign.string());
  EXPECT_TRUE(app_.CurrentWavFile().empty());
  EXPECT_TRUE(app_.playback().PlaybackActive());
  EXPECT_TRUE(AllPlayButtons(app_.screen()));
  app_.PlayPressed();  // there is no current file to start again
  EXPECT_TRUE(TakeCommands().empty());

  const fs::path missing = dir_.path() / "fehlt.EXE";
  app_.LoadSoundFile(missing.string());
  ASSERT_EQ(dialogs_.shown.size(), 2u);
  EXPECT_EQ(dialogs_.shown[1].caption, "Fehler");
  EXPECT_EQ(dialogs_.shown[1].icon, DialogIcon::kError);
  EXPECT_NE(dialogs_.shown[1].text.find(missing.string()), std::string::npos);
  EXPECT_EQ(app_.screen().LineStatus, "ok.");
  EXPECT_TRUE(app_.playback().PlaybackActive());
}

TEST_F(PlayerLoad, ARefusedRecordingLeavesNothingBehindForTheNextWav) {
  const fs::path mail = WriteAttachmentFile("Nachricht.EXE", 4000, 8000);
  const fs::path wav = WriteWav("Gruss.wav");
  const fs::path bad = dir_.path() / "Kaputt.EXE";
  for (const std::int32_t rate : {0, -11025, 999, 200001, 0x7FFFFFFF}) {
    SCOPED_TRACE(rate);
    PlayFor(mail, 1000);
    const Bytes info = ReadFile(Temp(kTempInfoName));
    Bytes bytes = {'x', 'y', 'z'};
    AppendBytes(bytes, Stream({0x80, 0xB2, 0x91}, 6, rate, 3));
    WriteFile(bad, bytes);
    app_.LoadSoundFile(bad.string());
    ASSERT_EQ(dialogs_.shown.size(), 1u);
    EXPECT_TRUE(app_.CurrentWavFile().empty());
    // Nothing of the refused file: the recording before plays on, its text and rate stay.
    EXPECT_TRUE(TakeCommands().empty());
    EXPECT_TRUE(app_.playback().PlaybackActive());
    EXPECT_EQ(ReadFile(Temp(kTempInfoName)), info);
    EXPECT_EQ(app_.extraction().InfoFile, Temp(kTempInfoName));
    EXPECT_EQ(app_.extraction().SourceFileName, mail);
    EXPECT_EQ(app_.SampleRate(), 8000);

    // The WAV dropped next has its length, seeks, and ends.
    dialogs_.shown.clear();
    app_.LoadSoundFile(wav.string());
    EXPECT_EQ(app_.screen().LineFile, "abspielen:  " + wav.string() + " [4.00 Sek.]  ");
    app_.HandleSliderScroll(kScrollThumbTrack, 500, PlayerControl::kTrackPosition);
    app_.HandleSliderScroll(kScrollEndScroll, 500, PlayerControl::kTrackPosition);
    EXPECT_EQ(app_.screen().LineStatus, "ok.   (gestartet bei 2.00 Sek. ...)");
    backend_.Advance(1000);
    app_.PlayerTimerTick();
    EXPECT_EQ(app_.screen().TrackPosition, 750);
    backend_.Advance(1000);
    app_.PlayerTimerTick();
    EXPECT_FALSE(app_.playback().PlaybackActive());
    EXPECT_EQ(app_.screen().LineStatus, "gestoppt nach 4.00 Sek.");
    EXPECT_TRUE(dialogs_.shown.empty());
  }
}

TEST_F(PlayerLoad, DroppedFilesPlayOneAfterTheOther) {
  const fs::path wav = WriteWav("Gruss.wav", 8000, 2000);
  const fs::path mail = WriteAttachmentFile("Nachricht.EXE");
  app_.DropFiles({wav.string(), mail.string()});
  Strings expected = PlayFromStart(wav.string());
  expected.push_back("close mciAlias");  // the extraction lets go of the playing file
  for (const std::string& command : PlayFromStart(TempWave())) expected.push_back(command);
  EXPECT_EQ(TakeCommands(), expected);
  EXPECT_EQ(app_.CurrentWavFile(), TempWave());
  EXPECT_EQ(app_.screen().LineFile,
            "abspielen:  " + mail.string() + " (" + TempWave() + ") [4.00 Sek.]  ");

  // A rejected last file leaves no current file, while the one before plays on.
  const fs::path foreign = dir_.path() / "Bild.png";
  WriteFile(foreign, Bytes(100, 'p'));
  app_.DropFiles({wav.string(), foreign.string()});
  EXPECT_TRUE(app_.CurrentWavFile().empty());
  EXPECT_EQ(dialogs_.shown.size(), 1u);
  EXPECT_TRUE(app_.playback().PlaybackActive());

  // Dropped while paused: the paused playback is closed and the new file plays.
  app_.DropFiles({mail.string()});
  backend_.Advance(1000);
  app_.PausePressed();
  ASSERT_EQ(app_.screen().PauseIcon, PlayerIcon::kPausing);
  commands_.clear();
  app_.DropFiles({mail.string()});
  expected = {"close mciAlias"};
  for (const std::string& command : PlayFromStart(TempWave())) expected.push_back(command);
  EXPECT_EQ(TakeCommands(), expected);
  EXPECT_EQ(app_.screen().PauseIcon, PlayerIcon::kPause);
  EXPECT_FALSE(app_.playback().PlaybackPaused());
  EXPECT_EQ(backend_.log.back(), "start 0");
  EXPECT_EQ(backend_.OpenOutputs(), 1);

  // A recording refused for its rate leaves the paused playback as it was.
  app_.PausePressed();
  const fs::path slow = dir_.path() / "Langsam.EXE";
  WriteFile(slow, Stream({0x80, 0xB2, 0x91}, 6, 999));
  app_.DropFiles({slow.string()});
  EXPECT_TRUE(app_.playback().PlaybackPaused());
  EXPECT_EQ(app_.screen().PauseIcon, PlayerIcon::kPausing);
}

TEST_F(PlayerLoad, AFileNameWithDoubleQuotesPlays) {
  const fs::path wav = WriteWav("Gruß von \"Oma\".wav");
  app_.LoadSoundFile(wav.string());
  Strings expected = PlayFromStart(wav.string());
  expected[0] = "open \"" + (dir_.path() / "Gruß von \"\"Oma\"\".wav").string() +
                "\" type waveaudio alias mciAlias";
  EXPECT_EQ(TakeCommands(), expected);
  EXPECT_TRUE(dialogs_.shown.empty());
  EXPECT_EQ(app_.screen().LineFile, "abspielen:  " + wav.string() + " [4.00 Sek.]  ");
  backend_.Advance(1000);
  app_.PlayerTimerTick();
  EXPECT_EQ(app_.screen().TrackPosition, 250);
}

TEST_F(PlayerKeys, WithoutAFileThePlaybackKeysDoNothingVisible) {
  const auto before = Visible(app_.screen());
  for (const PlayerKey key :
       {PlayerKey::kSpace, PlayerKey::kY, PlayerKey::kA, PlayerKey::kS, PlayerKey::kOther}) {
    app_.KeyDown(key);
    app_.KeyUp(key);
  }
  EXPECT_EQ(Visible(app_.screen()), before);
  EXPECT_TRUE(commands_.empty());
  EXPECT_TRUE(dialogs_.shown.empty());

  app_.KeyDown(PlayerKey::kF1);
  app_.KeyDown(PlayerKey::kH);
  ASSERT_EQ(dialogs_.shown.size(), 2u);
  for (const DialogRequest& box : dialogs_.shown) {
    EXPECT_EQ(std::tuple(box.caption, box.text, box.icon, box.buttons),
              std::tuple("Kurz-Hilfe", HelpText(), DialogIcon::kNone, DialogButtons::kOk));
  }
  EXPECT_EQ(std::pair(ViewOf(app_.screen()).client_width, ViewOf(app_.screen()).client_height),
            std::pair(237, 155));
  app_.KeyDown(PlayerKey::kE);
  EXPECT_EQ(std::pair(ViewOf(app_.screen()).client_width, ViewOf(app_.screen()).client_height),
            std::pair(606, 200));
  app_.KeyDown(PlayerKey::kE);
  EXPECT_EQ(std::pair(ViewOf(app_.screen()).client_width, ViewOf(app_.screen()).client_height),
            std::pair(237, 155));
}

TEST_F(PlayerKeys, SpaceYAAndSPlayPauseAndStop) {
  PlayFor(WriteWav("Gruss.wav"), 1500);
  app_.KeyDown(PlayerKey::kSpace);  // playing: pauses
  EXPECT_TRUE(app_.playback().PlaybackPaused());
  EXPECT_EQ(app_.screen().LineStatus, "angehalten nach 1.50 Sek.");
  app_.KeyDown(PlayerKey::kSpace);  // paused: resumes
  EXPECT_FALSE(app_.playback().PlaybackPaused());
  EXPECT_EQ(app_.screen().LineStatus, "ok.");
  app_.KeyDown(PlayerKey::kA);
  EXPECT_TRUE(app_.playback().PlaybackPaused());
  app_.KeyDown(PlayerKey::kY);  // paused: resumes rather than starting again
  EXPECT_FALSE(app_.playback().PlaybackPaused());
  EXPECT_EQ(app_.screen().PauseIcon, PlayerIcon::kPause);
  EXPECT_EQ(TakeCommands(),
            (Strings{"status mciAlias position", "pause mciAlias", "status mciAlias position",
                     "resume mciAlias", "status mciAlias position", "pause mciAlias",
                     "status mciAlias position", "resume mciAlias"}));
  app_.KeyDown(PlayerKey::kS);
  EXPECT_FALSE(app_.playback().PlaybackActive());
  EXPECT_EQ(app_.screen().LineStatus, "gestoppt nach 1.50 Sek.");
  app_.KeyDown(PlayerKey::kSpace);  // stopped: plays from the start
  EXPECT_EQ(app_.screen().LineStatus, "ok.   (gestartet ...)");
  EXPECT_EQ(backend_.log.back(), "start 0");
}

TEST_F(PlayerKeys, ArrowsMoveABarTwoStepsAndPlayFromWhereItIsLeft) {
  PlayFor(WriteWav("Gruss.wav"), 1000);
  app_.PlayerTimerTick();
  ASSERT_EQ(app_.screen().TrackPosition, 250);
  ASSERT_EQ(app_.screen().TrackVolume, 238);  // speakers at 50000
  commands_.clear();

  app_.KeyDown(PlayerKey::kRight);
  EXPECT_EQ(app_.screen().TrackPosition, 270);
  EXPECT_FALSE(app_.playback().PlaybackActive());
  EXPECT_EQ(app_.screen().LineStatus, "gestoppt nach 1.00 Sek.");
  EXPECT_EQ(app_.screen().LabelPosition, "Start: 1.08 Sek. [4.00 Sek.]  ");
  app_.KeyUp(PlayerKey::kRight);
  EXPECT_EQ(app_.screen().LineStatus, "ok.   (gestartet bei 1.08 Sek. ...)");
  EXPECT_TRUE(AllPlayButtons(app_.screen()));
  app_.KeyDown(PlayerKey::kLeft);
  app_.KeyDown(PlayerKey::kLeft);
  app_.KeyUp(PlayerKey::kLeft);
  EXPECT_EQ(app_.screen().TrackPosition, 230);
  const Strings commands = TakeCommands();
  EXPECT_EQ(std::count(commands.begin(), commands.end(), "play mciAlias from 1080"), 1);
  EXPECT_EQ(commands.end()[-2], "play mciAlias from 920");
  app_.TrackBarMoved(PlayerControl::kTrackPosition, 5);
  app_.KeyDown(PlayerKey::kLeft);
  EXPECT_EQ(app_.screen().TrackPosition, 0);

  // Up and down move the volume bar the same way and set the speakers.
  app_.KeyDown(PlayerKey::kDown);
  EXPECT_EQ(app_.screen().TrackVolume, 258);
  app_.KeyDown(PlayerKey::kUp);
  app_.KeyUp(PlayerKey::kUp);
  EXPECT_EQ(app_.screen().TrackVolume, 238);
  EXPECT_EQ(mixer_backend_.writes, (std::vector<FakeMixerBackend::Write>{
                                       {kSpeakersVolume, {48627}}, {kSpeakersVolume, {49938}}}));
}

TEST_F(PlayerCommands, EveryButtonReachesItsHandler) {
  PlayFor(WriteWav("Gruss.wav"), 1000);
  app_.Command(PlayerControl::kBtnPause);
  EXPECT_TRUE(app_.playback().PlaybackPaused());
  app_.Command(PlayerControl::kBtnPlay);
  EXPECT_FALSE(app_.playback().PlaybackPaused());
  app_.Command(PlayerControl::kBtnStop);
  EXPECT_FALSE(app_.playback().PlaybackActive());
  app_.Command(PlayerControl::kBtnPlay);
  EXPECT_TRUE(app_.playback().PlaybackActive());
  app_.Command(PlayerControl::kBtnView);
  EXPECT_FALSE(app_.screen().CompactView);
  commands_.clear();

  // Bars, the file line and key parameters are no buttons.
  const auto before = Visible(app_.screen());
  for (const PlayerControl sender : {PlayerControl::kTrackPosition, PlayerControl::kTrackVolume,
                                     PlayerControl::kLineFile, PlayerControl::kKeyboard}) {
    app_.Command(sender);
  }
  EXPECT_EQ(Visible(app_.screen()), before);
  EXPECT_TRUE(commands_.empty());
  EXPECT_TRUE(dialogs_.shown.empty());

  mixer_result_ = 0;
  const std::pair<PlayerControl, const char*> boxes[] = {
      {PlayerControl::kBtnHelp, "Kurz-Hilfe"},
      {PlayerControl::kBtnMixer, "Information"},
      {PlayerControl::kBtnWaveApp, "Datei öffnen"},
      {PlayerControl::kBtnWebPage, "Zusätzliche Information"},
      {PlayerControl::kBtnDownload, "Download starten"},
      {PlayerControl::kBtnMail, "eMail senden"},
      {PlayerControl::kBtnCopyMail, "Info"}};
  for (const auto& [button, caption] : boxes) {
    app_.Command(button);
    ASSERT_FALSE(dialogs_.shown.empty());
    EXPECT_EQ(dialogs_.shown.back().caption, caption);
  }
  EXPECT_EQ(dialogs_.shown.size(), std::size(boxes));
}

TEST_F(PlayerCommands, ShutdownClosesAPlaybackAndWaitsForTheService) {
  app_.PlayerShutdown();
  EXPECT_TRUE(commands_.empty());
  EXPECT_EQ(shutdown_waits_, 1);
  PlayFor(WriteWav("Gruss.wav"), 500);
  app_.PausePressed();
  commands_.clear();
  app_.PlayerShutdown();
  EXPECT_EQ(TakeCommands(), Strings{"close mciAlias"});
  EXPECT_EQ(shutdown_waits_, 2);
  EXPECT_EQ(backend_.OpenOutputs(), 0);
}

TEST_F(PlayerWindowGlueTest, AFileDroppedWhileABoxIsOpenIsRefused) {
  PlayerWindowGlue glue(app_);
  const fs::path foreign = dir_.path() / "Rechnung.pdf";
  WriteFile(foreign, Bytes(500, 'x'));
  const fs::path wav = WriteWav("Gruss.wav");
  std::vector<bool> taken_while_open;
  dialogs_.while_open = [&](const DialogRequest&) {
    taken_while_open.push_back(glue.DropAllowed());
    taken_while_open.push_back(glue.DropFiles({wav.string()}));
  };
  EXPECT_TRUE(glue.DropFiles({foreign.string()}));
  ASSERT_EQ(dialogs_.shown.size(), 1u);
  EXPECT_EQ(taken_while_open, (std::vector<bool>{false, false}));
  // The box's file stays the one named, and the refused one is not played under its name.
  EXPECT_TRUE(app_.CurrentWavFile().empty());
  EXPECT_FALSE(app_.playback().PlaybackActive());
  EXPECT_EQ(app_.screen().LineFile.find(wav.string()), std::string::npos);

  dialogs_.while_open = nullptr;
  EXPECT_TRUE(glue.DropAllowed());
  EXPECT_TRUE(glue.DropFiles({wav.string()}));
  EXPECT_TRUE(app_.playback().PlaybackActive());
}

TEST_F(PlayerWindowGlueTest, ATimerTickNeverRunsIntoTheOneStillGoingOn) {
  PlayerWindowGlue glue(app_);
  PlayFor(WriteWav("Gruss.wav"), 500);
  // The tick asks the service for the position; a tick arrives meanwhile (once).
  int commands = 0;
  std::vector<bool> nested;
  on_command_ = [&] {
    if (commands++ == 0) nested.push_back(glue.TimerTick());
  };
  EXPECT_TRUE(glue.TimerTick());
  EXPECT_EQ(nested, std::vector<bool>{false});
  on_command_ = nullptr;
  EXPECT_TRUE(glue.TimerTick());
}

TEST_F(PlayerWindowGlueTest, RepaintsWhileDecodingAreShownAtMostEvery40Ms) {
  using std::chrono::milliseconds;
  std::chrono::steady_clock::time_point now{milliseconds(5000)};
  PlayerWindowGlue glue(app_, [&now] { return now; });
  std::vector<bool> due;
  for (const int step : {0, 39, 1, 39, 100, 0}) {
    now += milliseconds(step);
    due.push_back(glue.RepaintDue());
  }
  EXPECT_EQ(due, (std::vector<bool>{true, false, true, false, true, false}));
}

TEST_F(PlayerWindowGlueTest, ScrollingTellsTheBarsPlaceThenTheThumbsOrTheBarsPosition) {
  PlayerWindowGlue glue(app_);
  // Dragging reports the thumb's place.
  glue.Scroll(PlayerControl::kTrackVolume, kScrollThumbTrack, 200, 700);
  EXPECT_EQ(app_.screen().TrackVolume, 700);
  // A page step counts from where the bar has moved itself.
  glue.Scroll(PlayerControl::kTrackVolume, kScrollPageDown, 300, 0);
  EXPECT_EQ(app_.screen().TrackVolume, 400);
  // The end of a scroll carries no place of its own.
  glue.Scroll(PlayerControl::kTrackVolume, kScrollEndScroll, 0, 0);
  EXPECT_EQ(app_.screen().TrackVolume, 400);
  const PlayerScreen before = app_.screen();
  glue.Scroll(PlayerControl::kBtnPlay, kScrollThumbTrack, 900, 900);
  EXPECT_EQ(Visible(app_.screen()), Visible(before));
}

}  // namespace
}  // namespace lorix::testing
