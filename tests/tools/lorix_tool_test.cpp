// Runs the built lorix-tool as its own process, as users and scripts call it, and checks the exit
// status, the messages and the bytes it writes. Expected bytes come from the codec library.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "codec/codec_tables.h"
#include "codec/decoder.h"
#include "codec/encoder.h"
#include "codec/info_text.h"
#include "codec/stream_header.h"
#include "codec/version.h"
#include "codec/wav_header.h"
#include "tests/support/mp3_decode.h"
#include "tests/support/mp3_standard.h"
#include "tests/support/sink_recording.h"

extern char** environ;

namespace lorix {
namespace {

namespace fs = std::filesystem;

// A fresh folder under the system's temporary folder, removed with everything in it.
class ScratchDir {
 public:
  ScratchDir() {
    std::string name = (fs::temp_directory_path() / "lorix-tool-test-XXXXXX").string();
    if (mkdtemp(name.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = name;
  }
  ~ScratchDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

Bytes ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const fs::path& path, ByteSpan bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

struct ToolRun {
  int status = -1;  // exit status; 128 + signal after a crash; -1 when killed as hung
  std::string out;
  std::string err;
};

// Starts lorix-tool with `args` (no shell in between); stdout and stderr go to files that are
// read back afterwards. A run still going after a minute counts as a hang and is killed.
ToolRun RunTool(const std::vector<std::string>& args) {
  std::vector<std::string> texts = {LORIX_TOOL_PATH};
  texts.insert(texts.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& text : texts) argv.push_back(text.data());
  argv.push_back(nullptr);

  const ScratchDir capture;
  const fs::path out_path = capture.path() / "stdout";
  const fs::path err_path = capture.path() / "stderr";
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, out_path.c_str(), O_WRONLY | O_CREAT, 0600);
  posix_spawn_file_actions_addopen(&actions, 2, err_path.c_str(), O_WRONLY | O_CREAT, 0600);
  pid_t pid = 0;
  const int spawn_error = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ToolRun run;
  if (spawn_error != 0) {
    ADD_FAILURE() << "cannot start " << argv[0] << ": error " << spawn_error;
    return run;
  }
  int wait_status = 0;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
  while (waitpid(pid, &wait_status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, &wait_status, 0);
      ADD_FAILURE() << "lorix-tool " << (args.empty() ? "" : args[0]) << " hung";
      return run;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  run.status = WIFEXITED(wait_status) ? WEXITSTATUS(wait_status) : 128 + WTERMSIG(wait_status);
  const Bytes out = ReadFile(out_path);
  const Bytes err = ReadFile(err_path);
  run.out.assign(out.begin(), out.end());
  run.err.assign(err.begin(), err.end());
  return run;
}

Bytes ToBytes(std::string_view text) {
  return Bytes(text.begin(), text.end());
}

Bytes MonoHeader(std::int32_t sample_count, std::int32_t sample_rate) {
  const WavHeader header = BuildMonoWavHeader(sample_count, sample_rate);
  return Bytes(header.begin(), header.end());
}

Bytes Concat(std::initializer_list<ByteSpan> parts) {
  Bytes all;
  for (const ByteSpan part : parts) AppendBytes(all, part);
  return all;
}

Bytes Samples(const Bytes& wav) {
  return wav.size() < kWavHeaderSize ? Bytes{} : Bytes(wav.begin() + kWavHeaderSize, wav.end());
}

// Payload + header, the form the encoder writes.
Bytes MakeStream(const Bytes& payload, std::int32_t sample_count, std::int32_t sample_rate = 11025,
                 std::int32_t info_length = 0) {
  const StreamHeader header =
      BuildStreamHeader(ProgramVersion, static_cast<std::int32_t>(payload.size()), sample_count,
                        sample_rate, kCodecName, info_length);
  return Concat({payload, header.bytes});
}

// A token in its 5-byte form.
Bytes LongToken(std::uint8_t code, std::int32_t skips) {
  Bytes token(5);
  token[0] = static_cast<std::uint8_t>(code << 4 | 15);
  PutInt32(token.data() + 1, skips);
  return token;
}

Bytes CompressLikeRecorder(const Bytes& wav, int compress_level, int mute_level) {
  const WavFormat format = ReadWavHeader(wav);
  return Compress(ByteSpan(wav).first(kWavHeaderSize + format.sample_count), format.sample_count,
                  CodecSettings::FromLevels(compress_level, mute_level), InitCodecTables(),
                  ProgramVersion, InfoTextLength())
      .CompressedStream;
}

Bytes PlayerWav(ByteSpan stream) {
  const StreamHeader header = ReadStreamHeader(stream);
  const ByteSpan block = stream.last(header.PayloadSize() + kStreamHeaderSize);
  Bytes output(kWavHeaderSize + CountPlayerSamples(block, header.SampleCount()));
  std::int32_t written = 0;
  EXPECT_TRUE(PlayerDecode(block, output, written, InitCodecTables()));
  output.resize(kWavHeaderSize + written);
  return output;
}

// A rejected input: status 1 and exactly one non-empty line on stderr.
void ExpectRejected(const ToolRun& run, const std::string& what) {
  EXPECT_EQ(run.status, 1) << what << ": " << run.err;
  EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << what << ": " << run.err;
  EXPECT_TRUE(run.err.size() > 1 && run.err.back() == '\n') << what << ": " << run.err;
}

std::vector<fs::path> FilesUnder(const fs::path& dir) {
  std::vector<fs::path> files;
  if (!fs::exists(dir)) return files;
  for (const auto& entry : fs::recursive_directory_iterator(dir)) {
    if (!entry.is_directory()) files.push_back(entry.path());
  }
  return files;
}

class ToolTest : public ::testing::Test {
 protected:
  fs::path At(const std::string& name) const { return scratch_.path() / name; }
  fs::path Put(const std::string& name, ByteSpan bytes) const {
    WriteFile(At(name), bytes);
    return At(name);
  }
  // The spoken recording; when it is missing the test fails on its size, it is not skipped.
  static Bytes Speech() {
    const fs::path path = fs::path(LORIX_SPEECH_DIR) / "speech_de.wav";
    EXPECT_TRUE(fs::is_regular_file(path)) << path;
    return ReadFile(path);
  }
  // Decodes `input` with the tool and returns the written WAV file.
  Bytes Decode(const fs::path& input, bool player) const {
    std::vector<std::string> args = {"decode"};
    if (player) args.push_back("--player");
    args.insert(args.end(), {"--", input, At("decoded.wav")});
    const ToolRun run = RunTool(args);
    EXPECT_EQ(run.status, 0) << input << (player ? " --player: " : ": ") << run.err;
    return ReadFile(At("decoded.wav"));
  }

  ScratchDir scratch_;
};

TEST(ToolUsage, WrongCallsEndWithStatusTwo) {
  const std::vector<std::vector<std::string>> calls = {
      {},
      {"transcode", "a.wav", "b.lrx"},
      {"encode", "--fast", "a.wav", "b.lrx"},
      {"encode", "--compress-level", "9", "a.wav", "b.lrx"},
      {"encode", "--mute-level=9", "a.wav", "b.lrx"},
      {"encode", "--compress-level=-1", "a.wav", "b.lrx"},
      {"pack", "--mute-level", "x", "a.wav", "b"},
      {"pack", "--compress-level", "9", "a.wav", "b"},
      {"encode", "a.wav"},
      {"decode", "a.lrx"},
      {"decode", "--player=1", "a.lrx", "b.wav"},
      {"pack", "a.lrx"},
      {"unpack"},
      {"unpack", "a.lrx", "--dir"},
      {"info"},
      {"info", "a.lrx", "b.lrx"},
      {"mp3", "a.wav"},
      {"mp3", "--bitrate", "7", "a.wav", "b.mp3"},
      {"mp3", "--bitrate", "20", "a.wav", "b.mp3"},
      {"mp3", "--bitrate", "192", "a.wav", "b.mp3"},
  };
  for (const auto& call : calls) {
    const ToolRun run = RunTool(call);
    const std::string text = call.empty() ? "(none)" : call[0] + " ... (" + run.err + ")";
    EXPECT_EQ(run.status, 2) << text;
    EXPECT_FALSE(run.err.empty()) << text;
    EXPECT_TRUE(run.out.empty()) << text;
  }
}

TEST(ToolUsage, HelpOnEveryCommand) {
  for (const std::string command : {"encode", "decode", "pack", "unpack", "info", "mp3"}) {
    const ToolRun run = RunTool({command, "--help"});
    EXPECT_EQ(run.status, 0) << command;
    EXPECT_EQ(run.out.rfind("lorix-tool " + command, 0), 0u) << command << ": " << run.out;
    EXPECT_TRUE(run.err.empty()) << command;
  }
  const ToolRun run = RunTool({"--help"});
  EXPECT_EQ(run.status, 0);
  for (const std::string command : {"encode", "decode", "pack", "unpack", "info", "mp3"}) {
    EXPECT_NE(run.out.find("lorix-tool " + command), std::string::npos) << command;
  }
}

TEST_F(ToolTest, EncodedSpeechDecodesWithBothDecoders) {
  const Bytes wav = Speech();
  ASSERT_GT(wav.size(), 1000u);
  const WavFormat format = ReadWavHeader(wav);
  const ToolRun run = RunTool({"encode", Put("speech.wav", wav), At("speech.lrx")});
  ASSERT_EQ(run.status, 0) << run.err;
  const Bytes stream = ReadFile(At("speech.lrx"));
  ASSERT_GT(stream.size(), static_cast<std::size_t>(kStreamHeaderSize));
  const StreamHeader header = ReadStreamHeader(stream);
  EXPECT_EQ(header.Magic(), "LORIX   ");
  EXPECT_EQ(header.CodecName(), "4BitLog ");
  EXPECT_EQ(header.PayloadSize(), static_cast<std::int32_t>(stream.size()) - kStreamHeaderSize);
  EXPECT_EQ(header.SampleCount(), format.sample_count);
  EXPECT_EQ(header.SampleRate(), 11025);
  EXPECT_EQ(header.InfoLength(), InfoTextLength());
  EXPECT_EQ(header.HeaderLength(), kStreamHeaderSize);

  for (const bool player : {false, true}) {
    const Bytes decoded = Decode(At("speech.lrx"), player);
    ASSERT_EQ(decoded.size(), kWavHeaderSize + static_cast<std::size_t>(header.SampleCount()));
    const WavFormat out = ReadWavHeader(decoded);
    EXPECT_EQ(out.sample_count, header.SampleCount());
    EXPECT_EQ(out.sample_rate, header.SampleRate());
    EXPECT_EQ(out.channels, 1);
    EXPECT_EQ(out.bits_per_sample, 8);
    EXPECT_EQ(decoded, player ? PlayerWav(stream) : Decompress(stream, InitCodecTables()).PcmStream)
        << (player ? "player" : "recorder");
  }
}

TEST_F(ToolTest, EncodeMatchesCompressAndReadsOnlyTheDeclaredData) {
  const Bytes wav = Speech();
  ASSERT_GT(wav.size(), 6000u);
  const fs::path in = Put("speech.wav", wav);
  const std::vector<std::pair<int, int>> levels = {{3, 4}, {0, 0}, {8, 8}, {5, 1}, {1, 7}};
  std::vector<Bytes> streams;
  for (const auto& [compress, mute] : levels) {
    std::vector<std::string> args = {"encode", in, At("out.lrx")};
    if (compress != 3 || mute != 4) {  // the first pair runs with the defaults
      args.insert(args.begin() + 1, {"--compress-level", std::to_string(compress),
                                     "--mute-level=" + std::to_string(mute)});
    }
    ASSERT_EQ(RunTool(args).status, 0);
    streams.push_back(ReadFile(At("out.lrx")));
    EXPECT_EQ(streams.back(), CompressLikeRecorder(wav, compress, mute)) << compress << "/" << mute;
  }
  EXPECT_NE(streams[1], streams[2]);  // the levels reach the encoder

  // Bytes behind the declared data are cut off; a shorter declared size ends the recording.
  Bytes trailing = wav;
  trailing.insert(trailing.end(), 777, 0xFF);
  ASSERT_EQ(RunTool({"encode", Put("trailing.wav", trailing), At("trailing.lrx")}).status, 0);
  EXPECT_EQ(ReadFile(At("trailing.lrx")), streams[0]);
  Bytes shorter = wav;
  PutInt32(shorter.data() + 40, 5000);
  ASSERT_EQ(RunTool({"encode", Put("shorter.wav", shorter), At("shorter.lrx")}).status, 0);
  const Bytes short_stream = ReadFile(At("shorter.lrx"));
  EXPECT_EQ(short_stream, CompressLikeRecorder(shorter, 3, 4));
  EXPECT_EQ(ReadStreamHeader(short_stream).SampleCount(), 5000);
}

TEST_F(ToolTest, EncodeRefusesWhatTheRecorderCannotCompress) {
  const Bytes data(2000, 140);
  Bytes short_header = MonoHeader(0, 11025);
  short_header.pop_back();
  const std::vector<std::pair<std::string, Bytes>> inputs = {
      {"16bit", Concat({BuildWavHeader(2000, 1, 2, 16, 11025, 22050), data})},
      {"stereo", Concat({BuildWavHeader(2000, 2, 2, 8, 11025, 22050), data})},
      {"short", short_header},
  };
  for (const auto& [name, bytes] : inputs) {
    ExpectRejected(RunTool({"encode", Put(name + ".wav", bytes), At(name + ".lrx")}), name);
    EXPECT_FALSE(fs::exists(At(name + ".lrx"))) << name;
    ExpectRejected(RunTool({"mp3", At(name + ".wav"), At(name + ".mp3")}), name + " mp3");
    EXPECT_FALSE(fs::exists(At(name + ".mp3"))) << name;
  }
  ExpectRejected(RunTool({"encode", At("missing.wav"), At("missing.lrx")}), "missing input");
  const fs::path good = Put("good.wav", Concat({BuildMonoWavHeader(2000, 11025), data}));
  ExpectRejected(RunTool({"encode", good, At("no/such/folder/out.lrx")}), "unwritable output");

  // A data size past the end of the file, or the unknown size of a streaming writer, is taken as
  // far as the file goes, as the recorder loads it.
  ASSERT_EQ(RunTool({"encode", good, At("good.lrx")}).status, 0);
  Bytes unknown_size = Concat({BuildMonoWavHeader(100, 11025), data});
  PutInt32(unknown_size.data() + 40, -1);
  for (const auto& [name, bytes] :
       {std::pair{"data_past_end", Concat({BuildMonoWavHeader(2001, 11025), data})},
        std::pair{"unknown_size", unknown_size}}) {
    const ToolRun run = RunTool({"encode", Put(name + std::string(".wav"), bytes), At("cut.lrx")});
    EXPECT_EQ(run.status, 0) << name << ": " << run.err;
    EXPECT_EQ(ReadFile(At("cut.lrx")), ReadFile(At("good.lrx"))) << name;
  }
}

TEST_F(ToolTest, DecodersDifferInStartLevelAndSampleLimit) {
  const Bytes worked = MakeStream({0x80, 0xB2, 0x91}, 6);
  const Bytes levels = {128, 129, 133, 134, 132, 129};
  EXPECT_EQ(Samples(Decode(Put("worked.lrx", worked), false)), levels);
  EXPECT_EQ(Samples(Decode(At("worked.lrx"), true)), levels);
  // The recorder starts from level 0, the player from the zero line 128.
  EXPECT_EQ(Samples(Decode(Put("rise.lrx", MakeStream({0x82}, 3)), false)), Bytes({28, 100, 128}));
  EXPECT_EQ(Samples(Decode(At("rise.lrx"), true)), Bytes({128, 128, 128}));
  // Only the player stops at the header's sample count.
  EXPECT_EQ(Samples(Decode(Put("limit.lrx", MakeStream({0x80, 0xB2, 0x91}, 4)), false)), levels);
  EXPECT_EQ(Samples(Decode(At("limit.lrx"), true)), Bytes(levels.begin(), levels.begin() + 4));
  // An empty payload gives a bare header; any prefix in front of a stream is ignored.
  const Bytes empty = Decode(Put("empty.lrx", MakeStream({}, 0)), true);
  EXPECT_EQ(empty, MonoHeader(0, 11025));
  const Bytes attached = Concat({ToBytes("MZ player bytes"), ToBytes("abc"), worked});
  EXPECT_EQ(Samples(Decode(Put("-attached", attached), false)), levels);
  EXPECT_EQ(Samples(Decode(At("-attached"), true)), levels);
}

TEST_F(ToolTest, PackBuildsAttachmentsAndReplacesThePlayer) {
  const Bytes wav = Speech();
  ASSERT_GT(wav.size(), 1000u);
  const Bytes player_a = ToBytes("#!/bin/sh\n# player A\nexit 0\n");
  const Bytes player_b = Concat({ToBytes("\x7F"
                                         "ELF player B"),
                                 Bytes(300, 0x00)});
  const fs::path a = Put("player_a", player_a);
  const fs::path b = Put("player_b", player_b);
  const fs::path in = Put("speech.wav", wav);
  const Bytes info = ToBytes(InfoText());

  ToolRun run = RunTool({"pack", "--player-exe", a, "--compress-level", "2", "--mute-level", "6",
                         in, At("first.exe")});
  ASSERT_EQ(run.status, 0) << run.err;
  const Bytes stream = CompressLikeRecorder(wav, 2, 6);
  EXPECT_EQ(ReadFile(At("first.exe")), Concat({player_a, info, stream}));
  EXPECT_NE(fs::status(At("first.exe")).permissions() & fs::perms::owner_exec, fs::perms::none);

  // Re-packing an attachment keeps its stream and puts the new player and text in front.
  run = RunTool({"pack", "--player-exe", b, At("first.exe"), At("second.exe")});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ReadFile(At("second.exe")), Concat({player_b, info, stream}));
  EXPECT_NE(fs::status(At("second.exe")).permissions() & fs::perms::owner_exec, fs::perms::none);
  EXPECT_EQ(Decode(At("second.exe"), false), Decompress(stream, InitCodecTables()).PcmStream);

  // A .lrx file is packed as it is; a WAV file is recognised by its content, too.
  const fs::path lrx = Put("speech.lrx", stream);
  ASSERT_EQ(RunTool({"pack", "--player-exe", b, lrx, At("third.exe")}).status, 0);
  EXPECT_EQ(ReadFile(At("third.exe")), Concat({player_b, info, stream}));
  ASSERT_EQ(RunTool({"pack", "--player-exe", a, Put("speech.raw", wav), At("fourth")}).status, 0);
  EXPECT_EQ(ReadFile(At("fourth")), Concat({player_a, info, CompressLikeRecorder(wav, 3, 4)}));

  const Bytes wide = Concat({BuildWavHeader(100, 1, 2, 16, 11025, 22050), Bytes(100, 0)});
  ExpectRejected(RunTool({"pack", "--player-exe", a, Put("wide.wav", wide), At("x")}), "16 bit");
  ExpectRejected(RunTool({"pack", "--player-exe", At("none"), lrx, At("x")}), "no player");
  EXPECT_FALSE(fs::exists(At("x")));
}

TEST_F(ToolTest, UnpackWritesWhatThePlayerWrites) {
  const Bytes wav = Speech();
  ASSERT_GT(wav.size(), 1000u);
  const Bytes stream = CompressLikeRecorder(wav, 3, 4);
  const Bytes attachment = Concat({ToBytes("player"), ToBytes(InfoText()), stream});
  ToolRun run = RunTool({"unpack", "--dir", At("full"), Put("speech.exe", attachment)});
  ASSERT_EQ(run.status, 0) << run.err;
  const fs::path temps = At("full") / "TEMPs";
  EXPECT_EQ(ReadFile(temps / "TempWave.wav"), PlayerWav(stream));
  EXPECT_EQ(ReadFile(temps / "TempInfo.txt"), ToBytes(InfoText()));
  EXPECT_NE(run.out.find("TempWave.wav"), std::string::npos) << run.out;

  // The encoder's header names an information text the .lrx file does not hold.
  run = RunTool({"unpack", "--dir", At("lrx"), Put("speech.lrx", stream)});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ReadFile(At("lrx") / "TEMPs" / "TempWave.wav"), PlayerWav(stream));
  EXPECT_FALSE(fs::exists(At("lrx") / "TEMPs" / "TempInfo.txt"));

  // A text that starts at the file's first byte is taken.
  const Bytes at_zero = Concat({ToBytes("abc"), MakeStream({0x80, 0xB2, 0x91}, 6, 11025, 3)});
  ASSERT_EQ(RunTool({"unpack", "--dir", At("zero"), Put("zero.lrx", at_zero)}).status, 0);
  EXPECT_EQ(ReadFile(At("zero") / "TEMPs" / "TempInfo.txt"), ToBytes("abc"));
  EXPECT_EQ(ReadFile(At("zero") / "TEMPs" / "TempWave.wav").size(), 50u);

  ExpectRejected(RunTool({"unpack", "--dir", Put("plain_file", {}), At("zero.lrx")}),
                 "folder is a file");
}

TEST_F(ToolTest, PlayerChecksMagicAndSampleRate) {
  const Bytes payload = {0x80, 0xB2, 0x91};
  const auto with_magic = [&](std::string_view magic) {
    Bytes stream = MakeStream(payload, 6);
    PutText(stream.data() + payload.size(), magic);
    return stream;
  };
  const std::vector<std::tuple<std::string, Bytes, bool>> cases = {
      {"lower_magic", with_magic("lorix   "), false},
      {"zero_in_magic", with_magic(std::string_view("LOR\0IX   ", 9)), true},
      {"rate_999", MakeStream(payload, 6, 999), false},
      {"rate_1000", MakeStream(payload, 6, 1000), true},
      {"rate_200000", MakeStream(payload, 6, 200000), true},
      {"rate_200001", MakeStream(payload, 6, 200001), false},
  };
  for (const auto& [name, bytes, accepted] : cases) {
    const fs::path in = Put(name + ".lrx", bytes);
    const ToolRun run = RunTool({"unpack", "--dir", At(name), in});
    const fs::path wave = At(name) / "TEMPs" / "TempWave.wav";
    // decode --player takes and refuses the same files as the player.
    const ToolRun decoded = RunTool({"decode", "--player", in, At(name + ".wav")});
    if (accepted) {
      EXPECT_EQ(run.status, 0) << name << ": " << run.err;
      EXPECT_EQ(ReadFile(wave).size(), 50u) << name;
      EXPECT_EQ(decoded.status, 0) << name << ": " << decoded.err;
      EXPECT_EQ(ReadFile(At(name + ".wav")), ReadFile(wave)) << name;
    } else {
      ExpectRejected(run, name);
      EXPECT_FALSE(fs::exists(wave)) << name;
      ExpectRejected(decoded, name);
      EXPECT_FALSE(fs::exists(At(name + ".wav"))) << name;
    }
  }
  const ToolRun lower = RunTool({"decode", "--player", At("lower_magic.lrx"), At("out.wav")});
  EXPECT_NE(lower.err.find("\"  hat nicht das LORIX-Format !!"), std::string::npos) << lower.err;
}

TEST_F(ToolTest, InfoPrintsHeaderFields) {
  const Bytes stream = MakeStream({0x80, 0xB2, 0x91}, 6, 8000, 3);
  std::string version = ProgramVersion;
  version.resize(8, ' ');
  const std::string expected = "magic: LORIX   \nversion: " + version +
                               "\npayload_size: 3\nsample_count: 6\nsample_rate: 8000\n"
                               "codec: 4BitLog \ninfo_length: 3\nheader_length: 44\n";
  for (const Bytes& bytes : {stream, Concat({ToBytes("player+abc"), stream})}) {
    const ToolRun run = RunTool({"info", Put("in.lrx", bytes)});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, expected);
  }
  const Bytes wav = Concat({BuildMonoWavHeader(1234, 22050), Bytes(1234, 128)});
  const ToolRun run = RunTool({"info", Put("in.wav", wav)});
  EXPECT_EQ(run.status, 0) << run.err;
  for (const std::string line : {"riff_id: RIFF\n", "channels: 1\n", "sample_rate: 22050\n",
                                 "bits_per_sample: 8\n", "data_size: 1234\n"}) {
    EXPECT_NE(run.out.find(line), std::string::npos) << line << " in\n" << run.out;
  }
}

// Runs `input` through `commands` (names of the argument lists below); each must reject it with
// one line on stderr and leave the output folder without files.
void ExpectEveryCommandRejects(const fs::path& input, const fs::path& player,
                               const fs::path& out_dir, const std::vector<std::string>& commands,
                               const std::string& name) {
  for (const std::string& command : commands) {
    fs::create_directories(out_dir);
    std::vector<std::string> args;
    if (command == "decode") args = {"decode", input, out_dir / "out.wav"};
    if (command == "player") args = {"decode", "--player", input, out_dir / "out.wav"};
    if (command == "unpack") args = {"unpack", "--dir", out_dir, input};
    if (command == "info") args = {"info", input};
    if (command == "pack") args = {"pack", "--player-exe", player, input, out_dir / "out.exe"};
    if (command == "mp3") args = {"mp3", input, out_dir / "out.mp3"};
    ExpectRejected(RunTool(args), name + " / " + command);
    EXPECT_TRUE(FilesUnder(out_dir).empty()) << name << " / " << command;
    fs::remove_all(out_dir);
  }
}

TEST_F(ToolTest, MalformedFilesAreRejectedByEveryCommand) {
  const Bytes good = MakeStream({0x80, 0xB2, 0x91}, 6);
  const auto patched = [&good](int offset, std::int32_t value) {
    Bytes stream = good;
    PutInt32(stream.data() + stream.size() - kStreamHeaderSize + offset, value);
    return stream;
  };
  constexpr int kPayload = 16, kCount = 20, kInfo = 36;
  Bytes attachment = Concat({ToBytes("player"), ToBytes(InfoText()), good});
  PutInt32(attachment.data() + attachment.size() - kStreamHeaderSize + kPayload,
           static_cast<std::int32_t>(attachment.size()));
  const Bytes speech = Speech();
  ASSERT_GT(speech.size(), 1000u);
  Bytes speech_lrx = CompressLikeRecorder(speech, 3, 4);
  speech_lrx.erase(speech_lrx.begin());

  const std::vector<std::pair<std::string, Bytes>> corpus = {
      {"empty", {}},
      {"one_byte", {0x80}},
      {"header_without_first_byte", Bytes(good.end() - 43, good.end())},
      {"stream_cut_to_43", Bytes(good.begin(), good.begin() + 43)},
      {"payload_minus_one", patched(kPayload, -1)},
      {"payload_minus_44", patched(kPayload, -44)},
      {"payload_min", patched(kPayload, INT32_MIN)},
      {"payload_max", patched(kPayload, INT32_MAX)},
      {"payload_one_past_file", patched(kPayload, 4)},
      {"sample_count_minus_one", patched(kCount, -1)},
      {"sample_count_min", patched(kCount, INT32_MIN)},
      {"info_length_minus_one", patched(kInfo, -1)},
      {"info_length_min", patched(kInfo, INT32_MIN)},
      {"attachment_payload_past_file", attachment},
      {"lrx_missing_first_byte", speech_lrx},
      {"all_ff_44", Bytes(44, 0xFF)},
      {"all_ff_1000", Bytes(1000, 0xFF)},
      {"text", Bytes(300, 'a')},
  };
  const fs::path player = Put("player", ToBytes("#!/bin/sh\n"));
  const std::vector<std::string> all = {"decode", "player", "unpack", "info", "pack", "mp3"};
  for (const auto& [name, bytes] : corpus) {
    ExpectEveryCommandRejects(Put(name + ".lrx", bytes), player, At("out"), all, name);
  }
  ExpectEveryCommandRejects(At("does_not_exist.lrx"), player, At("out"), all, "missing");
  fs::create_directories(At("folder.lrx"));
  ExpectEveryCommandRejects(At("folder.lrx"), player, At("out"), all, "folder");
}

TEST_F(ToolTest, Mp3OfTheMessageDecodesToItWithItsTitleAndBitRate) {
  const Bytes wav = Speech();
  ASSERT_GT(wav.size(), 10000u);
  const Bytes lrx = CompressLikeRecorder(wav, 3, 4);
  // The recording itself, and a compressed message with what the recorder decodes it to.
  const std::vector<std::pair<fs::path, Bytes>> inputs = {
      {Put("speech.wav", wav), Samples(wav)},
      {Put("speech.lrx", lrx), Samples(Decompress(lrx, InitCodecTables()).PcmStream)},
  };
  constexpr std::time_t kChanged = 1700000000;
  std::tm changed{};
  localtime_r(&kChanged, &changed);
  char title[64];
  std::strftime(title, sizeof title, "LORIX-Sprachanhang %Y-%m-%d %H:%M", &changed);

  for (const auto& [input, source] : inputs) {
    const timespec times[2] = {{kChanged, 0}, {kChanged, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, input.c_str(), times, 0), 0);
    const ToolRun run = RunTool({"mp3", input, At("out.mp3")});
    ASSERT_EQ(run.status, 0) << input << ": " << run.err;
    const Bytes mp3 = ReadFile(At("out.mp3"));
    const std::string text(mp3.begin(), mp3.end());
    EXPECT_EQ(text.rfind("ID3", 0), 0u) << input;
    EXPECT_NE(text.find(title), std::string::npos) << input;
    // A standard file of 3000 bytes per second of sound, plus the tag, the info frame and the
    // frames that carry the encoder's delay and padding.
    const double seconds = static_cast<double>(source.size()) / 11025;
    const std::int64_t frames = testing::CountStandardFrames(mp3, 24);
    EXPECT_NEAR(frames * 576.0 / 16000, seconds, 0.15) << input;
    EXPECT_LE(static_cast<double>(mp3.size()), 3000 * seconds + 1000) << input;
    testing::ExpectPlayersTakeMp3(At("out.mp3"), 24);

    const Bytes decoded = testing::DecodeMp3(At("out.mp3"), At("out.wav"));
    EXPECT_NEAR(static_cast<double>(decoded.size()) / 11025, seconds, 0.1) << input;
    const double correlation = testing::DecodedCorrelation(source, decoded);
    EXPECT_GE(correlation, 0.8) << input;
    std::cout << input.filename() << ": " << mp3.size() / seconds << " bytes/s, correlation "
              << correlation << ", " << static_cast<double>(decoded.size()) / 11025 - seconds
              << " s longer\n";
  }
}

// Every rate the player accepts becomes the one standard rate, at every bit rate MPEG-2 has:
// the recording is resampled, and LAME's buffer must hold what a call writes at 16000 Hz, many
// times the samples handed over when the recording's rate is low.
TEST_F(ToolTest, Mp3OfEveryRecordingRateIsStandardAtEveryBitRate) {
  const Bytes speech = Samples(Speech());
  ASSERT_GT(speech.size(), 10000u);
  struct Case {
    std::int32_t rate;
    int kbit;
    bool compressed;  // the message as a .lrx file, else the WAV file
  };
  for (const Case& c : {Case{2000, 24, true}, Case{2000, 160, false}, Case{5512, 64, false},
                        Case{1000, 160, false}, Case{1000, 8, true}, Case{48000, 8, false}}) {
    const std::string name = std::to_string(c.rate) + "_" + std::to_string(c.kbit);
    // The spoken samples taken as a recording at this rate: slower or faster, but speech.
    const Bytes wav =
        Concat({MonoHeader(static_cast<std::int32_t>(speech.size()), c.rate), speech});
    Bytes source = speech;
    fs::path input = Put(name + ".wav", wav);
    if (c.compressed) {
      const Bytes lrx = CompressLikeRecorder(wav, 3, 4);
      input = Put(name + ".lrx", lrx);
      source = Samples(Decompress(lrx, InitCodecTables()).PcmStream);
    }
    const ToolRun run =
        RunTool({"mp3", "--bitrate", std::to_string(c.kbit), input, At(name + ".mp3")});
    ASSERT_EQ(run.status, 0) << name << ": " << run.err;
    const Bytes mp3 = ReadFile(At(name + ".mp3"));
    const double seconds = static_cast<double>(source.size()) / c.rate;
    const std::int64_t frames = testing::CountStandardFrames(mp3, c.kbit);
    EXPECT_NEAR(frames * 576.0 / 16000, seconds, 0.15) << name;
    testing::ExpectPlayersTakeMp3(At(name + ".mp3"), c.kbit);
    // 8 kbit/s frames are too small for the info frame, so decoders do not cut the encoder's
    // delay there; the other files are the recording.
    if (c.kbit == 8) continue;
    const Bytes decoded = testing::DecodeMp3(At(name + ".mp3"), At(name + "_decoded.wav"), c.rate);
    EXPECT_NEAR(static_cast<double>(decoded.size()) / c.rate, seconds, 0.1) << name;
    EXPECT_GE(testing::DecodedCorrelation(source, decoded), 0.8) << name;
  }
}

TEST_F(ToolTest, StreamsThatWouldDecodeToGigabytesAreRejected) {
  const Bytes three_long =
      Concat({LongToken(15, 1 << 27), LongToken(0, 1 << 27), LongToken(15, 1 << 27)});
  const std::vector<std::pair<std::string, Bytes>> bombs = {
      {"token_2p30_count_max", MakeStream(LongToken(8, 1 << 30), INT32_MAX)},
      {"token_2p30_count_matching", MakeStream(LongToken(9, 1 << 30), (1 << 30) + 1)},
      {"token_max_count_max", MakeStream(LongToken(12, INT32_MAX - 1), INT32_MAX)},
      {"three_tokens_2p27", MakeStream(three_long, INT32_MAX)},
  };
  const fs::path player = Put("player", ToBytes("#!/bin/sh\n"));
  for (const auto& [name, bytes] : bombs) {
    ExpectEveryCommandRejects(Put(name + ".lrx", bytes), player, At("out"),
                              {"decode", "player", "unpack"}, name);
  }
}

TEST_F(ToolTest, InputsOfTwoGigabytesAreRefusedWithoutACrash) {
  // A sparse file of 2 GB whose header matches its size: payload size + 44 exceeds 32 bits.
  const fs::path big = At("big.lrx");
  const auto size = std::int64_t{1} << 31;
  const StreamHeader header = BuildStreamHeader(
      "1.5", static_cast<std::int32_t>(size - kStreamHeaderSize), 6, 11025, kCodecName, 0);
  {
    std::ofstream file(big, std::ios::binary);
    file.seekp(size - kStreamHeaderSize);
    file.write(reinterpret_cast<const char*>(header.bytes.data()), kStreamHeaderSize);
  }
  ASSERT_EQ(fs::file_size(big), static_cast<std::uintmax_t>(size));
  const fs::path player = Put("player", ToBytes("#!/bin/sh\n"));
  ExpectEveryCommandRejects(big, player, At("out"), {"decode", "player", "unpack", "info", "pack"},
                            "2 GB");
  fs::remove(big);
}

}  // namespace
}  // namespace lorix
