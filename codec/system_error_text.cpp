#include <cerrno>
#include <cstring>

#include "codec/file_io.h"

namespace lorix {

std::string SystemErrorText(int error_number) {
  switch (error_number) {
    case ENOENT:
      return "Datei oder Ordner nicht gefunden";
    case EACCES:
    case EPERM:
      return "Zugriff verweigert";
    case EISDIR:
      return "ist ein Ordner";
    case EEXIST:
      return "eine Datei gleichen Namens ist im Weg";
    case ENOTDIR:
      return "ein Teil des Pfades ist kein Ordner";
    case ENOSPC:
      return "kein Platz mehr auf dem Datenträger";
    case EROFS:
      return "Datenträger ist schreibgeschützt";
    case ENOMEM:
      return "nicht genug Arbeitsspeicher";
    case EIO:
      return "Ein-/Ausgabefehler";
    case 0:
      return "unbekannter Fehler";
    default:
      return std::strerror(error_number);
  }
}

}  // namespace lorix
