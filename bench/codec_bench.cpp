// Throughput of the "4BitLog " codec in samples per second, and the time of the recorder's
// third step (compress, decompress, write the decoded WAV image) for a five-minute message, and
// the time of making the MP3 file of a five-minute message (at 24 kbit/s, 16000 Hz).
//
// Speech comes from the 8-bit mono 11025 Hz WAV file named by LORIX_SPEECH_FILE, repeated to
// length; noise is uniformly random bytes from a fixed seed. Every benchmark runs at the
// recorder's default levels (compress 3, mute 4) and at levels 0/0.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <exception>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "codec/bytes.h"
#include "codec/codec_tables.h"
#include "codec/decoder.h"
#include "codec/encoder.h"
#include "codec/file_io.h"
#include "codec/info_text.h"
#include "codec/stream_header.h"
#include "codec/version.h"
#include "codec/wav_file.h"
#include "codec/wav_header.h"
#include "mp3/mp3_encoder.h"

namespace {

namespace fs = std::filesystem;
using lorix::Bytes;

constexpr std::int32_t kRate = lorix::kDefaultSampleRate;
constexpr std::int32_t kTenMinutes = 10 * 60 * kRate;
constexpr std::int32_t kFiveMinutes = 5 * 60 * kRate;

struct Levels {
  int compress;
  int mute;
  const char* name;
};
constexpr Levels kLevels[] = {{3, 4, "c3m4"}, {0, 0, "c0m0"}};

// A WAV image of `count` samples: `samples` over and over.
Bytes RepeatToLength(const std::vector<std::uint8_t>& samples, std::int32_t count) {
  const lorix::WavHeader header = lorix::BuildMonoWavHeader(count, kRate);
  Bytes image(header.begin(), header.end());
  image.reserve(image.size() + static_cast<std::size_t>(count));
  while (image.size() < header.size() + static_cast<std::size_t>(count)) {
    const std::size_t missing = header.size() + static_cast<std::size_t>(count) - image.size();
    image.insert(image.end(), samples.begin(),
                 samples.begin() + static_cast<std::ptrdiff_t>(std::min(missing, samples.size())));
  }
  return image;
}

// The samples of the speech file; throws with a message for anything else.
std::vector<std::uint8_t> LoadSpeech(const fs::path& path) {
  const lorix::LoadedWav wav = lorix::LoadWavFile(path);
  if (wav.kind != lorix::WavKind::kPcm8Mono || wav.format.sample_rate != kRate) {
    throw std::runtime_error(path.string() + " is not an 8-bit mono WAV file at 11025 Hz");
  }
  if (wav.format.sample_count == 0) throw std::runtime_error(path.string() + " holds no samples");
  return {wav.PcmStream.begin() + lorix::kWavHeaderSize, wav.PcmStream.end()};
}

std::vector<std::uint8_t> Noise(std::int32_t count) {
  std::mt19937 random(0x4c6f7269u);
  std::vector<std::uint8_t> samples(static_cast<std::size_t>(count));
  for (auto& sample : samples) sample = static_cast<std::uint8_t>(random() >> 24);
  return samples;
}

std::int32_t SampleCount(const Bytes& pcm) {
  return lorix::ReadWavHeader(pcm).sample_count;
}

Bytes Encode(const Bytes& pcm, const lorix::CodecSettings& settings) {
  return lorix::Compress(pcm, SampleCount(pcm), settings, lorix::InitCodecTables(),
                         lorix::ProgramVersion, lorix::InfoTextLength())
      .CompressedStream;
}

void SetRateCounters(benchmark::State& state, std::int32_t samples, std::size_t stream_size) {
  state.SetItemsProcessed(state.iterations() * samples);
  state.counters["bytes_per_sample"] =
      static_cast<double>(stream_size - lorix::kStreamHeaderSize) / samples;
}

void BM_Compress(benchmark::State& state, const Bytes* pcm, lorix::CodecSettings settings) {
  const lorix::CodecTables& tables = lorix::InitCodecTables();
  const std::int32_t count = SampleCount(*pcm);
  std::size_t stream_size = 0;
  for (auto _ : state) {
    lorix::CompressResult result = lorix::Compress(*pcm, count, settings, tables,
                                                   lorix::ProgramVersion, lorix::InfoTextLength());
    benchmark::DoNotOptimize(result.CompressedStream.data());
    stream_size = result.CompressedStream.size();
  }
  SetRateCounters(state, count, stream_size);
}

void BM_Decompress(benchmark::State& state, const Bytes* pcm, lorix::CodecSettings settings) {
  const lorix::CodecTables& tables = lorix::InitCodecTables();
  const Bytes stream = Encode(*pcm, settings);
  const std::int32_t count = SampleCount(*pcm);
  for (auto _ : state) {
    lorix::DecompressResult result = lorix::Decompress(stream, tables);
    benchmark::DoNotOptimize(result.PcmStream.data());
    if (result.SampleCount != count) {
      state.SkipWithError("the decoder produced a different number of samples");
      break;
    }
  }
  SetRateCounters(state, count, stream.size());
}

// As the player unpacks: count the samples, allocate the output, decode.
void BM_PlayerDecode(benchmark::State& state, const Bytes* pcm, lorix::CodecSettings settings) {
  const lorix::CodecTables& tables = lorix::InitCodecTables();
  const Bytes block = Encode(*pcm, settings);  // payload + header, as the player reads it
  const std::int32_t count = SampleCount(*pcm);
  const std::int32_t header_count = lorix::ReadStreamHeader(block).SampleCount();
  for (auto _ : state) {
    const std::int64_t samples = lorix::CountPlayerSamples(block, header_count);
    Bytes output(lorix::kWavHeaderSize + static_cast<std::size_t>(samples));
    std::int32_t written = 0;
    const bool decoded = lorix::PlayerDecode(block, output, written, tables);
    benchmark::DoNotOptimize(output.data());
    if (!decoded || written != count) {
      state.SkipWithError("the player's decoder produced a different number of samples");
      break;
    }
  }
  SetRateCounters(state, count, block.size());
}

// The recorder's third step: compress the recording, decompress it again for playback and
// write the decoded WAV image. The counters give the share of each part.
void BM_Step3(benchmark::State& state, const Bytes* pcm, lorix::CodecSettings settings,
              const fs::path* folder) {
  using Clock = std::chrono::steady_clock;
  const lorix::CodecTables& tables = lorix::InitCodecTables();
  const std::int32_t count = SampleCount(*pcm);
  const fs::path target = *folder / "step3.wav";
  double compress_s = 0, decompress_s = 0, write_s = 0;
  for (auto _ : state) {
    const auto t0 = Clock::now();
    const lorix::CompressResult compressed = lorix::Compress(
        *pcm, count, settings, tables, lorix::ProgramVersion, lorix::InfoTextLength());
    const auto t1 = Clock::now();
    const lorix::DecompressResult decoded = lorix::Decompress(compressed.CompressedStream, tables);
    const auto t2 = Clock::now();
    lorix::WriteFileAtomically(target, decoded.PcmStream);
    const auto t3 = Clock::now();
    compress_s += std::chrono::duration<double>(t1 - t0).count();
    decompress_s += std::chrono::duration<double>(t2 - t1).count();
    write_s += std::chrono::duration<double>(t3 - t2).count();
  }
  state.SetItemsProcessed(state.iterations() * count);
  const auto average_ms = [&state](double seconds) {
    return benchmark::Counter(seconds * 1e3 / static_cast<double>(state.iterations()));
  };
  state.counters["compress_ms"] = average_ms(compress_s);
  state.counters["decompress_ms"] = average_ms(decompress_s);
  state.counters["write_ms"] = average_ms(write_s);
}

// The MP3 file of a message at the default bit rate; the counter gives its size per second.
void BM_Mp3(benchmark::State& state, const Bytes* pcm) {
  const std::tm recorded{};
  std::size_t size = 0;
  for (auto _ : state) {
    const Bytes mp3 = lorix::EncodeMp3(*pcm, recorded);
    benchmark::DoNotOptimize(mp3.data());
    size = mp3.size();
  }
  state.SetItemsProcessed(state.iterations() * SampleCount(*pcm));
  state.counters["bytes_per_second"] =
      static_cast<double>(size) * kRate / static_cast<double>(SampleCount(*pcm));
}

// A folder of this process for the written WAV images, removed at the end.
class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "lorix-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
      throw std::runtime_error("cannot create a temporary folder in " +
                               fs::temp_directory_path().string());
    }
    path_ = pattern;
  }
  ~TempFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;

  const char* speech_file = std::getenv("LORIX_SPEECH_FILE");
  if (speech_file == nullptr || *speech_file == '\0') {
    std::fprintf(stderr,
                 "lorix_codec_bench: LORIX_SPEECH_FILE is not set. It must name an 8-bit mono "
                 "11025 Hz WAV file of speech, such as speech_de_long.wav made by "
                 "'bash tests/make_speech.sh DIR' (scripts/bench.sh does all of this).\n");
    return 1;
  }

  Bytes speech_ten, speech_five, noise_ten;
  std::unique_ptr<TempFolder> folder;
  try {
    const std::vector<std::uint8_t> speech = LoadSpeech(speech_file);
    speech_ten = RepeatToLength(speech, kTenMinutes);
    speech_five = RepeatToLength(speech, kFiveMinutes);
    noise_ten = RepeatToLength(Noise(kTenMinutes), kTenMinutes);
    folder = std::make_unique<TempFolder>();
    lorix::InitCodecTables();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "lorix_codec_bench: %s\n", error.what());
    return 1;
  }

  struct Material {
    const char* name;
    const Bytes* pcm;
  };
  const Material materials[] = {{"speech_10min", &speech_ten}, {"noise_10min", &noise_ten}};
  for (const Levels& levels : kLevels) {
    const auto settings = lorix::CodecSettings::FromLevels(levels.compress, levels.mute);
    for (const Material& material : materials) {
      const std::string suffix = std::string("/") + material.name + "/" + levels.name;
      benchmark::RegisterBenchmark(("Compress" + suffix).c_str(), BM_Compress, material.pcm,
                                   settings)
          ->Unit(benchmark::kMillisecond);
      benchmark::RegisterBenchmark(("Decompress" + suffix).c_str(), BM_Decompress, material.pcm,
                                   settings)
          ->Unit(benchmark::kMillisecond);
      benchmark::RegisterBenchmark(("PlayerDecode" + suffix).c_str(), BM_PlayerDecode, material.pcm,
                                   settings)
          ->Unit(benchmark::kMillisecond);
    }
    // Writing includes the file system's sync, so the wall clock is what the user waits for.
    benchmark::RegisterBenchmark((std::string("Step3/speech_5min/") + levels.name).c_str(),
                                 BM_Step3, &speech_five, settings, &folder->path())
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
  }

  benchmark::RegisterBenchmark("Mp3/speech_5min", BM_Mp3, &speech_five)
      ->Unit(benchmark::kMillisecond);

  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
