// Where the recorder finds the user's folders on Windows: the known folders, and whether its
// own folder is one it may keep its files in.

// windows.h first: the other system headers build on it.
#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

#include "codec/file_system.h"
#include "codec/install_layout.h"
#include "codec/win32/temp_name.h"
#include "codec/win32/wide_text.h"
#include "recorder/recorder_paths.h"

namespace lorix {

namespace fs = std::filesystem;

namespace {

// A known folder's path; empty when the system names none.
fs::path KnownFolder(REFKNOWNFOLDERID id) {
  PWSTR path = nullptr;
  fs::path folder;
  if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &path)) && path != nullptr) {
    folder = Narrow(path);
  }
  CoTaskMemFree(path);
  return folder;
}

// Whether a file can be made in the folder: a probe under a name of this process's that is gone
// again when its handle closes. A folder under "Program Files" is not writable for a user, nor
// one on a write-protected stick.
bool IsWritableFolder(const fs::path& folder) {
  const std::wstring probe_name =
      TempNameBeside(Widen((folder / "LORIX.INI").native()), GetCurrentProcessId(), 0);
  const HANDLE probe = CreateFileW(probe_name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                   FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (probe == INVALID_HANDLE_VALUE) return false;
  CloseHandle(probe);
  return true;
}

}  // namespace

RecorderPaths RecorderPaths::ForProgram(const fs::path& program_file,
                                        const std::function<fs::path()>& documents_folder) {
  const fs::path program_folder = program_file.parent_path();
  if (RunsPortable(IsWritableFolder(program_folder),
                   EntryExists(program_folder / kInstalledMarkerName))) {
    return ForWindowsProgram(program_file, true, {});
  }
  const KnownFolders known{KnownFolder(FOLDERID_RoamingAppData), KnownFolder(FOLDERID_LocalAppData),
                           documents_folder()};
  return ForWindowsProgram(program_file, false, known);
}

fs::path UserDocumentsFolder() {
  const fs::path documents = KnownFolder(FOLDERID_Documents);
  return documents.empty() ? KnownFolder(FOLDERID_Profile) : documents;
}

}  // namespace lorix
