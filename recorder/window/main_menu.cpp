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

QAction* Item(QMenu* menu, const char* name, const char* caption, const QKeySequence& keys = {},
              bool checkable = false) {
  QAction* action = Named(menu->addAction(QString::fromUtf8(caption)), name);
  action->setShortcut(keys);
  action->setCheckable(checkable);
  return action;
}

}  // namespace

MainMenu::MainMenu(QMainWindow& window) : QObject(&window) {
  QMenuBar* bar = window.menuBar();
  MDatei = Named(bar->addMenu(QStringLiteral("&Datei")), "MDatei");
  MDBeenden = Item(MDatei, "MDBeenden", "&Beenden", QKeySequence(Qt::ALT | Qt::Key_F4));

  MEinstellungen = Named(bar->addMenu(QStringLiteral("&Einstellungen")), "MEinstellungen");
  MIOnStartSelectMike =
      Item(MEinstellungen, "MIOnStartSelectMike", "Bei Start Mikrophon auswählen", {}, true);
  MIOnStartSetMinVols = Item(MEinstellungen, "MIOnStartSetMinVols",
                             "Bei Start Mindest-Lautstärken aus INI-Datei einstellen", {}, true);
  MIConfirmReset =
      Item(MEinstellungen, "MIConfirmReset", "Bestätigung bei \"Aufnahme zurücksetzen\"", {}, true);
  MIAutoSavePrefs = Item(MEinstellungen, "MIAutoSavePrefs",
                         "Allgemeine Einstellungen bei Beenden immer speichern", {}, true);
  option_items_ = {MIOnStartSelectMike, MIOnStartSetMinVols, MIConfirmReset, MIAutoSavePrefs};

  MAnzeige = Named(bar->addMenu(QStringLiteral("&Anzeige")), "MAnzeige");
  MAPanelRecord =
      Item(MAnzeige, "MAPanelRecord", "&Aufnahme-Block", QKeySequence(Qt::CTRL | Qt::Key_A), true);
  MAPanelPlay =
      Item(MAnzeige, "MAPanelPlay", "&Wiedergabe-Block", QKeySequence(Qt::CTRL | Qt::Key_W), true);
  MAPanelOptionsCompress = Item(MAnzeige, "MAPanelOptionsCompress", "&Kompressions-Einstellungen",
                                QKeySequence(Qt::CTRL | Qt::Key_K), true);
  MAPanelPlayStatus = Item(MAnzeige, "MAPanelPlayStatus", "&Statuszeile Wiedergabe",
                           QKeySequence(Qt::CTRL | Qt::Key_S), true);
  MAPanelSpecials = Item(MAnzeige, "MAPanelSpecials", "Zusätzliche &Datei-Infos",
                         QKeySequence(Qt::CTRL | Qt::Key_D), true);
  block_items_[static_cast<std::size_t>(Block::kRecord)] = MAPanelRecord;
  block_items_[static_cast<std::size_t>(Block::kOptionsCompress)] = MAPanelOptionsCompress;
  block_items_[static_cast<std::size_t>(Block::kPlay)] = MAPanelPlay;
  block_items_[static_cast<std::size_t>(Block::kPlayStatus)] = MAPanelPlayStatus;
  block_items_[static_cast<std::size_t>(Block::kSpecials)] = MAPanelSpecials;
  MAnzeige->addSeparator();
  MAFormLorixSK = Item(MAnzeige, "MAFormLorixSK", "FormLorixS&K",
                       QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_K), true);
  MAFormLorixSK->setVisible(false);
  MAAlwaysOnTop = Item(MAnzeige, "MAAlwaysOnTop", "LORIX immer im &Vordergrund",
                       QKeySequence(Qt::CTRL | Qt::Key_V), true);

  MSpeziell = Named(bar->addMenu(QStringLiteral("&Speziell")), "MSpeziell");
  MTLoadRec = Item(MSpeziell, "MTLoadRec", "Aufnahme laden / I&mportieren ...",
                   QKeySequence(Qt::ALT | Qt::Key_M));
  MTSaveRec = Item(MSpeziell, "MTSaveRec", "Aufnahme e&xportieren unter ...",
                   QKeySequence(Qt::ALT | Qt::Key_X));
  MSpeziell->addSeparator();
  MSShowWinMixerRecord = Item(MSpeziell, "MSShowWinMixerRecord", "System-Mixer &Aufnahme",
                              QKeySequence(Qt::ALT | Qt::Key_A));
  MSShowWinMixerPlay = Item(MSpeziell, "MSShowWinMixerPlay", "System-Mixer &Wiedergabe",
                            QKeySequence(Qt::ALT | Qt::Key_W));
  MSShowExplorer = Item(MSpeziell, "MSShowExplorer", "&Explorer (erstellte Mail-Anhänge)",
                        QKeySequence(Qt::ALT | Qt::Key_E));
  MSpeziell->addSeparator();
  MSExpertMode = Item(MSpeziell, "MSExpertMode", "E&xpertMode",
                      QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_X), true);
  MSExpertMode->setVisible(false);

  MFragezeichen = Named(bar->addMenu(QStringLiteral("?")), "MFragezeichen");
  MIHilfe = Item(MFragezeichen, "MIHilfe", "Hilfe", QKeySequence(Qt::Key_F1));
  MIInfo = Item(MFragezeichen, "MIInfo", "Info", QKeySequence(Qt::ALT | Qt::Key_I));

  OpenEinstellungen = Named(new QAction(&window), "OpenEinstellungen");
  OpenEinstellungen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
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
