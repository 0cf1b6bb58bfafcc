#include "desktop/win32/explorer_selection_win32.h"

// windows.h first: the other system headers build on it.
#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include "desktop/win32/windows_path.h"

namespace lorix {
namespace {

// An item list that frees itself.
struct ItemList {
  explicit ItemList(const std::wstring& path) : items(ILCreateFromPathW(path.c_str())) {}
  ~ItemList() { ILFree(items); }
  ItemList(ItemList&& other) noexcept : items(other.items) { other.items = nullptr; }
  ItemList(const ItemList&) = delete;
  ItemList& operator=(const ItemList&) = delete;
  PIDLIST_ABSOLUTE items;
};

// The shell's item lists need COM on this thread; left as it was found.
struct ComOnThisThread {
  ComOnThisThread() : initialised(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComOnThisThread() {
    if (initialised) CoUninitialize();
  }
  bool initialised;
};

bool SelectInFolder(const std::wstring& folder, const std::vector<std::filesystem::path>& files) {
  const ComOnThisThread com;
  const ItemList folder_items(folder);
  if (folder_items.items == nullptr) return false;
  std::vector<ItemList> file_items;
  std::vector<PCUITEMID_CHILD> children;
  for (const std::filesystem::path& file : files) {
    ItemList& item = file_items.emplace_back(WindowsPath(file));
    if (item.items == nullptr) return false;
    children.push_back(ILFindLastID(item.items));
  }
  return SUCCEEDED(SHOpenFolderAndSelectItems(
      folder_items.items, static_cast<UINT>(children.size()), children.data(), 0));
}

}  // namespace

bool ShowFilesInExplorer(const std::vector<std::filesystem::path>& files) {
  if (files.empty()) return false;
  const std::wstring folder = WindowsPath(files.front().parent_path());
  if (SelectInFolder(folder, files)) return true;
  const auto started = reinterpret_cast<INT_PTR>(
      ShellExecuteW(GetDesktopWindow(), L"open", folder.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  return started > 32;
}

}  // namespace lorix
