// MAPI32.DLL for the Wine test prefix, whose own Simple MAPI opens a bare mailto: and drops the
// files: put beside a program (with WINEDLLOVERRIDES=mapi32=n,b), it writes the message record
// it is handed to "MAPI-Aufruf.txt" beside itself, as UTF-8 lines, and answers SUCCESS_SUCCESS.
// Texts keep their characters except CR and LF, written as <CR> and <LF>; a null text is
// written as (null).

#include <windows.h>

#include <mapi.h>

#include <string>

namespace {

HMODULE this_module = nullptr;

// The UTF-16 record of MAPISendMailW, laid out as mapi.h of newer SDKs has it.
struct MapiRecipDescW {
  ULONG ulReserved;
  ULONG ulRecipClass;
  PWSTR lpszName;
  PWSTR lpszAddress;
  ULONG ulEIDSize;
  PVOID lpEntryID;
};

struct MapiFileDescW {
  ULONG ulReserved;
  ULONG flFlags;
  ULONG nPosition;
  PWSTR lpszPathName;
  PWSTR lpszFileName;
  PVOID lpFileType;
};

struct MapiMessageW {
  ULONG ulReserved;
  PWSTR lpszSubject;
  PWSTR lpszNoteText;
  PWSTR lpszMessageType;
  PWSTR lpszDateReceived;
  PWSTR lpszConversationID;
  FLAGS flFlags;
  MapiRecipDescW* lpOriginator;
  ULONG nRecipCount;
  MapiRecipDescW* lpRecips;
  ULONG nFileCount;
  MapiFileDescW* lpFiles;
};

std::string Utf8(const wchar_t* text) {
  const int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), length, nullptr, nullptr);
  utf8.resize(utf8.size() - 1);
  return utf8;
}

std::string Utf8(const char* ansi) {
  const int length = MultiByteToWideChar(CP_ACP, 0, ansi, -1, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi, -1, wide.data(), length);
  return Utf8(wide.c_str());
}

template <typename Char>
std::string Text(const Char* text) {
  if (text == nullptr) return "(null)";
  std::string shown;
  for (char c : Utf8(text)) {
    if (c == '\r') {
      shown += "<CR>";
    } else if (c == '\n') {
      shown += "<LF>";
    } else {
      shown += c;
    }
  }
  return shown;
}

std::string Number(unsigned long long value) {
  return std::to_string(value);
}

template <typename Recip>
std::string Recipient(const char* what, const Recip* recip) {
  if (recip == nullptr) return std::string(what) + ": (null)\n";
  return std::string(what) + ": reserved " + Number(recip->ulReserved) + ", class " +
         Number(recip->ulRecipClass) + ", name " + Text(recip->lpszName) + ", address " +
         Text(recip->lpszAddress) + ", entry id size " + Number(recip->ulEIDSize) + ", entry id " +
         (recip->lpEntryID == nullptr ? "(null)" : "set") + "\n";
}

template <typename Message>
std::string Record(const char* entry, LHANDLE session, ULONG_PTR ui_param, const Message* message,
                   FLAGS flags, ULONG reserved) {
  std::string record = std::string("entry: ") + entry + "\nsession: " + Number(session) +
                       "\nparent window: " + (ui_param == 0 ? "0" : "set") +
                       "\nflags: " + Number(flags) + "\nreserved: " + Number(reserved) + "\n";
  if (message == nullptr) return record + "message: (null)\n";
  record += "message reserved: " + Number(message->ulReserved) + "\n";
  record += "subject: " + Text(message->lpszSubject) + "\n";
  record += "note text: " + Text(message->lpszNoteText) + "\n";
  record += "message type: " + Text(message->lpszMessageType) + "\n";
  record += "date received: " + Text(message->lpszDateReceived) + "\n";
  record += "conversation id: " + Text(message->lpszConversationID) + "\n";
  record += "message flags: " + Number(message->flFlags) + "\n";
  record += Recipient("originator", message->lpOriginator);
  record += "recipient count: " + Number(message->nRecipCount) + "\n";
  for (ULONG i = 0; message->lpRecips != nullptr && i < message->nRecipCount; ++i)
    record += Recipient("recipient", &message->lpRecips[i]);
  record += "file count: " + Number(message->nFileCount) + "\n";
  for (ULONG i = 0; message->lpFiles != nullptr && i < message->nFileCount; ++i) {
    const auto& file = message->lpFiles[i];
    record += "file: reserved " + Number(file.ulReserved) + ", flags " + Number(file.flFlags) +
              ", position " + Number(file.nPosition) + ", type " +
              (file.lpFileType == nullptr ? "(null)" : "set") + "\n";
    record += "file path: " + Text(file.lpszPathName) + "\n";
    record += "file name: " + Text(file.lpszFileName) + "\n";
  }
  return record;
}

void WriteBesideThisLibrary(const std::string& record) {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(this_module, path, MAX_PATH);
  if (length == 0 || length == MAX_PATH) return;
  std::wstring log(path, length);
  log.resize(log.find_last_of(L"\\/") + 1);
  log += L"MAPI-Aufruf.txt";
  const HANDLE file = CreateFileW(log.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
  CloseHandle(file);
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) this_module = instance;
  return TRUE;
}

__declspec(dllexport) ULONG WINAPI
    MAPISendMail(LHANDLE session, ULONG_PTR ui_param, lpMapiMessage message, FLAGS flags,
                 ULONG reserved) {
  WriteBesideThisLibrary(Record("MAPISendMail", session, ui_param, message, flags, reserved));
  return SUCCESS_SUCCESS;
}

__declspec(dllexport) ULONG WINAPI
    MAPISendMailW(LHANDLE session, ULONG_PTR ui_param, MapiMessageW* message, FLAGS flags,
                  ULONG reserved) {
  WriteBesideThisLibrary(Record("MAPISendMailW", session, ui_param, message, flags, reserved));
  return SUCCESS_SUCCESS;
}

}  // extern "C"
