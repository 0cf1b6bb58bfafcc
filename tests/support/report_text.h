#pragma once

// Reads the plain-text reports the Windows test programs and stand-ins write: "key: value" lines.

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace lorix::testing {

inline std::string ReadText(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

// The value of the first "key: value" line.
inline std::string Line(const std::string& text, const std::string& key) {
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind(key + ": ", 0) == 0) return line.substr(key.size() + 2);
  }
  return {};
}

}  // namespace lorix::testing
