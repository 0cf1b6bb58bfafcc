#pragma once

// TFormLorixSK, the sound-card window: the recording engine's buffer counters, its format line,
// its error log and the check box and button that steer it by hand. It is created hidden at
// start and lives for the whole run; only expert mode shows it.

#include <QWidget>
#include <cstdint>
#include <functional>

#include "audio/recording_engine.h"

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

class SoundCardWindow : public QWidget {
  Q_OBJECT

 public:
  // Installs itself in the engine's OnTextsChanged (calling on to what was installed before)
  // and gives the engine back what it found there when it goes.
  explicit SoundCardWindow(lorix::RecordingEngine& engine, QWidget* parent = nullptr);
  ~SoundCardWindow() override;

  // Copies the engine's texts, counters and error log onto the widgets.
  void Refresh();

  // "Start SK": starts the engine when it is stopped, else stops it.
  void ButtonStartClick();
  // Double-click on the error memo: the memo is emptied; the line numbers keep counting.
  void MemoErrorsDblClick();

  // The controls, named as in the form, for the main window's settings and for tests.
  QLabel* Label_In_Count() const { return label_in_count_; }
  QLabel* Label_Out_Count() const { return label_out_count_; }
  QLabel* LabelWaveFormat() const { return label_wave_format_; }
  QPlainTextEdit* MemoErrors() const { return memo_errors_; }
  QCheckBox* CBShowWaveErrors() const { return cb_show_wave_errors_; }
  QPushButton* ButtonStart() const { return button_start_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void CBShowWaveErrorsClick(bool checked);
  void RefreshMemo();

  lorix::RecordingEngine& engine_;
  std::function<void()> previous_texts_changed_;
  // Lines up to this number were cleared by the user and are not shown again.
  std::int32_t cleared_through_ = 0;
  // The log's line count the memo shows, to rebuild it only after a change.
  std::int32_t shown_line_count_ = -1;
  std::int32_t shown_cleared_through_ = 0;

  QLabel* label_in_count_ = nullptr;
  QLabel* label_out_count_ = nullptr;
  QLabel* label_wave_format_ = nullptr;
  QPlainTextEdit* memo_errors_ = nullptr;
  QCheckBox* cb_show_wave_errors_ = nullptr;
  QPushButton* button_start_ = nullptr;
  QCheckBox* cb_do_out_ = nullptr;
};
