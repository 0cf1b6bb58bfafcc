#pragma once

// The recorder's four-step workflow without a toolkit: the buffers and workflow state, the
// handlers of the step buttons, reset, the compression and mute sliders with the size
// estimate, the data sink of the recording engine, and UpdateControls, which derives the
// window's controls (RecorderControls) from the state after every handler.
//
// RecorderApp creates it once, then runs ButtonResetClick(kNone) and TBCompressLevelChange
// with the slider's position, and at the first activation TBMuteLevelChange.

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "audio/dialogs.h"
#include "audio/mixer.h"
#include "audio/recording_engine.h"
#include "audio/sound_level.h"
#include "audio/wave_playback.h"
#include "codec/bytes.h"
#include "codec/codec_tables.h"
#include "recorder/attachment_names.h"
#include "recorder/mail_handoff.h"
#include "recorder/open_save_dialog.h"
#include "recorder/recorder_controls.h"
#include "recorder/recorder_paths.h"
#include "recorder/recorder_settings.h"
#include "recorder/recording_journal.h"
#include "recorder/workflow_state.h"

namespace lorix {

// The controls that route a click to ButtonRecordClick: step 1 or step 2.
enum class RecordSender {
  kButtonRecordLevelOnOff,
  kPanelTipRecordLevelOnOff,
  kPanelTipRecordLevelOnOffMicro,
  kButtonRecord,  // also the space key
  kPanelTipRecord,
};

enum class ResetSender { kNone, kButtonReset };

// Controls the workflow asks the window to focus.
enum class FocusTarget { kScrollBarRecordLevel, kScrollBarVolSpeakers };

// The senders of ButtonLoadSaveAnyFileClick: the four file buttons of the expert row.
enum class FileButton { kLoadPCMFile, kLoadLRXFile, kSaveLRXFile, kSavePCMFile };

// The status line after compressing or decompressing: both sizes in KB rounded up and the
// compressed size in per cent of the PCM size.
std::string CompressionStatusText(std::size_t pcm_size, std::size_t compressed_size);

// The menu items "Aufnahme laden / I&mportieren ..." and "Aufnahme e&xportieren unter ...":
// import only into an empty buffer with the level display off, export whenever step 3 is open.
bool MTLoadRecEnabled(const WorkflowState& state);
bool MTSaveRecEnabled(const RecorderControls& controls);

// The status line while the journal cannot be written: the recording goes on in memory only.
inline constexpr const char* kUnprotectedRecordingText =
    "Achtung: Die Aufnahme wird nicht mehr auf der Festplatte gesichert (TEMPs voll oder nicht "
    "beschreibbar) - bei einem Absturz ginge sie verloren!";

// What the workflow needs from the window and from parts built elsewhere.
struct WorkflowHooks {
  // Repaints PanelWait at once, before the long compression and decompression calls.
  std::function<void()> repaint_now;
  // Focus request; a control that cannot take the focus is simply passed over.
  std::function<void(FocusTarget)> focus;
  // The local time the next attachment is named after; unset: the clock's.
  std::function<std::tm()> local_time;
  // The open and save dialog; unset: every dialog counts as cancelled.
  ChooseFile choose_file;
  // Opens a file with the desktop's program for it (the information text).
  std::function<void(const std::string&)> open_file;
  // Makes the playback block visible once a loaded file plays.
  std::function<void()> show_play_block;
  // Hands a written attachment to the mail program.
  std::function<void(const MailAttachment&)> open_mail;
};

class RecordingWorkflow {
 public:
  // `engine`, `dialogs`, `options` and `mixer` must outlive the workflow; `mixer` may be null.
  // The workflow installs its data sink in the engine and its UpdateControls in the playback.
  RecordingWorkflow(RecordingEngine& engine, Dialogs& dialogs, const RecorderOptions& options,
                    RecorderPaths paths, WavePlayback::Services playback_services,
                    WorkflowHooks hooks = {}, Mixer* mixer = nullptr);
  RecordingWorkflow(const RecordingWorkflow&) = delete;
  RecordingWorkflow& operator=(const RecordingWorkflow&) = delete;

