// The main window's menu items and its always-on-top style.

#include <QAction>
#include <QCloseEvent>
#include <QMenu>

#include "desktop/open_with_desktop.h"
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
            [this, item](bool checked) { app_->MIAnyCheckableClick(item, checked); });
  }
  for (QAction* action :
       {m.MAPanelRecord, m.MAPanelPlay, m.MAPanelOptionsCompress, m.MAPanelPlayStatus,
        m.MAPanelSpecials, m.MAFormLorixSK, m.MAAlwaysOnTop}) {
    connect(action, &QAction::triggered, this, [this, action] { MAAnyClick(action); });
  }
  connect(m.MTLoadRec, &QAction::triggered, this, [this] {
    app_->workflow().MTLoadSaveRecClick(true);
    Paint();
  });
  connect(m.MTSaveRec, &QAction::triggered, this, [this] {
    app_->workflow().MTLoadSaveRecClick(false);
    Paint();
  });
  connect(m.MSShowWinMixerRecord, &QAction::triggered, this,
          [this] { ButtonAnyShellExecuteClick(PanelRecord_->ButtonWinMixerRecord); });
  connect(m.MSShowWinMixerPlay, &QAction::triggered, this,
          [this] { ButtonAnyShellExecuteClick(PanelPlay_->ButtonWinMixerPlay); });
  connect(m.MSShowExplorer, &QAction::triggered, this,
          [this] { ButtonAnyShellExecuteClick(PanelRecord_->ButtonExplorer); });
  connect(m.MSExpertMode, &QAction::triggered, this, [this] { app_->MSExpertModeClick(); });
  connect(m.MIHilfe, &QAction::triggered, this, &MainWindow::MIHilfeClick);
  connect(m.MIInfo, &QAction::triggered, this, &MainWindow::MIInfoRegClick);
}

void MainWindow::MAAnyClick(QAction* sender) {
  for (std::size_t i = 0; i < kBlockCount; ++i) {
    const auto block = static_cast<Block>(i);
    if (sender == menu_->BlockItem(block)) app_->MABlockClick(block);
  }
  if (sender == menu_->MAFormLorixSK) app_->MAFormLorixSKClick();
  if (sender == menu_->MAAlwaysOnTop) app_->MAAlwaysOnTopClick();
}

void MainWindow::MIInfoRegClick() {
  ShowAboutBox(about_box_,
               {.program_name = program_name_,
                .program_folder = app_->paths().user_folder,
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
  OpenHelpPage(app_->paths().data_folder, page, open);
}

void MainWindow::SetWindowOnTop(bool on) {
  const bool visible = isVisible();
  setWindowFlag(Qt::WindowStaysOnTopHint, on);
  if (visible) show();  // a changed window style hides the window
}

void MainWindow::SetStandardWindows() {
  // Captions and styles survive a changed window style in Qt; drops are registered anew.
  setAcceptDrops(true);
}

}  // namespace lorix
