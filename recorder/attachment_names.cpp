#include "recorder/attachment_names.h"

#include <cstdio>

#include "codec/text_encoding.h"

namespace lorix {

AttachmentName AttachmentNameFor(const std::tm& now, const std::filesystem::path& folder) {
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%04d%02d%02d_%02d%02d%02d", now.tm_year + 1900,
                now.tm_mon + 1, now.tm_mday, now.tm_hour, now.tm_min, now.tm_sec);
  AttachmentName name;
  name.file_name = std::string("LORIX_") + stamp + ".EXE";
  name.path = (folder / name.file_name).string();
  return name;
}

bool EndsWithCaseless(const std::string& name, const std::string& extension) {
  return name.size() >= extension.size() &&
         AsciiUpperCase(name.substr(name.size() - extension.size())) == AsciiUpperCase(extension);
}

std::string WithExtensionReplaced(const std::string& path, const std::string& from,
                                  const std::string& to) {
  if (!EndsWithCaseless(path, from)) return path + to;
  return path.substr(0, path.size() - from.size()) + to;
}

std::string Mp3PathFor(const std::string& attachment_path) {
  return WithExtensionReplaced(attachment_path, ".EXE", ".mp3");
}

}  // namespace lorix
