#include "recorder/window/hint_timing.h"

#include <QApplication>
#include <QHelpEvent>
#include <QProxyStyle>
#include <QToolTip>
#include <QWidget>

#include "recorder/recorder_form_controls.h"

namespace lorix {
namespace {

// The application's style, but without the pause before a hint.
class NoHintPauseStyle : public QProxyStyle {
 public:
  using QProxyStyle::QProxyStyle;

  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* data) const override {
    if (hint == SH_ToolTip_WakeUpDelay) return 0;
    return QProxyStyle::styleHint(hint, option, widget, data);
  }
};

// Shows a widget's hint for kHintDisplayMs instead of the toolkit's time.
class HintDisplayTime : public QObject {
 public:
  using QObject::QObject;

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::ToolTip || !watched->isWidgetType()) return false;
    auto* widget = static_cast<QWidget*>(watched);
    // Without a hint of its own the event goes on to the parent's.
    if (widget->toolTip().isEmpty()) return false;
    QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), widget->toolTip(), widget, {},
                       kHintDisplayMs);
    return true;
  }
};

}  // namespace

void ShowHintsAtOnce() {
  QCoreApplication* app = QCoreApplication::instance();
  const QString name = QStringLiteral("HintDisplayTime");
  if (app->findChild<QObject*>(name, Qt::FindDirectChildrenOnly) != nullptr) return;
  auto* filter = new HintDisplayTime(app);
  filter->setObjectName(name);
  app->installEventFilter(filter);
  QApplication::setStyle(new NoHintPauseStyle(QApplication::style()->name()));
}

}  // namespace lorix
