#pragma once

// The programs' message loop. Each message passes, in this order, the program's key
// pre-filter, the window's accelerators, the dialog keys (tab order, mnemonics such as
// "&4. ..." on a window that is no dialog) and then goes to its window.

// windows.h first: the other system headers build on it.
#include <windows.h>

#include <functional>

namespace lorix {

struct MessageLoopSetup {
  // The program's first look at a message: true when it took it.
  std::function<bool(MSG&)> pre_filter;
  // Accelerators of `accelerator_window`; none when null.
  HACCEL accelerators = nullptr;
  HWND accelerator_window = nullptr;
  // The window whose controls the dialog keys move between; none when null.
  HWND dialog_window = nullptr;
};

// Runs until WM_QUIT and returns its exit code.
int RunMessageLoop(const MessageLoopSetup& setup);

}  // namespace lorix
