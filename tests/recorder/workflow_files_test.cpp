// Loading and saving in the recording workflow, the attachment of step 4, and the texts these
// functions show.

#include <sys/stat.h>

#include <tuple>
#include <utility>

#include "codec/attachment.h"
#include "codec/stream_header.h"
#include "tests/audio/wav_builder.h"
#include "tests/recorder/workflow_fixture.h"
#include "tests/support/scoped_environment.h"

namespace lorix {
namespace {

Bytes WavWith(std::uint16_t channels, std::uint16_t bits, std::int32_t rate, std::size_t bytes) {
  const auto block = static_cast<std::uint16_t>(channels * bits / 8);
  const WavHeader header =
      BuildWavHeader(static_cast<std::int32_t>(bytes), channels, block, bits, rate, rate * block);
  const std::vector<std::uint8_t> tone = Tone(bytes);
  Bytes image(header.size() + bytes);
  std::copy(header.begin(), header.end(), image.begin());
  std::copy(tone.begin(), tone.end(), image.begin() + kWavHeaderSize);
  return image;
}

Bytes BytesOf(std::string_view text) {
  return Bytes(text.begin(), text.end());
}

class WorkflowFilesTest : public RecordingWorkflowTest {
 protected:
  void SetUp() override {
    RecordingWorkflowTest::SetUp();
    WriteFileAtomically(paths_.player_program, player_);
  }

  std::string Write(const std::string& name, const Bytes& bytes) {
    const fs::path path = folder_ / name;
    WriteFileAtomically(path, bytes);
    return path.string();
  }

  // A recording compressed by step 3 without listening: the compressed state.
  void RecordAndCompress(int buffers) {
    workflow_->CBAndPlayLRXFileClick(false);
    RecordAndPause(buffers);
    workflow_->ButtonComprDecomprAndPlayClick();
    ASSERT_TRUE(c().ButtonCreateOpenMail.enabled);
  }

  // Step 4 into LORIXs under the name the dialog answers with.
  std::string BuildAttachment(const std::string& answer) {
    files_.answers.push_back(answer);
    workflow_->ButtonCreateOpenMailClick();
    return s().AttachmentPath;
  }

  const DialogRequest& LastDialog() const { return dialogs_.shown.back(); }

