// The main window's menu items, keys, always-on-top style and close sequence.

#include <QAction>
#include <QCloseEvent>
#include <QMenu>
#include <chrono>
#include <thread>

#include "desktop/open_with_desktop.h"
#include "recorder/settings_file.h"
#include "recorder/window/help_page.h"
#include "recorder/window/main_window.h"
#include "recorder/window/play_block.h"
#include "recorder/window/record_block.h"

namespace lorix {

void MainWindow::ConnectMenu() {
  MainMenu& m = *menu_;
  connect(&m, &MainMenu::MAnzeigeClick, this, &MainWindow::UpdateMenus);
  connect(m.MDBeenden, &QAction::triggered, this, &MainWindow::close);
  for (std::size_t i = 0; i < kOptionItemCount; ++i) {
    const auto item = static_cast<OptionItem>(i);
    connect(m.Option(item), &QAction::triggered, this,
            [this, item](bool checked) { MIAnyCheckableClick(item, checked); });
  }
  for (QAction* action :
       {m.MAPanelRecord, m.MAPanelPlay, m.MAPanelOptionsCompress, m.MAPanelPlayStatus,
        m.MAPanelSpecials, m.MAFormLorixSK, m.MAAlwaysOnTop}) {
    connect(action, &QAction::triggered, this, [this, action] { MAAnyClick(action); });
  }
  connect(m.MTLoadRec, &QAction::triggered, this, [this] {
    workflow_->MTLoadSaveRecClick(true);
    Paint();
  });
  connect(m.MTSaveRec, &QAction::triggered, this, [this] {
    workflow_->MTLoadSaveRecClick(false);
    Paint();
  });
  connect(m.MSShowWinMixerRecord, &QAction::triggered, this,
          [this] { ButtonAnyShellExecuteClick(PanelRecord_->ButtonWinMixerRecord); });
  connect(m.MSShowWinMixerPlay, &QAction::triggered, this,
          [this] { ButtonAnyShellExecuteClick(PanelPlay_->ButtonWinMixerPlay); });
  connect(m.MSShowExplorer, &QAction::triggered, this,
          [this] { ButtonAnyShellExecuteClick(PanelRecord_->ButtonExplorer); });
  connect(m.MSExpertMode, &QAction::triggered, this, &MainWindow::MSExpertModeClick);
  connect(m.MIHilfe, &QAction::triggered, this, &MainWindow::MIHilfeClick);
  connect(m.MIInfo, &QAction::triggered, this, &MainWindow::MIInfoRegClick);
}

void MainWindow::UpdateMenus() {
  MenuInputs inputs;
  for (std::size_t i = 0; i < kBlockCount; ++i) {
    inputs.blocks_visible[i] = BlockVisible(static_cast<Block>(i));
  }
  inputs.sound_card_window_visible =
      sound_card_window_ != nullptr && sound_card_window_->isVisible();
  inputs.always_on_top = always_on_top_;
  inputs.always_on_top_available = window_system_.keeps_window_on_top;
  menu_->UpdateMenus(
      MenuStateFrom(inputs, settings_.Options, workflow_->state(), workflow_->controls()));
}

void MainWindow::MAAnyClick(QAction* sender) {
  for (std::size_t i = 0; i < kBlockCount; ++i) {
    const auto block = static_cast<Block>(i);
    if (sender == menu_->BlockItem(block)) SetBlockVisible(block, !BlockVisible(block));
  }
  if (sender == menu_->MAFormLorixSK && sound_card_window_ != nullptr) {
    sound_card_window_->setVisible(!sound_card_window_->isVisible());
  }
  if (sender == menu_->MAAlwaysOnTop && window_system_.keeps_window_on_top) {
    always_on_top_ = !always_on_top_;
    ApplyAlwaysOnTop();
  }
  // A triggered check-mark item has toggled itself: the marks show what is.
  UpdateMenus();
}

void MainWindow::MIAnyCheckableClick(OptionItem item, bool checked) {
  OptionValue(settings_.Options, item) = checked;
  if (settings_file_.empty()) return;
  const SettingsFileResult result =
      WriteIniBool(settings_file_, "Options", OptionKey(item), checked, dialogs_);
  if (!result.ok) dialogs_.ShowError("LORIX", result.error);
}

void MainWindow::MSExpertModeClick() {
  SetExpertMode(!expert_mode_);
}

void MainWindow::MIInfoRegClick() {
  ShowAboutBox(about_box_,
               {.program_name = program_name_,
                .program_folder = workflow_->paths().user_folder,
                .start_time = start_time_,
                .dialogs = dialogs_},
               this);
}

void MainWindow::MIHilfeClick() {
  OpenHelp(kHelpPageName);
}

void MainWindow::OpenHelp(const char* page) {
  const auto open =
      open_help_ ? open_help_ : [](const std::string& file) { OpenWithDesktop(file); };
  OpenHelpPage(workflow_->paths().data_folder, page, open);
}

void MainWindow::ApplyAlwaysOnTop() {
  const bool visible = isVisible();
  setWindowFlag(Qt::WindowStaysOnTopHint, always_on_top_);
  if (visible) show();  // a changed window style hides the window
  SetStandardWindows();
}

void MainWindow::SetStandardWindows() {
  // Captions and styles survive a changed window style in Qt; drops are registered anew.
  setAcceptDrops(true);
}

void MainWindow::SpaceBarPressed() {
  RecordBlock& r = *PanelRecord_;
  // The same as pressing the step's button, so step 4 runs whatever that button runs.
  switch (SpaceBarStep(workflow_->controls(), workflow_->state())) {
    case SpaceStep::kCreateOpenMail:
      r.ButtonCreateOpenMail->click();
      break;
    case SpaceStep::kComprDecomprAndPlay:
      r.ButtonComprDecomprAndPlay->click();
      break;
    case SpaceStep::kRecord:
      r.ButtonRecord->click();
      break;
    case SpaceStep::kRecordLevelOnOff:
      r.ButtonRecordLevelOnOff->click();
      break;
    case SpaceStep::kNone:
      break;
  }
}

void MainWindow::StepOneKeyPressed() {
  if (workflow_->controls().ButtonRecordLevelOnOff.enabled) {
    PanelRecord_->ButtonRecordLevelOnOff->click();
  }
}

bool MainWindow::FormCloseQuery() {
  // A stopped recording is given up only after the reset question.
  if (workflow_->state().SampleCount > 0 &&
      !workflow_->ButtonResetClick(ResetSender::kButtonReset)) {
    Paint();
    return false;
  }
  if (settings_.Options.AutoSavePrefs) SaveSettings();
  ShutdownAudio();
  Timer1_.stop();
  Paint();
  return true;
}

void MainWindow::ShutdownAudio() {
  const WorkflowState& state = workflow_->state();
  if (state.RecordingActive || state.LevelMeterOn) workflow_->ButtonResetClick(ResetSender::kNone);
  if (workflow_->playback().PlaybackActive()) workflow_->playback().ClosePlayback();
  std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

}  // namespace lorix
