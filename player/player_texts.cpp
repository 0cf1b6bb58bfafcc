#include "player/player_texts.h"

#include "codec/info_text.h"

namespace lorix {

std::string InfoCaption() {
  return " Wollen Sie selbst schnell+einfach Sprach-Mails versenden?\r\n"
         " Klicken Sie für Kurz-&Infos   H I E R   ...";
}

std::string WebPageCaption() {
  return " &Web-Seite:  " + std::string(kWebPageUrl);
}

// Line feed before carriage return, as the caption has always been written.
std::string DownloadCaption() {
  return " &Download LORIX:  \n\r " + std::string(kDownloadPageUrl);
}

std::string MailCaption() {
  return " eMai&l an LORIX-Autor:  " + std::string(kAuthorMail);
}

std::string HelpText() {
  const char* const lines[] = {
      "Tasten und Funktionen:",
      "===================================",
      "",
      "Leertaste:   Abspielen und Pause Ein/Aus",
      "Y-Taste:      Von vorne abspielen",
      "A-Taste:      Pause-Ein/Aus",
      "S-Taste:      Stop",
      "",
      "N-Taste:      Externe WAV-Anwdg. starten",
      "E-Taste:      Erweiterte Ansicht Ein/Aus",
      "M-Taste:      System-Mixer öffnen",
      "",
      "I-Taste:      Weitere Informationen",
  };
  std::string text;
  for (const char* line : lines) {
    if (!text.empty()) text += "\r\n";
    text += line;
  }
  return text + "\r\n\r\n";
}

std::string WithoutAccelerators(const std::string& caption) {
  std::string text;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&') {
      if (i + 1 < caption.size() && caption[i + 1] == '&') text += caption[++i];
      continue;
    }
    text += caption[i];
  }
  return text;
}

}  // namespace lorix