  // Step 1 (level display on/off) or step 2 (record, pause/stop, continue), by sender.
  void ButtonRecordClick(RecordSender sender);
  // Step 3: stop a playback, or compress, decompress, save the decoded version and listen.
  void ButtonComprDecomprAndPlayClick();
  // Listen to the compressed version / to the uncompressed recording.
  void ButtonAndPlayClick();
  void ButtonAndPlayOrigClick();
  // Empties everything for a new recording. Returns false when the user declined the
  // confirmation "Die letzte Aufnahme löschen?"; nothing is changed then.
  bool ButtonResetClick(ResetSender sender);
  void TBCompressLevelChange(int level);
  void TBMuteLevelChange(int level);
  void CBMikeToOutEnabledClick(bool checked);
  void CBAndPlayLRXFileClick(bool checked);
  // The playback buttons: the playback's handlers, then the focus on the speaker volume. Stop
  // switches the level display off first.
  void ButtonPlayClick();
  void ButtonPauseClick();
  void ButtonStopClick();
  // The timer's playback work: the position display, and the controls once a playback ended.
  void PlaybackTick();
  // The engine's data sink: one filled buffer of `count` samples.
  void ProcessSoundData(const std::uint8_t* data, std::int32_t count);
  // A file from the command line or drag-and-drop; refused unless the workflow is empty and
  // the level display is off. Returns whether the file was passed on.
  bool AddMoreToList(const std::string& path);
  void UpdateControls();
  // Disables the expert buttons while a long operation runs.
  void DisableButtons();

  // Names the next attachment after the current time ("LORIXs/LORIX_yyyymmdd_hhnnss.EXE").
  void NewAttachmentName();
  // Step 4: asks where to save, writes the attachment (player, information text and compressed
  // recording as one file), the message as an MP3 file, or both, as the options choose, and
  // hands what was written to the mail program.
  void ButtonCreateOpenMailClick();

  // The expert file buttons and the two import/export menu items (`load`: MTLoadRec).
  void ButtonLoadSaveAnyFileClick(FileButton sender);
  // Does nothing while its menu item would be disabled, however it was reached.
  void MTLoadSaveRecClick(bool load);
  // Loads a WAV file (to play it, or as recording material) or a compressed file or attachment
  // (decoded, played, ready for step 4). A file that cannot be used is reported and changes
  // nothing.
  void LoadAnyFile(bool wav, const std::string& path);
  // Saves PcmStream as WAV or CompressedStream as it is, asking before replacing a file.
  void SaveWithOverwritePrompt(bool wav, const std::string& path);
  // "=> Komprimieren =>" (true) and "<= Dekomprimieren <=" (false), with the status line.
  void ButtonCompDecompClick(bool compress);
  // Shows the information text of a loaded attachment in the desktop's text viewer.
  void ButtonShowMSINFofMailClick();

  // At start: a recording that a crash left unfinished in the journal is offered back; the
  // answer Ja makes it the recording material as if it had just been recorded and stopped.
  void OfferUnfinishedRecording();

  // Size of the player program plus the information text, measured at start.
  void SetAttachmentOverhead(std::int64_t bytes) { state_.AttachmentOverhead = bytes; }

  const WorkflowState& state() const { return state_; }
  const RecorderControls& controls() const { return controls_; }
  const Bytes& PcmStream() const { return pcm_stream_; }
  const Bytes& CompressedStream() const { return compressed_stream_; }
  const Bytes& InfoStream() const { return info_stream_; }
  WavePlayback& playback() { return playback_; }
  const WavePlayback& playback() const { return playback_; }
  const RecorderPaths& paths() const { return paths_; }

