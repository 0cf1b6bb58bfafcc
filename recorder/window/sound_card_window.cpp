#include "recorder/window/sound_card_window.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "recorder/window/main_window_paint.h"

namespace {

void SetTextIfChanged(QLabel* label, const std::string& text, bool repaint_now) {
  const QString value = QString::fromStdString(text);
  if (label->text() == value) return;
  label->setText(value);
  // The device's open calls can take long; the status must be visible while they run.
  if (repaint_now && label->isVisible()) label->repaint();
}

}  // namespace

SoundCardWindow::SoundCardWindow(lorix::RecordingEngine& engine, QWidget* parent)
    : QWidget(parent, Qt::Window), engine_(engine) {
  using C = lorix::FormControl;
  using lorix::FromTable;
  FromTable(this, C::kFormLorixSK);
  setWindowTitle(lorix::TableCaption(C::kFormLorixSK));

  auto* heading = FromTable(new QLabel(this), C::kLabel23);
  auto* label_in = FromTable(new QLabel(this), C::kLabel1SK);
  label_in_count_ = lorix::Heading(C::kLabel_In_Count, this);
  auto* label_out = FromTable(new QLabel(this), C::kLabel2SK);
  // No output device is ever opened: this label keeps its first text.
  label_out_count_ = lorix::Heading(C::kLabel_Out_Count, this);
  auto* format_heading = FromTable(new QLabel(this), C::kLabel24);
  label_wave_format_ = FromTable(new QLabel(this), C::kLabelWaveFormat);
  QPalette green = label_wave_format_->palette();
  green.setColor(QPalette::WindowText, QColor(0, 128, 0));
  label_wave_format_->setPalette(green);

  memo_errors_ = FromTable(new QPlainTextEdit(this), C::kMemoErrors);
  memo_errors_->setReadOnly(true);
  memo_errors_->setLineWrapMode(QPlainTextEdit::NoWrap);
  memo_errors_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memo_errors_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memo_errors_->viewport()->installEventFilter(this);

  cb_show_wave_errors_ = FromTable(new QCheckBox(this), C::kCBShowWaveErrors);
  button_start_ = FromTable(new QPushButton(this), C::kButtonStart);
  cb_do_out_ = FromTable(new QCheckBox(this), C::kCBDoOut);
  cb_do_out_->setChecked(true);
  cb_do_out_->setVisible(false);

  auto* counters = new QGridLayout;
  counters->addWidget(heading, 0, 0, 1, 2);
  counters->addWidget(label_in, 1, 0);
  counters->addWidget(label_in_count_, 1, 1);
  counters->addWidget(label_out, 2, 0);
  counters->addWidget(label_out_count_, 2, 1);
  counters->addWidget(format_heading, 0, 2);
  counters->addWidget(label_wave_format_, 1, 2);
  counters->addWidget(button_start_, 1, 3, 2, 1);
  counters->setColumnStretch(2, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(counters);
  layout->addWidget(cb_show_wave_errors_);
  layout->addWidget(memo_errors_, 1);
  resize(lorix::kSoundCardFormClientWidth, lorix::kSoundCardFormClientHeight);

  connect(button_start_, &QPushButton::clicked, this, [this] { ButtonStartClick(); });
  connect(cb_show_wave_errors_, &QCheckBox::toggled, this,
          [this](bool checked) { CBShowWaveErrorsClick(checked); });

  previous_texts_changed_ = std::move(engine_.OnTextsChanged);
  engine_.OnTextsChanged = [this] {
    if (previous_texts_changed_) previous_texts_changed_();
    Refresh();
  };
  Refresh();
}

SoundCardWindow::~SoundCardWindow() {
  engine_.OnTextsChanged = std::move(previous_texts_changed_);
}

void SoundCardWindow::Refresh() {
  const lorix::SoundCardTexts& texts = engine_.texts();
  SetTextIfChanged(label_in_count_, texts.Label_In_Count, true);
  SetTextIfChanged(label_wave_format_, texts.LabelWaveFormat, false);
  const QString caption = QString::fromStdString(texts.ButtonStart);
  if (button_start_->text() != caption) button_start_->setText(caption);
  if (cb_show_wave_errors_->isChecked() != engine_.error_log().CBShowWaveErrors) {
    cb_show_wave_errors_->setChecked(engine_.error_log().CBShowWaveErrors);
  }
  RefreshMemo();
}

void SoundCardWindow::ButtonStartClick() {
  engine_.ButtonStartClick();
  Refresh();
}

void SoundCardWindow::MemoErrorsDblClick() {
  cleared_through_ = engine_.error_log().ErrorLineCount();
  RefreshMemo();
}

void SoundCardWindow::CBShowWaveErrorsClick(bool checked) {
  engine_.error_log().CBShowWaveErrors = checked;
}

void SoundCardWindow::RefreshMemo() {
  const lorix::ErrorLog& log = engine_.error_log();
  const std::int32_t count = log.ErrorLineCount();
  if (count == shown_line_count_ && cleared_through_ == shown_cleared_through_) return;
  const auto& lines = log.MemoErrors();
  // The log holds the last lines.size() lines, numbered up to count; show those after the
  // last clearing.
  const std::int64_t first_number =
      std::int64_t{count} - static_cast<std::int64_t>(lines.size()) + 1;
  QStringList shown;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (first_number + static_cast<std::int64_t>(i) > cleared_through_) {
      shown.append(QString::fromStdString(lines[i]));
    }
  }
  const QString text = shown.join(QLatin1Char('\n'));
  if (memo_errors_->toPlainText() != text) {
    memo_errors_->setPlainText(text);
    // The newest line is the interesting one.
    memo_errors_->verticalScrollBar()->setValue(memo_errors_->verticalScrollBar()->maximum());
  }
  shown_line_count_ = count;
  shown_cleared_through_ = cleared_through_;
}

bool SoundCardWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == memo_errors_->viewport() && event->type() == QEvent::MouseButtonDblClick) {
    MemoErrorsDblClick();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void SoundCardWindow::showEvent(QShowEvent* event) {
  Refresh();
  QWidget::showEvent(event);
}
