#pragma once

// The recorder's program logic without a toolkit, around the four-step workflow: the start
// order at the first activation (settings, mixer, reset, timer, command line), the settings
// read into and collected from the window's state, the 100 ms timer, the display menu and the
// check-mark options, the space bar and the key "1", expert mode, the close query and the
// shutdown. The state the window's controls show (blocks, check boxes, radio buttons, slider
// positions, menu check marks) lives here; the window creates its widgets, paints this state
// and routes its events here. Qt's window and the Win32 one supply RecorderWindowServices.

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "audio/dialogs.h"
#include "audio/mixer.h"
#include "audio/mixer_bindings.h"
#include "audio/recording_engine.h"
#include "audio/wave_playback.h"
#include "recorder/mail_handoff.h"
#include "recorder/open_save_dialog.h"
#include "recorder/recorder_menus.h"
#include "recorder/recorder_paths.h"
#include "recorder/recorder_settings.h"
#include "recorder/recording_workflow.h"
#include "recorder/space_walk.h"
#include "recorder/window_blocks.h"

namespace lorix {

// A window's place on the screen, in pixels.
struct WindowPlace {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
};

// What the recorder needs from the window it runs in. A service left unset does nothing; a
// query left unset answers "no" (or an empty place).
struct RecorderWindowServices {
  // Copies RecorderApp's state and the workflow's controls onto the widgets.
  std::function<void()> paint;
  // Paints at once, without waiting for the event loop (PanelWait before a long compression).
  std::function<void()> repaint_now;
  // Gives the focus to a control; a control that cannot take it is passed over.
  std::function<void(FocusTarget)> focus;
  // Shows the blocks as RecorderWindowState says; the window takes the size of the visible ones.
  std::function<void()> show_blocks;
  // Copies the menu state onto the menus.
  std::function<void(const MenuState&)> paint_menus;

  // The window system reports where a window is (not under Wayland): otherwise the stored
  // place stays as it was read.
  bool reports_window_position = true;
  // The window system keeps a window on top on request (not under Wayland).
  bool keeps_window_on_top = true;
  std::function<WindowPlace()> window_place;
  std::function<void(std::int32_t left, std::int32_t top)> move_window;
  // The window's stay-on-top style as it is, and set (the window is shown again where a changed
  // style hides it).
  std::function<bool()> window_on_top;
  std::function<void(bool on)> set_window_on_top;
  // Re-applies what a re-created window loses.
  std::function<void()> set_standard_windows;

  // The recording form TFormLorixSK exists; without it its settings are neither read nor
  // written and its menu item does nothing.
  std::function<bool()> has_recording_form;
  std::function<WindowPlace()> recording_form_place;
  std::function<void(const WindowPlace&)> place_recording_form;
  std::function<bool()> recording_form_visible;
  std::function<void(bool visible)> show_recording_form;

  // Timer1: runs from the start until the close.
  std::function<void(bool run)> run_timer;
  // The user holds the thumb of this volume slider: it stays where the user has put it.
  std::function<bool(VolumeSlider)> volume_slider_held;
  // Turns a command-line argument into the path of the file it names (relative paths name
  // files in the folder the program was started in); unset: the argument as it is.
  std::function<std::string(const std::string& argument)> resolve_argument;
  // Waits the short moment the devices get to let go at close.
  std::function<void()> shutdown_wait;
};

// Everything the recorder works with; the references must outlive it.
struct RecorderAppParts {
  RecordingEngine& engine;
  Dialogs& dialogs;
  RecorderSettings& settings;
  RecorderPaths paths;
  WavePlayback::Services playback;
  Mixer* mixer = nullptr;  // none: the volume sliders act on nothing
  // Read at the first activation and written at close; empty: no settings file.
  std::filesystem::path settings_file;
  // Size of the player program plus the information text.
  std::int64_t attachment_overhead = 0;
  // The open/save dialog; unset: every dialog counts as cancelled.
  ChooseFile choose_file;
  // Opens a file with the desktop's program (the information text); unset: nothing opens.
  std::function<void(const std::string&)> open_file;
  // How the mail program is reached after step 4.
  MailServices mail;
};

// What the window's own controls show besides the workflow's RecorderControls.
struct RecorderWindowState {
  // By Block: PanelRecord and PanelPlay shown, the other three hidden.
  std::array<bool, kBlockCount> blocks_visible{true, false, true, false, false};
  bool always_on_top = false;
  bool expert_mode = false;
  // The menu items "FormLorixS&K" and "E&xpertMode": shown once expert mode was on.
  bool expert_items_visible = false;
  // "m&ithören": the microphone is audible in the playback mix; its slider is shown with it.
  bool CBMikeToOutEnabled = false;
  // The checked radio button of the mail start method.
  MailMethod mail_method = MailMethod::kMapi;
  // The checked radio button of the attachment kind; none for a stored number no button
  // stands for.
  std::optional<AttachmentChoice> attachment_kind = AttachmentChoice::kProgram;
  // Positions 0..1000 of the volume sliders, by VolumeSlider.
  std::array<int, 4> volume_sliders{};
  MenuState menus;
};

class RecorderApp {
 public:
  RecorderApp(RecorderAppParts parts, RecorderWindowServices services);
  ~RecorderApp();
  RecorderApp(const RecorderApp&) = delete;
  RecorderApp& operator=(const RecorderApp&) = delete;

