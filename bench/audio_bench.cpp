// Real-device measurements on ALSA's default devices (scripts/bench.sh runs them on the
// PulseAudio test rig):
//  - how long PlayWave takes until its first samples are handed to ALSA, and until the
//    device reports the first of them as heard;
//  - how much CPU the capture side uses while the recording engine records for ten seconds;
//  - what the recording journal costs on top: the user-interface thread's CPU with the journal,
//    the writer thread's CPU, the bytes it writes and the syncs it makes per second;
//  - how long restoring a thirty-minute journal at the next start takes, and the memory it needs
//    on top of what was in use (counted by this program's own operator new).
// The sound to play is named by LORIX_SPEECH_FILE.

#include <alsa/asoundlib.h>
#include <dlfcn.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <new>
#include <string>
#include <thread>
#include <vector>

#include "audio/alsa_capture_backend.h"
#include "audio/alsa_playback_backend.h"
#include "audio/dialogs.h"
#include "audio/mci_service.h"
#include "audio/recording_engine.h"
#include "audio/scripted_capture_backend.h"
#include "audio/task_queue.h"
#include "audio/wave_playback.h"
#include "codec/file_io.h"
#include "recorder/recorder_paths.h"
#include "recorder/recording_journal.h"
#include "recorder/recording_workflow.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

std::atomic<Clock::rep> first_write_ticks{0};

// The heap in use and its high-water mark, kept by the operator new below.
std::atomic<std::size_t> heap_in_use{0};
std::atomic<std::size_t> heap_peak{0};

}  // namespace

void* operator new(std::size_t size) {
  void* block = std::malloc(size == 0 ? 1 : size);
  if (block == nullptr) throw std::bad_alloc();
  const std::size_t now = heap_in_use += malloc_usable_size(block);
  std::size_t peak = heap_peak.load();
  while (now > peak && !heap_peak.compare_exchange_weak(peak, now)) {
  }
  return block;
}

void operator delete(void* block) noexcept {
  if (block == nullptr) return;
  heap_in_use -= malloc_usable_size(block);
  std::free(block);
}

void operator delete(void* block, std::size_t) noexcept {
  operator delete(block);
}

// Every snd_pcm_writei of the program passes through here: the first one after the mark is
// reset notes its time, then the call goes on to libasound.
extern "C" snd_pcm_sframes_t snd_pcm_writei(snd_pcm_t* pcm, const void* buffer,
                                            snd_pcm_uframes_t size) {
  using WriteFunction = snd_pcm_sframes_t (*)(snd_pcm_t*, const void*, snd_pcm_uframes_t);
  static const auto real = reinterpret_cast<WriteFunction>(dlsym(RTLD_NEXT, "snd_pcm_writei"));
  Clock::rep expected = 0;
  first_write_ticks.compare_exchange_strong(expected, Clock::now().time_since_epoch().count());
  return real(pcm, buffer, size);
}

