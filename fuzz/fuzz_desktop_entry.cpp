// Fuzzes the reading of desktop entries: any user or package can put one into the application
// folders, and the default mail handler's entry decides which program the recorder starts and
// with which arguments. The input is written to a file, read as an entry and its Exec line split.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "desktop/desktop_entry.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::filesystem::path path =
      lorix::fuzz::ProcessTempDir("lorix-fuzz-desktop").path() / "input.desktop";
  lorix::fuzz::WriteInputFile(path, data, size);
  const std::optional<lorix::DesktopEntry> entry = lorix::ReadDesktopEntry(path);
  if (!entry) return 0;
  // Escapes only ever shorten a value, which comes from one line of the file.
  for (const std::string* value : {&entry->name, &entry->icon, &entry->exec}) {
    LORIX_FUZZ_CHECK(value->size() <= size);
  }
  lorix::ExecArguments(*entry);
  return 0;
}
