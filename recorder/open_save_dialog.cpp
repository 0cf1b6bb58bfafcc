#include "recorder/open_save_dialog.h"

#include "codec/text_encoding.h"

namespace lorix {

std::string CutToDefaultExtension(const std::string& file_name,
                                  const std::string& default_extension) {
  // Only the name part counts: a dot in a folder name (~/.local/...) is neither an extension
  // nor a place to cut. A leading dot marks a hidden file, not an extension.
  const std::size_t name_start = file_name.find_last_of('/') + 1;
  const std::size_t first_dot =
      name_start + 1 < file_name.size() ? file_name.find('.', name_start + 1) : std::string::npos;
  if (first_dot == std::string::npos) return file_name;
  const std::string extension = AsciiUpperCase(file_name.substr(file_name.rfind('.')));
  if (extension == "." + AsciiUpperCase(default_extension)) return file_name;
  return file_name.substr(0, first_dot);
}

namespace {

void PrepareFor(bool save, const std::string& file_name, const std::string& initial_folder,
                FileDialogRequest& request) {
  request.file_name = CutToDefaultExtension(file_name, request.default_extension);
  request.save = save;
  request.title += save ? " speichern" : " laden";
  request.overwrite_prompt = save;
  request.file_must_exist = !save;
  request.ok_word = save ? "Speichern" : "Laden";
  request.initial_folder = initial_folder;
}

}  // namespace

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
  PrepareFor(save, file_name, initial_folder, request);
  return request;
}

FileDialogRequest PrepareMp3SaveDialog(const std::string& file_name,
                                       const std::string& initial_folder) {
  FileDialogRequest request;
  request.title = "Lorix-Audiodatei";
  request.filter_index = 4;
  request.default_extension = "mp3";
  PrepareFor(true, file_name, initial_folder, request);
  return request;
}

}  // namespace lorix
