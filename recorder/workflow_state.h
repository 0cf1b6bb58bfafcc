#pragma once

// The recorder's workflow state: where the four steps stand, what the buffers hold, and the two
// slider settings the encoder and the size estimate read. Owned by RecordingWorkflow; the
// playback state lives in WavePlayback.

#include <cstdint>
#include <string>

namespace lorix {

// What the buffers hold besides an own recording.
enum class LoadedKind : int {
  kNone = 0,          // nothing loaded: an own recording, or nothing
  kPlayableOnly = 1,  // a WAV in another format or at another rate
  kRecording = 2,     // an 8-bit mono WAV at the recording rate, usable as recording
  kCompressed = 3,    // a compressed file or an attachment
};

struct WorkflowState {
  bool LevelMeterOn = false;     // the recording engine runs; the meter moves
  bool RecordingActive = false;  // incoming samples are appended to PcmStream
  bool BufferPristine = true;    // nothing recorded since the last reset
  LoadedKind LoadedFileKind = LoadedKind::kNone;
  std::int32_t CurrentSampleRate = 11025;   // rate of what PcmStream holds
  std::int32_t SampleCount = 0;             // samples of the stopped recording or loaded WAV
  std::int32_t PayloadSize = 0;             // payload of the compressed stream
  std::int64_t ExpectedAttachmentSize = 0;  // running estimate, bytes
  std::int64_t AttachmentOverhead = 0;      // player program + information text
  double PcmBytesPerCompressedByte = 0.0;   // ratio behind the estimate
  int CompressLevel = 3;
  int MuteLevel = 4;
  std::uint8_t MuteLow = 8;  // codes strictly between MuteLow and MuteHigh are quiet
  std::uint8_t MuteHigh = 8;
  std::string AttachmentPath;
  std::string AttachmentFileName;
  // The recording was changed after CompressedStream was made from it, so an attachment built
  // now would lack the new part; step 4 waits for the next step 3.
  bool CompressedStale = false;
};

}  // namespace lorix
