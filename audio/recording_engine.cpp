#include "audio/recording_engine.h"

#include <algorithm>
#include <utility>

#include "audio/wave_in_errors.h"

namespace lorix {

namespace {

std::string CallError(int code, const char* function) {
  return "Fehler " + std::to_string(code) + " in \"" + function + "\" !";
}

}  // namespace

RecordingEngine::RecordingEngine(CaptureBackend& backend, PostToUiThread post, Dialogs& dialogs,
                                 ErrorLog::Clock clock)
    : backend_(backend),
      post_(std::move(post)),
      dialogs_(dialogs),
      error_log_(dialogs, std::move(clock)),
      self_(std::make_shared<RecordingEngine*>(this)) {}

RecordingEngine::~RecordingEngine() {
  // Closing joins the device's thread, so no buffer is reported afterwards; buffers already
  // posted find the engine gone. The engine still owns every buffer and releases them here.
  self_.reset();
  if (device_open_) {
    backend_.Reset();
    backend_.Close();
  }
}

RecordingEngine::Phase RecordingEngine::phase() const {
  if (!state_.SKStopped) return Phase::kRunning;
  return device_open_ ? Phase::kDraining : Phase::kStopped;
}

void RecordingEngine::StartSK() {
  StopSK();
  if (device_open_) {
    // The previous device still has buffers to give back; the counter belongs to it until
    // then. The start follows when it is closed.
    start_pending_ = true;
    return;
  }
  StartDevice();
}

void RecordingEngine::StopSK() {
  start_pending_ = false;
  if (device_open_) backend_.Reset();
  state_.StopRequested = true;
  state_.SKStopped = true;
}

void RecordingEngine::StartDevice() {
  wave_format_ = WaveFormat::Mono8(RecordSampleRate);
  device_open_ = false;
  if (!OpenWaveIn()) return;

  state_.InBuffersActive = 0;
  state_.OutBuffersActive = 0;
  for (int i = 0; i < kRecordBufferCount; ++i) {
    CaptureBuffer* buffer = NewBuffer();
    if (const int code = backend_.Prepare(*buffer); code != kWaveNoError) {
      ReleaseBuffer(buffer);
      AddErrorLine(CallError(code, "WaveInPrepareHeader"), false);
      AbandonDevice();
      return;
    }
    if (const int code = backend_.AddBuffer(*buffer); code != kWaveNoError) {
      backend_.Unprepare(*buffer);
      ReleaseBuffer(buffer);
      AddErrorLine(CallError(code, "WaveInAddBuffer"), false);
      AbandonDevice();
      return;
    }
    ++state_.InBuffersActive;
  }
  if (const int code = backend_.Start(); code != kWaveNoError) {
    AddErrorLine(CallError(code, "WaveInStart"), true);
    AbandonDevice();
    return;
  }
  texts_.LabelWaveFormat = "(Format: 8 Bit Mono)";
  TextsChanged();
  state_.StopRequested = false;
  state_.SKStopped = false;
}

void RecordingEngine::AbandonDevice() {
  backend_.Reset();
  if (state_.InBuffersActive == 0) CloseDevice();
}

bool RecordingEngine::OpenWaveIn() {
  if (!wave_format_) wave_format_ = WaveFormat::Mono8(RecordSampleRate);
  ShowWaveInStatus("wiQuerying...");
  if (backend_.QueryFormat(RecordDeviceId, *wave_format_) != kWaveNoError) {
    AddErrorLine("Record format not supported", true);
    return false;
  }
  ShowWaveInStatus("wiOpening...");
  std::weak_ptr<RecordingEngine*> engine = self_;
  PostToUiThread post = post_;
  const int code =
      backend_.Open(RecordDeviceId, *wave_format_, [engine, post](CaptureBuffer* buffer) {
        post([engine, buffer] {
          if (const auto alive = engine.lock()) (*alive)->MMWimData(buffer);
        });
      });
  ShowWaveInStatus("wiOpen done ...");
  if (code == kWaveNoError) {
    device_open_ = true;
    return true;
  }
  AddErrorLine("Problem creating record handle:  " + WaveInOpenErrorText(code), true);
  return false;
}

std::string RecordingEngine::ButtonStartClick() {
  if (state_.SKStopped) {
    StartSK();
  } else {
    StopSK();
  }
  texts_.ButtonStart = state_.SKStopped ? "Start SK" : "Stop SK";
  TextsChanged();
  return texts_.ButtonStart;
}

void RecordingEngine::MMWimData(CaptureBuffer* buffer) {
  // Only buffers of the open device can come back; anything else is not ours to count.
  if (!device_open_ || !Owns(buffer)) return;

  --state_.InBuffersActive;
  SetInCount();
  if (backend_.Unprepare(*buffer) != kWaveNoError) {
    dialogs_.ShowError("error", "In Un Prepare error");
  }
  if (!state_.StopRequested) {
    if (OnSoundData) {
      OnSoundData(buffer->data.data(), static_cast<std::int32_t>(buffer->bytes_recorded));
    }
    ReleaseBuffer(buffer);
    // The sink may have stopped the engine; then no buffer goes back to the device.
    if (!state_.StopRequested) {
      CaptureBuffer* fresh = NewBuffer();
      if (backend_.Prepare(*fresh) != kWaveNoError) {
        dialogs_.ShowError("error", "In Prepare error");
      }
      if (backend_.AddBuffer(*fresh) == kWaveNoError) {
        ++state_.InBuffersActive;
      } else {
        // A buffer the device did not take never comes back: counting it would keep the
        // device open for good.
        dialogs_.ShowError("error", "Add buffer error");
        backend_.Unprepare(*fresh);
        ReleaseBuffer(fresh);
      }
    }
  } else {
    ReleaseBuffer(buffer);
  }
  if (state_.InBuffersActive == 0) CloseDevice();
  if (state_.InBuffersActive == 0 && state_.OutBuffersActive == 0) state_.SKStopped = true;
  if (start_pending_ && !device_open_) {
    start_pending_ = false;
    StartDevice();
  }
}

void RecordingEngine::ShowWaveInStatus(const std::string& text) {
  texts_.Label_In_Count = text;
  TextsChanged();
}

CaptureBuffer* RecordingEngine::NewBuffer() {
  buffers_.push_back(std::make_unique<CaptureBuffer>());
  return buffers_.back().get();
}

void RecordingEngine::ReleaseBuffer(CaptureBuffer* buffer) {
  std::erase_if(buffers_, [buffer](const auto& owned) { return owned.get() == buffer; });
}

bool RecordingEngine::Owns(const CaptureBuffer* buffer) const {
  return std::any_of(buffers_.begin(), buffers_.end(),
                     [buffer](const auto& owned) { return owned.get() == buffer; });
}

void RecordingEngine::CloseDevice() {
  if (!device_open_) return;
  backend_.Close();
  device_open_ = false;
}

void RecordingEngine::SetInCount() {
  texts_.Label_In_Count = std::to_string(state_.InBuffersActive);
  TextsChanged();
}

void RecordingEngine::TextsChanged() {
  if (OnTextsChanged) OnTextsChanged();
}

}  // namespace lorix
