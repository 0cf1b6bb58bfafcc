#pragma once

// The recording journal: while a recording runs, its samples are appended to a file in TEMPs, so
// that a crash, a kill or a power cut costs at most the last second of it. A normal end (step 3,
// reset, loading a file, closing) removes the file; one that is still there at the next start
// holds an unfinished recording.
//
// File layout (numbers little-endian): a 32-byte header, then chunks. Header: "LORIXJNL", the
// sample rate (int32), bits per sample (uint16, 8) and channels (uint16, 1), the start time in
// seconds since the epoch (int64), the samples of material that was there before the recording
// started (int32; more than 0 for a continued recording, whose earlier part the first chunk
// holds), and a checksum of the 28 bytes before it. Chunk: the number of samples (uint32), a
// checksum of them (uint32), the 8-bit samples. A chunk cut short or damaged ends the journal.

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <optional>

#include "codec/bytes.h"
#include "recorder/journal_file.h"
#include "recorder/writer_thread.h"

namespace lorix {

inline constexpr std::size_t kJournalHeaderSize = 32;
inline constexpr std::size_t kJournalChunkHeaderSize = 8;

// The journal's place in the temporary folder.
std::filesystem::path JournalPath(const std::filesystem::path& temps_folder);

struct JournalHeader {
  std::int32_t sample_rate = 11025;
  std::int64_t started = 0;          // seconds since the epoch
  std::int32_t earlier_samples = 0;  // material present before: a continued recording
};

Bytes JournalHeaderBytes(const JournalHeader& header);
// One chunk holding `samples`.
Bytes JournalChunk(ByteSpan samples);

struct JournalContents {
  JournalHeader header;
  Bytes samples;  // every sample of the whole chunks, the earlier material first
};

// Reads a journal as far as it is whole. Nothing when the header is missing, cut or damaged.
std::optional<JournalContents> ReadJournal(ByteSpan bytes);

// Where a journal's whole chunks end and how many samples they hold, found without copying them.
struct JournalScan {
  JournalHeader header;
  std::size_t sample_count = 0;
  std::size_t whole_size = kJournalHeaderSize;  // the bytes up to the end of the last whole chunk
};

// Checks a journal as ReadJournal does. Nothing when the header is missing, cut or damaged.
std::optional<JournalScan> ScanJournal(ByteSpan bytes);
// Copies the samples of the whole chunks `scan` found in `bytes` to `out` (scan.sample_count).
void CopyJournalSamples(ByteSpan bytes, const JournalScan& scan, std::uint8_t* out);

// Appends the samples of a running recording to the journal. Append only copies them; a writer
// thread writes them at once and syncs them to the disk at most once a second, so neither the
// capture thread nor the user-interface thread waits for the disk.
class JournalWriter {
 public:
  JournalWriter() = default;
  ~JournalWriter();  // stops writing; the file stays
  JournalWriter(const JournalWriter&) = delete;
  JournalWriter& operator=(const JournalWriter&) = delete;

  // Starts a new journal at `path` (replacing one that is there) with `earlier` as its first
  // chunk. False when the file cannot be made or written; the journal is then not open, and one
  // that was there stays until Finish.
  bool Begin(const std::filesystem::path& path, const JournalHeader& header, ByteSpan earlier);
  // Goes on appending to the journal at `path` after its first `whole_size` bytes (its whole
  // chunks, as ScanJournal found them), so that a restored recording is not written again.
  // False when it cannot be opened; the journal is then not open.
  bool Resume(const std::filesystem::path& path, std::size_t whole_size);
  bool IsOpen() const { return file_.IsOpen(); }
  // Does nothing while the journal is not open.
  void Append(ByteSpan samples);
  // The normal end: stops writing and removes the file (also one a failed Begin left).
  void Finish();
  // A write or sync failed since Begin: what follows is no longer written, and the writer
  // thread sleeps until the journal is closed or begun again.
  bool Failed() const { return failed_.load(std::memory_order_relaxed); }

  // What the writer thread did since Begin, for the benchmark and the tests: the bytes it
  // wrote, its syncs, and the times it woke up to look for work.
  std::int64_t BytesWritten() const { return bytes_written_.load(); }
  std::int64_t Syncs() const { return syncs_.load(); }
  std::int64_t WriterPasses() const { return writer_passes_.load(); }

 private:
  // False when no writer thread can be made: the journal is then closed and failed.
  bool StartWriter();
  void Run();
  // Stops the writer thread after it has written what is pending, and closes the file.
  void Close();
  bool WriteAll(ByteSpan bytes);

  std::filesystem::path path_;
  JournalFile file_;
  WriterThread writer_;
  Bytes pending_;         // guarded by writer_'s lock
  bool stop_ = false;     // guarded by writer_'s lock
  bool discard_ = false;  // guarded by writer_'s lock: the file goes, nothing more is written
  std::atomic<bool> failed_{false};
  std::atomic<std::int64_t> bytes_written_{0};
  std::atomic<std::int64_t> syncs_{0};
  std::atomic<std::int64_t> writer_passes_{0};
};

}  // namespace lorix
