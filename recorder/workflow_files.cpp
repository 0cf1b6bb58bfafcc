// Loading and saving: WAV files (to listen to, or as material for a recording), compressed files
// and finished attachments (decoded, played, ready to be sent again), the expert buttons that
// compress and decompress by hand, and the information text of a loaded attachment.
//
// Every file comes from outside: it is read and checked completely before anything of the
// workflow changes, and a file that cannot be used is reported with a message.

#include <cerrno>
#include <cmath>
#include <utility>

#include "audio/sound_level.h"
#include "codec/codec_error.h"
#include "codec/decoder.h"
#include "codec/file_io.h"
#include "codec/file_system.h"
#include "codec/info_text_view.h"
#include "codec/stream_header.h"
#include "codec/wav_file.h"
#include "recorder/recording_workflow.h"

namespace lorix {
namespace {

constexpr const char* kCaption = "LORIX";

std::string KbRoundedUp(std::size_t size) {
  return std::to_string((size + 1023) / 1024);
}

// A per-cent value in the pattern "###.# %": no leading zero, no trailing ".0".
std::string PercentText(double percent) {
  const auto tenths = static_cast<std::int64_t>(std::nearbyint(percent * 10.0));
  std::string text;
  if (tenths / 10 != 0) text = std::to_string(tenths / 10);
  if (tenths % 10 != 0) text += "." + std::to_string(tenths % 10);
  return text + " %";
}

// Files of 2 GB and more are refused before they are read.
Bytes ReadLoadedFile(const std::string& path) {
  Bytes bytes;
  const int error = ReadFileInto(path, bytes, static_cast<std::uint64_t>(kMaxInputBytes));
  if (error == EFBIG) throw CodecError(TooLargeText(path));
  if (error != 0) {
    throw CodecError("Die Datei \"" + path +
                     "\" kann nicht gelesen werden: " + SystemErrorText(error));
  }
  return bytes;
}

}  // namespace

bool MTLoadRecEnabled(const WorkflowState& state) {
  return state.BufferPristine && !state.LevelMeterOn;
}

bool MTSaveRecEnabled(const RecorderControls& controls) {
  return controls.ButtonComprDecomprAndPlay.enabled;
}

std::string CompressionStatusText(std::size_t pcm_size, std::size_t compressed_size) {
  std::string text =
      "WAV: " + KbRoundedUp(pcm_size) + " KB  -  " + "LRX: " + KbRoundedUp(compressed_size) + " KB";
  if (pcm_size > 0) {
    text +=
        "     (" +
        PercentText(static_cast<double>(compressed_size) * 100.0 / static_cast<double>(pcm_size)) +
        ")";
  }
  return text;
}

std::optional<std::string> RecordingWorkflow::ShowOpenSaveDialog(bool save, bool wav) {
  return ShowFileDialog(
      PrepareOpenSaveDialog(save, wav, dialog_file_name_, paths_.lorixs_folder.string()));
}

std::optional<std::string> RecordingWorkflow::ShowFileDialog(const FileDialogRequest& request) {
  dialog_file_name_ = request.file_name;
  if (!hooks_.choose_file) return std::nullopt;
  std::optional<std::string> chosen = hooks_.choose_file(request);
  if (chosen) dialog_file_name_ = *chosen;
  return chosen;
}

void RecordingWorkflow::ButtonLoadSaveAnyFileClick(FileButton sender) {
  const bool wav = sender == FileButton::kLoadPCMFile || sender == FileButton::kSavePCMFile;
  const bool save = sender == FileButton::kSaveLRXFile || sender == FileButton::kSavePCMFile;
  if (const std::optional<std::string> chosen = ShowOpenSaveDialog(save, wav)) {
    DisableButtons();
    if (save) {
      SaveWithOverwritePrompt(wav, *chosen);
    } else {
      LoadAnyFile(wav, *chosen);
    }
  }
  UpdateControls();
}

void RecordingWorkflow::MTLoadSaveRecClick(bool load) {
  // An import during or after a recording would replace it (while the engine may still append
  // to it) without the reset question.
  if (load ? !MTLoadRecEnabled(state_) : !MTSaveRecEnabled(controls_)) return;
  ButtonLoadSaveAnyFileClick(load ? FileButton::kLoadPCMFile : FileButton::kSavePCMFile);
}

void RecordingWorkflow::SaveWithOverwritePrompt(bool wav, const std::string& path) {
  if (KindOf(path) != FileKind::kMissing) {
    const DialogAnswer answer = dialogs_.Show({kCaption, path + " existiert schon! Überschreiben?",
                                               DialogIcon::kQuestion, DialogButtons::kOkCancel});
    if (answer != DialogAnswer::kOk) return;
  }
  SaveBufferToFile(wav, path);
}

void RecordingWorkflow::SaveBufferToFile(bool wav, const std::string& path) {
  if (!SaveFile(path, wav ? pcm_stream_ : compressed_stream_)) return;
  if (wav) playback_.SetPlayFile(path, false);
}

void RecordingWorkflow::LoadAnyFile(bool wav, const std::string& path) {
  const std::optional<std::string> play_file = wav ? LoadWav(path) : LoadCompressed(path);
  if (play_file) {
    controls_.LabelRecordedOrLoaded = " Geladene Datei: ";
    controls_.LabelLoadedFile = path;
    if (playback_.SetPlayFile(*play_file, true) == 0 && hooks_.show_play_block) {
      hooks_.show_play_block();
    }
  }
  UpdateControls();
}

std::optional<std::string> RecordingWorkflow::LoadWav(const std::string& path) {
  LoadedWav wav;
  try {
    wav = ReadWavImage(ReadLoadedFile(path), path);
  } catch (const CodecError& error) {
    ShowError(error.what());
    return std::nullopt;
  }
  EndRecordingProtection();  // the recording is given up for the loaded file
  if (playback_.PlaybackActive()) playback_.ClosePlayback();
  pcm_stream_ = std::move(wav.PcmStream);
  const std::int32_t samples = wav.format.sample_count;
  state_.SampleCount = samples;
  SetCurrentSampleRate(wav.format.sample_rate);
  const bool recording_material =
      wav.kind == WavKind::kPcm8Mono && wav.format.sample_rate == options_.SKFixedFreq;
  if (recording_material) {
    state_.LoadedFileKind = LoadedKind::kRecording;
    controls_.LabelRecordedWAV_File = path;
    controls_.LabelSmpsRecorded =
        RecordedTimeText(RecordedMilliseconds(samples, state_.CurrentSampleRate));
  } else {
    state_.LoadedFileKind = LoadedKind::kPlayableOnly;
    dialogs_.Show({kCaption,
                   "Die Datei\r\n\"" + path + "\"\r\nist nicht im " +
                       std::to_string(options_.SKFixedFreq) +
                       "Hz/PCM-8Bit-Mono-Format!\r\nSie kann nur abgespielt werden!",
                   DialogIcon::kInformation, DialogButtons::kOk});
  }
  return path;
}

std::optional<std::string> RecordingWorkflow::LoadCompressed(const std::string& path) {
  Bytes stream;
  DecompressResult decoded;
  try {
    stream = ReadLoadedFile(path);
    // Only files that end in a recording of ours are taken; anything else would decode noise.
    if (stream.size() < static_cast<std::size_t>(kStreamHeaderSize) ||
        !HasStreamMagic(ReadStreamHeader(stream))) {
      ShowError("Die Datei  \"" + path + "\"  hat nicht das LORIX-Format !!");
      return std::nullopt;
    }
  } catch (const CodecError& error) {
    ShowError(error.what());
    return std::nullopt;
  }
  try {
    ShowWaitPanel();
    decoded = Decompress(stream, tables_);
  } catch (const CodecError& error) {
    ShowError("Die Datei \"" + path + "\" kann nicht entpackt werden:\r\n" + error.what());
    return std::nullopt;
  }

  EndRecordingProtection();
  if (playback_.PlaybackActive()) playback_.ClosePlayback();
  controls_.LabelRecordedWAV_File = "(-)";
  compressed_stream_ = std::move(stream);
  pcm_stream_ = std::move(decoded.PcmStream);
  info_stream_ = std::move(decoded.InfoStream);
  state_.PayloadSize = decoded.PayloadSize;
  state_.SampleCount = decoded.SampleCount;
  state_.LoadedFileKind = LoadedKind::kCompressed;
  state_.CompressedStale = false;
  SetCurrentSampleRate(decoded.CurrentSampleRate);
  playback_.SetPlayLengthSamples(decoded.SampleCount);
  NewAttachmentName();
  // The decoded version is played from a file; without it the recording can still be sent.
  if (!SaveFile(paths_.temp_compressed, pcm_stream_)) return std::nullopt;
  return paths_.temp_compressed.string();
}

void RecordingWorkflow::ButtonCompDecompClick(bool compress) {
  DisableButtons();
  if (compress) {
    CompressPcmStream();
  } else {
    DecompressIntoPcmStream();
  }
  UpdateControls();
  // Shown after the refresh, which would otherwise replace it with "ok." at once.
  controls_.PanelBottom = CompressionStatusText(pcm_stream_.size(), compressed_stream_.size());
}

void RecordingWorkflow::ButtonShowMSINFofMailClick() {
  if (info_stream_.empty()) return;
  if (!SaveFile(paths_.temp_info, info_stream_)) return;
  if (hooks_.open_file) hooks_.open_file(WriteInfoTextView(paths_.temp_info).string());
}

}  // namespace lorix
