// The recording journal in the workflow: a journal is started with the recording, and at the
// next start an unfinished one is offered back or, when it cannot be read, kept aside.

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <system_error>

#include "audio/capture_backend.h"
#include "codec/file_io.h"
#include "codec/wav_header.h"
#include "recorder/recording_workflow.h"

namespace lorix {
namespace {

constexpr const char* kCaption = "LORIX";

std::tm LocalTime(std::int64_t seconds) {
  const auto time = static_cast<std::time_t>(seconds);
  std::tm local{};
  localtime_r(&time, &local);
  return local;
}

// "Eine nicht abgeschlossene Aufnahme vom dd.mm.yyyy hh:nn (m:ss Min.) wurde gefunden. ..."
std::string UnfinishedRecordingQuestion(const JournalContents& journal) {
  const std::tm started = LocalTime(journal.header.started);
  char date[32];
  std::strftime(date, sizeof date, "%d.%m.%Y %H:%M", &started);
  const auto seconds =
      static_cast<std::int64_t>(journal.samples.size()) / journal.header.sample_rate;
  char duration[32];
  std::snprintf(duration, sizeof duration, "%lld:%02lld", static_cast<long long>(seconds / 60),
                static_cast<long long>(seconds % 60));
  return std::string("Eine nicht abgeschlossene Aufnahme vom ") + date + " (" + duration +
         " Min.) wurde gefunden. Wiederherstellen?";
}

// "Recovery-yyyymmdd_hhnnss.raw" beside the journal, with a number when that name is taken.
std::filesystem::path FreeRecoveryName(const std::filesystem::path& folder) {
  const std::tm now = LocalTime(std::time(nullptr));
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d_%H%M%S", &now);
  std::filesystem::path name = folder / ("Recovery-" + std::string(stamp) + ".raw");
  std::error_code error;
  for (int n = 2; std::filesystem::exists(std::filesystem::symlink_status(name, error)); ++n) {
    name = folder / ("Recovery-" + std::string(stamp) + "-" + std::to_string(n) + ".raw");
  }
  return name;
}

}  // namespace

void RecordingWorkflow::BeginJournal(std::int64_t started) {
  ByteSpan earlier(pcm_stream_);
  earlier = earlier.size() > kWavHeaderSize ? earlier.subspan(kWavHeaderSize) : ByteSpan();
  const JournalHeader header{state_.CurrentSampleRate, started,
                             static_cast<std::int32_t>(earlier.size())};
  journal_.Begin(JournalPath(paths_.temps_folder), header, earlier);
}

void RecordingWorkflow::OfferUnfinishedRecording() {
  const std::filesystem::path path = JournalPath(paths_.temps_folder);
  std::error_code error;
  if (!std::filesystem::exists(std::filesystem::symlink_status(path, error))) return;
  Bytes bytes;
  std::optional<JournalContents> journal;
  if (ReadFileInto(path, bytes, static_cast<std::uint64_t>(kMaxInputBytes)) == 0) {
    journal = ReadJournal(bytes);
  }
  if (!journal) {
    KeepJournalAside(path);
  } else if (journal->samples.empty()) {
    std::filesystem::remove(path, error);  // begun, but nothing recorded yet
  } else if (dialogs_.Show({kCaption, UnfinishedRecordingQuestion(*journal), DialogIcon::kQuestion,
                            DialogButtons::kYesNo}) == DialogAnswer::kYes) {
    RestoreRecording(*journal);
  } else {
    std::filesystem::remove(path, error);
  }
  UpdateControls();
}

void RecordingWorkflow::RestoreRecording(const JournalContents& journal) {
  // As a recording that has just been made: the samples pass the data sink buffer by buffer
  // (duration label and size estimate), then the stop writes TempRecording.wav.
  SetCurrentSampleRate(journal.header.sample_rate);
  ResetPcmStream(pcm_stream_, state_.CurrentSampleRate);
  controls_.LabelRecordedWAV_File = paths_.temp_recording.string();
  state_.ExpectedAttachmentSize = state_.AttachmentOverhead;
  ShowExpectedSize("");
  state_.RecordingActive = true;
  state_.BufferPristine = false;
  const ByteSpan samples(journal.samples);
  for (std::size_t at = 0; at < samples.size(); at += kCaptureBufferBytes) {
    const ByteSpan buffer =
        samples.subspan(at, std::min<std::size_t>(kCaptureBufferBytes, samples.size() - at));
    ProcessSoundData(buffer.data(), static_cast<std::int32_t>(buffer.size()));
  }
  StopRecording();
  // Protected again as after any stop; a crash now offers it under its first start time.
  BeginJournal(journal.header.started);
}

void RecordingWorkflow::KeepJournalAside(const std::filesystem::path& journal) {
  const std::filesystem::path kept = FreeRecoveryName(journal.parent_path());
  std::error_code error;
  std::filesystem::rename(journal, kept, error);
  if (error) {
    ShowError(
        "Eine nicht abgeschlossene Aufnahme " + Quoted(journal) +
        " kann nicht gelesen und nicht beiseitegelegt werden: " + SystemErrorText(error.value()));
    return;
  }
  dialogs_.Show({kCaption,
                 "Eine nicht abgeschlossene Aufnahme konnte nicht gelesen werden. Sie wurde als " +
                     Quoted(kept) + " aufbewahrt.",
                 DialogIcon::kWarning, DialogButtons::kOk});
}

}  // namespace lorix