  const Bytes player_ = BytesOf("#!player program stand-in\n");
};

TEST_F(WorkflowFilesTest, AWavAtTheRecordingRateBecomesRecordingMaterial) {
  const std::string path = Write("gruss.wav", WavWith(1, 8, 11025, 5513));
  workflow_->LoadAnyFile(true, path);
  EXPECT_TRUE(dialogs_.shown.empty());
  EXPECT_EQ(s().LoadedFileKind, LoadedKind::kRecording);
  EXPECT_EQ(s().SampleCount, 5513);
  EXPECT_EQ(c().LabelSmpsRecorded, " [ 0.50 Sek. ] ");
  EXPECT_EQ(c().LabelRecordedOrLoaded, " Geladene Datei: ");
  EXPECT_EQ(c().LabelRecordedWAV_File, path);
  EXPECT_EQ(c().LabelLoadedFile, path);
  EXPECT_EQ(workflow_->playback().PlayFile(), path);
  EXPECT_TRUE(workflow_->playback().PlaybackActive());
  EXPECT_EQ(play_block_shown_, 1);
  EXPECT_EQ(c().ButtonRecord.hint, "2. Weiter\r\naufnehmen");
  EXPECT_FALSE(c().ButtonRecord.enabled);  // until the playback ends
  workflow_->ButtonStopClick();
  EXPECT_TRUE(c().ButtonRecord.enabled);
  EXPECT_TRUE(c().ButtonComprDecomprAndPlay.enabled);
  // Its uncompressed version is the loaded file itself, not an earlier recording.
  workflow_->ButtonAndPlayOrigClick();
  EXPECT_EQ(workflow_->playback().PlayFile(), path);
  workflow_->ButtonStopClick();

  // Recording continues behind the loaded sound.
  RecordAndPause(1);
  EXPECT_EQ(s().SampleCount, 5513 + 1000);
  const Bytes recording = ReadWholeFile(paths_.temp_recording);
  const Bytes loaded = WavWith(1, 8, 11025, 5513);
  EXPECT_TRUE(std::equal(loaded.begin() + kWavHeaderSize, loaded.end(),
                         recording.begin() + kWavHeaderSize));
}

TEST_F(WorkflowFilesTest, OtherWavFormatsCanOnlyBePlayed) {
  for (const auto& [channels, bits, rate] :
       {std::tuple{1, 8, 22050}, std::tuple{1, 16, 11025}, std::tuple{2, 8, 11025}}) {
    workflow_->ButtonResetClick(ResetSender::kNone);
    dialogs_.shown.clear();
    const std::string path =
        Write("anders.wav", WavWith(static_cast<std::uint16_t>(channels),
                                    static_cast<std::uint16_t>(bits), rate, 4000));
    workflow_->LoadAnyFile(true, path);
    ASSERT_EQ(dialogs_.shown.size(), 1u);
    EXPECT_EQ(LastDialog().text, "Die Datei\r\n\"" + path +
                                     "\"\r\nist nicht im 11025Hz/PCM-8Bit-Mono-Format!\r\n"
                                     "Sie kann nur abgespielt werden!");
    EXPECT_EQ(s().LoadedFileKind, LoadedKind::kPlayableOnly);
    EXPECT_TRUE(workflow_->playback().PlaybackActive());
    workflow_->ButtonStopClick();
    EXPECT_FALSE(c().ButtonRecord.enabled);
    EXPECT_FALSE(c().ButtonComprDecomprAndPlay.enabled);
  }
}

TEST_F(WorkflowFilesTest, BrokenFilesAreReportedAndChangeNothing) {
  Bytes truncated_header = WavWith(1, 8, 11025, 100);
  truncated_header.resize(30);
  Bytes attachment_tail = WavWith(1, 8, 11025, 100);  // no stream header at its end
  Bytes impossible = BytesOf(std::string(200, 'x'));
  const StreamHeader header = BuildStreamHeader("1.5", 5000, 100, 11025, kCodecName, 0);
  impossible.insert(impossible.end(), header.bytes.begin(), header.bytes.end());

  const std::vector<std::pair<bool, std::string>> files = {
      {true, Write("text.wav", BytesOf("Dies ist kein Klang, nur ein Text.\n"))},
      {true, Write("kurz.wav", truncated_header)},
      {true, (folder_ / "fehlt.wav").string()},
      {true, folder_.string()},
      {false, Write("klang.exe", attachment_tail)},
      {false, Write("leer.lrx", Bytes())},
      {false, Write("unmoeglich.lrx", impossible)},
  };
  for (const auto& [wav, path] : files) {
    SCOPED_TRACE(path);
    dialogs_.shown.clear();
    workflow_->LoadAnyFile(wav, path);
    ASSERT_EQ(dialogs_.shown.size(), 1u);
    EXPECT_EQ(LastDialog().icon, DialogIcon::kError);
    EXPECT_NE(LastDialog().text.find(path), std::string::npos);
    EXPECT_EQ(s().LoadedFileKind, LoadedKind::kNone);
    EXPECT_TRUE(workflow_->PcmStream().empty());
    EXPECT_TRUE(workflow_->CompressedStream().empty());
    EXPECT_FALSE(workflow_->playback().PlaybackActive());
    EXPECT_EQ(c().LabelLoadedFile, "(-)");
    EXPECT_EQ(c().LabelRecordedOrLoaded, " Aufnahme: ");
    EXPECT_TRUE(c().ButtonRecord.enabled);
    EXPECT_FALSE(c().ButtonCreateOpenMail.enabled);
    EXPECT_FALSE(c().PanelWait_visible);
  }

  // A sparse file of 2 GB is refused before it is read.
  const std::string big = Write("riesig.wav", BytesOf("RIFF"));
  fs::resize_file(big, std::uintmax_t{1} << 31);
  for (const bool wav : {true, false}) {
    dialogs_.shown.clear();
    workflow_->LoadAnyFile(wav, big);
    ASSERT_EQ(dialogs_.shown.size(), 1u);
    EXPECT_NE(LastDialog().text.find("2 GB groß oder größer"), std::string::npos);
    EXPECT_EQ(s().LoadedFileKind, LoadedKind::kNone);
  }
  fs::remove(big);
}

TEST_F(WorkflowFilesTest, AWavDeclaringMoreDataThanItHoldsIsTakenAsFarAsItGoes) {
  // Written by a converter (a LIST chunk in front of the format) and cut off after 1200 of
  // 3000 samples.
  Bytes image =
      testing::Riff({testing::Chunk("LIST", BytesOf("INFOICMT")),
                     testing::FormatChunk(1, 1, 11025, 8), testing::Chunk("data", Tone(3000))});
  image.resize(image.size() - 1800);
  const std::string path = Write("abgebrochen.wav", image);
  workflow_->LoadAnyFile(true, path);
  EXPECT_TRUE(dialogs_.shown.empty());
  EXPECT_EQ(s().LoadedFileKind, LoadedKind::kRecording);
  EXPECT_EQ(s().SampleCount, 1200);
  // The canonical image, whose header says what was taken.
  EXPECT_EQ(workflow_->PcmStream(), WavWith(1, 8, 11025, 1200));
  workflow_->ButtonStopClick();

  // Step 3 reloads the same file, and so does step 2 when it goes on recording behind it.
  workflow_->CBAndPlayLRXFileClick(false);
  workflow_->ButtonComprDecomprAndPlayClick();
  EXPECT_TRUE(dialogs_.shown.empty());
  EXPECT_TRUE(c().ButtonCreateOpenMail.enabled);
  EXPECT_EQ(ReadStreamHeader(workflow_->CompressedStream()).SampleCount(), 1200);
  RecordAndPause(1);
  EXPECT_TRUE(dialogs_.shown.empty());
  EXPECT_EQ(s().SampleCount, 1200 + 1000);
}

TEST_F(WorkflowFilesTest, StepFourWritesPlayerInfoTextAndStreamAndHandsItToTheMail) {
  RecordAndCompress(3);
  EXPECT_EQ(s().AttachmentPath, (paths_.lorixs_folder / kAttachmentFile).string());
  const std::string target = BuildAttachment(s().AttachmentPath);

  ASSERT_EQ(files_.requests.size(), 1u);
  const FileDialogRequest& request = files_.requests[0];
  EXPECT_EQ(request.title, "Lorix-Sprachanhang speichern");
  EXPECT_EQ(request.filter_index, 2);
  EXPECT_EQ(request.default_extension, "EXE");
  EXPECT_EQ(request.ok_word, "Speichern");
  EXPECT_TRUE(request.save);
  EXPECT_EQ(request.initial_folder, paths_.lorixs_folder.string());
  EXPECT_EQ(request.file_name, (paths_.lorixs_folder / kAttachmentFile).string());

  const Bytes written = ReadWholeFile(target);
  const Bytes& compressed = workflow_->CompressedStream();
  EXPECT_EQ(written.size(), player_.size() + InfoText().size() + compressed.size());
  EXPECT_TRUE(std::equal(player_.begin(), player_.end(), written.begin()));
  EXPECT_TRUE(std::equal(compressed.begin(), compressed.end(),
                         written.end() - static_cast<std::ptrdiff_t>(compressed.size())));
  struct stat info {};
  ASSERT_EQ(::stat(target.c_str(), &info), 0);
  EXPECT_NE(info.st_mode & S_IXUSR, 0u);

  EXPECT_EQ(LastDialog().text, "Die Datei \"" + target + "\" wurde erstellt!");
  ASSERT_EQ(mails_.size(), 1u);
  EXPECT_EQ(mails_[0].attached_bytes, static_cast<std::int64_t>(written.size()));
  EXPECT_EQ(mails_[0].paths, std::vector<std::string>{target});
  EXPECT_EQ(s().AttachmentFileName, kAttachmentFile);
  EXPECT_TRUE(c().ButtonCreateOpenMail.enabled);

  // The same name a second time: asked first, and a cancel writes nothing.
  fs::remove(target);
  WriteFileAtomically(target, BytesOf("alt"));
  dialogs_.answers = {DialogAnswer::kCancel};
  BuildAttachment(target);
  EXPECT_EQ(files_.requests.back().file_name, target);
  EXPECT_EQ(LastDialog().text, target + " existiert schon! Überschreiben?");
  EXPECT_EQ(ReadWholeFile(target), BytesOf("alt"));
  EXPECT_EQ(mails_.size(), 1u);

  // Cancelling the dialog does nothing at all.
  const std::size_t shown = dialogs_.shown.size();
  workflow_->ButtonCreateOpenMailClick();
  EXPECT_EQ(dialogs_.shown.size(), shown);
  EXPECT_TRUE(c().ButtonCreateOpenMail.enabled);
}

TEST_F(WorkflowFilesTest, StepFourAddsTheExtensionUnlessTheNameHasIt) {
  RecordAndCompress(1);
  const std::string base = (folder_ / "gruss").string();
  EXPECT_EQ(BuildAttachment(base), base + ".EXE");
  EXPECT_EQ(BuildAttachment(base + ".wav"), base + ".wav.EXE");
  EXPECT_EQ(BuildAttachment(base + "2.exe"), base + "2.exe");
  EXPECT_EQ(s().AttachmentFileName, "gruss2.exe");
  for (const char* name : {"gruss.EXE", "gruss.wav.EXE", "gruss2.exe"}) {
    EXPECT_TRUE(fs::exists(folder_ / name)) << name;
  }
  // The dialog starts with the last name; one with another extension is cut at its first dot.
  files_.answers.clear();
  workflow_->ButtonCreateOpenMailClick();
  EXPECT_EQ(files_.requests.back().file_name, base + "2.exe");
  workflow_->ButtonLoadSaveAnyFileClick(FileButton::kSavePCMFile);
  EXPECT_EQ(files_.requests.back().file_name, base + "2");
  EXPECT_EQ(files_.requests.back().title, "WAV(PCM)-Audio-Datei speichern");
}

// The hint tells the MP3's size before it is made: about 3000 bytes for each second.
TEST_F(WorkflowFilesTest, StepFourHintEstimatesTheMp3FileFromTheLength) {
  RecordAndCompress(20);  // 1.8 seconds
  options_.AttachmentKind = static_cast<int>(AttachmentChoice::kAudio);
  workflow_->UpdateControls();
  const std::string& hint = c().ButtonCreateOpenMail.hint;
  const std::size_t at = hint.find("MP3-Audiodatei (ca. ");
  ASSERT_NE(at, std::string::npos) << hint;
  const int estimated_kb = std::stoi(hint.substr(at + 20));
  const fs::path mp3 = folder_ / "LORIXs" / "kurz.mp3";
  files_.answers.push_back(mp3.string());
  workflow_->ButtonCreateOpenMailClick();
  ASSERT_TRUE(fs::exists(mp3)) << LastDialog().text;
  EXPECT_NEAR(estimated_kb, static_cast<double>(fs::file_size(mp3)) / 1024, 1.0) << hint;
}

TEST_F(WorkflowFilesTest, AFailedBuildLeavesNothingAndOpensNoMail) {
  RecordAndCompress(1);
  fs::remove(paths_.player_program);
  const std::string target = BuildAttachment(s().AttachmentPath);
  EXPECT_EQ(LastDialog().icon, DialogIcon::kError);
  EXPECT_NE(LastDialog().text.find("LorixPlayer.exe"), std::string::npos);
  EXPECT_FALSE(fs::exists(target));
  EXPECT_TRUE(mails_.empty());
  EXPECT_FALSE(c().ButtonCreateOpenMail.enabled);

  WriteFileAtomically(paths_.player_program, player_);
  workflow_->UpdateControls();
  EXPECT_TRUE(c().ButtonCreateOpenMail.enabled);
  BuildAttachment((folder_ / "kein-ordner" / "x.EXE").string());
  EXPECT_EQ(LastDialog().icon, DialogIcon::kError);
  EXPECT_TRUE(fs::is_empty(folder_ / "LORIXs"));
  EXPECT_TRUE(mails_.empty());

  // Both files: an MP3 that cannot be written is named in the box, and nothing is mailed.
  options_.AttachmentKind = static_cast<int>(AttachmentChoice::kBoth);
  const fs::path blocked = folder_ / "LORIXs" / "beides.mp3";
  fs::create_directory(blocked);
  workflow_->UpdateControls();
  BuildAttachment((folder_ / "LORIXs" / "beides.EXE").string());
  EXPECT_EQ(LastDialog().icon, DialogIcon::kError);
  EXPECT_NE(LastDialog().text.find(blocked.string()), std::string::npos);
  EXPECT_TRUE(fs::is_empty(blocked));
  EXPECT_TRUE(mails_.empty());
}

TEST_F(WorkflowFilesTest, ALoadedAttachmentPlaysShowsItsInfoTextAndCanBeSentAgain) {
  RecordAndCompress(4);
  const Bytes compressed = workflow_->CompressedStream();
  // ".wav" in a folder's name or an earlier extension does not make it a WAV file.
  fs::create_directory(folder_ / "Nachrichten.wav-Archiv");
  const std::string first =
      BuildAttachment((folder_ / "Nachrichten.wav-Archiv" / "erste.wav.EXE").string());
  workflow_->ButtonResetClick(ResetSender::kNone);

  EXPECT_TRUE(workflow_->AddMoreToList(first));
  EXPECT_EQ(c().Caption, first);
  EXPECT_EQ(s().LoadedFileKind, LoadedKind::kCompressed);
  EXPECT_EQ(workflow_->CompressedStream(), ReadWholeFile(first));
  EXPECT_EQ(ReadWholeFile(paths_.temp_compressed),
            Decompress(compressed, InitCodecTables()).PcmStream);
  EXPECT_EQ(workflow_->playback().PlayFile(), paths_.temp_compressed.string());
  EXPECT_TRUE(workflow_->playback().PlaybackActive());
  EXPECT_EQ(c().LabelRecordedWAV_File, "(-)");
  EXPECT_EQ(c().LabelLoadedFile, first);
  workflow_->ButtonStopClick();
  EXPECT_TRUE(c().ButtonCreateOpenMail.enabled);
  // An attachment has no uncompressed version; the old recording's file is not offered.
  EXPECT_TRUE(fs::exists(paths_.temp_recording));
  EXPECT_FALSE(c().ButtonAndPlayOrig.enabled);
  EXPECT_FALSE(c().ButtonRecord.enabled);
  EXPECT_TRUE(c().ButtonShowMSINFofMail.enabled);

  workflow_->ButtonShowMSINFofMailClick();
  EXPECT_EQ(ReadWholeFile(paths_.temp_info), BytesOf(InfoText()));
  ASSERT_EQ(opened_.size(), 1u);
  EXPECT_EQ(opened_[0], (paths_.temps_folder / "TempInfo-utf8.txt").string());

  // Sent again: the current player and text in front of the loaded file's stream; the mail
  // counts the new attachment's size, not the loaded file's.
  const std::string second = BuildAttachment((folder_ / "zweite.EXE").string());
  EXPECT_EQ(ReadWholeFile(second), ReadWholeFile(first));
  EXPECT_EQ(mails_.back().attached_bytes, static_cast<std::int64_t>(ReadWholeFile(second).size()));
}

TEST_F(WorkflowFilesTest, SavingAsksBeforeReplacingAndTheSavedWavPlays) {
  RecordAndCompress(2);
  const std::string wav = (folder_ / "export.wav").string();
  files_.answers = {wav};
  workflow_->MTLoadSaveRecClick(false);
  EXPECT_EQ(ReadWholeFile(wav), workflow_->PcmStream());
  EXPECT_EQ(workflow_->playback().PlayFile(), wav);
  EXPECT_TRUE(dialogs_.shown.empty());

  const std::string lrx = Write("export.lrx", BytesOf("alt"));
  files_.answers = {lrx, lrx};
  dialogs_.answers = {DialogAnswer::kCancel, DialogAnswer::kOk};
  workflow_->ButtonLoadSaveAnyFileClick(FileButton::kSaveLRXFile);
  EXPECT_EQ(LastDialog().text, lrx + " existiert schon! Überschreiben?");
  EXPECT_EQ(ReadWholeFile(lrx), BytesOf("alt"));
  workflow_->ButtonLoadSaveAnyFileClick(FileButton::kSaveLRXFile);
  EXPECT_EQ(ReadWholeFile(lrx), workflow_->CompressedStream());
  EXPECT_EQ(files_.requests.back().title, "Lorix-Sprachanhang speichern");
  EXPECT_EQ(c().PanelBottom, "ok.");

  // Loading through the dialog: the load title and word, and the file is loaded.
  files_.answers = {lrx};
  workflow_->ButtonLoadSaveAnyFileClick(FileButton::kLoadLRXFile);
  EXPECT_EQ(files_.requests.back().title, "Lorix-Sprachanhang laden");
  EXPECT_EQ(files_.requests.back().ok_word, "Laden");
  EXPECT_TRUE(files_.requests.back().file_must_exist);
  EXPECT_EQ(s().LoadedFileKind, LoadedKind::kCompressed);
}

TEST_F(WorkflowFilesTest, StepFourPacksWhatTheCompressButtonMadeLast) {
  RecordAndCompress(1);
  RecordAndPause(2);
  workflow_->ButtonCompDecompClick(true);
  ASSERT_TRUE(c().ButtonCreateOpenMail.enabled);
  const Bytes stream = workflow_->CompressedStream();
  const Bytes written = ReadWholeFile(BuildAttachment((folder_ / "neu.EXE").string()));
  ASSERT_EQ(written.size(), player_.size() + InfoText().size() + stream.size());
  EXPECT_TRUE(std::equal(stream.begin(), stream.end(),
                         written.end() - static_cast<std::ptrdiff_t>(stream.size())));
}

TEST_F(WorkflowFilesTest, CompressAndDecompressButtonsReportTheSizes) {
  RecordAndPause(3);
  workflow_->ButtonCompDecompClick(true);
  ASSERT_FALSE(workflow_->CompressedStream().empty());
  EXPECT_EQ(c().PanelBottom, CompressionStatusText(workflow_->PcmStream().size(),
                                                   workflow_->CompressedStream().size()));
  workflow_->ButtonCompDecompClick(false);
  EXPECT_EQ(workflow_->PcmStream(),
            Decompress(workflow_->CompressedStream(), InitCodecTables()).PcmStream);

  EXPECT_EQ(CompressionStatusText(661544, 98000), "WAV: 647 KB  -  LRX: 96 KB     (14.8 %)");
  EXPECT_EQ(CompressionStatusText(0, 0), "WAV: 0 KB  -  LRX: 0 KB");
  EXPECT_EQ(CompressionStatusText(1000, 150), "WAV: 1 KB  -  LRX: 1 KB     (15 %)");
  EXPECT_EQ(CompressionStatusText(1000, 5), "WAV: 1 KB  -  LRX: 1 KB     (.5 %)");
}

TEST(OpenSaveDialogTest, CutsANameWithAnotherExtensionAtItsFirstDot) {
  // Dots in folder names stay: the folder is kept and the name is not emptied.
  EXPECT_EQ(CutToDefaultExtension("/home/u/.local/LORIXs/LORIX_1.EXE", "WAV"),
            "/home/u/.local/LORIXs/LORIX_1");
  EXPECT_EQ(CutToDefaultExtension("/home/a.b/x.lrx", "EXE"), "/home/a.b/x");
  EXPECT_EQ(CutToDefaultExtension("/home/a.b/x.exe", "EXE"), "/home/a.b/x.exe");
  EXPECT_EQ(CutToDefaultExtension("/home/ab/x.wav", "WAV"), "/home/ab/x.wav");
  EXPECT_EQ(CutToDefaultExtension("/home/ab/x.b.Wav", "EXE"), "/home/ab/x");
  EXPECT_EQ(CutToDefaultExtension("/home/a.b/x", "EXE"), "/home/a.b/x");
  EXPECT_EQ(CutToDefaultExtension("/home/ab/.x", "EXE"), "/home/ab/.x");
  EXPECT_EQ(CutToDefaultExtension("x.lrx", "EXE"), "x");

  const FileDialogRequest load = PrepareOpenSaveDialog(false, true, "", "/p/LORIXs");
  EXPECT_EQ(load.title, "WAV(PCM)-Audio-Datei laden");
  EXPECT_EQ(load.filter_index, 1);
  EXPECT_FALSE(load.overwrite_prompt);
  EXPECT_TRUE(load.file_must_exist);
  const FileDialogRequest save = PrepareOpenSaveDialog(true, false, "", "/p/LORIXs");
  EXPECT_TRUE(save.overwrite_prompt);
  EXPECT_FALSE(save.file_must_exist);
}

TEST(RecorderFoldersTest, ATEMPsThatIsNotOursGivesWayToThePrivateOne) {
  const fs::path program =
      fs::temp_directory_path() / ("lorix_folders_" + std::to_string(getpid()));
  const fs::path run = program / "run";
  const fs::path victim = program / "victim";
  fs::create_directories(run);
  fs::create_directories(victim);
  testing::ScopedEnvironment environment;
  environment.Set("XDG_RUNTIME_DIR", run.string());
  fs::create_directory_symlink(victim, program / "TEMPs");
  RecorderPaths paths = RecorderPaths::ForProgramFolder(program);
  CreateRecorderFolders(paths);
  const fs::path temps = run / "lorix" / "TEMPs";
  EXPECT_EQ(
      std::tuple(paths.temps_folder, paths.temp_info, paths.temp_recording, paths.temp_compressed),
      std::tuple(temps, temps / "TempInfo.txt", temps / "TempRecording.wav",
                 temps / "TempCompressed.wav"));
  EXPECT_TRUE(fs::is_directory(temps));
  EXPECT_TRUE(fs::is_directory(program / "LORIXs"));
  EXPECT_TRUE(fs::is_empty(victim));
  fs::remove_all(program);
}

// A fake installed prefix: <root>/usr/bin/Lorix with <root>/usr/share/lorix beside it.
class InstalledRecorderFoldersTest : public ::testing::Test {
 protected:
  InstalledRecorderFoldersTest()
      : root_(fs::temp_directory_path() / ("lorix_installed_" + std::to_string(getpid()))),
        bin_(root_ / "usr" / "bin"),
        data_(root_ / "usr" / "share" / "lorix"),
        home_(root_ / "home") {
    fs::create_directories(bin_);
    fs::create_directories(data_);
    fs::create_directories(home_ / "Dokumente");
    environment_.Set("HOME", home_.string())
        .Set("XDG_CONFIG_HOME", std::nullopt)
        .Set("XDG_CACHE_HOME", std::nullopt)
        .Set("XDG_RUNTIME_DIR", std::nullopt);
  }
  ~InstalledRecorderFoldersTest() override { fs::remove_all(root_); }

