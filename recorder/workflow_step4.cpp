// Step 4 of the workflow: the compressed recording becomes a self-playing attachment (the player
// program, the information text, the compressed stream), saved in "LORIXs" under a time-stamped
// name and handed to the mail program.

#include <cstdio>
#include <utility>

#include "codec/attachment.h"
#include "codec/codec_error.h"
#include "codec/file_io.h"
#include "codec/info_text.h"
#include "codec/stream_header.h"
#include "codec/text_encoding.h"
#include "recorder/recording_workflow.h"

namespace lorix {
namespace {

constexpr const char* kCaption = "LORIX";

std::tm LocalTimeNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local;
}

}  // namespace

AttachmentName AttachmentNameFor(const std::tm& now, const std::filesystem::path& folder) {
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%04d%02d%02d_%02d%02d%02d", now.tm_year + 1900,
                now.tm_mon + 1, now.tm_mday, now.tm_hour, now.tm_min, now.tm_sec);
  AttachmentName name;
  name.file_name = std::string("LORIX_") + stamp + ".EXE";
  name.path = (folder / name.file_name).string();
  return name;
}

std::int64_t RecordingWorkflow::AttachmentStreamSize() const {
  if (compressed_stream_.empty()) return 0;
  return std::int64_t{state_.PayloadSize} + kStreamHeaderSize;
}

void RecordingWorkflow::NewAttachmentName() {
  const std::tm now = hooks_.local_time ? hooks_.local_time() : LocalTimeNow();
  AttachmentName name = AttachmentNameFor(now, paths_.lorixs_folder);
  state_.AttachmentPath = std::move(name.path);
  state_.AttachmentFileName = std::move(name.file_name);
  UpdateControls();
}

void RecordingWorkflow::ButtonCreateOpenMailClick() {
  if (!controls_.ButtonCreateOpenMail.enabled) return;  // also the tip "4." and the space key
  if (playback_.PlaybackActive()) ButtonStopClick();
  if (state_.AttachmentPath.size() <= 3) return;

  dialog_file_name_ = state_.AttachmentPath;
  std::optional<std::string> chosen = ShowOpenSaveDialog(true, false);
  if (!chosen) return;
  std::string target = std::move(*chosen);
  if (target.size() < 4 || AsciiUpperCase(target.substr(target.size() - 4)) != ".EXE") {
    target += ".EXE";
  }
  std::error_code error;
  if (std::filesystem::exists(target, error)) {
    const DialogAnswer answer =
        dialogs_.Show({kCaption, target + " existiert schon! Überschreiben?", DialogIcon::kQuestion,
                       DialogButtons::kOkCancel});
    if (answer != DialogAnswer::kOk) return;
  }
  state_.AttachmentPath = target;
  state_.AttachmentFileName = std::filesystem::path(target).filename().string();
  controls_.ButtonCreateOpenMail.enabled = false;

  try {
    const Bytes player = ReadWholeFile(paths_.player_program);
    // Written under a temporary name and renamed, so a failure leaves no half-written file.
    WriteAttachment(target, player, InfoText(), compressed_stream_, state_.PayloadSize);
  } catch (const CodecError& failure) {
    ShowError(failure.what());
    return;  // step 4 stays disabled until the controls are refreshed
  }
  dialogs_.Show({kCaption, "Die Datei \"" + target + "\" wurde erstellt!", DialogIcon::kInformation,
                 DialogButtons::kOk});
  if (hooks_.open_mail) {
    hooks_.open_mail({AttachmentStreamSize(), state_.AttachmentOverhead, state_.AttachmentPath});
  }
  UpdateControls();
}

}  // namespace lorix
