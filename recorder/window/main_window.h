#pragma once

// The recorder's main window TFormStart: the title, the blocks of the four-step workflow and
// the status panel. It holds no decisions of its own: every event goes to RecordingWorkflow
// (or to the playback and mixer it drives), and Paint copies RecorderControls back onto the
// widgets afterwards. Start-up at the first show (settings, mixer, command line), the 100 ms
// timer, the menu items and keys (main_menu.h, form_key_filter.h) and the close sequence are
// sequenced here.

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
#include "recorder/mail_handoff.h"
#include "recorder/open_save_dialog.h"
#include "recorder/recorder_paths.h"
#include "recorder/recorder_settings.h"
#include "recorder/recording_workflow.h"
#include "recorder/window/about_box.h"
#include "recorder/window/main_menu.h"
#include "recorder/window/space_walk.h"
#include "recorder/window/window_blocks.h"
#include "recorder/window/window_system.h"

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

  // Copies the workflow's controls and the playback's texts onto the widgets.
  void Paint();

  // Shows or hides a block; the window takes the size of the visible blocks.
  void SetBlockVisible(Block block, bool visible);
  bool BlockVisible(Block block) const;

  void SetExpertMode(bool on);
  bool ExpertMode() const { return expert_mode_; }

  // A second start of the program, with its launcher's activation token (empty: none): this
  // window comes to the front and says so.
  void WMSecondInstance(const QString& activation_token);

  // Timer1: the mixer sliders, the playback position, the always-on-top style.
  void Timer1Timer();
  bool AppStarted() const { return app_started_; }
  bool AlwaysOnTop() const { return always_on_top_; }

  // The menu's check marks and enabled states follow the window and the workflow.
  void UpdateMenus();
  // A display-menu item: a block, the recording form or always-on-top.
  void MAAnyClick(QAction* sender);
  // The space bar's step (always consumed) and the key "1" (step 1).
  void SpaceBarPressed();
  void StepOneKeyPressed();
  // The close request: false refuses closing.
  bool FormCloseQuery();
  MainMenu& menu() { return *menu_; }

  RecordingWorkflow& workflow() { return *workflow_; }
  QString TitleText() const;

 signals:
  // The window has accepted a close request.
  void Closed();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BuildWidgets();
  void Connect();
  void ConnectVolumeSlider(QSlider* slider, VolumeSlider which);
  // FormActivate's first run: settings, mixer, reset, timer, command line.
  void AppStart();
  void LoadSettings();
  void SaveSettings();
  void ApplySettings();
  void CollectSettings();
  // The volume sliders and the monitoring check box follow the mixer.
  void RefreshMixerControls();
  void TrackbarAnyChange(VolumeSlider slider, int position);
  void ButtonAnyShellExecuteClick(QObject* sender);
  void Focus(FocusTarget target);
  void RepaintNow();
  QWidget* BlockWidget(Block block) const;
  void FitToBlocks();
  void ShowInformation(const std::string& text);
  // The pop-up menu item "Parameter-Beschreibung" of PanelClient.
  void MPDescParamsClick();
  void ConnectMenu();
  // A check-mark item of "&Einstellungen": toggled and stored at once.
  void MIAnyCheckableClick(OptionItem item, bool checked);
  void MSExpertModeClick();
  void MIHilfeClick();
  void MIInfoRegClick();
  // Opens one of the help pages beside the program.
  void OpenHelp(const char* page);
  // The mail start method of the checked radio button, and the button of a stored tag.
  MailMethod CheckedMailMethod() const;
  QRadioButton* MailAppRadioButton(int tag) const;
  QRadioButton* AttachmentKindRadioButton(AttachmentChoice kind) const;
  // The window's stay-on-top style, re-shown as a changed window style hides it. Only where
  // the window system keeps windows on top.
  void ApplyAlwaysOnTop();
  // Re-applies what a re-created window loses; in Qt only the accepted drops.
  void SetStandardWindows();
  // Releases the devices at close: recording engine, playback.
  void ShutdownAudio();

  RecordingEngine& engine_;
  Dialogs& dialogs_;
  RecorderSettings& settings_;
  Mixer* mixer_;
  std::filesystem::path settings_file_;
  std::string program_name_;
  std::filesystem::path lorixs_folder_;
  QString caption_;  // the window caption until a file is handed over
  MailHandoff mail_handoff_;
  WallClock::time_point start_time_;
  WindowSystem window_system_;
  // Created at its first use; a member, so it goes before the window it belongs to.
  std::unique_ptr<AboutBox> about_box_;
  std::unique_ptr<RecordingWorkflow> workflow_;

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
  bool app_started_ = false;
  bool expert_mode_ = false;
  bool always_on_top_ = false;
};

}  // namespace lorix
