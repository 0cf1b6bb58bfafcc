#include "recorder/window/main_menu.h"

#include <QAction>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include "recorder/window/main_window_paint.h"

namespace lorix {
namespace {

// The hint of the always-on-top item where the window system does not keep windows on top.
constexpr char kAlwaysOnTopUnavailableHint[] =
    "Unter Wayland nicht möglich: Das Fenstersystem lässt Programme ihr Fenster nicht selbst "
    "im Vordergrund halten.";

QKeySequence KeysOf(const MenuKey& key) {
  if (key.Empty()) return {};
  int keys =
      key.function_key != 0 ? Qt::Key_F1 + (key.function_key - 1) : Qt::Key_A + (key.letter - 'A');
  if (key.ctrl) keys |= Qt::CTRL;
  if (key.alt) keys |= Qt::ALT;
  return QKeySequence(keys);
}

}  // namespace

MainMenu::MainMenu(QMainWindow& window) : QObject(&window) {
  QMenuBar* bar = window.menuBar();
  std::array<QMenu*, static_cast<std::size_t>(MenuEntry::kCount)> menus{};
  for (const MenuRow& row : MainMenuTable()) {
    const auto index = static_cast<std::size_t>(row.id);
    if (row.parent == row.id) {
      menus[index] = Named(bar->addMenu(ToQt(row.caption)), row.name);
      continue;
    }
    QMenu* menu = menus[static_cast<std::size_t>(row.parent)];
    if (row.separator_before) menu->addSeparator();
    QAction* action = Named(menu->addAction(ToQt(row.caption)), row.name);
    action->setShortcut(KeysOf(row.key));
    action->setCheckable(row.checkable);
    action->setVisible(!row.expert_only);
    items_[index] = action;
  }
  const auto item = [this](MenuEntry id) { return items_[static_cast<std::size_t>(id)]; };
  const auto menu = [&menus](MenuEntry id) { return menus[static_cast<std::size_t>(id)]; };
  MDatei = menu(MenuEntry::kMDatei);
  MEinstellungen = menu(MenuEntry::kMEinstellungen);
  MAnzeige = menu(MenuEntry::kMAnzeige);
  MSpeziell = menu(MenuEntry::kMSpeziell);
  MFragezeichen = menu(MenuEntry::kMFragezeichen);
  MDBeenden = item(MenuEntry::kMDBeenden);
  MIOnStartSelectMike = item(MenuEntry::kMIOnStartSelectMike);
  MIOnStartSetMinVols = item(MenuEntry::kMIOnStartSetMinVols);
  MIConfirmReset = item(MenuEntry::kMIConfirmReset);
  MIAutoSavePrefs = item(MenuEntry::kMIAutoSavePrefs);
  option_items_ = {MIOnStartSelectMike, MIOnStartSetMinVols, MIConfirmReset, MIAutoSavePrefs};
  MAPanelRecord = item(MenuEntry::kMAPanelRecord);
  MAPanelPlay = item(MenuEntry::kMAPanelPlay);
  MAPanelOptionsCompress = item(MenuEntry::kMAPanelOptionsCompress);
  MAPanelPlayStatus = item(MenuEntry::kMAPanelPlayStatus);
  MAPanelSpecials = item(MenuEntry::kMAPanelSpecials);
  block_items_[static_cast<std::size_t>(Block::kRecord)] = MAPanelRecord;
  block_items_[static_cast<std::size_t>(Block::kOptionsCompress)] = MAPanelOptionsCompress;
  block_items_[static_cast<std::size_t>(Block::kPlay)] = MAPanelPlay;
  block_items_[static_cast<std::size_t>(Block::kPlayStatus)] = MAPanelPlayStatus;
  block_items_[static_cast<std::size_t>(Block::kSpecials)] = MAPanelSpecials;
  MAFormLorixSK = item(MenuEntry::kMAFormLorixSK);
  MAAlwaysOnTop = item(MenuEntry::kMAAlwaysOnTop);
  MTLoadRec = item(MenuEntry::kMTLoadRec);
  MTSaveRec = item(MenuEntry::kMTSaveRec);
  MSShowWinMixerRecord = item(MenuEntry::kMSShowWinMixerRecord);
  MSShowWinMixerPlay = item(MenuEntry::kMSShowWinMixerPlay);
  MSShowExplorer = item(MenuEntry::kMSShowExplorer);
  MSExpertMode = item(MenuEntry::kMSExpertMode);
  MIHilfe = item(MenuEntry::kMIHilfe);
  MIInfo = item(MenuEntry::kMIInfo);

  // The key of a menu of the bar opens it.
  OpenEinstellungen = Named(new QAction(&window), "OpenEinstellungen");
  OpenEinstellungen->setShortcut(KeysOf(MenuRowOf(MenuEntry::kMEinstellungen).key));
  window.addAction(OpenEinstellungen);
  connect(OpenEinstellungen, &QAction::triggered, this,
          [this, bar] { bar->setActiveAction(MEinstellungen->menuAction()); });

  for (QMenu* menu : {MDatei, MEinstellungen, MAnzeige, MSpeziell, MFragezeichen}) {
    connect(menu, &QMenu::aboutToShow, this, &MainMenu::MAnzeigeClick);
    for (QAction* action : menu->actions()) {
      if (!action->shortcut().isEmpty()) keyed_items_.push_back(action);
    }
  }
  keyed_items_.push_back(OpenEinstellungen);
}

void MainMenu::UpdateMenus(const MenuState& state) {
  for (std::size_t i = 0; i < kBlockCount; ++i) block_items_[i]->setChecked(state.blocks[i]);
  MAFormLorixSK->setChecked(state.MAFormLorixSK);
  MAAlwaysOnTop->setChecked(state.MAAlwaysOnTop);
  if (MAAlwaysOnTop->isEnabled() != state.MAAlwaysOnTop_enabled) {
    MAAlwaysOnTop->setEnabled(state.MAAlwaysOnTop_enabled);
    // The disabled item says why; the menu shows only hints that were set.
    const QString hint =
        state.MAAlwaysOnTop_enabled ? QString() : QString::fromUtf8(kAlwaysOnTopUnavailableHint);
    MAAlwaysOnTop->setToolTip(hint);
    MAAlwaysOnTop->setStatusTip(hint);
    MAnzeige->setToolTipsVisible(!state.MAAlwaysOnTop_enabled);
  }
  for (std::size_t i = 0; i < kOptionItemCount; ++i) option_items_[i]->setChecked(state.options[i]);
  MTLoadRec->setEnabled(state.MTLoadRec_enabled);
  MTSaveRec->setEnabled(state.MTSaveRec_enabled);
}

void MainMenu::ShowExpertItems(bool visible, bool checked) {
  MAFormLorixSK->setVisible(visible);
  MSExpertMode->setVisible(visible);
  MSExpertMode->setChecked(checked);
}

QAction* MainMenu::ItemForKeys(const QKeySequence& keys) const {
  for (QAction* action : keyed_items_) {
    if (action->isVisible() && action->isEnabled() && action->shortcut() == keys) return action;
  }
  return nullptr;
}

}  // namespace lorix
