#pragma once

// FormKeyDown for the main window: an application-wide event filter, so that the window sees
// its keys before the focused control does. It acts only while the main window itself has the
// keyboard (no open menu, no dialog), so the space bar still works in menus and dialogs.
//
// - Space runs the space-bar step and is always consumed (a focused button never sees it).
// - "1" on the main keyboard or the keypad runs step 1 and goes on to the focused control.
// - The keys of the menu items come before the mnemonics of the menu titles and buttons.

#include <QObject>
#include <functional>

class QAction;
class QKeySequence;
class QWidget;

namespace lorix {

class FormKeyFilter : public QObject {
  Q_OBJECT

 public:
  struct Handlers {
    std::function<void()> space;
    std::function<void()> one;
    // The enabled menu item with these keys as the menus stand now, or null.
    std::function<QAction*(const QKeySequence&)> menu_item;
  };

  // Installs itself in the application; it goes with `window`.
  FormKeyFilter(QWidget& window, Handlers handlers);

  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The widget that receives the window's keys first: the focused control, or the window.
  bool IsFirstReceiver(QObject* watched) const;

  QWidget& window_;
  Handlers handlers_;
};

}  // namespace lorix
