#pragma once

// Copies the plain control descriptions of the workflow (recorder_controls.h) onto Qt widgets.
// Captions keep their '&' mnemonics, which Qt shows the same way; the workflow's CR LF line
// breaks become "\n".

#include <QColor>
#include <QLabel>
#include <QString>
#include <string_view>

#include "recorder/recorder_controls.h"
#include "recorder/recorder_form_controls.h"

class QAbstractButton;

namespace lorix {

// Gives a widget its code name, by which tests and style sheets find it.
template <typename W>
W* Named(W* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

// Workflow text (UTF-8, CR LF line breaks) as Qt shows it.
QString ToQt(std::string_view text);

// Gives a widget the name and hint of its row in the form tables; buttons and labels also take
// the row's caption where it has one (otherwise the state brings it).
void Describe(QWidget& widget, const FormControlRow& row);
template <typename W>
W* FromTable(W* widget, FormControl id) {
  Describe(*widget, FormControlRowOf(id));
  return widget;
}
inline QString TableCaption(FormControl id) {
  return ToQt(FormControlRowOf(id).caption);
}
// A bold label with the caption of its row.
QLabel* Heading(FormControl id, QWidget* parent);

// Enabled state, tool tip and, for checkable buttons, the pressed state. The caption only when
// the control has one: glyph buttons keep their icon.
void PaintButton(QAbstractButton& button, const ControlState& state);

// A step tip ("1." .. "4."): clicking it acts like the step's button, and its colour shows
// whether that step is open.
class StepTip : public QLabel {
  Q_OBJECT

 public:
  explicit StepTip(QWidget* parent = nullptr);

  void Paint(const TipPanel& tip);
  QColor Colour() const;

  // The colour of a tip whose step is closed.
  static QColor DisabledColour() { return {128, 128, 128}; }

 signals:
  void clicked();

 protected:
  // Disabled widgets receive no mouse events, so a closed step's tip cannot send a click.
  void mousePressEvent(QMouseEvent* event) override;
};

}  // namespace lorix