  // As the form is created, once the window's widgets exist: a silent reset, the compression
  // labels, the focus on the record level.
  void FormCreate();
  // The first activation runs AppStart; later ones do nothing. `arguments` are the command
  // line's, after the program name.
  void FormActivate(const std::vector<std::string>& arguments);
  bool AppStarted() const { return app_started_; }

  // Settings file, both directions, and the window state they are read into and taken from.
  void LoadSettings();
  void SaveSettings();
  void ApplySettings();
  void CollectSettings();

  // Timer1: the mixer sliders, the playback position, the always-on-top style.
  void Timer1Timer();

  // The display menu's items: a block, the recording form, always-on-top.
  void MABlockClick(Block block);
  void MAFormLorixSKClick();
  void MAAlwaysOnTopClick();
  // A check-mark item of "&Einstellungen": its new state, stored at once.
  void MIAnyCheckableClick(OptionItem item, bool checked);
  void MSExpertModeClick();
  // Check marks and enabled states of the menus, from the window and the workflow.
  void UpdateMenus();

  // The space bar's step; the key "1" (step 1 when it is open).
  void SpaceBarPressed();
  void StepOneKeyPressed();

  void SetExpertMode(bool on);
  void SetBlockVisible(Block block, bool visible);
  // The controls that are not the workflow's own.
  void CBMikeToOutEnabledClick(bool checked);
  void RBMailAppClick(MailMethod method);
  void RBAttachmentKindClick(AttachmentChoice kind);
  void TrackbarAnyChange(VolumeSlider slider, int position);

  // A second start of the program, after the window was brought to the front (`activated`) or
  // could not be: the box says which.
  void WMSecondInstance(bool activated);
  // The pop-up menu item "Parameter-Beschreibung" of PanelClient.
  void MPDescParamsClick();

  // The close request: false refuses closing, and nothing else has happened then.
  bool FormCloseQuery();

  RecordingWorkflow& workflow() { return *workflow_; }
  const RecordingWorkflow& workflow() const { return *workflow_; }
  const RecorderWindowState& window() const { return window_; }
  const RecorderPaths& paths() const { return workflow_->paths(); }

 private:
  // The start order of the first activation.
  void AppStart(const std::vector<std::string>& arguments);
  // Sets the check box and tells the mixer, as the box's change handler does, when it changes.
  void SetMikeToOutEnabled(bool checked);
  // The two sliders of the compression block: clamped to 0..8, a changed position runs the
  // slider's change handler.
  void SetCompressLevel(int position);
  void SetMuteLevel(int position);
  // The volume sliders and the monitoring check box follow the mixer.
  void RefreshMixerControls();
  void ApplyAlwaysOnTop();
  void SetStandardWindows();
  // Releases the devices at close: recording engine, playback.
  void ShutdownAudio();
  void ShowInformation(const std::string& text);
  void Paint();
  void ShowBlocks();

  RecordingEngine& engine_;
  Dialogs& dialogs_;
  RecorderSettings& settings_;
  Mixer* mixer_;
  std::filesystem::path settings_file_;
  RecorderWindowServices services_;
  MailHandoff mail_handoff_;
  RecorderWindowState window_;
  std::unique_ptr<RecordingWorkflow> workflow_;
  bool app_started_ = false;
};

}  // namespace lorix
