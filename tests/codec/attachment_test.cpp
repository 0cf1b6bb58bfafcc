#include "codec_test_util.h"

namespace lorix::testing {
namespace {

namespace fs = std::filesystem;
const Bytes kPlayer = {'P', 'L', 'A', 'Y', 'E', 'R', 0x00, 0x7F, 0xFF};
const Bytes kText = {'a', 'b', 'c'};
const Bytes kWorked = {0x80, 0xB2, 0x91};

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& p : parts) AppendBytes(all, p);
  return all;
}

// Extractions into a fresh temporary folder, counting the playbacks they close.
struct Extraction {
  TempDir dir;
  PlayerExtraction state;
  int closed = 0;
  std::vector<std::int32_t> progress;
  fs::path file = dir.path() / "LORIX_test.EXE";

  ExtractResult Run(const Bytes& bytes, const fs::path& own = "/opt/lorix/LorixPlayer.exe") {
    dir.Write(file.filename(), bytes);
    ExtractOptions options{dir.path(), own, [this] { ++closed; },
                           [this](std::int32_t n, std::int32_t) { progress.push_back(n); }};
    return ExtractPayload(file, state, T(), options);
  }
  fs::path Temp(std::string_view name) const { return dir.path() / kTempFolder / name; }
};

TEST(Attachment, BuildAndWrite) {
  const Bytes stream = Stream(kWorked, 6, 11025, 3);
  const Bytes expected = Concat({kPlayer, kText, stream});
  EXPECT_EQ(BuildAttachment(kPlayer, "abc", stream, 3), expected);
  // From a loaded attachment only payload and header are taken.
  EXPECT_EQ(BuildAttachment(kPlayer, "abc", Concat({{'o', 'l', 'd'}, kText, stream}), 3), expected);
  EXPECT_THROW(BuildAttachment(kPlayer, "abc", stream, 4), CodecError);
  EXPECT_THROW(BuildAttachment(kPlayer, "abc", stream, -1), CodecError);
  EXPECT_THROW(BuildAttachment(kPlayer, "abc", Bytes(43, 0), 0), CodecError);
  // Written executable, replacing the old file, with no temporary file left behind.
  TempDir dir;
  const fs::path target = dir.Write("LORIX_1.EXE", Bytes(5000, 'o'));
  WriteAttachment(target, kPlayer, "abc", stream, 3);
  EXPECT_EQ(ReadFile(target), expected);
  EXPECT_NE(fs::status(target).permissions() & fs::perms::owner_exec, fs::perms::none);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
  EXPECT_THROW(WriteAttachment(dir.path() / "no" / "x.EXE", kPlayer, "", stream, 3), CodecError);
}

TEST(Attachment, ExtractWritesWaveAndInformationText) {
  Extraction x;
  const Bytes file = Concat({kPlayer, kText, Stream(kWorked, 6, 8000, 3)});
  const ExtractResult r = x.Run(file);
  ASSERT_EQ(r.outcome, ExtractOutcome::kExtracted) << r.message;
  EXPECT_EQ(r.wav_path, x.Temp(kTempWaveName));
  EXPECT_EQ(ReadFile(r.wav_path), Pcm({128, 129, 133, 134, 132, 129}, 8000));
  EXPECT_EQ(ReadFile(x.Temp(kTempInfoName)), kText);
  EXPECT_EQ(x.state.InfoFile, x.Temp(kTempInfoName));
  EXPECT_EQ(x.state.SourceFileSize, static_cast<std::int64_t>(file.size()));
  EXPECT_EQ(
      std::tuple(x.state.PayloadSize, x.state.SampleCount, x.state.InfoLength, x.state.SampleRate),
      std::tuple(3, 6, 3, 8000));
  EXPECT_EQ(x.closed, 1);
  EXPECT_EQ(x.progress, (std::vector<std::int32_t>{0, 3}));
  // A header count below the tokens' total clips the recording.
  ASSERT_EQ(x.Run(Stream(kWorked, 4)).outcome, ExtractOutcome::kExtracted);
  EXPECT_EQ(ReadFile(x.Temp(kTempWaveName)), Pcm({128, 129, 133, 134}));
  EXPECT_EQ(x.state.SampleCount, 4);
  // An information text starting at offset 0 is taken; one in front of the file is skipped.
  fs::remove(x.Temp(kTempInfoName));
  ASSERT_EQ(x.Run(Concat({kText, Stream(kWorked, 6, 11025, 3)})).outcome,
            ExtractOutcome::kExtracted);
  EXPECT_EQ(ReadFile(x.Temp(kTempInfoName)), kText);
  fs::remove(x.Temp(kTempInfoName));
  ASSERT_EQ(x.Run(Stream(kWorked, 6, 11025, 200)).outcome, ExtractOutcome::kExtracted);
  EXPECT_FALSE(fs::exists(x.Temp(kTempInfoName)));
  EXPECT_TRUE(x.state.InfoFile.empty());
  EXPECT_EQ(ReadFile(x.Temp(kTempWaveName)).size(), 50u);
}

