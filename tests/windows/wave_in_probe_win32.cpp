// The recording engine on Windows' wave input, run under Wine on the test rig: records for
// SECONDS from the first buffer on through winmm (window messages to a message-only window),
// then stops, lets the device hand back its buffers and writes what the data sink received as
// a WAV file, and a report of how the buffers travelled. MARKER is created when the first
// buffer has arrived, so that the test knows when to start playing.
//   lorix_wave_in_probe.exe SECONDS MARKER OUT.wav REPORT.txt

// windows.h first: the other system headers build on it.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <string>
#include <utility>

#include "audio/recording_engine.h"
#include "audio/win32/wave_in_capture_backend.h"
#include "audio/win32/wave_in_window.h"
#include "codec/bytes.h"
#include "codec/wav_header.h"

namespace {

// Passes every call on to the wave-input backend and notes the order in which buffers were
// queued and handed back, and what a reset returned.
class WatchedBackend : public lorix::CaptureBackend {
 public:
  explicit WatchedBackend(lorix::CaptureBackend& device) : device_(device) {}

  int QueryFormat(std::int32_t device_id, const lorix::WaveFormat& format) override {
    return device_.QueryFormat(device_id, format);
  }
  int Open(std::int32_t device_id, const lorix::WaveFormat& format,
           lorix::CaptureBufferDone done) override {
    return device_.Open(device_id, format, [this, done](lorix::CaptureBuffer* buffer) {
      Returned(buffer);
      done(buffer);
    });
  }
  int Prepare(lorix::CaptureBuffer& buffer) override { return device_.Prepare(buffer); }
  int Unprepare(lorix::CaptureBuffer& buffer) override { return device_.Unprepare(buffer); }
  int AddBuffer(lorix::CaptureBuffer& buffer) override {
    const int code = device_.AddBuffer(buffer);
    if (code == lorix::kWaveNoError) queued_.push_back(&buffer);
    return code;
  }
  int Start() override { return device_.Start(); }
  int Reset() override {
    if (!reset_) held_at_reset = static_cast<int>(queued_.size());
    reset_ = true;
    return device_.Reset();
  }
  int Close() override {
    ++closes;
    return device_.Close();
  }

  int returned = 0;
  int out_of_order = 0;
  int held_at_reset = -1;
  int returned_by_reset = 0;
  int returned_full_by_reset = 0;
  int closes = 0;

 private:
  void Returned(lorix::CaptureBuffer* buffer) {
    ++returned;
    if (queued_.empty() || queued_.front() != buffer) {
      ++out_of_order;
      std::erase(queued_, buffer);
    } else {
      queued_.pop_front();
    }
    if (reset_) {
      ++returned_by_reset;
      if (buffer->bytes_recorded != 0) ++returned_full_by_reset;
    }
  }

