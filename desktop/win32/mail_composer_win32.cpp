// The mail composer on Windows: Simple MAPI's MAPISendMail from "MAPI32.DLL", loaded by name
// on first use. The program's own folder is searched first, so a MAPI32.DLL beside the program
// is the one taken.
//
// The UTF-16 entry MAPISendMailW is used where the library has it: subject, note text and the
// attachment's path then reach the mail program as they are, whatever the system's code page
// (a user folder whose name the code page cannot spell is no rarity), and the system's library
// converts for mail programs that only offer the 8-bit entry. Libraries without it get the
// 8-bit record in the system's ANSI code page, which is what their MAPISendMail reads; a path
// the code page cannot spell is passed in its short form, which is plain ASCII.

#include "desktop/mail_composer.h"

// windows.h first: the other system headers build on it.
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "codec/win32/wide_text.h"
#include "desktop/mapi_result.h"
#include "desktop/win32/simple_mapi_records.h"
#include "desktop/win32/windows_path.h"

namespace lorix {
namespace {

// The library and its two entries, looked up once per run (a failed load is not tried again);
// released at program end.
class SimpleMapiLibrary {
 public:
  static const SimpleMapiLibrary& Get() {
    static const SimpleMapiLibrary library;
    return library;
  }
  ~SimpleMapiLibrary() {
    if (module_ != nullptr) FreeLibrary(module_);
  }
  SimpleMapiLibrary(const SimpleMapiLibrary&) = delete;
  SimpleMapiLibrary& operator=(const SimpleMapiLibrary&) = delete;

  MapiSendMailOf<char> send_mail = nullptr;
  MapiSendMailOf<wchar_t> send_mail_w = nullptr;

 private:
  SimpleMapiLibrary() : module_(LoadLibraryW(L"MAPI32.DLL")) {
    if (module_ == nullptr) return;
    send_mail = Entry<MapiSendMailOf<char>>("MAPISendMail");
    send_mail_w = Entry<MapiSendMailOf<wchar_t>>("MAPISendMailW");
  }

  template <typename Function>
  Function Entry(const char* name) const {
    // Through void*: a direct cast between unrelated function types draws a warning.
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
  }

  HMODULE module_;
};

// The draft's texts in the form one of the two entries takes; the record points into them.
template <typename Char>
struct RecordTexts {
  std::basic_string<Char> subject;
  std::basic_string<Char> note_text;
  std::vector<std::basic_string<Char>> paths;
  std::vector<std::basic_string<Char>> names;
};

RecordTexts<wchar_t> WideTexts(const MailDraft& draft) {
  RecordTexts<wchar_t> texts{Widen(draft.subject), Widen(draft.body), {}, {}};
  for (const std::filesystem::path& file : draft.attachments) {
    texts.paths.push_back(WindowsPath(file));
    texts.names.push_back(Widen(file.filename().string()));
  }
  return texts;
}

// `wide` in the system's ANSI code page; `lossless` tells whether it had every character.
std::string ToAnsiCodePage(std::wstring_view wide, bool& lossless) {
  lossless = true;
  if (wide.empty()) return {};
  // A system whose ANSI code page is UTF-8 spells everything, and refuses to be asked.
  BOOL used_default = FALSE;
  BOOL* const ask = GetACP() == CP_UTF8 ? nullptr : &used_default;
  const DWORD flags = ask != nullptr ? WC_NO_BEST_FIT_CHARS : 0;
  const int size = static_cast<int>(wide.size());
  const int length =
      WideCharToMultiByte(CP_ACP, flags, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string ansi(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, flags, wide.data(), size, ansi.data(), length, nullptr, ask);
  lossless = used_default == FALSE;
  return ansi;
}

std::string ToAnsiCodePage(std::wstring_view wide) {
  bool lossless;
  return ToAnsiCodePage(wide, lossless);
}

std::string AnsiPath(const std::wstring& path) {
  bool lossless;
  std::string ansi = ToAnsiCodePage(path, lossless);
  if (lossless) return ansi;
  DWORD length = GetShortPathNameW(path.c_str(), nullptr, 0);
  if (length == 0) return ansi;  // no short form: the mail program will say it is not found
  std::wstring short_path(length, L'\0');
  length = GetShortPathNameW(path.c_str(), short_path.data(), length);
  short_path.resize(length);
  std::string short_ansi = ToAnsiCodePage(short_path, lossless);
  return lossless ? short_ansi : ansi;
}

RecordTexts<char> AnsiTexts(const MailDraft& draft) {
  RecordTexts<char> texts{
      ToAnsiCodePage(Widen(draft.subject)), ToAnsiCodePage(Widen(draft.body)), {}, {}};
  for (const std::filesystem::path& file : draft.attachments) {
    texts.paths.push_back(AnsiPath(WindowsPath(file)));
    texts.names.push_back(ToAnsiCodePage(Widen(file.filename().string())));
  }
  return texts;
}

// Builds the record (no originator or recipient named, every file outside the note text) and
// asks the library for a new mail in its compose window, logging on if it has to.
template <typename Char>
int Send(MapiSendMailOf<Char> send_mail, RecordTexts<Char>& texts) {
  MapiRecipDescOf<Char> originator{0, kMapiOriginator, nullptr, nullptr, 0, nullptr};
  MapiRecipDescOf<Char> recipient{0, kMapiTo, nullptr, nullptr, 0, nullptr};
  std::vector<MapiFileDescOf<Char>> files;
  for (std::size_t i = 0; i < texts.paths.size(); ++i) {
    files.push_back({0, 0, kMapiNoPosition, texts.paths[i].data(), texts.names[i].data(), nullptr});
  }
  MapiMessageOf<Char> message{0,
                              texts.subject.data(),
                              texts.note_text.data(),
                              nullptr,
                              nullptr,
                              nullptr,
                              0,
                              &originator,
                              1,
                              &recipient,
                              static_cast<ULONG>(files.size()),
                              files.empty() ? nullptr : files.data()};
  // The compose window is modal to the window the user clicked in.
  const auto owner = reinterpret_cast<ULONG_PTR>(GetActiveWindow());
  return static_cast<int>(send_mail(0, owner, &message, kMapiLogonUi | kMapiDialog, 0));
}

}  // namespace

MailComposerResult OpenMailComposer(const MailDraft& draft) {
  const SimpleMapiLibrary& library = SimpleMapiLibrary::Get();
  MailComposerResult result;
  if (library.send_mail_w != nullptr) {
    RecordTexts<wchar_t> texts = WideTexts(draft);
    result.code = Send(library.send_mail_w, texts);
  } else if (library.send_mail != nullptr) {
    RecordTexts<char> texts = AnsiTexts(draft);
    result.code = Send(library.send_mail, texts);
  } else {
    result.code = MAPI_USER_ABORT;
    result.no_mail_program = true;
    return result;
  }
  result.no_mail_program = result.code == kMapiNotSupported;
  return result;
}

}  // namespace lorix
