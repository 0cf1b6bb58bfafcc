#pragma once

// The recorder's file dialog on Windows: the system's Open or Save As dialog for a request of
// PrepareOpenSaveDialog, with the recorder's filter list.

// windows.h first: the other system headers build on it.
#include <windows.h>

#include <functional>

#include "recorder/open_save_dialog.h"

namespace lorix {

// `owner` names the window the dialog belongs to when it is shown (the main window is made
// after the workflow that holds the chooser).
ChooseFile Win32FileChooser(std::function<HWND()> owner);

}  // namespace lorix
