#include "recorder/recording_journal.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "codec/file_io.h"

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

}  // namespace
}  // namespace lorix
