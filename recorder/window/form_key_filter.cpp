#include "recorder/window/form_key_filter.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QWidget>
#include <utility>

namespace lorix {
namespace {

QKeySequence KeysOf(const QKeyEvent& key) {
  return QKeySequence(
      QKeyCombination(key.modifiers() & ~Qt::KeypadModifier, static_cast<Qt::Key>(key.key())));
}

// Without Ctrl, Alt or Meta; `shift` allowed or not.
bool Plain(const QKeyEvent& key, bool shift) {
  Qt::KeyboardModifiers ignored = Qt::KeypadModifier;
  if (shift) ignored |= Qt::ShiftModifier;
  return (key.modifiers() & ~ignored) == Qt::NoModifier;
}

}  // namespace

FormKeyFilter::FormKeyFilter(QWidget& window, Handlers handlers)
    : QObject(&window), window_(window), handlers_(std::move(handlers)) {
  QCoreApplication::instance()->installEventFilter(this);
}

bool FormKeyFilter::IsFirstReceiver(QObject* watched) const {
  // A key the focused control passes on reaches its parents too: it is handled once, here.
  if (QApplication::activePopupWidget() != nullptr ||
      QApplication::activeModalWidget() != nullptr) {
    return false;
  }
  QWidget* focus = QApplication::focusWidget();
  if (focus == nullptr) return watched == &window_;
  return watched == focus && focus->window() == &window_;
}

bool FormKeyFilter::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride) {
    return false;
  }
  if (!IsFirstReceiver(watched)) return false;
  auto& key = static_cast<QKeyEvent&>(*event);

  if (key.key() == Qt::Key_Space && Plain(key, true)) {
    // A held space bar runs one step, not one per repeat.
    if (type == QEvent::KeyPress && !key.isAutoRepeat() && handlers_.space) handlers_.space();
    event->accept();
    return true;
  }
  if (key.key() == Qt::Key_1 && Plain(key, false)) {
    if (type == QEvent::KeyPress && handlers_.one) handlers_.one();
    return false;
  }
  if (handlers_.menu_item && type != QEvent::KeyRelease) {
    if (QAction* item = handlers_.menu_item(KeysOf(key))) {
      // Claimed at the override, so that no mnemonic takes it; run at the key press.
      if (type == QEvent::KeyPress) item->trigger();
      event->accept();
      return true;
    }
  }
  return false;
}

}  // namespace lorix
