#pragma once

// The recording engine of the sound-card window: it keeps 20 buffers of 1000 bytes circulating
// through the wave-input device and hands every filled one, on the user-interface thread, to
// the data sink OnSoundData. The device reports buffers from its own thread; they reach the
// engine as posted work, so all engine code runs on the user-interface thread.
//
//   Stopped  --StartSK-->  Running  --StopSK-->  Draining  --last buffer back-->  Stopped
//
// A start requested while the previous device is still draining waits until that device has
// handed back its last buffer and is closed; then the new device is opened.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "audio/capture_backend.h"
#include "audio/dialogs.h"
#include "audio/error_log.h"
#include "audio/ui_thread.h"

namespace lorix {

inline constexpr int kRecordBufferCount = 20;

// What the sound-card window shows; it repaints when OnTextsChanged reports a change.
struct SoundCardTexts {
  std::string Label_In_Count = "0";
  std::string LabelWaveFormat = "(-)";
  std::string ButtonStart = "Start SK";
};

struct RecordingEngineState {
  std::int32_t InBuffersActive = 0;
  std::int32_t OutBuffersActive = 0;
  bool SKStopped = true;
  bool StopRequested = true;
};

class RecordingEngine {
 public:
  enum class Phase { kStopped, kRunning, kDraining };

  // Receives each filled buffer: its data block and the bytes recorded. The block is released
  // right after the call.
  using SoundDataSink = std::function<void(const std::uint8_t* data, std::int32_t count)>;

  // `post` hands the device's buffers to the user-interface thread, the thread on which every
  // member below is called.
  RecordingEngine(CaptureBackend& backend, PostToUiThread post, Dialogs& dialogs,
                  ErrorLog::Clock clock = {});
  ~RecordingEngine();
  RecordingEngine(const RecordingEngine&) = delete;
  RecordingEngine& operator=(const RecordingEngine&) = delete;

  // Stops whatever runs, opens the device, queues the buffers and starts. Failures are logged
  // and leave the engine stopped.
  void StartSK();
  // Resets the device; its buffers come back and are discarded. The device is closed when the
  // last one is back.
  void StopSK();
  // Queries and opens the device; true only when the open succeeded.
  bool OpenWaveIn();
  // Starts when stopped, else stops. Returns the new button caption.
  std::string ButtonStartClick();
  // Handles one buffer the device handed back.
  void MMWimData(CaptureBuffer* buffer);
  void ShowWaveInStatus(const std::string& text);
  // Every new line is a changed text for the sound-card window.
  void AddErrorLine(const std::string& text, bool modal) {
    error_log_.AddErrorLine(text, modal);
    if (OnTextsChanged) OnTextsChanged();
  }

  Phase phase() const;
  const RecordingEngineState& state() const { return state_; }
  const SoundCardTexts& texts() const { return texts_; }
  ErrorLog& error_log() { return error_log_; }
  const ErrorLog& error_log() const { return error_log_; }
  bool DeviceOpen() const { return device_open_; }
  bool StartPending() const { return start_pending_; }

  // Configuration, read from the settings before the first start.
  std::int32_t RecordDeviceId = 0;
  std::int32_t RecordSampleRate = 11025;

  SoundDataSink OnSoundData;
  // Called after each change of texts(); the window repaints there at once.
  std::function<void()> OnTextsChanged;

 private:
  // Steps 2..7 of a start, once no earlier device is open any more.
  void StartDevice();
  // Ends a start that failed after the device was opened: the device gives back what it holds
  // and is closed once nothing is queued any more.
  void AbandonDevice();
  CaptureBuffer* NewBuffer();
  void ReleaseBuffer(CaptureBuffer* buffer);
  bool Owns(const CaptureBuffer* buffer) const;
  void CloseDevice();
  void SetInCount();
  void TextsChanged();

  CaptureBackend& backend_;
  PostToUiThread post_;
  Dialogs& dialogs_;
  ErrorLog error_log_;
  RecordingEngineState state_;
  SoundCardTexts texts_;
  std::optional<WaveFormat> wave_format_;
  bool device_open_ = false;
  bool start_pending_ = false;
  // Every buffer allocated and not yet released, whether queued or on its way back.
  std::vector<std::unique_ptr<CaptureBuffer>> buffers_;
  // Expires with the engine, so that buffers posted after its end are ignored.
  std::shared_ptr<RecordingEngine*> self_;
};

}  // namespace lorix
