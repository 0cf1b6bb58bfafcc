#pragma once

// The player's message boxes and questions as small modal FLTK windows: the caption as title,
// a picture for the kind of message, the text, and German buttons. Before the program has a
// display the message goes to standard error instead.

#include "audio/dialogs.h"

namespace lorix {

class FltkDialogs : public Dialogs {
 public:
  DialogAnswer Show(const DialogRequest& request) override;
};

// The answer of a box closed without a button (window manager, Escape): Cancel or No for a
// question, OK for a message.
DialogAnswer DismissAnswer(DialogButtons buttons);

}  // namespace lorix
