#include "recorder/recording_journal.h"

#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <string_view>

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

// The folder entry of a new file reaches the disk only with the folder itself.
void SyncFolder(const std::filesystem::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
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
  if (bytes.size() < kJournalHeaderSize) return std::nullopt;
  const std::uint8_t* p = bytes.data();
  if (std::string_view(reinterpret_cast<const char*>(p), kMagic.size()) != kMagic ||
      GetUint32(p + kHeaderChecked) != Checksum(bytes.first(kHeaderChecked))) {
    return std::nullopt;
  }
  JournalContents contents;
  contents.header.sample_rate = GetInt32(p + 8);
  contents.header.started = GetInt64(p + 16);
  contents.header.earlier_samples = GetInt32(p + 24);
  if (contents.header.sample_rate <= 0 || contents.header.sample_rate > kMaxSampleRate ||
      GetUint16(p + 12) != 8 || GetUint16(p + 14) != 1 || contents.header.earlier_samples < 0) {
    return std::nullopt;
  }
  // What fits a WAV image below the size every input is held to.
  const auto max_samples = static_cast<std::size_t>(kMaxInputBytes) - 44;
  std::size_t at = kJournalHeaderSize;
  while (bytes.size() - at >= kJournalChunkHeaderSize) {
    const std::size_t count = GetUint32(p + at);
    const std::size_t start = at + kJournalChunkHeaderSize;
    if (count > bytes.size() - start || contents.samples.size() + count > max_samples) break;
    const ByteSpan samples = bytes.subspan(start, count);
    if (GetUint32(p + at + 4) != Checksum(samples)) break;
    AppendBytes(contents.samples, samples);
    at = start + count;
  }
  return contents;
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
  // Made afresh and exclusively: an old journal goes, and a link planted under the name is
  // removed rather than followed.
  ::unlink(path.c_str());
  fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_APPEND | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd_ < 0) {
    failed_ = true;
    return false;
  }
  Bytes first = JournalHeaderBytes(header);
  if (!earlier.empty()) AppendBytes(first, JournalChunk(earlier));
  if (!WriteAll(first)) {
    ::close(fd_);
    fd_ = -1;
    ::unlink(path.c_str());
    return false;
  }
  pending_.clear();
  stop_ = false;
  discard_ = false;
  thread_ = std::thread(&JournalWriter::Run, this);
  return true;
}

void JournalWriter::Append(ByteSpan samples) {
  if (!IsOpen() || Failed() || samples.empty()) return;
  {
    std::lock_guard lock(mutex_);
    AppendBytes(pending_, samples);
  }
  wake_.notify_one();
}

void JournalWriter::Finish() {
  failed_ = false;  // nothing is left to protect
  if (!IsOpen()) return;
  {
    std::lock_guard lock(mutex_);
    discard_ = true;  // what is still pending would only be removed with the file
  }
  Close();
  ::unlink(path_.c_str());
}

void JournalWriter::Close() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  wake_.notify_one();
  thread_.join();
  ::close(fd_);
  fd_ = -1;
}

bool JournalWriter::WriteAll(ByteSpan bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      // A disk that is full or gone: the rest of the recording stays in memory only.
      failed_ = true;
      return false;
    }
    bytes_written_ += written;
    bytes = bytes.subspan(static_cast<std::size_t>(written));
  }
  return true;
}

void JournalWriter::Run() {
  using Clock = std::chrono::steady_clock;
  pthread_setname_np(pthread_self(), "lorix-journal");
  bool unsynced = true;  // the header and the earlier material
  bool folder_synced = false;
  Clock::time_point last_sync = Clock::now();
  std::unique_lock lock(mutex_);
  for (;;) {
    const Clock::time_point due = last_sync + std::chrono::seconds(1);
    const auto ready = [this] { return stop_ || !pending_.empty(); };
    if (unsynced) {
      wake_.wait_until(lock, due, ready);
    } else {
      wake_.wait(lock, ready);
    }
    if (discard_) return;
    Bytes batch;
    batch.swap(pending_);
    const bool stop = stop_;
    lock.unlock();

    if (!batch.empty() && !Failed() && WriteAll(JournalChunk(batch))) unsynced = true;
    // Written bytes survive a killed program at once; a power cut only once they are synced.
    if (unsynced && !Failed() && (stop || Clock::now() >= due)) {
      if (!folder_synced) SyncFolder(path_.parent_path());
      folder_synced = true;
      if (::fdatasync(fd_) != 0) failed_ = true;
      ++syncs_;
      last_sync = Clock::now();
      unsynced = false;
    }

    lock.lock();
    if (stop && pending_.empty()) return;
  }
}

}  // namespace lorix
