// Fuzzes the INI reader and writer behind the recorder's settings file, which users edit by hand
// and may copy from anywhere. The input carries a section, a key and a value (each ended by a
// backslash and one more byte, "\\" standing for a backslash), then the file's text.

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "recorder/ini_document.h"

namespace {

// A name the writer can put into a file and the reader then finds again.
bool IsPlainName(const std::string& name) {
  return !name.empty() && std::all_of(name.begin(), name.end(), [](unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
  });
}

// A value that reads back as written: the reader trims blanks and takes off matching quotes.
bool ReadsBackAsWritten(const std::string& value) {
  if (value.empty()) return true;
  const char first = value.front();
  const char last = value.back();
  if (first == ' ' || first == '\t' || last == ' ' || last == '\t') return false;
  return !(value.size() >= 2 && (first == '"' || first == '\'') && last == first);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string section = input.ConsumeRandomLengthString(24);
  const std::string key = input.ConsumeRandomLengthString(24);
  const std::string value = input.ConsumeRandomLengthString(48);
  const std::string text = input.ConsumeRemainingBytesAsString();

  // Reading keeps every byte: the text comes back exactly.
  lorix::IniDocument document(text);
  LORIX_FUZZ_CHECK(document.Text() == text);
  const std::string read = document.ReadString(section, key, "\x01");
  const std::int64_t number = document.ReadInteger(section, key, -7);
  // A missing key gives both defaults.
  LORIX_FUZZ_CHECK(read != "\x01" || number == -7);

  // A written value is found again in the file that is saved, behind any line break it had.
  document.WriteString(section, key, value);
  if (IsPlainName(section) && IsPlainName(key)) {
    const std::string line = value.substr(0, value.find_first_of("\r\n"));
    const lorix::IniDocument saved(document.Text());
    if (ReadsBackAsWritten(line)) {
      LORIX_FUZZ_CHECK(saved.ReadString(section, key, "\x01") == line);
    }
    saved.ReadInteger(section, key, 0);
  }
  return 0;
}
