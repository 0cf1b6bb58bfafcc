#include <cerrno>
#include <cstring>

#include "codec/codec_error.h"
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
    case ELOOP:
      return "ist eine symbolische Verknüpfung";
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
    case EFBIG:
      return "Datei zu groß";
    case 0:
      return "unbekannter Fehler";
    default:
      return std::strerror(error_number);
  }
}

std::string Quoted(const std::filesystem::path& path) {
  return "\"" + path.string() + "\"";
}

void ThrowFileError(const std::string& what, const std::filesystem::path& path, int error_number) {
  throw CodecError("Die Datei " + Quoted(path) + " " + what + ": " + SystemErrorText(error_number));
}

std::string TooLargeText(const std::filesystem::path& path) {
  return "Die Datei " + Quoted(path) + " ist 2 GB groß oder größer und wird nicht gelesen.";
}

}  // namespace lorix
