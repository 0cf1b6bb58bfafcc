// The main window's menu items and its always-on-top style.

#include <QAction>
#include <QCloseEvent>
#include <QMenu>

#include "desktop/open_with_desktop.h"
#include "recorder/form_commands.h"
#include "recorder/help_page.h"
#include "recorder/window/main_window.h"
#include "recorder/window/play_block.h"
#include "recorder/window/record_block.h"

namespace lorix {

void MainWindow::ConnectMenu() {
  MainMenu& m = *menu_;
  connect(&m, &MainMenu::MAnzeigeClick, this, &MainWindow::UpdateMenus);
  for (const MenuRow& row : MainMenuTable()) {
    QAction* action = m.Item(row.id);
    if (action == nullptr || row.parent == row.id) continue;
    const MenuEntry id = row.id;
    connect(action, &QAction::triggered, this, [this, action, id](bool checked) {
      // Qt has set the new check mark already; the handlers are told the one the item had.
      const bool had_check = action->isCheckable() && !checked;
      if (MenuEntryClick(*app_, id, had_check, Commands())) Paint();
    });
  }
}

WindowCommands MainWindow::Commands() {
  return {.close = [this] { close(); },
          .open_help = [this](const char* page) { OpenHelp(page); },
          .show_about = [this] { MIInfoRegClick(); },
          .start_program = [this](SystemProgram program) { StartProgram(program); }};
}

void MainWindow::MIInfoRegClick() {
  ShowAboutBox(about_box_,
               {.program_name = program_name_,
                .program_folder = app_->paths().user_folder,
                .start_time = start_time_,
                .dialogs = dialogs_},
               this);
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
