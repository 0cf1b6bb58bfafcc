#include "audio/mci_errors.h"

namespace lorix {

std::string MciGetErrorString(int code) {
  switch (code) {
    case kMciNoError:
      return "Der Befehl wurde erfolgreich ausgeführt.";
    case kMciUnrecognizedKeyword:
      return "Der Befehl enthält ein unbekanntes Schlüsselwort.";
    case kMciUnrecognizedCommand:
      return "Der Befehl ist unbekannt.";
    case kMciHardware:
      return "Das Wiedergabegerät meldet einen Fehler.";
    case kMciUnknownAlias:
      return "Unter diesem Namen ist keine Datei geöffnet.";
    case kMciOutOfMemory:
      return "Für die Datei ist nicht genug Speicher vorhanden.";
    case kMciMissingCommandString:
      return "Es wurde kein Befehl angegeben.";
    case kMciBadInteger:
      return "Eine Zahl im Befehl ist ungültig.";
    case kMciMissingParameter:
      return "Dem Befehl fehlt eine Angabe.";
    case kMciFileNotFound:
      return "Die Datei wurde nicht gefunden.";
    case kMciOutOfRange:
      return "Die Position liegt außerhalb der Aufnahme.";
    case kMciDuplicateAlias:
      return "Unter diesem Namen ist bereits eine Datei geöffnet.";
    case kMciNotWaveFile:
      return "Die Datei ist keine Wave-Datei.";
    case kMciNoClosingQuote:
      return "Im Befehl fehlt ein schließendes Anführungszeichen.";
    case kMciUnsupportedDeviceType:
      return "Dieser Gerätetyp wird nicht unterstützt.";
    case kMciCannotReadFile:
      return "Die Datei kann nicht gelesen werden.";
    case kMciDamagedWaveFile:
      return "Die Wave-Datei ist beschädigt oder unvollständig.";
    case kMciUnsupportedFormat:
      return "Das Format der Wave-Datei wird nicht unterstützt.";
    case kMciNoOutputDevice:
      return "Es ist kein Wiedergabegerät für dieses Format verfügbar.";
    default:
      return "Unbekannter Fehler " + std::to_string(code) + ".";
  }
}

}  // namespace lorix
