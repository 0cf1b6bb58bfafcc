#pragma once

// The player's message boxes and questions as Windows message boxes without an owner.

#include "audio/dialogs.h"

namespace lorix {

class Win32Dialogs : public Dialogs {
 public:
  DialogAnswer Show(const DialogRequest& request) override;
};

}  // namespace lorix
