#include "desktop/win32/ui/message_loop.h"

namespace lorix {

int RunMessageLoop(const MessageLoopSetup& setup) {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (setup.pre_filter && setup.pre_filter(message)) continue;
    if (setup.accelerators &&
        TranslateAcceleratorW(setup.accelerator_window, setup.accelerators, &message)) {
      continue;
    }
    if (setup.dialog_window && IsDialogMessageW(setup.dialog_window, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace lorix
