#pragma once

// Reading and writing an INI document as a file.

#include <filesystem>

#include "recorder/ini_document.h"

namespace lorix {

// Reads the file into `document`. Returns 0, or the errno value of the failure; `document` is
// then empty. A settings file is small: one above 16 MiB is refused with EFBIG.
int LoadIniFile(const std::filesystem::path& path, IniDocument& document);

// True for the errno values that mean the file is not there (rather than unreadable).
bool IsMissingFile(int error_number);

// Writes the document to a temporary name in the file's folder and renames it into place, so a
// failed write leaves the old file whole. Throws CodecError with a German text naming the file.
void SaveIniFile(const std::filesystem::path& path, const IniDocument& document);

}  // namespace lorix