  RecorderPaths Decide(const fs::path& program_folder) const {
    return RecorderPaths::ForProgram(program_folder / "Lorix",
                                     [this] { return home_ / "Dokumente"; });
  }

  fs::path root_, bin_, data_, home_;
  testing::ScopedEnvironment environment_;
};

TEST_F(InstalledRecorderFoldersTest,
       KeepsTheUsersFilesInTheHomeFolderAndWritesNothingUnderThePrefix) {
  std::ofstream(data_ / "MailTextMAPI.txt") << "default";
  std::ofstream(data_ / "MailTextSystem.txt") << "default";
  fs::create_directories(home_ / ".config" / "lorix");
  std::ofstream(home_ / ".config" / "lorix" / "MailTextSystem.txt") << "own";
  RecorderPaths paths = Decide(bin_);
  CreateRecorderFolders(paths);

  const fs::path config = home_ / ".config" / "lorix";
  const fs::path temps = home_ / ".cache" / "lorix" / "TEMPs";
  EXPECT_EQ(std::tuple(paths.settings_file, paths.user_folder, paths.data_folder,
                       paths.mail_text_mapi, paths.mail_text_system, paths.player_program),
            std::tuple(config / "LORIX.INI", config, data_, data_ / "MailTextMAPI.txt",
                       config / "MailTextSystem.txt",
                       root_ / "usr" / "lib" / "lorix" / "LorixPlayer.exe"));
  EXPECT_EQ(std::tuple(paths.temps_folder, paths.temp_recording, paths.lorixs_folder),
            std::tuple(temps, temps / "TempRecording.wav", home_ / "Dokumente" / "LORIXs"));
  EXPECT_TRUE(fs::is_directory(temps));
  EXPECT_TRUE(fs::is_directory(home_ / "Dokumente" / "LORIXs"));
  EXPECT_TRUE(fs::is_empty(bin_));
  EXPECT_EQ(std::distance(fs::directory_iterator(data_), fs::directory_iterator()), 2);
}

TEST_F(InstalledRecorderFoldersTest, FollowsTheXdgFoldersWhenTheyAreSet) {
  environment_.Set("XDG_CONFIG_HOME", (root_ / "config").string())
      .Set("XDG_CACHE_HOME", (root_ / "cache").string());
  const RecorderPaths paths = Decide(bin_);
  EXPECT_EQ(
      std::tuple(paths.settings_file, paths.temps_folder),
      std::tuple(root_ / "config" / "lorix" / "LORIX.INI", root_ / "cache" / "lorix" / "TEMPs"));
  environment_.Set("XDG_CONFIG_HOME", "relative").Set("XDG_CACHE_HOME", "");
  EXPECT_EQ(Decide(bin_).settings_file, home_ / ".config" / "lorix" / "LORIX.INI");
  EXPECT_EQ(Decide(bin_).temps_folder, home_ / ".cache" / "lorix" / "TEMPs");
}

TEST_F(InstalledRecorderFoldersTest, AProgramOutsideAnInstalledPrefixKeepsEverythingBesideItself) {
  for (const fs::path& folder : {root_ / "usr" / "share", root_ / "build" / "bin"}) {
    const RecorderPaths paths = Decide(folder);
    EXPECT_EQ(
        std::tuple(paths.settings_file, paths.data_folder, paths.user_folder, paths.temps_folder,
                   paths.lorixs_folder, paths.player_program, paths.mail_text_mapi),
        std::tuple(folder / "LORIX.INI", folder, folder, folder / "TEMPs", folder / "LORIXs",
                   folder / "LorixPlayer.exe", folder / "MailTextMAPI.txt"));
  }
}

// The Windows layout, decided from what the program's folder allows and the known folders.
class WindowsRecorderFoldersTest : public ::testing::Test {
 protected:
  WindowsRecorderFoldersTest()
      : root_(fs::temp_directory_path() / ("lorix_windows_" + std::to_string(getpid()))),
        program_(root_ / "Programs" / "Lorix"),
        known_{root_ / "Roaming", root_ / "Local", root_ / "Documents"} {
    fs::create_directories(program_);
    fs::create_directories(known_.roaming_app_data / "Lorix");
  }
  ~WindowsRecorderFoldersTest() override { fs::remove_all(root_); }