TEST(Attachment, SampleRateLimits) {
  for (const std::int32_t rate : {999, 1000, 200000, 200001}) {
    Extraction x;
    const ExtractResult r = x.Run(Stream(kWorked, 6, rate, 0));
    const bool accepted = rate == 1000 || rate == 200000;
    EXPECT_EQ(r.outcome, accepted ? ExtractOutcome::kExtracted : ExtractOutcome::kWrongFormat);
    EXPECT_EQ(r.message, accepted ? "" : WrongFormatMessage(x.file));
    EXPECT_EQ(fs::exists(x.Temp(kTempWaveName)), accepted) << rate;
    // A refused rate is refused before anything is closed or written.
    EXPECT_EQ(x.state.SampleRate, accepted ? rate : 11025);
    EXPECT_EQ(x.closed, accepted ? 1 : 0);
    EXPECT_EQ(fs::exists(x.dir.path() / kTempFolder), accepted);
  }
}

TEST(Attachment, WrongMagicLeavesThePreviousStateAlone) {
  Bytes lower = Stream(kWorked, 6, 11025, 0);
  std::copy_n("lorix   ", 8, lower.end() - kStreamHeaderSize);
  for (const Bytes& file : {lower, kPlayer, Bytes(44, 0), Concat({kPlayer, Bytes(100, ' ')})}) {
    Extraction x;
    x.state.InfoFile = "previous.txt";
    const ExtractResult r = x.Run(file);
    EXPECT_EQ(r.outcome, ExtractOutcome::kWrongFormat);
    EXPECT_EQ(r.message, WrongFormatMessage(x.file));
    EXPECT_EQ(std::tuple(x.state.InfoFile, x.state.SampleRate, x.closed),
              std::tuple("previous.txt", 11025, 0));
    EXPECT_FALSE(fs::exists(x.dir.path() / kTempFolder));
    EXPECT_TRUE(x.Run(file, x.file).message.empty()) << "reported for the own executable";
  }
}

TEST(Attachment, ImpossibleHeadersAndBombsAreRejected) {
  for (const Bytes& bad : {With(16, -1), With(16, 4), With(20, -1), With(36, -1)}) {
    Extraction x;
    EXPECT_EQ(x.Run(bad).outcome, ExtractOutcome::kWrongFormat);
    EXPECT_FALSE(fs::exists(x.Temp(kTempWaveName)));
  }
  Extraction bomb;
  const ExtractResult r = bomb.Run(Stream({0x8F, 0xFE, 0xFF, 0xFF, 0x7F}, 0x7FFFFFFF));
  EXPECT_EQ(r.outcome, ExtractOutcome::kFailed);
  EXPECT_FALSE(r.message.empty());
  EXPECT_FALSE(fs::exists(bomb.Temp(kTempWaveName)));
  PlayerExtraction state;
  EXPECT_EQ(ExtractPayload(bomb.dir.path() / "gone.EXE", state, T(), {}).outcome,
            ExtractOutcome::kFailed);
}

TEST(Attachment, ATempFolderSomeoneElseMayWriteIsNeverWrittenThrough) {
  Extraction x;
  const fs::path victim = x.dir.path() / "victim";
  fs::create_directory(victim);
  ASSERT_EQ(symlink(victim.c_str(), (x.dir.path() / kTempFolder).c_str()), 0);
  const std::string folder = "Der Ordner \"" + (x.dir.path() / kTempFolder).string() + "\"";
  const Bytes file = Concat({kPlayer, kText, Stream(kWorked, 6, 8000, 3)});
  EXPECT_EQ(x.Run(file).message, folder +
                                     " kann nicht benutzt werden: ist eine symbolische "
                                     "Verknüpfung");
  EXPECT_TRUE(fs::is_empty(victim));
  fs::remove(x.dir.path() / kTempFolder);
  fs::create_directory(x.dir.path() / kTempFolder);
  fs::permissions(x.dir.path() / kTempFolder, fs::perms::all);
  EXPECT_EQ(x.Run(file).message, folder +
                                     " kann nicht benutzt werden: gehört einem anderen "
                                     "Benutzer oder andere dürfen darin schreiben");
  EXPECT_TRUE(fs::is_empty(x.dir.path() / kTempFolder));
}

TEST(Attachment, WrongFormatMessageAndOwnExecutable) {
  EXPECT_EQ(WrongFormatMessage("/home/u/Post/Nachricht 1.EXE"),
            "Die Datei  \"/home/u/Post/Nachricht 1.EXE\"  hat nicht das LORIX-Format !!");
  EXPECT_FALSE(ShouldReportWrongFormat("/opt/lorix/LorixPlayer.exe", "/opt/lorix/LorixPlayer.exe"));
  EXPECT_TRUE(ShouldReportWrongFormat("/opt/lorix/lorixplayer.exe", "/opt/lorix/LorixPlayer.exe"));
  EXPECT_TRUE(ShouldReportWrongFormat("/tmp/other.exe", "/opt/lorix/LorixPlayer.exe"));
}

}  // namespace
}  // namespace lorix::testing
