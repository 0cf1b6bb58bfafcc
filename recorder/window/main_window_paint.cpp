#include "recorder/window/main_window_paint.h"

#include <QAbstractButton>
#include <QMouseEvent>
#include <QPalette>

namespace lorix {

QString ToQt(std::string_view text) {
  QString result = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return result;
}

void Describe(QWidget& widget, const FormControlRow& row) {
  widget.setObjectName(QString::fromLatin1(row.name));
  if (!row.hint.empty()) widget.setToolTip(ToQt(row.hint));
  if (row.caption.empty()) return;
  if (auto* button = qobject_cast<QAbstractButton*>(&widget)) {
    button->setText(ToQt(row.caption));
  } else if (auto* label = qobject_cast<QLabel*>(&widget)) {
    label->setText(ToQt(row.caption));
  }
}

QLabel* Heading(FormControl id, QWidget* parent) {
  auto* label = FromTable(new QLabel(parent), id);
  QFont bold = label->font();
  bold.setBold(true);
  label->setFont(bold);
  return label;
}

void PaintButton(QAbstractButton& button, const ControlState& state) {
  button.setEnabled(state.enabled);
  if (!state.caption.empty()) button.setText(ToQt(state.caption));
  button.setToolTip(ToQt(state.hint));
  if (button.isCheckable()) button.setChecked(state.pressed);
}

StepTip::StepTip(QWidget* parent) : QLabel(parent) {
  setAlignment(Qt::AlignCenter);
  setAutoFillBackground(true);
  setFrameStyle(QFrame::Panel | QFrame::Raised);
  QFont bold = font();
  bold.setBold(true);
  setFont(bold);
  setCursor(Qt::PointingHandCursor);
}

void StepTip::Paint(const TipPanel& tip) {
  setText(ToQt(tip.caption));
  setToolTip(ToQt(tip.hint));
  setEnabled(tip.enabled);
  // The system's tool-tip background for an open step; the same in every colour group, so
  // that the disabled state does not grey it a second time.
  const QColor colour = tip.enabled ? QPalette().color(QPalette::ToolTipBase) : DisabledColour();
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, colour);
  palette.setColor(QPalette::WindowText,
                   tip.enabled ? QPalette().color(QPalette::ToolTipText) : QColor(Qt::white));
  setPalette(palette);
}

QColor StepTip::Colour() const {
  return palette().color(QPalette::Window);
}

void StepTip::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    event->accept();
    emit clicked();
    return;
  }
  QLabel::mousePressEvent(event);
}

}  // namespace lorix
