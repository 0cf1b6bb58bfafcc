#pragma once

// Which handler each control of the main form and each menu item runs, without a toolkit: a
// window reports "this control was clicked" (with the check mark it now has) or "this track
// bar moved", and the program logic runs as the form's event handlers say. What only a window
// can do (close itself, open the help, the about box, a system program) it supplies as
// WindowCommands. The window paints afterwards.

#include <functional>

#include "recorder/recorder_app.h"
#include "recorder/recorder_form_controls.h"
#include "recorder/recorder_menu_table.h"

namespace lorix {

// The system programs the main form's buttons and menu items start.
enum class SystemProgram { kMixerRecord, kMixerPlay, kExplorer };

struct WindowCommands {
  std::function<void()> close;
  std::function<void(const char* help_page)> open_help;
  std::function<void()> show_about;
  std::function<void(SystemProgram)> start_program;
};

// A click on a button, step tip, check box or radio button of the main form; `checked` is a
// check box's new check mark. False when the control runs nothing on a click.
bool FormControlClick(RecorderApp& app, FormControl id, bool checked, const WindowCommands& window);

// A new position of one of the main form's track bars (the start-position slider of the
// playback speaks scroll codes and goes to WavePlayback itself). False for other controls.
bool FormTrackBarChange(RecorderApp& app, FormControl id, int position);

// A menu item chosen; `checked` is the check mark it had before. False for the menus of the
// bar, which only open.
bool MenuEntryClick(RecorderApp& app, MenuEntry id, bool checked, const WindowCommands& window);

}  // namespace lorix
