#include "codec/own_folder.h"

namespace lorix {

std::filesystem::path UsableTempFolder(const std::filesystem::path& preferred) {
  if (OwnFolder(preferred).ok()) return preferred;
  const std::filesystem::path private_folder = PrivateUserFolder();
  if (private_folder.empty()) return preferred;
  const std::filesystem::path fallback = private_folder / preferred.filename();
  return OwnFolder(fallback).ok() ? fallback : preferred;
}

}  // namespace lorix