namespace {

class PrintingDialogs : public lorix::Dialogs {
 public:
  lorix::DialogAnswer Show(const lorix::DialogRequest& request) override {
    std::fprintf(stderr, "%s: %s\n", request.caption.c_str(), request.text.c_str());
    ++shown;
    return lorix::DialogAnswer::kOk;
  }
  int shown = 0;
};

double Ms(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

void PrintSpread(const char* what, std::vector<double> values) {
  std::sort(values.begin(), values.end());
  std::printf("%-44s median %7.1f ms   min %7.1f ms   max %7.1f ms   (%zu runs)\n", what,
              values[values.size() / 2], values.front(), values.back(), values.size());
}

// PlayWave to the first snd_pcm_writei, and to the first position above zero.
bool MeasurePlayLatency(const std::string& file) {
  lorix::AlsaPlaybackBackend backend;
  lorix::MciService service(backend);
  PrintingDialogs dialogs;
  lorix::WavePlayback::Services services;
  services.send_command = [&](const std::string& command, std::string& reply) {
    return service.MciSendString(command, reply);
  };
  lorix::WavePlayback playback(services, dialogs);
  playback.SetCurrentSampleRate(11025);

  std::vector<double> to_alsa;
  std::vector<double> to_heard;
  for (int run = 0; run < 15; ++run) {
    first_write_ticks = 0;
    const auto start = Clock::now();
    if (playback.PlayWave(file, 0) != 0 || dialogs.shown > 0) return false;
    const auto deadline = start + milliseconds(5000);
    while (playback.GetPlayPosition() == 0 && Clock::now() < deadline) {
      std::this_thread::sleep_for(milliseconds(1));
    }
    const auto heard = Clock::now();
    if (heard >= deadline || first_write_ticks == 0) return false;
    const Clock::time_point written{Clock::duration(first_write_ticks.load())};
    to_alsa.push_back(Ms(written - start));
    to_heard.push_back(Ms(heard - start));
    playback.ClosePlayback();
    std::this_thread::sleep_for(milliseconds(200));
  }
  PrintSpread("PlayWave -> first samples written to ALSA", to_alsa);
  PrintSpread("PlayWave -> first sample reported heard", to_heard);
  return true;
}

// CPU time a thread has run, from the scheduler's own accounting (nanoseconds).
long long ThreadRunNs(const std::filesystem::path& task) {
  std::ifstream in(task / "schedstat");
  long long run_ns = 0;
  in >> run_ns;
  return run_ns;
}

std::string ThreadName(const std::filesystem::path& task) {
  std::ifstream in(task / "comm");
  std::string name;
  std::getline(in, name);
  return name;
}

// Records for ten seconds and reports the CPU time of every thread but the one standing in
// for the user-interface thread, as a share of one core.
bool MeasureCaptureCpu() {
  lorix::AlsaCaptureBackend backend;
  lorix::TaskQueue ui;
  PrintingDialogs dialogs;
  lorix::RecordingEngine engine(backend, ui.Poster(), dialogs);
  long long bytes = 0;
  engine.OnSoundData = [&](const std::uint8_t*, std::int32_t count) { bytes += count; };

  const std::string self_task = "/proc/self/task/" + std::to_string(gettid());
  const auto threads_ns = [&] {
    long long total = 0;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
      if (task.path() != self_task) total += ThreadRunNs(task.path());
    }
    return total;
  };

  engine.StartSK();
  if (engine.phase() != lorix::RecordingEngine::Phase::kRunning) return false;
  ui.RunPending(milliseconds(500));  // let the device settle before measuring
  std::vector<std::string> names;
  for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
    if (task.path() != self_task) names.push_back(ThreadName(task.path()));
  }
  const long long threads_before = threads_ns();
  const long long ui_before = ThreadRunNs(self_task);
  const long long bytes_before = bytes;
  const auto start = Clock::now();
  ui.RunUntil([] { return false; }, milliseconds(10000));
  const double wall_ns = std::chrono::duration<double, std::nano>(Clock::now() - start).count();
  const long long threads_used = threads_ns() - threads_before;
  const long long ui_used = ThreadRunNs(self_task) - ui_before;
  const long long recorded = bytes - bytes_before;
  engine.StopSK();
  ui.RunUntil([&] { return engine.phase() == lorix::RecordingEngine::Phase::kStopped; },
              milliseconds(5000));

  std::string joined;
  for (const auto& name : names) joined += (joined.empty() ? "" : ", ") + name;
  std::printf("capture threads (%s): %.2f %% of one core over %.1f s, %lld bytes recorded\n",
              joined.c_str(), 100.0 * threads_used / wall_ns, wall_ns / 1e9, recorded);
  std::printf("UI thread handling the buffers:       %.2f %% of one core\n",
              100.0 * ui_used / wall_ns);
  return dialogs.shown == 0 && recorded > 0;
}

// Records for ten seconds into a journal in a temporary folder, as the recorder does, and
// reports the user-interface thread's CPU (buffers handed to the journal) and the writer's.
bool MeasureJournalCost() {
  lorix::AlsaCaptureBackend backend;
  lorix::TaskQueue ui;
  PrintingDialogs dialogs;
  lorix::RecordingEngine engine(backend, ui.Poster(), dialogs);
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("lorix_journal_bench_" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  lorix::JournalWriter journal;
  if (!journal.Begin(lorix::JournalPath(folder), {11025, 0, 0}, {})) return false;
  engine.OnSoundData = [&](const std::uint8_t* data, std::int32_t count) {
    journal.Append(lorix::ByteSpan(data, static_cast<std::size_t>(count)));
  };

  const std::string self_task = "/proc/self/task/" + std::to_string(gettid());
  const auto writer_ns = [] {
    long long total = 0;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
      if (ThreadName(task.path()) == "lorix-journal") total += ThreadRunNs(task.path());
    }
    return total;
  };

  engine.StartSK();
  if (engine.phase() != lorix::RecordingEngine::Phase::kRunning) return false;
  ui.RunPending(milliseconds(500));
  const long long writer_before = writer_ns();
  const long long ui_before = ThreadRunNs(self_task);
  const std::int64_t bytes_before = journal.BytesWritten();
  const std::int64_t syncs_before = journal.Syncs();
  const auto start = Clock::now();
  ui.RunUntil([] { return false; }, milliseconds(10000));
  const double wall_ns = std::chrono::duration<double, std::nano>(Clock::now() - start).count();
  const long long writer_used = writer_ns() - writer_before;
  const long long ui_used = ThreadRunNs(self_task) - ui_before;
  const double seconds = wall_ns / 1e9;
  const double bytes_per_s = static_cast<double>(journal.BytesWritten() - bytes_before) / seconds;
  const double syncs_per_s = static_cast<double>(journal.Syncs() - syncs_before) / seconds;
  engine.StopSK();
  ui.RunUntil([&] { return engine.phase() == lorix::RecordingEngine::Phase::kStopped; },
              milliseconds(5000));
  const bool failed = journal.Failed();
  journal.Finish();
  std::filesystem::remove_all(folder);

  std::printf("UI thread handling the buffers with the journal: %.2f %% of one core\n",
              100.0 * ui_used / wall_ns);
  std::printf("journal writer thread: %.3f %% of one core, %.0f bytes/s written, %.2f syncs/s\n",
              100.0 * writer_used / wall_ns, bytes_per_s, syncs_per_s);
  return dialogs.shown == 0 && !failed && bytes_per_s > 0;
}

