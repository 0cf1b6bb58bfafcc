// Step 3 of the workflow and the two listen buttons: the recording is compressed, decoded back
// and saved as TempCompressed.wav, so that the user hears what the recipient will hear.

#include <filesystem>
#include <utility>

#include "codec/codec_error.h"
#include "codec/decoder.h"
#include "codec/encoder.h"
#include "codec/file_system.h"
#include "codec/info_text.h"
#include "codec/stream_header.h"
#include "codec/version.h"
#include "codec/wav_header.h"
#include "recorder/recording_workflow.h"

namespace lorix {

void RecordingWorkflow::ButtonComprDecomprAndPlayClick() {
  // While something plays the button reads "3. STOP Wiederg.!".
  if (playback_.PlaybackActive()) {
    ButtonStopClick();
    return;
  }
  if (state_.RecordingActive) {
    StopRecording();
  } else if (recording_unsaved_) {
    // Space may have been made since the stop; a failure was reported then.
    SaveRecording(false);
  }

  controls_.ButtonCreateOpenMail.enabled = false;
  if (recording_unsaved_) {
    // TempRecording.wav is older than the recording: step 3 works from memory, and the journal
    // stays until the recording is safe on the disk or given up.
    if (unsaved_recording_.empty()) {
      unsaved_recording_ = pcm_stream_;
    } else {
      pcm_stream_ = unsaved_recording_;  // PcmStream holds the decoded version of a step 3
    }
    state_.SampleCount = static_cast<std::int32_t>(pcm_stream_.size() - kWavHeaderSize);
  } else {
    // The recording is complete in TempRecording.wav: nothing is left to restore after a crash.
    journal_.Finish();
    if (!LoadRecordedWav()) {
      UpdateControls();
      return;
    }
  }
  ShowWaitPanel();
  if (!CompressPcmStream()) {
    UpdateControls();
    return;
  }
  // The exact size replaces the estimate.
  state_.ExpectedAttachmentSize =
      static_cast<std::int64_t>(compressed_stream_.size()) + state_.AttachmentOverhead;
  ShowExpectedSize("");

  controls_.ButtonCreateOpenMail.enabled = false;
  ShowWaitPanel();
  if (!DecompressIntoPcmStream()) {
    UpdateControls();
    return;
  }
  if (SaveFile(paths_.temp_compressed, pcm_stream_)) {
    playback_.SetPlayFile(paths_.temp_compressed.string(), controls_.CBAndPlayLRXFile);
  } else {
    // Nothing to listen to (an older decoded version must not pass for this one), but the
    // compressed recording is complete in memory and step 4 can send it.
    RemoveFile(paths_.temp_compressed);
  }
  NewAttachmentName();
  // Step 4 follows the state: enabled now, or once the automatic playback has ended.
  UpdateControls();
  Focus(FocusTarget::kScrollBarRecordLevel);
}

bool RecordingWorkflow::CompressPcmStream() {
  DisableButtons();
  try {
    const CodecSettings settings{state_.CompressLevel, state_.MuteLow, state_.MuteHigh};
    CompressResult result = Compress(pcm_stream_, state_.SampleCount, settings, tables_,
                                     ProgramVersion, InfoTextLength());
    compressed_stream_ = std::move(result.CompressedStream);
    // The encoder writes the payload and its header, nothing else.
    state_.PayloadSize = static_cast<std::int32_t>(compressed_stream_.size()) - kStreamHeaderSize;
    SetCurrentSampleRate(result.CurrentSampleRate);
  } catch (const CodecError& error) {
    ShowError(error.what());
    return false;
  }
  state_.CompressedStale = false;
  UpdateControls();
  return true;
}

bool RecordingWorkflow::DecompressIntoPcmStream() {
  DisableButtons();
  try {
    DecompressResult result = Decompress(compressed_stream_, tables_);
    pcm_stream_ = std::move(result.PcmStream);
    SetCurrentSampleRate(result.CurrentSampleRate);
    state_.PayloadSize = result.PayloadSize;
    info_stream_ = std::move(result.InfoStream);
    state_.SampleCount = result.SampleCount;
    playback_.SetPlayLengthSamples(result.SampleCount);
  } catch (const CodecError& error) {
    ShowError(error.what());
    return false;
  }
  UpdateControls();
  return true;
}

void RecordingWorkflow::ButtonAndPlayClick() {
  if (playback_.PlaybackActive()) return;
  playback_.SetPlayFile(paths_.temp_compressed.string(), true);
}

void RecordingWorkflow::ButtonAndPlayOrigClick() {
  if (!controls_.ButtonAndPlayOrig.enabled) return;
  if (playback_.PlaybackActive()) ButtonStopClick();
  // The uncompressed version: TempRecording.wav for an own recording, else the loaded WAV.
  playback_.SetPlayFile(controls_.LabelRecordedWAV_File, true);
}

}  // namespace lorix
