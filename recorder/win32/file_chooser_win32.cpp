#include "recorder/win32/file_chooser_win32.h"

#include <utility>

#include "desktop/win32/ui/file_dialog_win32.h"

namespace lorix {

ChooseFile Win32FileChooser(std::function<HWND()> owner) {
  return [owner = std::move(owner)](const FileDialogRequest& request) {
    FileDialogSetup setup;
    setup.owner = owner ? owner() : nullptr;
    setup.title = request.title;
    setup.filter = kOpenSaveDialogFilter;
    setup.filter_index = request.filter_index;
    setup.default_extension = request.default_extension;
    setup.save = request.save;
    setup.overwrite_prompt = request.overwrite_prompt;
    setup.file_must_exist = request.file_must_exist;
    setup.ok_word = request.ok_word;
    setup.initial_folder = request.initial_folder;
    setup.file_name = request.file_name;
    return ShowFileDialog(setup);
  };
}

}  // namespace lorix