// Answers every question with Ja, as a user who takes the recording back.
class YesDialogs : public lorix::Dialogs {
 public:
  lorix::DialogAnswer Show(const lorix::DialogRequest& request) override {
    ++shown;
    if (request.buttons == lorix::DialogButtons::kYesNo) return lorix::DialogAnswer::kYes;
    std::fprintf(stderr, "%s: %s\n", request.caption.c_str(), request.text.c_str());
    return lorix::DialogAnswer::kOk;
  }
  int shown = 0;
};

// A journal of thirty minutes, as a crash leaves it, restored at the next start: the time until
// it is the stopped recording (TempRecording.wav written) and the heap it needs on the way.
bool MeasureRestore() {
  namespace fs = std::filesystem;
  const fs::path folder =
      fs::temp_directory_path() / ("lorix_restore_bench_" + std::to_string(getpid()));
  fs::create_directories(folder);
  lorix::RecorderPaths paths = lorix::RecorderPaths::ForProgramFolder(folder);
  lorix::CreateRecorderFolders(paths);
  constexpr std::size_t kSamples = std::size_t{11025} * 60 * 30;
  {
    lorix::Bytes journal = lorix::JournalHeaderBytes({11025, std::time(nullptr), 0});
    lorix::Bytes buffer(1000);
    for (std::size_t at = 0; at < kSamples; at += buffer.size()) {
      for (std::size_t i = 0; i < buffer.size(); ++i) {
        buffer[i] = static_cast<std::uint8_t>(128.0 + 60.0 * std::sin((at + i) / 7.0));
      }
      lorix::AppendBytes(journal, lorix::JournalChunk(buffer));
    }
    lorix::WriteFileAtomically(lorix::JournalPath(paths.temps_folder), journal);
  }
  const auto journal_bytes = fs::file_size(lorix::JournalPath(paths.temps_folder));

  lorix::ScriptedCaptureBackend capture;
  lorix::TaskQueue ui;
  YesDialogs dialogs;
  lorix::RecordingEngine engine(capture, ui.Poster(), dialogs);
  lorix::RecorderOptions options;
  lorix::WavePlayback::Services playback;
  playback.send_command = [](const std::string&, std::string&) { return 0; };
  bool restored = false;
  {
    lorix::RecordingWorkflow workflow(engine, dialogs, options, paths, playback);
    workflow.ButtonResetClick(lorix::ResetSender::kNone);
    const std::size_t before = heap_in_use.load();
    heap_peak = before;
    const auto start = Clock::now();
    workflow.OfferUnfinishedRecording();
    const double ms = Ms(Clock::now() - start);
    const double extra = static_cast<double>(heap_peak.load() - before);
    std::printf(
        "restore of a 30-minute journal (%.1f MB): %.0f ms, heap peak %.1f MB above before "
        "(%.2f x the journal)\n",
        journal_bytes / 1e6, ms, extra / 1e6, extra / static_cast<double>(journal_bytes));
    restored = workflow.state().SampleCount == static_cast<std::int32_t>(kSamples);
    workflow.ButtonResetClick(lorix::ResetSender::kNone);
  }
  fs::remove_all(folder);
  return restored && dialogs.shown == 1;
}

}  // namespace

int main() {
  // First, while the heap holds little else.
  if (!MeasureRestore()) {
    std::fprintf(stderr, "the journal was not restored\n");
    return 1;
  }
  const char* file = std::getenv("LORIX_SPEECH_FILE");
  if (file == nullptr || !std::filesystem::exists(file)) {
    std::fprintf(stderr, "LORIX_SPEECH_FILE must name a WAV file to play\n");
    return 2;
  }
  if (!MeasurePlayLatency(file)) {
    std::fprintf(stderr, "playback did not start\n");
    return 1;
  }
  if (!MeasureCaptureCpu()) {
    std::fprintf(stderr, "recording did not run\n");
    return 1;
  }
  if (!MeasureJournalCost()) {
    std::fprintf(stderr, "the journal was not written\n");
    return 1;
  }
  return 0;
}
