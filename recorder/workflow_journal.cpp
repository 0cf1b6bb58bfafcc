// The recording journal in the workflow: a journal is started with the recording, and at the
// next start an unfinished one is offered back or, when it cannot be read, kept aside.

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <exception>
#include <system_error>

#include "audio/capture_backend.h"
#include "codec/file_io.h"
#include "codec/file_system.h"
#include "codec/local_time.h"
#include "codec/stream_header.h"
#include "codec/wav_header.h"
#include "recorder/recording_workflow.h"

namespace lorix {
namespace {

constexpr const char* kCaption = "LORIX";

// "Eine nicht abgeschlossene Aufnahme vom dd.mm.yyyy hh:nn (m:ss Min.) wurde gefunden. ..."
std::string UnfinishedRecordingQuestion(const JournalScan& journal) {
  const std::tm started = LocalTime(static_cast<std::time_t>(journal.header.started));
  char date[32];
  std::strftime(date, sizeof date, "%d.%m.%Y %H:%M", &started);
  const auto seconds = static_cast<std::int64_t>(journal.sample_count) / journal.header.sample_rate;
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
  for (int n = 2; EntryExists(name); ++n) {
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

bool RecordingWorkflow::IsRestorableSampleRate(std::int32_t rate) const {
  return rate == options_.SKFixedFreq || IsPlayerSampleRate(rate);
}

void RecordingWorkflow::OfferUnfinishedRecording() {
  const std::filesystem::path path = JournalPath(paths_.temps_folder);
  if (!EntryExists(path)) return;
  // Read while it is set aside, and put back only once it has been restored: one that kills the
  // program on the way (its memory) is kept, but not met again at every start. One that cannot
  // be set aside is still read where it is.
  std::error_code aside_error;
  const std::optional<std::filesystem::path> aside = SetJournalAside(path, aside_error);
  const std::filesystem::path& file = aside ? *aside : path;
  const auto keep = [&](const std::string& reason) {
    if (aside) {
      ReportJournalKeptAside(*aside, reason);
    } else {
      ShowError("Eine nicht abgeschlossene Aufnahme " + Quoted(path) + " " + reason +
                " und kann nicht beiseitegelegt werden: " + SystemErrorText(aside_error.value()));
    }
  };
  Bytes bytes;
  std::optional<JournalScan> journal;
  if (ReadFileInto(file, bytes, static_cast<std::uint64_t>(kMaxInputBytes)) == 0) {
    journal = ScanJournal(bytes);
  }
  if (!journal) {
    keep("konnte nicht gelesen werden");
  } else if (!IsRestorableSampleRate(journal->header.sample_rate)) {
    keep("hat eine unbrauchbare Abtastrate (" + std::to_string(journal->header.sample_rate) +
         " Hz)");
  } else if (journal->sample_count == 0) {
    RemoveFile(file);  // begun, but nothing recorded yet
  } else if (dialogs_.Show({kCaption, UnfinishedRecordingQuestion(*journal), DialogIcon::kQuestion,
                            DialogButtons::kYesNo}) != DialogAnswer::kYes) {
    RemoveFile(file);
  } else if (!RestoreRecording(bytes, *journal, file)) {
    keep("passt nicht in den Speicher");
  }
  UpdateControls();
}

bool RecordingWorkflow::RestoreRecording(Bytes& journal_bytes, const JournalScan& journal,
                                         const std::filesystem::path& aside) {
  // PcmStream is built straight from the journal's chunks, and the journal's bytes go before
  // anything else is allocated: the memory needed stays within twice the journal.
  Bytes pcm;
  try {
    pcm.reserve(kWavHeaderSize + journal.sample_count);
  } catch (const std::exception&) {  // bad_alloc, length_error
    return false;
  }
  SetCurrentSampleRate(journal.header.sample_rate);
  Bytes().swap(pcm_stream_);
  pcm_stream_ = std::move(pcm);
  ResetPcmStream(pcm_stream_, state_.CurrentSampleRate);
  pcm_stream_.resize(kWavHeaderSize + journal.sample_count);
  CopyJournalSamples(journal_bytes, journal, pcm_stream_.data() + kWavHeaderSize);
  Bytes().swap(journal_bytes);

  // As a recording that has just been made and stopped: the duration label and the size
  // estimate buffer by buffer as the recording came in, then the stop writes TempRecording.wav.
  controls_.LabelRecordedWAV_File = paths_.temp_recording.string();
  state_.ExpectedAttachmentSize = state_.AttachmentOverhead;
  ShowExpectedSize("");
  state_.RecordingActive = true;
  state_.BufferPristine = false;
  const ByteSpan samples = ByteSpan(pcm_stream_).subspan(kWavHeaderSize);
  for (std::size_t at = 0; at < samples.size(); at += kCaptureBufferBytes) {
    ShowSoundData(
        samples.subspan(at, std::min<std::size_t>(kCaptureBufferBytes, samples.size() - at)));
  }
  StopRecording();
  // One at another rate than the recorder's (the setting changed meanwhile) can be compressed and
  // sent, but not continued: the new samples would come at the other rate.
  if (state_.CurrentSampleRate != options_.SKFixedFreq) {
    state_.LoadedFileKind = LoadedKind::kPlayableOnly;
    UpdateControls();
  }

  // Protected again as after any stop: a continued recording goes on in the same journal (no
  // sample is written again), and a crash now offers it under its first start time.
  const std::filesystem::path path = JournalPath(paths_.temps_folder);
  const bool put_back = aside == path || RenameFile(aside, path) == 0;
  journal_.Resume(put_back ? path : aside, journal.whole_size);
  return true;
}

std::optional<std::filesystem::path> RecordingWorkflow::SetJournalAside(
    const std::filesystem::path& journal, std::error_code& error) {
  const std::filesystem::path kept = FreeRecoveryName(journal.parent_path());
  error = std::error_code(RenameFile(journal, kept), std::generic_category());
  if (error) return std::nullopt;
  return kept;
}

void RecordingWorkflow::ReportJournalKeptAside(const std::filesystem::path& kept,
                                               const std::string& reason) {
  dialogs_.Show({kCaption,
                 "Eine nicht abgeschlossene Aufnahme " + reason + ". Sie wurde als " +
                     Quoted(kept) + " aufbewahrt.",
                 DialogIcon::kWarning, DialogButtons::kOk});
}

}  // namespace lorix
