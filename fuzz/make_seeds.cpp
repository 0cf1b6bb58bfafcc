// Writes the starting corpus of the fuzz targets, made with the codec itself:
//   lorix_fuzz_seeds OUT_DIR
// fills OUT_DIR/<target>/ for every target and finally writes OUT_DIR/seeds.stamp.

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <numbers>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "codec/attachment.h"
#include "codec/bytes.h"
#include "codec/codec_tables.h"
#include "codec/decoder.h"
#include "codec/encoder.h"
#include "codec/file_io.h"
#include "codec/info_text.h"
#include "codec/stream_header.h"
#include "codec/version.h"
#include "codec/wav_header.h"

namespace {

namespace fs = std::filesystem;
using lorix::Bytes;

// A short message-like signal: a voiced vowel with harmonics under a rising and falling
// envelope, a pause long enough to become the zero line, then a hiss.
std::vector<std::uint8_t> MessageSamples() {
  std::vector<std::uint8_t> samples;
  constexpr int kVoiced = 2000;
  for (int i = 0; i < kVoiced; ++i) {
    const double t = static_cast<double>(i) / lorix::kDefaultSampleRate;
    const double envelope = std::sin(std::numbers::pi * i / kVoiced);
    double v = 0.0;
    for (int harmonic = 1; harmonic <= 5; ++harmonic) {
      v += std::sin(2.0 * std::numbers::pi * 140.0 * harmonic * t) / harmonic;
    }
    samples.push_back(static_cast<std::uint8_t>(128.0 + 70.0 * envelope * v / 2.3));
  }
  samples.insert(samples.end(), 3500, lorix::kSilence);
  std::mt19937 random(20240601u);
  for (int i = 0; i < 300; ++i) samples.push_back(static_cast<std::uint8_t>(random() >> 24));
  return samples;
}

Bytes WavImage(const std::vector<std::uint8_t>& samples) {
  const lorix::WavHeader header = lorix::BuildMonoWavHeader(
      static_cast<std::int32_t>(samples.size()), lorix::kDefaultSampleRate);
  Bytes image(header.begin(), header.end());
  image.insert(image.end(), samples.begin(), samples.end());
  return image;
}

Bytes Encode(const Bytes& wav, int compress_level, int mute_level) {
  const auto count = static_cast<std::int32_t>(wav.size() - lorix::kWavHeaderSize);
  return lorix::Compress(wav, count, lorix::CodecSettings::FromLevels(compress_level, mute_level),
                         lorix::InitCodecTables(), lorix::ProgramVersion, lorix::InfoTextLength())
      .CompressedStream;
}

Bytes Attachment(const Bytes& stream) {
  // Stands in for the player program: an executable's first bytes and some code-like filler.
  Bytes player = {0x7f, 'E', 'L', 'F', 2, 1, 1, 0};
  for (int i = 0; i < 120; ++i) player.push_back(static_cast<std::uint8_t>(i * 37));
  const lorix::StreamHeader header = lorix::ReadStreamHeader(stream);
  return lorix::BuildAttachment(player, lorix::InfoText(), stream, header.PayloadSize());
}

// A stream of exactly `total_size` bytes at the decoders' length limit: tokens of one sample each,
// then one flat run of `count` + 1 samples at the same level, then the header. The size is a
// multiple of the stride at which the fuzz targets decode such long inputs in full.
Bytes LongRunStream(std::int32_t count, std::int32_t header_samples, std::size_t total_size) {
  constexpr std::size_t kLongTokenSize = 5;
  Bytes stream(total_size - lorix::kStreamHeaderSize - kLongTokenSize, 0x80);
  std::int32_t skip = count;
  lorix::EmitToken(stream, 8, skip);  // a flat line at the zero line, drawn quickly
  const lorix::StreamHeader header =
      lorix::BuildStreamHeader(lorix::ProgramVersion, static_cast<std::int32_t>(stream.size()),
                               header_samples, lorix::kDefaultSampleRate, lorix::kCodecName, 0);
  lorix::AppendBytes(stream, header.bytes);
  return stream;
}

void Write(const fs::path& folder, const std::string& name, const Bytes& bytes) {
  fs::create_directories(folder);
  lorix::WriteFileAtomically(folder / name, bytes);
}

Bytes Text(std::string_view text) {
  return Bytes(text.begin(), text.end());
}

// `wav` with a chunk inserted in front of its "data" chunk.
Bytes WithChunkBeforeData(const Bytes& wav, const Bytes& chunk) {
  Bytes image(wav.begin(), wav.begin() + 36);
  lorix::AppendBytes(image, chunk);
  image.insert(image.end(), wav.begin() + 36, wav.end());
  return image;
}

// `wav` (8-bit mono) with its format in the extensible form.
Bytes Extensible(const Bytes& wav) {
  Bytes image = Text("RIFF");
  image.insert(image.end(), {0, 0, 0, 0});
  lorix::AppendBytes(image, Text("WAVEfmt "));
  image.insert(image.end(), {40, 0, 0, 0, 0xFE, 0xFF});
  image.insert(image.end(), wav.begin() + 22, wav.begin() + 36);  // channels .. bits
  image.insert(image.end(), {22, 0, 8,    0, 4,    0, 0, 0,    1, 0,    0,    0,
                             0,  0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71});
  image.insert(image.end(), wav.begin() + 36, wav.end());
  return image;
}

// The parsers of text and of the playback service's files.
void WriteParserSeeds(const fs::path& out, const Bytes& wav, const Bytes& tiny_wav,
                      const Bytes& stereo) {
  const fs::path wav_folder = out / "wav_parser";
  Write(wav_folder, "message.wav", wav);
  Write(wav_folder, "tiny.wav", tiny_wav);
  Write(wav_folder, "stereo16.wav", stereo);
  Write(wav_folder, "list_chunk.wav",
        WithChunkBeforeData(tiny_wav, Text(std::string_view("LIST\5\0\0\0INFOx\0", 14))));
  Write(wav_folder, "extensible.wav", Extensible(tiny_wav));

  const fs::path mci_folder = out / "mci_command";
  Write(mci_folder, "session.txt",
        Text("open \"b b.wav\" type waveaudio alias LorixWave\n"
             "set LorixWave time format milliseconds\n"
             "status LorixWave length\nplay LorixWave from 120\nstatus LorixWave position\n"
             "pause LorixWave\nresume LorixWave\nplay LorixWave\nclose LorixWave\n"));
  Write(mci_folder, "errors.txt",
        Text("open a.wav alias x\nopen a.wav alias X\nopen c.txt alias y\nopen \"a.wav\n"
             "play x from 99999\nset x time format ms\nstatus x position\nclose x\n"));

  const std::string_view ini =
      "; Einstellungen\r\n[Options]\r\nInDevID=0\r\nMailAppStartSelection = \"1\"\r\n"
      "CompressLevel=3 ; Stufe\r\n\r\n[Window]\r\nLeft=-12\r\nTop=99999999999999999999\r\n";
  const fs::path ini_folder = out / "ini_document";
  Write(ini_folder, "existing_key.ini", Text("Options\\XCompressLevel\\X5\\X" + std::string(ini)));
  Write(ini_folder, "new_section.ini", Text("Neu\\XKey\\X 'x' \\X" + std::string(ini)));
  Write(ini_folder, "bom_lf.ini", Text("options\\Xtop\\X7\\X\xEF\xBB\xBF[Window]\nTop=1\nLeft"));

  const fs::path text_folder = out / "text_encoding";
  Write(text_folder, "info_text.txt", Text(lorix::InfoText()));
  Write(text_folder, "utf8.txt", Text("Grüße, „Zitat“ – 5 € \xF0\x9F\x8E\xA4\r\n"));
  Write(text_folder, "cp1252.txt",
        Text("Gr\xFC\xDF"
             "e \x80\x81\x9D\x9F\r\n"));

  const fs::path entry_folder = out / "desktop_entry";
  Write(entry_folder, "mail.desktop",
        Text("[Desktop Entry]\nType=Application\nName=Mail Programm\nIcon=mail\n"
             "Exec=\"/opt/mail prog/mail\" --compose %u %i %c %k\\s\\n\n"
             "[Desktop Action compose]\nExec=other\n"));
  Write(entry_folder, "escapes.desktop",
        Text("# comment\r\n[Desktop Entry]\r\n Name = A\\tB\\\\ \r\nExec=sh -c \"echo "
             "\\\\$HOME\"\r\n"));

  const fs::path exec_folder = out / "exec_line";
  Write(exec_folder, "codes.txt", Text("thunderbird -compose %u %U %% %i %c %k @@u x@@"));
  Write(exec_folder, "quotes.txt", Text("\"a b\" \"c\\\"d\\$e\\`f\\\\\" \"\" g\th\ni"));
  Write(exec_folder, "open_quote.txt", Text("prog \"unterminated"));

  const fs::path drop_folder = out / "drop_text";
  Write(drop_folder, "uri_list.txt",
        Text("# from the file manager\r\nfile:///home/u/Gr%C3%BC%C3%9Fe%20an%20alle.EXE\r\n"
             "file://host/tmp/a%2"
             "5b.wav\r\nhttps://example.org/x.wav\r\n"));
  constexpr char kPlainPaths[] = "/home/u/nachricht.wav\n/tmp/x%41y.EXE\n\0";  // NUL-ended
  Write(drop_folder, "plain.txt", Text(std::string_view(kPlainPaths, sizeof kPlainPaths)));

  // The journal target reads its last byte first: odd takes the rest as a journal file, even as
  // the description of one (header fields, cut, changed byte, chunks).
  const fs::path journal_folder = out / "recording_journal";
  Bytes journal_file = Text("LORIXJNL");
  journal_file.resize(32, 0);
  journal_file.insert(journal_file.end(), {4, 0, 0, 0, 0, 0, 0, 0, 128, 140, 120, 128, 1});
  Write(journal_folder, "file.bin", journal_file);
  Bytes description(96);
  for (std::size_t i = 0; i < description.size(); ++i) {
    description[i] = static_cast<std::uint8_t>(i * 37 + 11);
  }
  description.back() = 0;
  Write(journal_folder, "description.bin", description);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUT_DIR\n", argv[0]);
    return 2;
  }
  try {
    const fs::path out = argv[1];
    const std::vector<std::uint8_t> message = MessageSamples();
    const Bytes wav = WavImage(message);
    const Bytes tiny_wav = WavImage({128, 140, 170, 200, 180, 140, 100, 60, 90, 128, 129, 128});

    const Bytes stream_default = Encode(wav, 3, 4);
    const Bytes stream_plain = Encode(wav, 0, 0);
    const Bytes stream_tiny = Encode(tiny_wav, 0, 0);
    const Bytes stream_empty = Encode(WavImage({}), 3, 4);
    const Bytes attachment = Attachment(stream_default);
    // A stream with its information text in front, as the recorder reloads it.
    Bytes with_info(lorix::InfoText().begin(), lorix::InfoText().end());
    lorix::AppendBytes(with_info, stream_tiny);

    const std::vector<std::pair<std::string, const Bytes*>> streams = {
        {"message_c3m4.lrx", &stream_default},
        {"message_c0m0.lrx", &stream_plain},
        {"tiny.lrx", &stream_tiny},
        {"empty.lrx", &stream_empty},
        {"attachment.exe", &attachment},
        {"info_and_stream.lrx", &with_info},
    };
    for (const char* target : {"stream_trailer", "decompress", "extract_payload"}) {
      for (const auto& [name, bytes] : streams) Write(out / target, name, *bytes);
    }
    // Exactly as many samples as one decoding may produce, and one more than that.
    constexpr std::size_t kLongSize = 100;
    constexpr auto kFillerSamples =
        static_cast<std::int32_t>(kLongSize - lorix::kStreamHeaderSize - 5);
    constexpr auto kMax = static_cast<std::int32_t>(lorix::kMaxDecodedSamples);
    const Bytes longest = LongRunStream(kMax - kFillerSamples - 1, kMax, kLongSize);
    const Bytes too_long = LongRunStream(kMax, INT32_MAX, kLongSize);
    for (const char* target : {"decompress", "player_decode", "extract_payload"}) {
      Write(out / target, "longest.lrx", longest);
      Write(out / target, "too_long.lrx", too_long);
    }
    // The player's decoder gets payload and header only, which is what the encoder writes.
    for (const auto& [name, bytes] : streams) {
      if (bytes != &attachment && bytes != &with_info) Write(out / "player_decode", name, *bytes);
    }

    const fs::path wav_folder = out / "wav_file";
    Write(wav_folder, "message.wav", wav);
    Write(wav_folder, "tiny.wav", tiny_wav);
    Bytes trailing = tiny_wav;  // data behind the declared samples is cut off by the loader
    trailing.insert(trailing.end(), {'L', 'I', 'S', 'T', 4, 0, 0, 0});
    Write(wav_folder, "trailing.wav", trailing);
    Bytes truncated = wav;  // declares more samples than the file holds
    truncated.resize(lorix::kWavHeaderSize + 100);
    Write(wav_folder, "truncated.wav", truncated);
    const lorix::WavHeader stereo_header = lorix::BuildWavHeader(64, 2, 4, 16, 22050, 88200);
    Bytes stereo(stereo_header.begin(), stereo_header.end());
    stereo.resize(stereo.size() + 64, 0x10);
    Write(wav_folder, "stereo16.wav", stereo);

    WriteParserSeeds(out, wav, tiny_wav, stereo);

    Write(out, "seeds.stamp", {});
    return 0;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "lorix_fuzz_seeds: %s\n", error.what());
    return 1;
  }
}