  lorix::CaptureBackend& device_;
  std::deque<lorix::CaptureBuffer*> queued_;
  bool reset_ = false;
};

// The probe has no one to answer a box: it notes each one.
class NotedDialogs : public lorix::Dialogs {
 public:
  lorix::DialogAnswer Show(const lorix::DialogRequest& request) override {
    ++shown;
    std::fprintf(stderr, "box %s: %s\n", request.caption.c_str(), request.text.c_str());
    return lorix::DialogAnswer::kOk;
  }
  int shown = 0;
};

// Dispatches messages until `done` holds or `milliseconds` have passed.
template <typename Done>
bool RunMessagesUntil(Done done, DWORD milliseconds) {
  const ULONGLONG deadline = GetTickCount64() + milliseconds;
  while (!done()) {
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }
  return true;
}

bool WriteAll(const char* name, const lorix::Bytes& bytes) {
  std::FILE* file = std::fopen(name, "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

// The text of the engine's last error line, behind its number and time stamp.
std::string LastErrorText(const lorix::RecordingEngine& engine) {
  const auto& lines = engine.error_log().MemoErrors();
  if (lines.empty()) return {};
  const std::size_t text = lines.back().find(" :  ");
  return text == std::string::npos ? lines.back() : lines.back().substr(text + 4);
}

void AddLine(std::string& report, const char* key, const std::string& value) {
  report += std::string(key) + "=" + value + "\n";
}

void AddLine(std::string& report, const char* key, long long value) {
  AddLine(report, key, std::to_string(value));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fputs("usage: lorix_wave_in_probe SECONDS MARKER OUT.wav REPORT.txt\n", stderr);
    return 2;
  }
  const DWORD record_ms = static_cast<DWORD>(std::atoi(argv[1])) * 1000;
  constexpr std::int32_t kRate = 11025;

  lorix::WaveInCaptureBackend device;
  lorix::WaveInWindow window(device);
  if (window.handle() == nullptr) {
    std::fputs("no message window\n", stderr);
    return 1;
  }
  std::string report;
  AddLine(report, "devices", lorix::WaveInCaptureBackend::DeviceCount());
  AddLine(report, "device_name", lorix::WaveInCaptureBackend::DeviceName(0));
  lorix::Bytes pcm;
  lorix::ResetPcmStream(pcm, kRate);

  // A recording: started, run for the given time, stopped and drained.
  {
    WatchedBackend watched(device);
    NotedDialogs dialogs;
    int sink_buffers = 0;
    int short_buffers = 0;
    lorix::RecordingEngine engine(watched, window.Poster(), dialogs);
    engine.RecordSampleRate = kRate;
    engine.OnSoundData = [&](const std::uint8_t* data, std::int32_t count) {
      ++sink_buffers;
      if (count != static_cast<std::int32_t>(lorix::kCaptureBufferBytes)) ++short_buffers;
      pcm.insert(pcm.end(), data, data + count);
    };

    engine.StartSK();
    if (engine.phase() != lorix::RecordingEngine::Phase::kRunning) {
      std::fprintf(stderr, "the engine does not start: %s\n", LastErrorText(engine).c_str());
      return 1;
    }
    const int queued_at_start = engine.state().InBuffersActive;
    // The device takes a while to deliver; the recording time counts from its first buffer.
    if (!RunMessagesUntil([&] { return sink_buffers > 0; }, 10000)) {
      std::fputs("the device delivers no buffer\n", stderr);
      return 1;
    }
    if (!WriteAll(argv[2], lorix::Bytes{'1'})) return 1;
    RunMessagesUntil([] { return false; }, record_ms);

    engine.StopSK();
    const bool stopped_at_once = engine.state().SKStopped && engine.state().StopRequested;
    const int sink_buffers_at_stop = sink_buffers;
    const bool drained = RunMessagesUntil(
        [&] { return engine.phase() == lorix::RecordingEngine::Phase::kStopped; }, 5000);
    // Anything the device still had to say arrives now, to a stopped engine.
    RunMessagesUntil([] { return false; }, 300);

    AddLine(report, "queued_at_start", queued_at_start);
    AddLine(report, "sink_buffers", sink_buffers);
    AddLine(report, "short_buffers", short_buffers);
    AddLine(report, "sink_buffers_after_stop", sink_buffers - sink_buffers_at_stop);
    AddLine(report, "returned", watched.returned);
    AddLine(report, "out_of_order", watched.out_of_order);
    AddLine(report, "held_at_reset", watched.held_at_reset);
    AddLine(report, "returned_by_reset", watched.returned_by_reset);
    AddLine(report, "returned_full_by_reset", watched.returned_full_by_reset);
    AddLine(report, "stopped_at_once", stopped_at_once);
    AddLine(report, "drained", drained);
    AddLine(report, "in_buffers_active", engine.state().InBuffersActive);
    AddLine(report, "device_open", engine.DeviceOpen() || device.is_open());
    AddLine(report, "closes", watched.closes);
    AddLine(report, "error_lines", engine.error_log().ErrorLineCount());
    AddLine(report, "boxes", dialogs.shown);
  }

  // Devices the engine cannot record from: a number past the last device, the wave mapper.
  for (const auto& [key, device_id] :
       {std::pair{"unknown_device_error", lorix::WaveInCaptureBackend::DeviceCount()},
        std::pair{"mapper_error", -1}}) {
    NotedDialogs dialogs;
    lorix::RecordingEngine engine(device, window.Poster(), dialogs);
    engine.RecordDeviceId = device_id;
    engine.StartSK();
    AddLine(report, key,
            engine.phase() == lorix::RecordingEngine::Phase::kStopped ? LastErrorText(engine)
                                                                      : "running");
  }

  // An engine that ends while it records: its device is closed with the buffers still queued,
  // and none of them is reported afterwards.
  {
    WatchedBackend watched(device);
    NotedDialogs dialogs;
    int sink_buffers = 0;
    {
      lorix::RecordingEngine engine(watched, window.Poster(), dialogs);
      engine.OnSoundData = [&](const std::uint8_t*, std::int32_t) { ++sink_buffers; };
      engine.StartSK();
      RunMessagesUntil([&] { return sink_buffers >= 3; }, 10000);
      AddLine(report, "ended_while_running",
              engine.phase() == lorix::RecordingEngine::Phase::kRunning);
    }
    const int returned_at_end = watched.returned;
    RunMessagesUntil([] { return false; }, 500);
    AddLine(report, "returned_after_end", watched.returned - returned_at_end);
    AddLine(report, "open_after_end", device.is_open());
  }

  lorix::FinishPcmStream(pcm, kRate);
  if (!WriteAll(argv[3], pcm) || !WriteAll(argv[4], lorix::Bytes(report.begin(), report.end()))) {
    std::fputs("cannot write the results\n", stderr);
    return 1;
  }
  return 0;
}
