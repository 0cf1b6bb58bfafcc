#include "recorder/recording_journal.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "codec/file_io.h"
#include "tests/recorder/file_size_limit.h"

namespace lorix {
namespace {

namespace fs = std::filesystem;

Bytes Samples(std::size_t count, int seed) {
  Bytes samples(count);
  for (std::size_t i = 0; i < count; ++i) samples[i] = static_cast<std::uint8_t>(i * 7 + seed);
  return samples;
}

bool WaitForBytesWritten(const JournalWriter& writer, std::int64_t bytes) {
  for (int i = 0; i < 400 && writer.BytesWritten() < bytes; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return writer.BytesWritten() == bytes;
}

TEST(RecordingJournal, AJournalCutAtAnyByteRestoresItsWholeChunks) {
  const fs::path folder = fs::temp_directory_path() / ("lorix_journal_" + std::to_string(getpid()));
  fs::create_directories(folder);
  const fs::path path = JournalPath(folder);
  const JournalHeader header{8000, 1700000000, 300};
  const std::vector<Bytes> chunks = {Samples(300, 1), Samples(1000, 2), Samples(1000, 3),
                                     Samples(437, 4)};
  std::vector<std::size_t> chunk_ends;
  {
    JournalWriter writer;
    ASSERT_TRUE(writer.Begin(path, header, chunks[0]));
    std::int64_t expected = kJournalHeaderSize + kJournalChunkHeaderSize + chunks[0].size();
    chunk_ends.push_back(static_cast<std::size_t>(expected));
    for (std::size_t i = 1; i < chunks.size(); ++i) {
      // Each buffer is written before the next arrives, so each is a chunk of its own.
      writer.Append(chunks[i]);
      expected += static_cast<std::int64_t>(kJournalChunkHeaderSize + chunks[i].size());
      ASSERT_TRUE(WaitForBytesWritten(writer, expected));
      chunk_ends.push_back(static_cast<std::size_t>(expected));
    }
  }  // as a killed program leaves it: not finished
  const Bytes file = ReadWholeFile(path);
  ASSERT_EQ(file.size(), chunk_ends.back());

  for (std::size_t cut = 0; cut <= file.size(); ++cut) {
    const std::optional<JournalContents> read = ReadJournal(ByteSpan(file).first(cut));
    if (cut < kJournalHeaderSize) {
      EXPECT_FALSE(read) << cut;
      continue;
    }
    ASSERT_TRUE(read) << cut;
    // The scan without copies finds the same samples, and where the whole chunks end.
    const std::optional<JournalScan> scan = ScanJournal(ByteSpan(file).first(cut));
    ASSERT_TRUE(scan) << cut;
    ASSERT_EQ(scan->sample_count, read->samples.size()) << cut;
    std::size_t whole_size = kJournalHeaderSize;
    for (const std::size_t end : chunk_ends) {
      if (end <= cut) whole_size = end;
    }
    EXPECT_EQ(scan->whole_size, whole_size) << cut;
    Bytes copied(scan->sample_count);
    CopyJournalSamples(ByteSpan(file).first(cut), *scan, copied.data());
    EXPECT_EQ(copied, read->samples) << cut;
    EXPECT_EQ(read->header.sample_rate, 8000);
    EXPECT_EQ(read->header.started, 1700000000);
    EXPECT_EQ(read->header.earlier_samples, 300);
    Bytes whole;
    for (std::size_t i = 0; i < chunks.size() && chunk_ends[i] <= cut; ++i) {
      AppendBytes(whole, chunks[i]);
    }
    ASSERT_EQ(read->samples, whole) << cut;
  }

  // A last chunk whose samples did not all reach the disk is left out.
  Bytes damaged = file;
  damaged[damaged.size() - 10] ^= 0x5a;
  EXPECT_EQ(ReadJournal(damaged)->samples.size(), 2300U);
  damaged = file;
  damaged[9] ^= 1;  // the header: nothing can be trusted
  EXPECT_FALSE(ReadJournal(damaged));

  // A normal end leaves nothing behind.
  JournalWriter writer;
  ASSERT_TRUE(writer.Begin(path, header, {}));
  writer.Append(chunks[1]);
  writer.Finish();
  EXPECT_FALSE(fs::exists(path));
  fs::remove_all(folder);
}

// A restored recording goes on in its journal: what follows its last whole chunk (a chunk the
// disk got only in part) is cut off, and new chunks follow the whole ones.
TEST(RecordingJournal, AResumedJournalGoesOnAfterItsWholeChunks) {
  const fs::path folder =
      fs::temp_directory_path() / ("lorix_journal_resume_" + std::to_string(getpid()));
  fs::create_directories(folder);
  const fs::path path = JournalPath(folder);
  const Bytes earlier = Samples(500, 1);
  Bytes file = JournalHeaderBytes({11025, 1700000000, 0});
  AppendBytes(file, JournalChunk(earlier));
  const std::size_t whole_size = file.size();
  const Bytes cut_chunk = JournalChunk(Samples(1000, 2));
  file.insert(file.end(), cut_chunk.begin(), cut_chunk.begin() + 300);
  WriteFileAtomically(path, file);
  ASSERT_EQ(ScanJournal(file)->whole_size, whole_size);

  const Bytes more = Samples(700, 3);
  {
    JournalWriter writer;
    ASSERT_TRUE(writer.Resume(path, whole_size));
    writer.Append(more);
  }  // closed with everything written, as a killed program's journal stays
  Bytes expected(earlier.size() + more.size());
  std::copy(more.begin(), more.end(), std::copy(earlier.begin(), earlier.end(), expected.begin()));
  const std::optional<JournalContents> read = ReadJournal(ReadWholeFile(path));
  ASSERT_TRUE(read);
  EXPECT_EQ(read->header.started, 1700000000);
  EXPECT_EQ(read->samples, expected);

  // A journal shorter than its scan said (changed meanwhile) is not appended to.
  JournalWriter writer;
  EXPECT_FALSE(writer.Resume(path, ReadWholeFile(path).size() + 1));
  EXPECT_FALSE(writer.IsOpen());
  fs::remove_all(folder);
}

// On a full disk the writer gives up the journal and sleeps: it neither writes nor wakes again
// until the journal is closed or begun anew, however long the recording goes on (also past the
// time the next sync of what it wrote before was due).
TEST(RecordingJournal, AFailedWriteLeavesTheWriterAsleep) {
  const fs::path folder =
      fs::temp_directory_path() / ("lorix_journal_full_" + std::to_string(getpid()));
  fs::create_directories(folder);
  const fs::path path = JournalPath(folder);
  JournalWriter writer;
  {
    // Room for the header and one chunk of 1000 samples.
    testing::FileSizeLimit disk_full(kJournalHeaderSize + kJournalChunkHeaderSize + 1000 + 100);
    ASSERT_TRUE(disk_full.applied());
    ASSERT_TRUE(writer.Begin(path, {11025, 0, 0}, {}));
    writer.Append(Samples(1000, 1));
    ASSERT_TRUE(WaitForBytesWritten(writer, kJournalHeaderSize + kJournalChunkHeaderSize + 1000));
    writer.Append(Samples(1000, 2));
    for (int i = 0; i < 400 && !writer.Failed(); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_TRUE(writer.Failed());
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(50));  // the pass that failed ends
  const std::int64_t passes = writer.WriterPasses();
  const std::int64_t written = writer.BytesWritten();
  // Longer than a sync interval: a writer that waited for the next sync would wake meanwhile.
  for (int i = 0; i < 25; ++i) {
    writer.Append(Samples(1000, i));  // the recording goes on in memory
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  EXPECT_EQ(writer.WriterPasses(), passes);
  EXPECT_EQ(writer.BytesWritten(), written);
  // The chunk written before the failure was synced, and is what the journal holds.
  EXPECT_GE(writer.Syncs(), 1);
  EXPECT_EQ(ReadJournal(ReadWholeFile(path))->samples, Samples(1000, 1));

  // The next begin (a continued recording) writes again.
  ASSERT_TRUE(writer.Begin(path, {11025, 0, 0}, Samples(300, 4)));
  EXPECT_FALSE(writer.Failed());
  writer.Finish();
  EXPECT_FALSE(fs::exists(path));
  fs::remove_all(folder);
}

}  // namespace
}  // namespace lorix
