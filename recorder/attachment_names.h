#pragma once

// The names of what step 4 writes: the time-stamped attachment and the MP3 file beside it.

#include <ctime>
#include <filesystem>
#include <string>

namespace lorix {

struct AttachmentName {
  std::string path;
  std::string file_name;
};

// "LORIX_yyyymmdd_hhnnss.EXE" in `folder`, for the local time `now`.
AttachmentName AttachmentNameFor(const std::tm& now, const std::filesystem::path& folder);

// Whether `name` ends in `extension`, compared upper-cased (".exe" ends in ".EXE").
bool EndsWithCaseless(const std::string& name, const std::string& extension);

// `path` with `to` in place of a last `from` (any case), else with `to` appended.
std::string WithExtensionReplaced(const std::string& path, const std::string& from,
                                  const std::string& to);

// The MP3 file beside an attachment: its name with ".mp3" in place of a last ".EXE" (any case),
// else with ".mp3" appended.
std::string Mp3PathFor(const std::string& attachment_path);

}  // namespace lorix
