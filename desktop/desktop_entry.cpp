#include "desktop/desktop_entry.h"

#include <cstdlib>
#include <system_error>

#include "codec/file_io.h"
#include "codec/file_system.h"
#include "desktop/exec_line.h"

namespace lorix {

namespace fs = std::filesystem;

namespace {

// Desktop entries are a few kilobytes; anything far larger is not one.
constexpr std::uint64_t kMaxDesktopEntryBytes = 1 << 20;

std::string Trim(const std::string& text) {
  const std::size_t begin = text.find_first_not_of(" \t\r");
  if (begin == std::string::npos) return {};
  return text.substr(begin, text.find_last_not_of(" \t\r") - begin + 1);
}

std::string ResolveStringEscapes(const std::string& value) {
  std::string resolved;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\' || i + 1 == value.size()) {
      resolved += value[i];
      continue;
    }
    switch (value[++i]) {
      case 's':
        resolved += ' ';
        break;
      case 'n':
        resolved += '\n';
        break;
      case 't':
        resolved += '\t';
        break;
      case 'r':
        resolved += '\r';
        break;
      case '\\':
        resolved += '\\';
        break;
      default:  // an escape for a later stage (the Exec line's quoting): keep it
        resolved += '\\';
        resolved += value[i];
    }
  }
  return resolved;
}

void AddFolders(const char* variable, const std::string& fallback, std::vector<fs::path>& out) {
  const char* value = std::getenv(variable);
  const std::string list = value != nullptr && *value != '\0' ? value : fallback;
  std::size_t begin = 0;
  while (begin <= list.size()) {
    std::size_t end = list.find(':', begin);
    if (end == std::string::npos) end = list.size();
    const fs::path folder = list.substr(begin, end - begin);
    if (folder.is_absolute()) out.push_back(folder / "applications");
    begin = end + 1;
  }
}

// The id of a file below an application folder: its relative path with '/' turned into '-'.
std::string DesktopId(const fs::path& relative) {
  std::string id = relative.generic_string();
  for (char& c : id) {
    if (c == '/') c = '-';
  }
  return id;
}

}  // namespace

std::vector<fs::path> ApplicationFolders() {
  std::vector<fs::path> folders;
  const char* home = std::getenv("HOME");
  AddFolders("XDG_DATA_HOME", home != nullptr ? std::string(home) + "/.local/share" : "", folders);
  AddFolders("XDG_DATA_DIRS", "/usr/local/share:/usr/share", folders);
  return folders;
}

std::optional<DesktopEntry> ReadDesktopEntry(const fs::path& path) {
  Bytes bytes;
  if (ReadFileInto(path, bytes, kMaxDesktopEntryBytes) != 0) return std::nullopt;
  const std::string text(bytes.begin(), bytes.end());
  DesktopEntry entry;
  entry.path = path;
  bool in_group = false;
  bool seen_group = false;
  std::string line;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    line = Trim(text.substr(start, end - start));
    start = end + 1;
    if (line.empty() || line.front() == '#') continue;
    if (line.front() == '[') {
      in_group = line == "[Desktop Entry]";
      seen_group = seen_group || in_group;
      continue;
    }
    const std::size_t equals = line.find('=');
    if (!in_group || equals == std::string::npos) continue;
    const std::string key = Trim(line.substr(0, equals));
    const std::string value = ResolveStringEscapes(Trim(line.substr(equals + 1)));
    if (key == "Name") entry.name = value;
    if (key == "Icon") entry.icon = value;
    if (key == "Exec") entry.exec = value;
  }
  if (!seen_group) return std::nullopt;
  return entry;
}

std::optional<DesktopEntry> FindDesktopEntry(const std::string& desktop_id) {
  if (desktop_id.empty() || desktop_id.find('/') != std::string::npos) return std::nullopt;
  for (const fs::path& folder : ApplicationFolders()) {
    if (IsRegularFile(folder / desktop_id)) return ReadDesktopEntry(folder / desktop_id);
    if (desktop_id.find('-') == std::string::npos) continue;
    // Entries in subfolders: look for the file whose id matches.
    for (const fs::path& relative : FilesBelow(folder)) {
      if (DesktopId(relative) == desktop_id) return ReadDesktopEntry(folder / relative);
    }
  }
  return std::nullopt;
}

std::vector<std::string> ExecArguments(const DesktopEntry& entry) {
  return SplitExecLine(entry.exec, ExecContext{entry.name, entry.icon, entry.path.string()});
}

}  // namespace lorix