 private:
  void ToggleLevelMeter();
  void StartOrContinueRecording();
  // Pause/stop: finishes the WAV image, saves TempRecording.wav.
  void StopRecording();
  // Writes the recording (PcmStream, or the copy kept after a step 3) to TempRecording.wav. A
  // failure is reported (`report`) and leaves the recording unsaved: it is then in memory and in
  // the journal only.
  bool SaveRecording(bool report);
  // The recording is given up, or safe in TempRecording.wav: the journal and the copy kept
  // while it could not be written go.
  void EndRecordingProtection();
  void StartEngine();
  // Loads the WAV file named by LabelRecordedWAV_File into PcmStream; false after a message.
  bool LoadRecordedWav();
  // The payload and header an attachment takes from CompressedStream; 0 without one.
  std::int64_t AttachmentStreamSize() const;
  bool CompressPcmStream();
  bool DecompressIntoPcmStream();
  // Load a file into the buffers; the file to play, or nothing after a message.
  std::optional<std::string> LoadWav(const std::string& path);
  std::optional<std::string> LoadCompressed(const std::string& path);
  void SaveBufferToFile(bool wav, const std::string& path);
  // The file dialog, which keeps the name chosen last between uses.
  std::optional<std::string> ShowOpenSaveDialog(bool save, bool wav);
  std::optional<std::string> ShowFileDialog(const FileDialogRequest& request);
  // Step 4's dialog for the chosen kind; the paths of the files to write, or nothing.
  std::optional<std::vector<std::string>> ChooseStep4Files(AttachmentChoice kind);
  // The message as an MP3 file, from the best material there is; throws CodecError.
  Bytes Mp3OfTheMessage() const;
  // Writes `bytes` to `path`; false after a message.
  bool SaveFile(const std::filesystem::path& path, ByteSpan bytes);
  void SetCurrentSampleRate(std::int32_t rate);
  void ShowExpectedSize(const std::string& prefix);
  void ShowError(const std::string& text);
  void Focus(FocusTarget target);
  void ShowWaitPanel();
  bool Enabled(RecordSender sender) const;
  // Starts a journal that holds what PcmStream holds so far; `started` goes into its header.
  void BeginJournal(std::int64_t started);
  // The level meter, the duration label and the size estimate for one buffer of samples that
  // PcmStream holds.
  void ShowSoundData(ByteSpan samples);
  bool IsRestorableSampleRate(std::int32_t rate) const;
  // Makes the journal read from `journal_bytes` (released on the way) the stopped recording
  // and goes on in it; `aside` is where it lies meanwhile. False, with nothing changed, when the
  // recording does not fit into memory.
  bool RestoreRecording(Bytes& journal_bytes, const JournalScan& journal,
                        const std::filesystem::path& aside);
  // Renames the journal to Recovery-<date>.raw; nothing (and `error`) when it cannot.
  std::optional<std::filesystem::path> SetJournalAside(const std::filesystem::path& journal,
                                                       std::error_code& error);
  // Tells the user that a journal is kept as `kept` and why ("konnte nicht gelesen werden").
  void ReportJournalKeptAside(const std::filesystem::path& kept, const std::string& reason);

  RecordingEngine& engine_;
  Dialogs& dialogs_;
  const RecorderOptions& options_;
  RecorderPaths paths_;
  WorkflowHooks hooks_;
  Mixer* mixer_;
  const CodecTables& tables_;
  SoundLevelScale level_scale_;
  WavePlayback playback_;

  WorkflowState state_;
  RecorderControls controls_;
  Bytes pcm_stream_;
  Bytes compressed_stream_;
  Bytes info_stream_;
  std::string dialog_file_name_;
  // When the next attachment was named: its file name and the MP3's title tell this time.
  std::tm attachment_time_{};
  JournalWriter journal_;
  // TempRecording.wav could not be written at the last stop and is older than the recording,
  // which only memory and the journal hold: PcmStream, or after step 3 (which puts the decoded
  // version there) `unsaved_recording_`.
  bool recording_unsaved_ = false;
  Bytes unsaved_recording_;
};

}  // namespace lorix
