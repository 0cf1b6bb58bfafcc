#pragma once

#include <deque>
#include <functional>
#include <vector>

#include "audio/dialogs.h"

namespace lorix::testing {

// Records every dialog a handler shows and answers with the scripted answers in order
// (OK, or Yes for a question, when the script has run out).
class RecordingDialogs : public Dialogs {
 public:
  DialogAnswer Show(const DialogRequest& request) override {
    shown.push_back(request);
    if (while_open) while_open(request);
    if (!answers.empty()) {
      const DialogAnswer answer = answers.front();
      answers.pop_front();
      return answer;
    }
    return request.buttons == DialogButtons::kYesNo ? DialogAnswer::kYes : DialogAnswer::kOk;
  }

  std::vector<DialogRequest> shown;
  std::deque<DialogAnswer> answers;
  // Runs while the box is open, as the events a real box lets through would.
  std::function<void(const DialogRequest&)> while_open;
};

}  // namespace lorix::testing
