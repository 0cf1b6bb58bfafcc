#include "desktop/mapi_result.h"

namespace lorix {

std::string_view MapiResultMessage(int code) {
  switch (code) {
    case MAPI_USER_ABORT:
      return "Benutzer hat Senden abgebrochen oder MAPI nicht installiert.";
    case MAPI_E_FAILURE:
      return "Unbekannter Fehler.";
    case MAPI_E_LOGIN_FAILURE:
      return "Benutzerlogin (z.B. bei Outlook) fehlgeschlagen.";
    case MAPI_E_INSUFFICIENT_MEMORY:
      return "Nicht genug Speicher.";
    case MAPI_E_TOO_MANY_FILES:
      return "Zu viele Dateien zum Anhängen.";
    case MAPI_E_TOO_MANY_RECIPIENTS:
      return "Zu viele Empfänger angegeben.";
    case MAPI_E_ATTACHMENT_NOT_FOUND:
      return "Datei zum Anhängen nicht gefunden";
    case MAPI_E_ATTACHMENT_OPEN_FAILURE:
      return "Datei zum Anhängen konnte nicht geöffnet werden.";
    case MAPI_E_UNKNOWN_RECIPIENT:
      return "Empfänger nicht in Adressbuch gefunden. (Nur möglich, wenn Emailadresse nicht "
             "angegeben.)";
    case MAPI_E_BAD_RECIPTYPE:
      return "Empfängertyp nicht MAPI_TO, MAPI_CC oder MAPI_BCC.";
    case MAPI_E_TEXT_TOO_LARGE:
      return "Text zu groß.";
    case MAPI_E_AMBIGUOUS_RECIPIENT:
      return "Empfänger nicht eindeutig. (Nur möglich, wenn Emailadresse nicht angegeben.)";
    default:
      return {};
  }
}

}  // namespace lorix
