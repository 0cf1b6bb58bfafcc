#pragma once

// Drives windows on the rig's X display the way a person would: finds them by title, types keys
// into them with xdotool and takes their screenshots with import. The Windows programs under Wine
// are driven this way, as their windows are plain X windows there.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "desktop/command_output.h"
#include "tests/support/x11_windows.h"

namespace lorix::testing {

// The first mapped window whose title is `title` (or starts with it), waiting up to `wait`;
// 0 when none comes.
inline unsigned long FindWindow(const std::string& title, bool prefix,
                                std::chrono::milliseconds wait) {
  X11Windows windows;
  if (!windows.connected()) return 0;
  const auto found = windows.WaitFor(title, prefix, wait);
  return found.empty() ? 0 : found.front();
}

// Sends `what` to the window by xdotool's `action`: "key" for a key (Return, ctrl+s), "type" for
// text typed character by character.
inline void Xdotool(unsigned long window, const std::string& action, const std::string& what) {
  EXPECT_EQ(RunAndCapture({"xdotool", action, "--window", std::to_string(window), what},
                          std::chrono::seconds(10))
                .exit_status,
            0)
      << action << " " << what;
}

inline void Key(unsigned long window, const std::string& key) {
  Xdotool(window, "key", key);
}

// Writes the window's picture to `file`, making its folder.
inline void ScreenshotTo(unsigned long window, const std::filesystem::path& file) {
  std::filesystem::create_directories(file.parent_path());
  EXPECT_EQ(RunAndCapture({"import", "-window", std::to_string(window), file.string()},
                          std::chrono::seconds(20))
                .exit_status,
            0)
      << file;
}

// Whether every window of `title` is gone within `wait`.
inline bool Gone(const std::string& title, std::chrono::milliseconds wait) {
  return WaitUntil([&] { return FindWindow(title, false, std::chrono::milliseconds(0)) == 0; },
                   wait, [] { std::this_thread::sleep_for(std::chrono::milliseconds(100)); });
}

// Answers the box of `title` that comes up within `wait` with Return, after its screenshot into
// `screenshot` when that names a file. False when no box came or it did not go.
inline bool AnswerBox(const std::string& title, std::chrono::milliseconds wait,
                      const std::filesystem::path& screenshot = {}) {
  const unsigned long box = FindWindow(title, false, wait);
  if (box == 0) return false;
  if (!screenshot.empty()) ScreenshotTo(box, screenshot);
  Key(box, "Return");
  return Gone(title, std::chrono::seconds(10));
}

}  // namespace lorix::testing
