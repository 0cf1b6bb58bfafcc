// The information text, the web, download and mail links with their copy buttons, the
// associated WAV application and the system mixer. Each asks before anything outside the
// player is opened.

#include <system_error>

#include "codec/file_io.h"
#include "codec/info_text.h"
#include "codec/text_encoding.h"
#include "player/player_app.h"

namespace lorix {
namespace {

// The information text as the desktop's text viewer can show it: the stored file keeps the
// attachment's bytes, the copy beside it is UTF-8.
constexpr const char* kInfoViewName = "TempInfo-utf8.txt";

}  // namespace

bool PlayerApp::Ask(const std::string& caption, const std::string& text) {
  return dialogs_.Show({caption, text, DialogIcon::kNone, DialogButtons::kOkCancel}) ==
         DialogAnswer::kOk;
}

void PlayerApp::OpenInfoText() {
  if (extraction_.InfoFile.empty()) return;
  std::filesystem::path shown = extraction_.InfoFile;
  try {
    const Bytes bytes = ReadWholeFile(extraction_.InfoFile);
    const std::string utf8 =
        Cp1252ToUtf8(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    shown = extraction_.InfoFile.parent_path() / kInfoViewName;
    WriteFileAtomically(shown,
                        ByteSpan(reinterpret_cast<const std::uint8_t*>(utf8.data()), utf8.size()));
  } catch (const std::exception&) {
    shown = extraction_.InfoFile;  // the viewer then shows the bytes as they are
  }
  if (services_.open) services_.open(shown.string());
}

void PlayerApp::StartWaveApplication() {
  if (current_wav_file_.empty()) return;
  if (Ask("Datei öffnen", "Wollen Sie die Datei \"" + current_wav_file_ + "\" mit \"" +
                              wave_app_name_ + "\" öffnen?") &&
      services_.open) {
    services_.open(current_wav_file_);
  }
}

void PlayerApp::StartSystemMixer() {
  const int result = services_.start_system_mixer ? services_.start_system_mixer() : 0;
  if (result < 31) dialogs_.ShowError("Information", "Systemmixer nicht verfügbar !!");
}

void PlayerApp::OpenWebPage(PlayerControl sender) {
  const std::string url(kWebPageUrl);
  if (sender == PlayerControl::kBtnCopyWebPage) {
    CopyToClipboard(url);
    return;
  }
  if (Ask("Zusätzliche Information",
          "Wollen Sie \"" + url + "\" für weitere Informationen öffnen?") &&
      services_.open) {
    services_.open(url);
  }
}

void PlayerApp::OpenDownloadPage(PlayerControl sender) {
  const std::string url(kDownloadPageUrl);
  if (sender == PlayerControl::kBtnCopyDownload) {
    CopyToClipboard(url);
    return;
  }
  if (Ask("Download starten",
          "Wollen Sie das aktuellste LORIX-Sende-Programm herunterladen ?\r\n(\"" + url + "\")") &&
      services_.open) {
    services_.open(url);
  }
}

std::string PlayerApp::MailSubject() const {
  return "LORIX-Player(V." + setup_.version + ")";
}

void PlayerApp::MailToAuthor(PlayerControl sender) {
  const std::string subject = MailSubject();
  const std::string mail(kAuthorMail);
  if (sender == PlayerControl::kBtnCopyMail) {
    CopyToClipboard(mail);
    return;
  }
  // The subject holds only characters a mailto URL carries as they are.
  if (Ask("eMail senden", "Wollen Sie eine eMail senden an \"" + mail + "\" ?") && services_.open) {
    services_.open("mailto:" + mail + "?subject=" + subject + "&body=" + subject);
  }
}

void PlayerApp::CopyToClipboard(const std::string& text) {
  if (services_.copy_to_clipboard) services_.copy_to_clipboard(text);
  dialogs_.Show({"Info", "\"" + text + "\"\r\nwurde in die Zwischenablage kopiert",
                 DialogIcon::kNone, DialogButtons::kOk});
}

}  // namespace lorix
