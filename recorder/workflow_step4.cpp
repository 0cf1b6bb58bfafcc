// Step 4 of the workflow: the compressed recording becomes a self-playing attachment (the player
// program, the information text, the compressed stream), the message becomes an MP3 file, or
// both, as the options choose; saved in "LORIXs" under a time-stamped name and handed to the mail
// program.

#include <utility>

#include "codec/attachment.h"
#include "codec/codec_error.h"
#include "codec/file_io.h"
#include "codec/file_system.h"
#include "codec/info_text.h"
#include "codec/local_time.h"
#include "codec/stream_header.h"
#include "codec/text_encoding.h"
#include "codec/wav_file.h"
#include "mp3/mp3_encoder.h"
#include "recorder/recording_workflow.h"

namespace lorix {
namespace {

constexpr const char* kCaption = "LORIX";

std::tm LocalTimeNow() {
  return LocalTime(std::time(nullptr));
}

// "a" or "a" und "b", each name in double quotes.
std::string NamesOf(const std::vector<std::string>& paths) {
  std::string names;
  for (std::size_t i = 0; i < paths.size(); ++i) {
    if (i > 0) names += " und ";
    names += "\"" + paths[i] + "\"";
  }
  return names;
}

}  // namespace

std::int64_t RecordingWorkflow::AttachmentStreamSize() const {
  if (compressed_stream_.empty()) return 0;
  return std::int64_t{state_.PayloadSize} + kStreamHeaderSize;
}

void RecordingWorkflow::NewAttachmentName() {
  attachment_time_ = hooks_.local_time ? hooks_.local_time() : LocalTimeNow();
  AttachmentName name = AttachmentNameFor(attachment_time_, paths_.lorixs_folder);
  state_.AttachmentPath = std::move(name.path);
  state_.AttachmentFileName = std::move(name.file_name);
  UpdateControls();
}

std::optional<std::vector<std::string>> RecordingWorkflow::ChooseStep4Files(AttachmentChoice kind) {
  if (kind == AttachmentChoice::kAudio) {
    dialog_file_name_ = Mp3PathFor(state_.AttachmentPath);
    const std::optional<std::string> chosen =
        ShowFileDialog(PrepareMp3SaveDialog(dialog_file_name_, paths_.lorixs_folder.string()));
    if (!chosen) return std::nullopt;
    std::string mp3 = *chosen;
    if (!EndsWithCaseless(mp3, ".mp3")) mp3 += ".mp3";
    return std::vector<std::string>{mp3};
  }
  dialog_file_name_ = state_.AttachmentPath;
  const std::optional<std::string> chosen = ShowOpenSaveDialog(true, false);
  if (!chosen) return std::nullopt;
  std::string program = *chosen;
  if (!EndsWithCaseless(program, ".EXE")) program += ".EXE";
  if (kind == AttachmentChoice::kProgram) return std::vector<std::string>{program};
  return std::vector<std::string>{program, Mp3PathFor(program)};
}

Bytes RecordingWorkflow::Mp3OfTheMessage() const {
  // The uncompressed recording (TempRecording.wav or the loaded WAV) sounds best; a loaded
  // compressed file has only its decoded form, which PcmStream holds after every step 3 and
  // every load, as it does when the recording's file has gone meanwhile.
  // While TempRecording.wav could not be written it is older than the recording in memory.
  if (recording_unsaved_) {
    return EncodeMp3(unsaved_recording_.empty() ? pcm_stream_ : unsaved_recording_,
                     attachment_time_);
  }
  const std::string& original = controls_.LabelRecordedWAV_File;
  if (original.size() > 3 && IsRegularFile(original)) {
    return EncodeMp3(LoadWavFile(std::filesystem::path(original)).PcmStream, attachment_time_);
  }
  return EncodeMp3(pcm_stream_, attachment_time_);
}

void RecordingWorkflow::ButtonCreateOpenMailClick() {
  if (!controls_.ButtonCreateOpenMail.enabled) return;  // also the tip "4." and the space key
  if (playback_.PlaybackActive()) ButtonStopClick();
  if (state_.AttachmentPath.size() <= 3) return;

  // An unknown stored kind checks no button and builds what a new user gets.
  const AttachmentChoice kind =
      options_.AttachmentKindRadioButton().value_or(AttachmentChoice::kProgram);
  const std::optional<std::vector<std::string>> files = ChooseStep4Files(kind);
  if (!files) return;
  for (const std::string& file : *files) {
    if (KindOf(file) == FileKind::kMissing) continue;
    const DialogAnswer answer = dialogs_.Show({kCaption, file + " existiert schon! Überschreiben?",
                                               DialogIcon::kQuestion, DialogButtons::kOkCancel});
    if (answer != DialogAnswer::kOk) return;
  }
  const bool with_program = kind != AttachmentChoice::kAudio;
  const std::string& mp3_path = files->back();
  state_.AttachmentPath =
      with_program ? files->front() : WithExtensionReplaced(mp3_path, ".mp3", ".EXE");
  state_.AttachmentFileName = std::filesystem::path(state_.AttachmentPath).filename().string();
  controls_.ButtonCreateOpenMail.enabled = false;

  MailAttachment written{0, *files};
  try {
    // Everything is made in memory first and each file written under a temporary name and
    // renamed, so a failure leaves no half-written file and mails nothing.
    Bytes mp3;
    if (kind != AttachmentChoice::kProgram) {
      ShowWaitPanel();
      try {
        mp3 = Mp3OfTheMessage();
      } catch (const CodecError& failure) {
        throw CodecError("Die Datei " + Quoted(mp3_path) +
                         " kann nicht erstellt werden: " + failure.what());
      }
    }
    if (with_program) {
      const Bytes player = ReadWholeFile(paths_.player_program);
      WriteAttachment(state_.AttachmentPath, player, InfoText(), compressed_stream_,
                      state_.PayloadSize);
      written.attached_bytes +=
          static_cast<std::int64_t>(player.size() + InfoText().size()) + AttachmentStreamSize();
    }
    if (!mp3.empty()) {
      WriteFileAtomically(mp3_path, mp3, kDataFileMode);
      written.attached_bytes += static_cast<std::int64_t>(mp3.size());
    }
  } catch (const CodecError& failure) {
    controls_.PanelWait_visible = false;
    ShowError(failure.what());
    return;  // step 4 stays disabled until the controls are refreshed
  }
  controls_.PanelWait_visible = false;
  const std::string confirmation = files->size() == 1
                                       ? "Die Datei " + NamesOf(*files) + " wurde erstellt!"
                                       : "Die Dateien " + NamesOf(*files) + " wurden erstellt!";
  dialogs_.Show({kCaption, confirmation, DialogIcon::kInformation, DialogButtons::kOk});
  if (hooks_.open_mail) hooks_.open_mail(written);
  UpdateControls();
}

}  // namespace lorix
