#pragma once

// A player's claim on the folder it writes its temporary files into. Two recipients who start
// two attachments from one folder would otherwise have both players replace the same
// "TempWave.wav" and "TempInfo.txt": the second cannot replace the file the first one plays
// (Windows), or changes it under the first one's feet. A folder another running player holds
// is therefore left alone; the claim ends with the process, however it ends.

#include <filesystem>

namespace lorix {

class OwnFolder;

class TempFolderHold {
 public:
  TempFolderHold() = default;
  ~TempFolderHold();
  TempFolderHold(const TempFolderHold&) = delete;
  TempFolderHold& operator=(const TempFolderHold&) = delete;

  // Claims `folder` (checked and open as `open_folder`) for this player, giving up an earlier
  // claim. False, and nothing claimed, when another running player holds it.
  bool Take(const std::filesystem::path& folder, const OwnFolder& open_folder);
  void Release();

 private:
  // Linux: a descriptor of the folder that holds an flock on it. Windows: a named mutex.
  long long handle_ = -1;
};

// The folder a player writes its temporary files into, claimed in `hold`: "TEMPs" in
// `start_folder` when it is ours and no other player holds it, else "TEMPs" in the user's private
// folder, else the first free "TEMPs-2", "TEMPs-3"… there, so that players started at the same
// time never share one. An installed player (`installed`) never writes into the folder it was
// started from and begins with the private folder. When nothing can be claimed, the first
// candidate is returned unclaimed (writing there then reports why).
std::filesystem::path ClaimPlayerTempFolder(const std::filesystem::path& start_folder,
                                            bool installed, TempFolderHold& hold);

}  // namespace lorix
