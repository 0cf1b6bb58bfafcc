#include "recorder/recording_journal.h"

#include <algorithm>
#include <chrono>
#include <mutex>
#include <string_view>

#include "codec/file_io.h"
#include "codec/file_system.h"

namespace lorix {
namespace {

constexpr std::string_view kMagic = "LORIXJNL";
constexpr std::size_t kHeaderChecked = kJournalHeaderSize - 4;
constexpr std::int32_t kMaxSampleRate = 1000000;

// FNV-1a: enough to tell a whole chunk from one the disk never got completely.
std::uint32_t Checksum(ByteSpan bytes) {
  std::uint32_t hash = 2166136261u;
  for (const std::uint8_t byte : bytes) {
    hash ^= byte;
    hash *= 16777619u;
  }
  return hash;
}

void PutInt64(std::uint8_t* p, std::int64_t v) {
  PutUint32(p, static_cast<std::uint32_t>(v));
  PutUint32(p + 4, static_cast<std::uint32_t>(static_cast<std::uint64_t>(v) >> 32));
}

std::int64_t GetInt64(const std::uint8_t* p) {
  return static_cast<std::int64_t>(GetUint32(p) | static_cast<std::uint64_t>(GetUint32(p + 4))
                                                      << 32);
}

// Walks the whole chunks behind a valid header, calling `take` with the samples of each.
template <typename Take>
std::optional<JournalScan> WalkJournal(ByteSpan bytes, Take take) {
  if (bytes.size() < kJournalHeaderSize) return std::nullopt;
  const std::uint8_t* p = bytes.data();
  if (std::string_view(reinterpret_cast<const char*>(p), kMagic.size()) != kMagic ||
      GetUint32(p + kHeaderChecked) != Checksum(bytes.first(kHeaderChecked))) {
    return std::nullopt;
  }
  JournalScan scan;
  scan.header.sample_rate = GetInt32(p + 8);
  scan.header.started = GetInt64(p + 16);
  scan.header.earlier_samples = GetInt32(p + 24);
  if (scan.header.sample_rate <= 0 || scan.header.sample_rate > kMaxSampleRate ||
      GetUint16(p + 12) != 8 || GetUint16(p + 14) != 1 || scan.header.earlier_samples < 0) {
    return std::nullopt;
  }
  // What fits a WAV image below the size every input is held to.
  const auto max_samples = static_cast<std::size_t>(kMaxInputBytes) - 44;
  std::size_t at = kJournalHeaderSize;
  while (bytes.size() - at >= kJournalChunkHeaderSize) {
    const std::size_t count = GetUint32(p + at);
    const std::size_t start = at + kJournalChunkHeaderSize;
    if (count > bytes.size() - start || scan.sample_count + count > max_samples) break;
    const ByteSpan samples = bytes.subspan(start, count);
    if (!take(samples, GetUint32(p + at + 4))) break;
    scan.sample_count += count;
    at = start + count;
  }
  scan.whole_size = at;
  return scan;
}

}  // namespace

std::filesystem::path JournalPath(const std::filesystem::path& temps_folder) {
  return temps_folder / "TempRecording.journal";
}

Bytes JournalHeaderBytes(const JournalHeader& header) {
  Bytes bytes(kJournalHeaderSize);
  std::uint8_t* p = bytes.data();
  PutText(p, kMagic);
  PutInt32(p + 8, header.sample_rate);
  PutUint16(p + 12, 8);
  PutUint16(p + 14, 1);
  PutInt64(p + 16, header.started);
  PutInt32(p + 24, header.earlier_samples);
  PutUint32(p + kHeaderChecked, Checksum(ByteSpan(p, kHeaderChecked)));
  return bytes;
}

Bytes JournalChunk(ByteSpan samples) {
  Bytes chunk(kJournalChunkHeaderSize + samples.size());
  PutUint32(chunk.data(), static_cast<std::uint32_t>(samples.size()));
  PutUint32(chunk.data() + 4, Checksum(samples));
  std::copy(samples.begin(), samples.end(), chunk.begin() + kJournalChunkHeaderSize);
  return chunk;
}

std::optional<JournalContents> ReadJournal(ByteSpan bytes) {
  JournalContents contents;
  const std::optional<JournalScan> scan =
      WalkJournal(bytes, [&contents](ByteSpan samples, std::uint32_t checksum) {
        if (checksum != Checksum(samples)) return false;
        AppendBytes(contents.samples, samples);
        return true;
      });
  if (!scan) return std::nullopt;
  contents.header = scan->header;
  return contents;
}

std::optional<JournalScan> ScanJournal(ByteSpan bytes) {
  return WalkJournal(bytes, [](ByteSpan samples, std::uint32_t checksum) {
    return checksum == Checksum(samples);
  });
}

void CopyJournalSamples(ByteSpan bytes, const JournalScan& scan, std::uint8_t* out) {
  // The chunks were checked by the scan; only those before its end are taken.
  WalkJournal(bytes.first(std::min(scan.whole_size, bytes.size())),
              [&out](ByteSpan samples, std::uint32_t) {
                out = std::copy(samples.begin(), samples.end(), out);
                return true;
              });
}

JournalWriter::~JournalWriter() {
  if (IsOpen()) Close();
}

bool JournalWriter::Begin(const std::filesystem::path& path, const JournalHeader& header,
                          ByteSpan earlier) {
  if (IsOpen()) Close();
  path_ = path;
  failed_ = false;
  bytes_written_ = 0;
  syncs_ = 0;
  // Made afresh and exclusively under a name of its own (a link planted there is removed rather
  // than followed), and renamed into place once its first part is written: a journal that cannot
  // be written (a full disk) leaves the one that is there, which still holds what it could.
  const std::filesystem::path fresh = path.string() + ".new";
  if (!file_.Create(fresh)) {
    failed_ = true;
    return false;
  }
  // The earlier material is written from where it lies, without a copy.
  std::uint8_t chunk_header[kJournalChunkHeaderSize];
  PutUint32(chunk_header, static_cast<std::uint32_t>(earlier.size()));
  PutUint32(chunk_header + 4, Checksum(earlier));
  if (!WriteAll(JournalHeaderBytes(header)) ||
      (!earlier.empty() && (!WriteAll(ByteSpan(chunk_header)) || !WriteAll(earlier))) ||
      RenameFile(fresh, path) != 0) {
    failed_ = true;
    file_.Close();
    RemoveFile(fresh);
    return false;
  }
  return StartWriter();
}

bool JournalWriter::Resume(const std::filesystem::path& path, std::size_t whole_size) {
  if (IsOpen()) Close();
  path_ = path;
  failed_ = false;
  bytes_written_ = 0;
  syncs_ = 0;
  // A chunk the disk got only in part is cut off, so that the next one follows the whole ones.
  if (!file_.OpenAfter(path, whole_size)) {
    failed_ = true;
    return false;
  }
  return StartWriter();
}

bool JournalWriter::StartWriter() {
  pending_.clear();
  stop_ = false;
  discard_ = false;
  writer_passes_ = 0;
  if (writer_.Start("lorix-journal", [this] { Run(); })) return true;
  file_.Close();
  failed_ = true;
  return false;
}

void JournalWriter::Append(ByteSpan samples) {
  if (!IsOpen() || Failed() || samples.empty()) return;
  {
    std::lock_guard lock(writer_);
    AppendBytes(pending_, samples);
  }
  writer_.Wake();
}

void JournalWriter::Finish() {
  failed_ = false;  // nothing is left to protect
  if (!IsOpen()) {
    // One whose new beginning failed is still there, with what it could hold.
    if (!path_.empty()) RemoveFile(path_);
    path_.clear();
    return;
  }
  {
    std::lock_guard lock(writer_);
    discard_ = true;  // what is still pending would only be removed with the file
  }
  Close();
  RemoveFile(path_);
  path_.clear();
}

void JournalWriter::Close() {
  {
    std::lock_guard lock(writer_);
    stop_ = true;
  }
  writer_.Wake();
  writer_.Join();
  file_.Close();
}

bool JournalWriter::WriteAll(ByteSpan bytes) {
  const std::size_t written = file_.Write(bytes);
  bytes_written_ += static_cast<std::int64_t>(written);
  // A disk that is full or gone: the rest of the recording stays in memory only.
  if (written < bytes.size()) failed_ = true;
  return written == bytes.size();
}

void JournalWriter::Run() {
  using Clock = std::chrono::steady_clock;
  bool unsynced = true;  // the header and the earlier material
  bool folder_synced = false;
  Clock::time_point last_sync = Clock::now();
  std::unique_lock lock(writer_);
  for (;;) {
    const Clock::time_point due = last_sync + std::chrono::seconds(1);
    const auto ready = [this] { return stop_ || !pending_.empty(); };
    // A sync is due only for written bytes. After a failure nothing is written or synced any
    // more: the writer sleeps until it is stopped (a full disk must not cost a core).
    if (unsynced && !Failed()) {
      for (Clock::time_point now = Clock::now(); !ready() && now < due; now = Clock::now()) {
        writer_.WaitFor(std::chrono::ceil<std::chrono::milliseconds>(due - now));
      }
    } else {
      while (!ready()) writer_.Wait();
    }
    ++writer_passes_;
    if (discard_) return;
    Bytes batch;
    batch.swap(pending_);
    const bool stop = stop_;
    lock.unlock();

    if (!batch.empty() && !Failed() && WriteAll(JournalChunk(batch))) unsynced = true;
    // Written bytes survive a killed program at once; a power cut only once they are synced.
    // What was written before a failure is synced at once, as nothing more follows it.
    if (unsynced && (stop || Failed() || Clock::now() >= due)) {
      // The folder entry of a new file reaches the disk only with the folder itself.
      if (!folder_synced) SyncFolder(path_.parent_path());
      folder_synced = true;
      if (!file_.Sync()) failed_ = true;
      ++syncs_;
      last_sync = Clock::now();
      unsynced = false;
    }

    lock.lock();
    if (stop && pending_.empty()) return;
  }
}

}  // namespace lorix
