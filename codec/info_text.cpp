#include "codec/info_text.h"

#include "codec/text_encoding.h"

namespace lorix {
namespace {

std::string BuildInfoText() {
  const std::string rule(74, '=');
  const std::string lines[] = {
      " LORIX:",
      " Informationen zum Programm, mit dem diese Sprach-Nachricht erstellt wurde",
      rule,
      " Programm-Kurzbeschreibung:",
      " " + std::string(25, '='),
      "",
      " Mit LORIX können Sprach-Aufzeichnungen per eMail",
      "          mit wenigen Maus-Klicks erstellt und verschickt werden!",
      "",
      " Der Empfänger braucht dafür nichts zu installieren: der Anhang",
      " enthält ein kleines Abspielprogramm, das die Nachricht sofort abspielt.",
      "",
      " Hohe Kompression der aufgenommenen Audio-Daten bei guter Sprachverständlichkeit",
      " MAPI-Anbindung!",
      " Darstellung und Regelung des Aufnahme-Pegels.",
      " Gesamt-Aufnahme kann unterbrochen und vorab angehört werden.",
      " Einstellbare Kompression und Stille-Unterdrückung.",
      rule,
      " Bezugsquelle:",
      " " + std::string(13, '='),
      "",
      " Das Programm LORIX und weitere Informationen erhalten Sie im Internet:",
      "   " + std::string(kWebPageUrl),
      " Herunterladen:",
      "   " + std::string(kDownloadPageUrl),
      rule,
      " Kontakt:",
      " " + std::string(8, '='),
      "",
      " Fragen, Anregungen und Fehlerberichte bitte per eMail an:",
      "   " + std::string(kAuthorMail),
      rule,
  };
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return Utf8ToCp1252(text);
}

}  // namespace

const std::string& InfoText() {
  static const std::string text = BuildInfoText();
  return text;
}

std::int32_t InfoTextLength() {
  return static_cast<std::int32_t>(InfoText().size());
}

}  // namespace lorix
