#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "recorder/open_save_dialog.h"

namespace lorix::testing {

// Stands in for the open/save dialog: records every request and answers with the scripted names
// in turn; with none left, the user cancels.
class ScriptedFileChooser {
 public:
  std::optional<std::string> Choose(const FileDialogRequest& request) {
    requests.push_back(request);
    if (answers.empty()) return std::nullopt;
    std::string answer = answers.front();
    answers.pop_front();
    return answer;
  }

  ChooseFile AsHook() {
    return [this](const FileDialogRequest& request) { return Choose(request); };
  }

  std::vector<FileDialogRequest> requests;
  std::deque<std::string> answers;
};

}  // namespace lorix::testing
