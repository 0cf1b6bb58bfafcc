#pragma once

// The recorder's main window TFormStart: the title, the blocks of the four-step workflow and
// the status panel. It holds no decisions of its own: it creates the widgets, routes every
// event to RecorderApp (and through it to RecordingWorkflow), and Paint copies their state back
// onto the widgets afterwards. What only Qt makes different lives here: the layouts, the
// window system's services RecorderApp asks for, the drops, the about box and the help pages.

#include <QMainWindow>
#include <QStringList>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "audio/dialogs.h"
#include "audio/mixer.h"
#include "audio/mixer_bindings.h"
#include "audio/recording_engine.h"
#include "audio/wave_playback.h"
#include "recorder/form_commands.h"
#include "recorder/mail_handoff.h"
#include "recorder/open_save_dialog.h"
#include "recorder/recorder_app.h"
#include "recorder/recorder_paths.h"
#include "recorder/recorder_settings.h"
#include "recorder/recording_workflow.h"
#include "recorder/window/about_box.h"
#include "recorder/window/main_menu.h"
#include "recorder/window/window_system.h"
#include "recorder/window_blocks.h"

class QLabel;
class QRadioButton;
class QSlider;

namespace lorix {

class RecordBlock;
class CompressBlock;
class PlayBlock;
class PlayStatusBlock;
class SpecialsBlock;

// Everything the window works with; the references must outlive it.
struct MainWindowParts {
  RecordingEngine& engine;
  Dialogs& dialogs;
  RecorderSettings& settings;
  RecorderPaths paths;
  WavePlayback::Services playback;
  Mixer* mixer = nullptr;  // none: the volume sliders act on nothing
  // Read at the first show and written at close; empty: no settings file.
  std::filesystem::path settings_file;
  // The program file's name up to its first '.', shown in the title.
  std::string program_name = "LORIX";
  // Size of the player program plus the information text.
  std::int64_t attachment_overhead = 0;
  // The open/save dialog; unset: every dialog counts as cancelled.
  ChooseFile choose_file;
  // Opens a file with the desktop's program (the information text); unset: nothing opens.
  std::function<void(const std::string&)> open_file;
  // How the mail program is reached after step 4.
  MailServices mail;
  // When the program started, for the running time in the about box.
  WallClock::time_point start_time = WallClock::now();
  // What the window system does with the window: its place, always-on-top, the front.
  WindowSystem window_system = RunningWindowSystem();
};

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit MainWindow(MainWindowParts parts, QWidget* parent = nullptr);
  ~MainWindow() override;

  // Handed over at start; handled once the window is shown for the first time. Relative paths
  // name files in `start_folder`, the working folder the program was started in.
  void SetCommandLine(const QStringList& arguments, const QString& start_folder) {
    arguments_ = arguments;
    start_folder_ = start_folder;
  }
  // The recording form: shown in expert mode, its place kept in the settings.
  void SetSoundCardWindow(QWidget* window) { sound_card_window_ = window; }
  // Opens the help page; unset: the desktop's program for it.
  void SetHelpOpener(std::function<void(const std::string&)> open) { open_help_ = std::move(open); }

  // Copies the recorder's state, the workflow's controls and the playback's texts onto the
  // widgets.
  void Paint();

  // Shows or hides a block; the window takes the size of the visible blocks.
  void SetBlockVisible(Block block, bool visible) { app_->SetBlockVisible(block, visible); }
  bool BlockVisible(Block block) const;

  void SetExpertMode(bool on) { app_->SetExpertMode(on); }
  bool ExpertMode() const { return app_->window().expert_mode; }

  // A second start of the program, with its launcher's activation token (empty: none): this
  // window comes to the front and says so.
  void WMSecondInstance(const QString& activation_token);

  // Timer1: the mixer sliders, the playback position, the always-on-top style.
  void Timer1Timer() { app_->Timer1Timer(); }
  bool AppStarted() const { return app_->AppStarted(); }
  bool AlwaysOnTop() const { return app_->window().always_on_top; }

  // The menu's check marks and enabled states follow the window and the workflow.
  void UpdateMenus() { app_->UpdateMenus(); }
  // The space bar's step (always consumed) and the key "1" (step 1).
  void SpaceBarPressed() { app_->SpaceBarPressed(); }
  void StepOneKeyPressed() { app_->StepOneKeyPressed(); }
  // The close request: false refuses closing.
  bool FormCloseQuery() { return app_->FormCloseQuery(); }
  MainMenu& menu() { return *menu_; }

  RecorderApp& app() { return *app_; }
  RecordingWorkflow& workflow() { return app_->workflow(); }

 signals:
  // The window has accepted a close request.
  void Closed();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // What the window does for RecorderApp.
  RecorderWindowServices Services();
  void BuildWidgets();
  void Connect();
  // The blocks as RecorderApp shows them, and the window fitted to them.
  void ShowBlocks();
  void PaintWindowState();
  // A mixer or the file manager, started from a button or a menu item.
  void StartProgram(SystemProgram program);
  // What only the window can do, for the shared routing of clicks and menu items.
  WindowCommands Commands();
  void Focus(FocusTarget target);
  void RepaintNow();
  QWidget* BlockWidget(Block block) const;
  QSlider* VolumeSliderWidget(VolumeSlider slider) const;
  void FitToBlocks();
  void ConnectMenu();
  void MIInfoRegClick();
  // Opens one of the help pages beside the program.
  void OpenHelp(const char* page);
  QRadioButton* MailAppRadioButton(MailMethod method) const;
  QRadioButton* AttachmentKindRadioButton(AttachmentChoice kind) const;
  // The window's stay-on-top style, re-shown as a changed window style hides it.
  void SetWindowOnTop(bool on);
  // Re-applies what a re-created window loses; in Qt only the accepted drops.
  void SetStandardWindows();

  Dialogs& dialogs_;
  std::string program_name_;
  std::filesystem::path lorixs_folder_;
  QString caption_;  // the window caption until a file is handed over
  WallClock::time_point start_time_;
  WindowSystem window_system_;
  // Created at its first use; a member, so it goes before the window it belongs to.
  std::unique_ptr<AboutBox> about_box_;
  std::unique_ptr<RecorderApp> app_;

  QLabel* PanelTitle_ = nullptr;
  QWidget* PanelClient_ = nullptr;
  RecordBlock* PanelRecord_ = nullptr;
  CompressBlock* PanelOptionsCompress_ = nullptr;
  PlayBlock* PanelPlay_ = nullptr;
  PlayStatusBlock* PanelPlayStatus_ = nullptr;
  SpecialsBlock* PanelSpecials_ = nullptr;
  QLabel* PanelBottom_ = nullptr;
  QLabel* PanelWait_ = nullptr;
  QTimer Timer1_;
  MainMenu* menu_ = nullptr;
  std::function<void(const std::string&)> open_help_;

  QWidget* sound_card_window_ = nullptr;
  QStringList arguments_;
  QString start_folder_;
  // The first activation has asked for the start.
  bool start_requested_ = false;
};

}  // namespace lorix
