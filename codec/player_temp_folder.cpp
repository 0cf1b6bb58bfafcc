#include <string>
#include <vector>

#include "codec/attachment.h"
#include "codec/own_folder.h"
#include "codec/temp_folder_hold.h"

namespace lorix {
namespace {

// Enough for every player one user can have open at a time.
constexpr int kMaxPrivateFolders = 100;

}  // namespace

std::filesystem::path ClaimPlayerTempFolder(const std::filesystem::path& start_folder,
                                            bool installed, TempFolderHold& hold) {
  std::vector<std::filesystem::path> candidates;
  if (!installed) candidates.push_back(start_folder / kTempFolder);
  const std::filesystem::path private_folder = PrivateUserFolder();
  if (!private_folder.empty()) {
    candidates.push_back(private_folder / kTempFolder);
    for (int number = 2; number <= kMaxPrivateFolders; ++number) {
      candidates.push_back(private_folder /
                           (std::string(kTempFolder) + "-" + std::to_string(number)));
    }
  }
  for (const std::filesystem::path& candidate : candidates) {
    const OwnFolder folder(candidate);
    if (folder.ok() && hold.Take(candidate, folder)) return candidate;
  }
  return candidates.empty() ? start_folder / kTempFolder : candidates.front();
}

}  // namespace lorix