  RecorderPaths Decide(bool writable, bool marker) const {
    return RecorderPaths::ForWindowsProgram(program_ / "Lorix.exe", RunsPortable(writable, marker),
                                            known_);
  }

  fs::path root_, program_;
  KnownFolders known_;
};

TEST_F(WindowsRecorderFoldersTest, AnInstalledOrReadOnlyProgramKeepsTheUsersFilesInTheirFolders) {
  std::ofstream(known_.roaming_app_data / "Lorix" / "MailTextSystem.txt") << "own";
  const fs::path user = known_.roaming_app_data / "Lorix";
  const fs::path temps = known_.local_app_data / "Lorix" / "TEMPs";
  // Installed by the installer into a folder the user may write to, or unpacked under
  // "Program Files": either way nothing is written beside the program.
  for (const auto& [writable, marker] : {std::pair(true, true), std::pair(false, false)}) {
    const RecorderPaths paths = Decide(writable, marker);
    EXPECT_EQ(std::tuple(paths.settings_file, paths.user_folder, paths.data_folder,
                         paths.mail_text_mapi, paths.mail_text_system, paths.player_program),
              std::tuple(user / "LORIX.INI", user, program_, program_ / "MailTextMAPI.txt",
                         user / "MailTextSystem.txt", program_ / "LorixPlayer.exe"));
    EXPECT_EQ(std::tuple(paths.temps_folder, paths.temp_recording, paths.lorixs_folder),
              std::tuple(temps, temps / "TempRecording.wav", known_.documents / "LORIXs"));
  }
}

TEST_F(WindowsRecorderFoldersTest, APortableProgramOrOneWithoutKnownFoldersKeepsAllBesideItself) {
  std::ofstream(known_.roaming_app_data / "Lorix" / "MailTextSystem.txt") << "own";
  const RecorderPaths portable = Decide(true, false);
  known_.local_app_data.clear();
  const RecorderPaths unknown_folder = Decide(false, true);
  for (const RecorderPaths& paths : {portable, unknown_folder}) {
    EXPECT_EQ(std::tuple(paths.settings_file, paths.user_folder, paths.temps_folder,
                         paths.lorixs_folder, paths.mail_text_system),
              std::tuple(program_ / "Lorix.INI", program_, program_ / "TEMPs", program_ / "LORIXs",
                         program_ / "MailTextSystem.txt"));
  }
}

TEST(AttachmentNameTest, FormsTheTimeStampWithLeadingZeros) {
  std::tm time{};
  time.tm_year = 2024 - 1900;
  time.tm_mon = 0;
  time.tm_mday = 31;
  time.tm_hour = 17;
  time.tm_min = 45;
  time.tm_sec = 2;
  const AttachmentName name = AttachmentNameFor(time, "/p/LORIXs");
  EXPECT_EQ(name.file_name, "LORIX_20240131_174502.EXE");
  EXPECT_EQ(name.path, "/p/LORIXs/LORIX_20240131_174502.EXE");
}

}  // namespace
}  // namespace lorix
