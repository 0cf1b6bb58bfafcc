// The recorder's mail hand-off by Simple MAPI as Lorix.exe runs it: MailHandoff with its
// Windows services, except that the files it would show in Explorer and the boxes it would show
// are written down instead. The Linux tests run it under Wine and read what it wrote.
//   lorix_mapi_mail_probe.exe ATTACHMENT REPORT
// REPORT gets UTF-8 lines: "path: " the attachment's full path, "code: " the hand-off's
// result, one "box: " icon number + " " + text per box (CR and LF as <CR> and <LF>), one
// "shown: " path per file shown in Explorer.

#include <windows.h>

#include <shellapi.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "codec/win32/wide_text.h"
#include "recorder/mail_handoff.h"
#include "tests/support/recording_dialogs.h"

namespace {

std::string OneLine(const std::string& text) {
  std::string line;
  for (char c : text) {
    if (c == '\r') {
      line += "<CR>";
    } else if (c == '\n') {
      line += "<LF>";
    } else {
      line += c;
    }
  }
  return line;
}

std::wstring FullPath(const wchar_t* name) {
  const DWORD length = GetFullPathNameW(name, 0, nullptr, nullptr);
  std::wstring full(length, L'\0');
  full.resize(GetFullPathNameW(name, length, full.data(), nullptr));
  return full;
}

std::int64_t FileSize(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return -1;
  return (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

}  // namespace

int main() {
  // The arguments as UTF-16: the attachment's folder may have a name the code page lacks.
  int count = 0;
  const std::unique_ptr<LPWSTR, decltype(&LocalFree)> args(
      CommandLineToArgvW(GetCommandLineW(), &count), &LocalFree);
  if (!args || count != 3) {
    std::fputs("usage: lorix_mapi_mail_probe ATTACHMENT REPORT\n", stderr);
    return 2;
  }
  const std::wstring attachment = FullPath(args.get()[1]);
  const std::int64_t size = FileSize(attachment);
  if (size < 0) {
    std::fputs("the attachment is missing\n", stderr);
    return 1;
  }

  lorix::testing::RecordingDialogs dialogs;
  lorix::MailServices services;
  std::vector<std::filesystem::path> shown;
  services.show_files = [&](const std::vector<std::filesystem::path>& files) {
    shown.insert(shown.end(), files.begin(), files.end());
  };
  lorix::MailHandoff handoff({"Bitte anhören.\r\nGrüße Ω\r\n", " \r\n\r\n\r\n"},
                             std::filesystem::path(lorix::Narrow(FullPath(L"."))), dialogs,
                             services);
  const std::string path = lorix::Narrow(attachment);
  const int code = handoff.OpenMailProgram(lorix::MailMethod::kMapi, {size, {path}});

  std::string report = "path: " + path + "\ncode: " + std::to_string(code) + "\n";
  for (const lorix::DialogRequest& box : dialogs.shown)
    report += "box: " + std::to_string(static_cast<int>(box.icon)) + " " + OneLine(box.text) + "\n";
  for (const std::filesystem::path& file : shown) report += "shown: " + file.string() + "\n";
  const HANDLE file = CreateFileW(args.get()[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  const bool ok =
      WriteFile(file, report.data(), static_cast<DWORD>(report.size()), &written, nullptr) &&
      written == report.size();
  CloseHandle(file);
  return ok ? 0 : 1;
}
