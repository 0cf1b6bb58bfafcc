#include "tools/tool_commands.h"

#include <sys/stat.h>

#include <ctime>
#include <filesystem>
#include <ostream>

#include "codec/attachment.h"
#include "codec/codec_error.h"
#include "codec/decoder.h"
#include "codec/encoder.h"
#include "codec/file_io.h"
#include "codec/info_text.h"
#include "codec/install_layout.h"
#include "codec/sound_file_type.h"
#include "codec/stream_header.h"
#include "codec/version.h"
#include "codec/wav_file.h"
#include "mp3/mp3_encoder.h"
#include "tools/command_line.h"

namespace lorix::tool {
namespace {

namespace fs = std::filesystem;

constexpr int kDefaultCompressLevel = 3;
constexpr int kDefaultMuteLevel = 4;

const char* const kEncodeHelp =
    "lorix-tool encode [--compress-level N] [--mute-level M] IN.wav OUT.lrx\n"
    "  Komprimiert eine 8-Bit-Mono-WAV-Datei in eine LRX-Datei (Aufnahmedaten + 44-Byte-Kopf).\n"
    "  --compress-level N  Kompressionsstufe 0..8 (Vorgabe 3)\n"
    "  --mute-level M      Stille-Stufe 0..8 (Vorgabe 4)\n";
const char* const kDecodeHelp =
    "lorix-tool decode [--player] IN OUT.wav\n"
    "  Dekomprimiert eine LRX-Datei, einen LORIX-Anhang oder jede Datei, die auf einen\n"
    "  LORIX-Datenstrom endet, in eine WAV-Datei.\n"
    "  --player  wie das Abspielprogramm dekodieren (Startpegel 128, Sample-Anzahl des Kopfes)\n";
const char* const kPackHelp =
    "lorix-tool pack [--player-exe FILE] [--compress-level N] [--mute-level M] IN OUT\n"
    "  Baut einen LORIX-Anhang: Abspielprogramm + Infotext + Aufnahmedaten + Kopf.\n"
    "  IN ist eine 8-Bit-Mono-WAV-Datei (wird erst komprimiert), eine LRX-Datei oder ein Anhang.\n"
    "  --player-exe FILE   das Abspielprogramm (Vorgabe: das Windows-Programm LorixPlayer.exe\n"
    "                      neben lorix-tool, installiert in ../lib/lorix; für Linux-Empfänger:\n"
    "                      lorix-player)\n"
    "  --compress-level N  Kompressionsstufe 0..8 (Vorgabe 3)\n"
    "  --mute-level M      Stille-Stufe 0..8 (Vorgabe 4)\n";
const char* const kUnpackHelp =
    "lorix-tool unpack [--dir DIR] IN\n"
    "  Entpackt wie das Abspielprogramm: schreibt DIR/TEMPs/TempWave.wav und, wenn ein Infotext\n"
    "  vorhanden ist, DIR/TEMPs/TempInfo.txt (Vorgabe für DIR: der aktuelle Ordner).\n";
const char* const kMp3Help =
    "lorix-tool mp3 [--bitrate K] IN OUT.mp3\n"
    "  Speichert die Aufnahme als MP3-Datei (MPEG-2 Layer III, mono, 16000 Hz, konstante\n"
    "  Bitrate, ID3v2-Titel mit der Änderungszeit von IN). IN ist eine 8-Bit-Mono-WAV-Datei\n"
    "  jeder Abtastrate, eine LRX-Datei oder ein Anhang.\n"
    "  --bitrate K  Bitrate in kbit/s: 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144\n"
    "               oder 160 (Vorgabe 24: 3000 Bytes je Sekunde)\n";
const char* const kInfoHelp =
    "lorix-tool info IN\n"
    "  Zeigt den Kopf eines LORIX-Datenstroms oder einer WAV-Datei als Zeilen 'name: wert'.\n";

ParsedArguments Parse(const std::vector<std::string>& args, const std::set<std::string>& values,
                      const std::set<std::string>& flags, std::size_t positional_count) {
  ParsedArguments parsed = ParseArguments(args, values, flags);
  if (!parsed.help && parsed.positional.size() != positional_count) {
    throw UsageError("erwartet " + std::to_string(positional_count) + " Datei-Argument(e), nicht " +
                     std::to_string(parsed.positional.size()));
  }
  return parsed;
}

CodecSettings SettingsFrom(const ParsedArguments& parsed) {
  return CodecSettings::FromLevels(
      parsed.IntValue("--compress-level", kDefaultCompressLevel, 0, kMaxCompressLevel),
      parsed.IntValue("--mute-level", kDefaultMuteLevel, 0, kMaxMuteLevel));
}

// Loads a WAV file as the recorder does and compresses it; only 8-bit mono is accepted.
Bytes CompressWavFile(const fs::path& path, const CodecSettings& settings) {
  const LoadedWav wav = LoadWavFile(path);
  if (wav.kind != WavKind::kPcm8Mono) {
    throw CodecError("Die Datei \"" + path.string() + "\" ist keine 8-Bit-Mono-WAV-Datei (" +
                     std::to_string(wav.format.channels) + " Kanäle, " +
                     std::to_string(wav.format.bits_per_sample) +
                     " Bit) und kann nicht komprimiert werden.");
  }
  return Compress(wav.PcmStream, wav.format.sample_count, settings, InitCodecTables(),
                  ProgramVersion, InfoTextLength())
      .CompressedStream;
}

std::string Printable(const std::string& text) {
  static const char* const kHex = "0123456789ABCDEF";
  std::string out;
  for (const char ch : text) {
    const auto byte = static_cast<unsigned char>(ch);
    if (byte >= 0x20 && byte < 0x7F && byte != '\\') {
      out += ch;
    } else {
      out += "\\x";
      out += kHex[byte >> 4];
      out += kHex[byte & 15];
    }
  }
  return out;
}

int RunEncode(const std::vector<std::string>& args, std::ostream& out, std::ostream&) {
  const ParsedArguments parsed = Parse(args, {"--compress-level", "--mute-level"}, {}, 2);
  if (parsed.help) return out << kEncodeHelp, 0;
  const CodecSettings settings = SettingsFrom(parsed);
  const Bytes stream = CompressWavFile(parsed.positional[0], settings);
  WriteFileAtomically(parsed.positional[1], stream);
  return 0;
}

int RunDecode(const std::vector<std::string>& args, std::ostream& out, std::ostream&) {
  const ParsedArguments parsed = Parse(args, {}, {"--player"}, 2);
  if (parsed.help) return out << kDecodeHelp, 0;
  const Bytes stream = ReadWholeFile(parsed.positional[0]);
  if (!parsed.Has("--player")) {
    const DecompressResult result = Decompress(stream, InitCodecTables());
    WriteFileAtomically(parsed.positional[1], result.PcmStream);
    return 0;
  }
  const StreamHeader header = ReadCheckedStreamHeader(stream);
  // The player refuses a file without the magic, so the tool does too.
  if (!HasStreamMagic(header)) throw CodecError(WrongFormatMessage(parsed.positional[0]));
  const ByteSpan block =
      ByteSpan(stream).last(static_cast<std::size_t>(header.PayloadAndHeaderSize()));
  const std::int64_t samples = CountPlayerSamples(block, header.SampleCount());
  if (samples > kMaxDecodedSamples) {
    throw CodecError("Die Aufnahme ist zu lang: mehr als " + std::to_string(kMaxDecodedSamples) +
                     " Samples.");
  }
  Bytes output(kWavHeaderSize + static_cast<std::size_t>(samples));
  std::int32_t written = 0;
  if (!PlayerDecode(block, output, written, InitCodecTables())) {
    throw CodecError("Die Abtastrate " + std::to_string(header.SampleRate()) +
                     " Hz liegt nicht zwischen 1000 und 200000 Hz.");
  }
  output.resize(kWavHeaderSize + static_cast<std::size_t>(written));
  WriteFileAtomically(parsed.positional[1], output);
  return 0;
}

int RunPack(const std::vector<std::string>& args, std::ostream& out, std::ostream&) {
  const ParsedArguments parsed =
      Parse(args, {"--player-exe", "--compress-level", "--mute-level"}, {}, 2);
  if (parsed.help) return out << kPackHelp, 0;
  const CodecSettings settings = SettingsFrom(parsed);
  const fs::path input = parsed.positional[0];
  const fs::path own_folder = fs::read_symlink("/proc/self/exe").parent_path();
  const fs::path player = parsed.Value("--player-exe", WindowsPlayerProgram(own_folder).string());

  Bytes stream;
  if (IsWavFile(input)) {
    stream = CompressWavFile(input, settings);
  } else {
    stream = ReadWholeFile(input);
  }
  const StreamHeader header = ReadCheckedStreamHeader(stream);
  const Bytes player_bytes = ReadWholeFile(player);
  WriteAttachment(parsed.positional[1], player_bytes, InfoText(), stream, header.PayloadSize());
  return 0;
}

int RunUnpack(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const ParsedArguments parsed = Parse(args, {"--dir"}, {}, 1);
  if (parsed.help) return out << kUnpackHelp, 0;
  ExtractOptions options;
  options.base_dir = parsed.Value("--dir", ".");
  PlayerExtraction state;
  const ExtractResult result =
      ExtractPayload(parsed.positional[0], state, InitCodecTables(), options);
  if (result.outcome != ExtractOutcome::kExtracted) {
    err << "lorix-tool: " << result.message << "\n";
    return 1;
  }
  out << result.wav_path.string() << "\n";
  if (!state.InfoFile.empty()) out << state.InfoFile.string() << "\n";
  return 0;
}

// The time `path` was last changed, in local time: the title time of an MP3 made from it.
std::tm ModificationTime(const fs::path& path) {
  struct stat status {};
  if (stat(path.c_str(), &status) != 0) ThrowFileError("kann nicht gelesen werden", path, errno);
  std::tm local{};
  localtime_r(&status.st_mtime, &local);
  return local;
}

// The --bitrate value: one of the rates MPEG-2 Layer III has.
int Mp3BitRate(const ParsedArguments& parsed) {
  const int bitrate = parsed.IntValue("--bitrate", kDefaultMp3KbitPerSecond, kMp3KbitRates.front(),
                                      kMp3KbitRates.back());
  if (!IsMp3KbitRate(bitrate)) {
    std::string rates;
    for (const int rate : kMp3KbitRates)
      rates += (rates.empty() ? "" : ", ") + std::to_string(rate);
    throw UsageError("--bitrate erwartet eine der Bitraten " + rates + ", nicht '" +
                     parsed.Value("--bitrate", "") + "'");
  }
  return bitrate;
}

int RunMp3(const std::vector<std::string>& args, std::ostream& out, std::ostream&) {
  const ParsedArguments parsed = Parse(args, {"--bitrate"}, {}, 2);
  if (parsed.help) return out << kMp3Help, 0;
  const int bitrate = Mp3BitRate(parsed);
  const fs::path input = parsed.positional[0];
  // A compressed message is decoded first, as the recorder does when no recording is loaded.
  const Bytes wav = IsWavFile(input)
                        ? LoadWavFile(input).PcmStream
                        : Decompress(ReadWholeFile(input), InitCodecTables()).PcmStream;
  WriteFileAtomically(parsed.positional[1], EncodeMp3(wav, ModificationTime(input), bitrate));
  return 0;
}

// The header of the canonical image the programs make of a WAV file.
int PrintWavInfo(const LoadedWav& wav, std::ostream& out) {
  const std::uint8_t* p = wav.PcmStream.data();
  const auto text = [p](int offset) { return Printable(std::string(p + offset, p + offset + 4)); };
  out << "riff_id: " << text(0) << "\n"
      << "riff_size: " << GetUint32(p + 4) << "\n"
      << "wave_id: " << text(8) << "\n"
      << "fmt_id: " << text(12) << "\n"
      << "fmt_size: " << GetUint32(p + 16) << "\n"
      << "format_tag: " << GetUint16(p + 20) << "\n"
      << "channels: " << GetUint16(p + 22) << "\n"
      << "sample_rate: " << GetInt32(p + 24) << "\n"
      << "byte_rate: " << GetInt32(p + 28) << "\n"
      << "block_align: " << GetUint16(p + 32) << "\n"
      << "bits_per_sample: " << GetUint16(p + 34) << "\n"
      << "data_id: " << text(36) << "\n"
      << "data_size: " << GetInt32(p + 40) << "\n";
  return 0;
}

int PrintStreamInfo(const Bytes& tail, std::int64_t file_size, std::ostream& out) {
  StreamHeader header;
  std::copy(tail.begin(), tail.end(), header.bytes.begin());
  out << "magic: " << Printable(header.Magic()) << "\n"
      << "version: " << Printable(header.Version()) << "\n"
      << "payload_size: " << header.PayloadSize() << "\n"
      << "sample_count: " << header.SampleCount() << "\n"
      << "sample_rate: " << header.SampleRate() << "\n"
      << "codec: " << Printable(header.CodecName()) << "\n"
      << "info_length: " << header.InfoLength() << "\n"
      << "header_length: " << header.HeaderLength() << "\n";
  CheckStreamHeader(header, file_size);
  return 0;
}

int RunInfo(const std::vector<std::string>& args, std::ostream& out, std::ostream&) {
  const ParsedArguments parsed = Parse(args, {}, {}, 1);
  if (parsed.help) return out << kInfoHelp, 0;
  const fs::path input = parsed.positional[0];
  InputFile file(input);
  if (file.size() < kStreamHeaderSize) {
    throw CodecError("Die Datei \"" + input.string() + "\" ist kürzer als 44 Bytes (" +
                     std::to_string(file.size()) + " Bytes) und hat keinen Kopf.");
  }
  if (IsWavFile(input)) return PrintWavInfo(LoadWavFile(input), out);
  const Bytes tail = file.ReadRange(file.size() - kStreamHeaderSize, kStreamHeaderSize);
  return PrintStreamInfo(tail, file.size(), out);
}

}  // namespace

const std::vector<Command>& Commands() {
  static const std::vector<Command> commands = {
      {"encode", kEncodeHelp, RunEncode}, {"decode", kDecodeHelp, RunDecode},
      {"pack", kPackHelp, RunPack},       {"unpack", kUnpackHelp, RunUnpack},
      {"info", kInfoHelp, RunInfo},       {"mp3", kMp3Help, RunMp3},
  };
  return commands;
}

}  // namespace lorix::tool
