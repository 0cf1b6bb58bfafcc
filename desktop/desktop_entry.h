#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace lorix {

// The keys of a desktop entry's [Desktop Entry] group that program starts need.
struct DesktopEntry {
  std::filesystem::path path;
  std::string name;
  std::string icon;
  std::string exec;  // string escapes (\s \n \t \r \\) resolved
};

// The folders searched for desktop entries, most important first: $XDG_DATA_HOME/applications
// (default ~/.local/share) and each of $XDG_DATA_DIRS/applications (default
// /usr/local/share:/usr/share). Relative folders in these variables are ignored.
std::vector<std::filesystem::path> ApplicationFolders();

// Reads a desktop entry file; nullopt when it cannot be read or has no [Desktop Entry] group.
std::optional<DesktopEntry> ReadDesktopEntry(const std::filesystem::path& path);

// Finds the entry with a desktop file id such as "org.kde.kmail2.desktop" in the application
// folders. An id stands for a path below a folder with '/' replaced by '-', so "kde4-kmail.desktop"
// is also found as kde4/kmail.desktop. The first folder that has it wins.
std::optional<DesktopEntry> FindDesktopEntry(const std::string& desktop_id);

// The entry's Exec line split into arguments with its field codes handled (see SplitExecLine).
std::vector<std::string> ExecArguments(const DesktopEntry& entry);

}  // namespace lorix
