// Fuzzes the reader of the recording journal, which the recorder reads at start from whatever a
// crash, a power cut or anyone with access to TEMPs left there. The input either is the file
// itself, or describes a journal (header fields and chunks of samples) that is then cut and has
// one byte changed, so that the reader's checks are reached past the header's checksum. The scan
// the recorder restores with must find exactly what the reader reads.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <optional>

#include "fuzz/fuzz_support.h"
#include "recorder/recording_journal.h"

namespace {

void CheckScanAgrees(const lorix::Bytes& file, const std::optional<lorix::JournalContents>& read) {
  const std::optional<lorix::JournalScan> scan = lorix::ScanJournal(file);
  LORIX_FUZZ_CHECK(scan.has_value() == read.has_value());
  if (!scan) return;
  LORIX_FUZZ_CHECK(scan->sample_count == read->samples.size());
  LORIX_FUZZ_CHECK(scan->whole_size <= file.size());
  lorix::Bytes copied(scan->sample_count);
  lorix::CopyJournalSamples(file, *scan, copied.data());
  LORIX_FUZZ_CHECK(copied == read->samples);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  if (input.ConsumeBool()) {
    const lorix::Bytes file = input.ConsumeRemainingBytes<std::uint8_t>();
    const auto read = lorix::ReadJournal(file);
    if (read) LORIX_FUZZ_CHECK(read->samples.size() <= file.size());
    CheckScanAgrees(file, read);
    return 0;
  }

  const lorix::JournalHeader header{input.ConsumeIntegral<std::int32_t>(),
                                    input.ConsumeIntegral<std::int64_t>(),
                                    input.ConsumeIntegral<std::int32_t>()};
  const auto cut = input.ConsumeIntegral<std::uint32_t>();
  const auto changed_at = input.ConsumeIntegral<std::uint32_t>();
  const auto change = input.ConsumeIntegral<std::uint8_t>();
  lorix::Bytes file = lorix::JournalHeaderBytes(header);
  lorix::Bytes samples;
  while (input.remaining_bytes() > 0) {
    const lorix::Bytes chunk =
        input.ConsumeBytes<std::uint8_t>(input.ConsumeIntegralInRange<std::size_t>(1, 300));
    lorix::AppendBytes(file, lorix::JournalChunk(chunk));
    lorix::AppendBytes(samples, chunk);
  }
  const bool whole = cut >= file.size() && change == 0;
  file.resize(std::min<std::size_t>(file.size(), cut));
  if (!file.empty()) file[changed_at % file.size()] ^= change;

  const auto read = lorix::ReadJournal(file);
  CheckScanAgrees(file, read);
  const bool valid_header =
      header.sample_rate > 0 && header.sample_rate <= 1000000 && header.earlier_samples >= 0;
  if (whole) {
    // A journal as it was written reads back completely, when its header makes sense.
    LORIX_FUZZ_CHECK(read.has_value() == valid_header);
    if (read) LORIX_FUZZ_CHECK(read->samples == samples);
  } else if (read) {
    // Cut or changed: what is read is never more than was written (a change may only ever hit
    // the checksum's blind spot, which FNV-1a has for no single byte).
    LORIX_FUZZ_CHECK(read->samples.size() <= samples.size());
  }
  return 0;
}
