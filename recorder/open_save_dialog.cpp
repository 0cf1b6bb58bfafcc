#include "recorder/open_save_dialog.h"

#include "codec/text_encoding.h"

namespace lorix {

std::string CutToDefaultExtension(const std::string& file_name,
                                  const std::string& default_extension) {
  // The extension starts at the last dot of the name part; a dot in a folder name is no
  // extension, but it is the first dot of the whole path and the cut happens there.
  const std::size_t name_start = file_name.find_last_of('/') + 1;
  const std::size_t last_dot = file_name.rfind('.');
  const std::string extension = (last_dot != std::string::npos && last_dot >= name_start)
                                    ? AsciiUpperCase(file_name.substr(last_dot))
                                    : std::string();
  const std::size_t first_dot = file_name.find('.');
  if (extension != "." + AsciiUpperCase(default_extension) && first_dot != std::string::npos) {
    return file_name.substr(0, first_dot);
  }
  return file_name;
}

FileDialogRequest PrepareOpenSaveDialog(bool save, bool wav, const std::string& file_name,
                                        const std::string& initial_folder) {
  FileDialogRequest request;
  if (wav) {
    request.title = "WAV(PCM)-Audio-Datei";
    request.filter_index = 1;
    request.default_extension = "WAV";
  } else {
    request.title = "Lorix-Sprachanhang";
    request.filter_index = 2;
    request.default_extension = "EXE";
  }
  request.file_name = CutToDefaultExtension(file_name, request.default_extension);
  request.save = save;
  request.title += save ? " speichern" : " laden";
  request.overwrite_prompt = save;
  request.file_must_exist = !save;
  request.ok_word = save ? "Speichern" : "Laden";
  request.initial_folder = initial_folder;
  return request;
}

}  // namespace lorix
