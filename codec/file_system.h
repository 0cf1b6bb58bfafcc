#pragma once

// The few questions the programs ask the file system, answered with plain system calls. The
// player links the C++ runtime statically and travels in every attachment; the library's
// file-system operations would add their whole object code for what a stat answers.

#include <filesystem>
#include <vector>

namespace lorix {

enum class FileKind { kMissing, kRegular, kDirectory, kOther };

// What `path` names, symbolic links followed; kMissing also when it cannot be looked at.
FileKind KindOf(const std::filesystem::path& path);
inline bool IsRegularFile(const std::filesystem::path& path) {
  return KindOf(path) == FileKind::kRegular;
}

// Makes `folder` and every missing folder above it. Returns 0 (also when it already exists) or
// the errno value of the failure.
int MakeDirectories(const std::filesystem::path& folder);

// Whether anything is there under the name, a symbolic link itself counting (not followed).
bool EntryExists(const std::filesystem::path& path);

// Removes the file (or the link itself). Returns 0, or the errno value of the failure (ENOENT
// when nothing was there).
int RemoveFile(const std::filesystem::path& path);

// Renames `from` to `to`, replacing a file that is there. Returns 0 or the errno value.
int RenameFile(const std::filesystem::path& from, const std::filesystem::path& to);

// The process's current directory; empty when it cannot be found.
std::filesystem::path CurrentDirectory();

// Where a symbolic link points; empty when `link` is none or cannot be read.
std::filesystem::path ReadSymbolicLink(const std::filesystem::path& link);

// The regular files below `folder`, at any depth, as paths relative to it. Links to folders
// are not followed, so a loop of links cannot make the walk endless.
std::vector<std::filesystem::path> FilesBelow(const std::filesystem::path& folder);

}  // namespace lorix
