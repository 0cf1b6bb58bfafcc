#include "recorder/recording_workflow.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <new>
#include <stdexcept>
#include <utility>

#include "audio/mixer_bindings.h"
#include "codec/codec_error.h"
#include "codec/encoder.h"
#include "codec/file_io.h"
#include "codec/sound_file_type.h"
#include "codec/wav_file.h"
#include "codec/wav_header.h"
#include "mp3/mp3_encoder.h"

namespace lorix {
namespace {

constexpr const char* kMessageCaption = "LORIX";

bool IsStep1(RecordSender sender) {
  return sender == RecordSender::kButtonRecordLevelOnOff ||
         sender == RecordSender::kPanelTipRecordLevelOnOff ||
         sender == RecordSender::kPanelTipRecordLevelOnOffMicro;
}

WavePlayback::Services WithUpdate(WavePlayback::Services services, std::function<void()> update) {
  services.update_controls = std::move(update);
  return services;
}

}  // namespace

RecordingWorkflow::RecordingWorkflow(RecordingEngine& engine, Dialogs& dialogs,
                                     const RecorderOptions& options, RecorderPaths paths,
                                     WavePlayback::Services playback_services, WorkflowHooks hooks,
                                     Mixer* mixer)
    : engine_(engine),
      dialogs_(dialogs),
      options_(options),
      paths_(std::move(paths)),
      hooks_(std::move(hooks)),
      mixer_(mixer),
      tables_(InitCodecTables()),
      playback_(WithUpdate(std::move(playback_services), [this] { UpdateControls(); }), dialogs) {
  engine_.OnSoundData = [this](const std::uint8_t* data, std::int32_t count) {
    ProcessSoundData(data, count);
  };
  playback_.SetCurrentSampleRate(state_.CurrentSampleRate);
  UpdateControls();
}

void RecordingWorkflow::UpdateControls() {
  ControlInputs in;
  in.LevelMeterOn = state_.LevelMeterOn;
  in.RecordingActive = state_.RecordingActive;
  in.PlaybackActive = playback_.PlaybackActive();
  in.PlaybackPaused = playback_.PlaybackPaused();
  in.LoadedFileKind = static_cast<int>(state_.LoadedFileKind);
  in.CurrentSampleRate = state_.CurrentSampleRate;
  in.SampleCount = state_.SampleCount;
  in.AttachmentOverhead = state_.AttachmentOverhead;
  in.pcm_stream_size = pcm_stream_.size();
  in.compressed_stream_size = compressed_stream_.size();
  in.attachment_stream_size = AttachmentStreamSize();
  in.info_stream_size = info_stream_.size();
  in.compressed_stale = state_.CompressedStale;
  in.AttachmentPath = state_.AttachmentPath;
  in.AttachmentFileName = state_.AttachmentFileName;
  in.attachment_kind =
      static_cast<int>(options_.AttachmentKindRadioButton().value_or(AttachmentChoice::kProgram));
  in.mp3_size_estimate = EstimatedMp3Size(state_.SampleCount, state_.CurrentSampleRate);
  in.PlayFile = playback_.PlayFile();
  lorix::UpdateControls(in, controls_);
  // TempRecording.wav would play an older state of the recording.
  if (recording_unsaved_) controls_.ButtonAndPlayOrig.enabled = false;
  if (journal_.Failed()) controls_.PanelBottom = kUnprotectedRecordingText;
}

void RecordingWorkflow::DisableButtons() {
  controls_.PanelButtons_enabled = false;
  controls_.PanelBottom = "(Moment bitte ...)";
}

bool RecordingWorkflow::Enabled(RecordSender sender) const {
  return IsStep1(sender) ? controls_.ButtonRecordLevelOnOff.enabled
                         : controls_.ButtonRecord.enabled;
}

void RecordingWorkflow::ButtonRecordClick(RecordSender sender) {
  // A disabled control sends nothing; the space key asks the same question first.
  if (!Enabled(sender)) return;
  if (IsStep1(sender)) {
    ToggleLevelMeter();
  } else if (state_.RecordingActive) {
    StopRecording();
  } else {
    StartOrContinueRecording();
  }
}

void RecordingWorkflow::StartEngine() {
  if (!engine_.state().SKStopped) return;
  engine_.RecordSampleRate = options_.SKFixedFreq;
  engine_.StartSK();
}

void RecordingWorkflow::ToggleLevelMeter() {
  state_.LevelMeterOn = !state_.LevelMeterOn;
  if (state_.LevelMeterOn) {
    StartEngine();
    Focus(FocusTarget::kScrollBarRecordLevel);
  } else {
    engine_.StopSK();
    controls_.DbMeterRecordLevel = 0;
  }
  UpdateControls();
  Focus(FocusTarget::kScrollBarRecordLevel);
}

void RecordingWorkflow::StopRecording() {
  state_.RecordingActive = false;
  state_.LevelMeterOn = false;
  engine_.StopSK();
  controls_.DbMeterRecordLevel = 0;
  if (pcm_stream_.size() < static_cast<std::size_t>(kWavHeaderSize)) {
    ResetPcmStream(pcm_stream_, state_.CurrentSampleRate);
  }
  state_.SampleCount = FinishPcmStream(pcm_stream_, state_.CurrentSampleRate);
  state_.CompressedStale = true;
  SaveRecording(true);
  UpdateControls();
  // A changed recording must be compressed again before step 4.
  controls_.ButtonCreateOpenMail.enabled = false;
  controls_.ButtonAndPlay.enabled = false;
  Focus(FocusTarget::kScrollBarRecordLevel);
}

bool RecordingWorkflow::SaveRecording(bool report) {
  try {
    WriteFileAtomically(paths_.temp_recording,
                        unsaved_recording_.empty() ? pcm_stream_ : unsaved_recording_);
    recording_unsaved_ = false;
    Bytes().swap(unsaved_recording_);
    return true;
  } catch (const CodecError& error) {
    recording_unsaved_ = true;
    if (report)
      ShowError(std::string(error.what()) + "\r\nDie Aufnahme bleibt im Speicher erhalten.");
    return false;
  }
}

void RecordingWorkflow::EndRecordingProtection() {
  journal_.Finish();
  recording_unsaved_ = false;
  Bytes().swap(unsaved_recording_);
}

void RecordingWorkflow::StartOrContinueRecording() {
  const std::string recording = paths_.temp_recording.string();
  // After step 3 PcmStream holds the decoded version: the uncompressed recording is put back
  // before more is appended. A loaded WAV becomes the start of the recording the same way.
  // TempRecording.wav is not read while it is older than the recording in memory.
  const bool reload = !pcm_stream_.empty() || controls_.LabelRecordedWAV_File != recording;
  if (recording_unsaved_) {
    if (!unsaved_recording_.empty()) pcm_stream_ = std::move(unsaved_recording_);
    Bytes().swap(unsaved_recording_);
  } else if (reload && IsWavFile(controls_.LabelRecordedWAV_File)) {
    if (!LoadRecordedWav()) {
      UpdateControls();
      return;
    }
    controls_.LabelRecordedWAV_File = recording;
  }
  if (pcm_stream_.empty()) {
    controls_.LabelRecordedWAV_File = recording;
    SetCurrentSampleRate(options_.SKFixedFreq);
    const auto reserve =
        static_cast<std::size_t>(std::max(options_.PrepareMemoryMB, 0)) * std::size_t{1048576};
    try {
      ResetPcmStream(pcm_stream_, state_.CurrentSampleRate, reserve);
    } catch (const std::bad_alloc&) {  // the reserve is only a head start
      ResetPcmStream(pcm_stream_, state_.CurrentSampleRate);
    } catch (const std::length_error&) {
      ResetPcmStream(pcm_stream_, state_.CurrentSampleRate);
    }
    state_.ExpectedAttachmentSize = state_.AttachmentOverhead;
    ShowExpectedSize("");
  }
  // Kept open over a pause: a continued recording goes on in the same journal. One that could
  // not be written is tried afresh, with everything recorded so far.
  if (!journal_.IsOpen() || journal_.Failed()) BeginJournal(std::time(nullptr));
  StartEngine();
  state_.RecordingActive = true;
  state_.LevelMeterOn = true;
  state_.BufferPristine = false;
  UpdateControls();
}

bool RecordingWorkflow::LoadRecordedWav() {
  try {
    LoadedWav wav = LoadWavFile(std::filesystem::path(controls_.LabelRecordedWAV_File));
    pcm_stream_ = std::move(wav.PcmStream);
    SetCurrentSampleRate(wav.format.sample_rate);
    state_.SampleCount = wav.format.sample_count;
    return true;
  } catch (const CodecError& error) {
    ShowError(error.what());
    return false;
  }
}

void RecordingWorkflow::ProcessSoundData(const std::uint8_t* data, std::int32_t count) {
  const ByteSpan samples(data, static_cast<std::size_t>(std::max(count, 0)));
  if (state_.RecordingActive) {
    AppendBytes(pcm_stream_, samples);
    journal_.Append(samples);
    if (journal_.Failed()) controls_.PanelBottom = kUnprotectedRecordingText;
  }
  ShowSoundData(samples);
}

void RecordingWorkflow::ShowSoundData(ByteSpan samples) {
  SoundDataContext context;
  context.RecordingActive = state_.RecordingActive;
  context.pcm_stream_size = static_cast<std::int64_t>(pcm_stream_.size());
  context.CurrentSampleRate = state_.CurrentSampleRate;
  context.meter_position = controls_.DbMeterRecordLevel;
  context.ExpectedAttachmentSize = state_.ExpectedAttachmentSize;
  context.PcmBytesPerCompressedByte = state_.PcmBytesPerCompressedByte;
  context.MuteLow = state_.MuteLow;
  context.MuteHigh = state_.MuteHigh;
  const SoundDataResult result = EvaluateSoundData(samples, context, level_scale_, tables_);

  controls_.DbMeterRecordLevel = result.Position;
  if (result.labels_changed) controls_.LabelSmpsRecorded = result.LabelSmpsRecorded;
  if (result.expected_size_changed) {
    state_.ExpectedAttachmentSize = result.ExpectedAttachmentSize;
    controls_.LabelKBExpectedLRX = result.LabelKBExpectedLRX;
  }
}

bool RecordingWorkflow::ButtonResetClick(ResetSender sender) {
  if (sender == ResetSender::kButtonReset && options_.ConfirmReset) {
    const DialogAnswer answer = dialogs_.Show({kMessageCaption, "Die letzte Aufnahme löschen?",
                                               DialogIcon::kQuestion, DialogButtons::kOkCancel});
    if (answer != DialogAnswer::kOk) return false;
  }
  EndRecordingProtection();
  engine_.StopSK();
  state_.RecordingActive = false;
  state_.LevelMeterOn = false;
  playback_.ButtonStopClick();  // reports "gestoppt nach ..." when something played
  playback_.SetPlayLengthSamples(0);

  state_.SampleCount = 0;
  state_.PayloadSize = 0;
  state_.ExpectedAttachmentSize = state_.AttachmentOverhead;

  controls_.LabelKBExpectedLRX = "   ";
  controls_.LabelSmpsRecorded = "   ";
  controls_.LabelRecordedOrLoaded = " Aufnahme: ";
  controls_.LabelRecordedWAV_File = "(-)";
  controls_.LabelLoadedFile = "(-)";
  playback_.ShowPlayStatus("(-)");
  controls_.LabelFreq = "(" + std::to_string(options_.SKFixedFreq) + " Hz)";

  state_.LoadedFileKind = LoadedKind::kNone;
  Bytes().swap(pcm_stream_);  // gives back the memory prepared for the recording
  Bytes().swap(compressed_stream_);
  state_.CompressedStale = false;
  controls_.DbMeterRecordLevel = 0;
  state_.BufferPristine = true;
  UpdateControls();
  return true;
}

void RecordingWorkflow::TBCompressLevelChange(int level) {
  level = std::clamp(level, 0, kMaxCompressLevel);
  state_.CompressLevel = level;
  controls_.TBCompressLevel = level;
  controls_.LabelCompressLevel = std::to_string(level);
  controls_.LabelQuality = std::to_string(kMaxCompressLevel - level);
  // The PCM amount behind the estimate stays; only the ratio applied to it changes.
  const double pcm_amount =
      static_cast<double>(state_.ExpectedAttachmentSize - state_.AttachmentOverhead) *
      state_.PcmBytesPerCompressedByte;
  state_.PcmBytesPerCompressedByte = lorix::PcmBytesPerCompressedByte(level);
  state_.ExpectedAttachmentSize =
      state_.AttachmentOverhead +
      static_cast<std::int64_t>(std::nearbyint(pcm_amount / state_.PcmBytesPerCompressedByte));
  ShowExpectedSize("ca.");
}

void RecordingWorkflow::TBMuteLevelChange(int level) {
  level = std::clamp(level, 0, kMaxMuteLevel);
  state_.MuteLevel = level;
  state_.MuteLow = static_cast<std::uint8_t>(8 - level);
  state_.MuteHigh = static_cast<std::uint8_t>(8 + level);
  controls_.TBMuteLevel = level;
  controls_.LabelMuteLevel = std::to_string(level);
  controls_.LabelMutePercent =
      "(wenn unter  " + std::to_string(MutePercent(tables_, level)) + "%  Aussteuerung)";
}

void RecordingWorkflow::CBMikeToOutEnabledClick(bool checked) {
  if (mixer_ != nullptr) WriteMikeToOutEnabled(*mixer_, checked);
}

void RecordingWorkflow::CBAndPlayLRXFileClick(bool checked) {
  controls_.CBAndPlayLRXFile = checked;
  UpdateControls();
}

void RecordingWorkflow::ButtonPlayClick() {
  playback_.ButtonPlayClick();
  Focus(FocusTarget::kScrollBarVolSpeakers);
}

void RecordingWorkflow::ButtonPauseClick() {
  playback_.ButtonPauseClick();
  Focus(FocusTarget::kScrollBarVolSpeakers);
}

void RecordingWorkflow::ButtonStopClick() {
  // Stop also ends the level check. A running recording is stopped by step 2 or 3 only.
  if (state_.LevelMeterOn && !state_.RecordingActive) ToggleLevelMeter();
  playback_.ButtonStopClick();
  Focus(FocusTarget::kScrollBarVolSpeakers);
}

void RecordingWorkflow::PlaybackTick() {
  const bool was_playing = playback_.PlaybackActive();
  playback_.PeriodicRefresh();
  // The end of a file is seen while polling; the steps that wait for it are enabled again.
  if (was_playing && !playback_.PlaybackActive()) UpdateControls();
}

bool RecordingWorkflow::AddMoreToList(const std::string& path) {
  if (state_.LevelMeterOn || !state_.BufferPristine) {
    dialogs_.Show({kMessageCaption,
                   "Der Aufnahme-Puffer ist nicht leer  oder  die Pegelmessung noch aktiv !\r\n"
                   "Keine Datei-Wiedergabe möglich !\r\n"
                   "Drücken Sie erst \"Aufnahme zurücksetzen\" !",
                   DialogIcon::kInformation, DialogButtons::kOk});
    return false;
  }
  controls_.Caption = path;
  LoadAnyFile(IsWavFile(path), path);
  return true;
}

bool RecordingWorkflow::SaveFile(const std::filesystem::path& path, ByteSpan bytes) {
  try {
    WriteFileAtomically(path, bytes);
    return true;
  } catch (const CodecError& error) {
    ShowError(error.what());
    return false;
  }
}

void RecordingWorkflow::SetCurrentSampleRate(std::int32_t rate) {
  state_.CurrentSampleRate = rate;
  playback_.SetCurrentSampleRate(rate);
}

void RecordingWorkflow::ShowExpectedSize(const std::string& prefix) {
  controls_.LabelKBExpectedLRX = ExpectedSizeText(prefix, state_.ExpectedAttachmentSize);
}

void RecordingWorkflow::ShowError(const std::string& text) {
  dialogs_.ShowError(kMessageCaption, text);
}

void RecordingWorkflow::Focus(FocusTarget target) {
  if (hooks_.focus) hooks_.focus(target);
}

void RecordingWorkflow::ShowWaitPanel() {
  controls_.PanelWait_visible = true;
  if (hooks_.repaint_now) hooks_.repaint_now();
}

}  // namespace lorix
