#pragma once

// The programs' message boxes and questions as Windows message boxes, owned by the program's
// main window once it exists (centred on it, and the window waits for the answer).

// windows.h first: the other system headers build on it.
#include <windows.h>

#include "audio/dialogs.h"

namespace lorix {

class Win32Dialogs : public Dialogs {
 public:
  Win32Dialogs() = default;
  explicit Win32Dialogs(HWND owner) : owner_(owner) {}

  void set_owner(HWND owner) { owner_ = owner; }
  DialogAnswer Show(const DialogRequest& request) override;

 private:
  HWND owner_ = nullptr;
};

}  // namespace lorix
