#pragma once

// The one file dialog of the recorder, used for opening and saving: what it is asked to show
// (title, filter entry, default extension, the OK button's word) and the seam through which the
// window shows it. Tests put in a chooser that records the request and answers as scripted.

#include <functional>
#include <optional>
#include <string>

namespace lorix {

// The dialog's filter list, entries separated by '|': a description, then its pattern.
inline constexpr const char* kOpenSaveDialogFilter =
    "PCM-Sound-Dateien (*.wav)|*.wav|LORIX-Anhänge (*.exe)|*.exe|LORIX-Sound-Dateien "
    "(*.lrx)|*.lrx|MP3-Audiodateien (*.mp3)|*.mp3|alle Dateien (*.*)|*.*";

struct FileDialogRequest {
  std::string title;
  int filter_index = 1;           // 1-based entry of kOpenSaveDialogFilter
  std::string default_extension;  // without the dot: "WAV", "EXE", "mp3"
  bool save = false;
  bool overwrite_prompt = false;
  bool file_must_exist = true;
  std::string ok_word;  // "Speichern" or "Laden"
  std::string initial_folder;
  std::string file_name;  // the name the dialog starts with
};

// Shows the dialog; the chosen path, or nothing when the user cancelled.
using ChooseFile = std::function<std::optional<std::string>(const FileDialogRequest&)>;

// The request for loading or saving a WAV file or compressed data. `file_name` is the name the
// dialog showed last: when its extension is not the default one, the file name (not its
// folder) is cut before its first dot.
FileDialogRequest PrepareOpenSaveDialog(bool save, bool wav, const std::string& file_name,
                                        const std::string& initial_folder);

// The request for saving the message as an MP3 file, `file_name` cut as above.
FileDialogRequest PrepareMp3SaveDialog(const std::string& file_name,
                                       const std::string& initial_folder);

// The file name the dialog starts with: the name after the last '/' is cut before its first
// '.' when its extension (upper-cased, with its dot) differs from "." + `default_extension`.
std::string CutToDefaultExtension(const std::string& file_name,
                                  const std::string& default_extension);

}  // namespace lorix
