#pragma once

// The recorder's message boxes: every DialogRequest becomes a modal QMessageBox with exactly the
// caption and text asked for and German button texts.

#include <QPointer>
#include <QWidget>

#include "audio/dialogs.h"

class QtDialogs : public lorix::Dialogs {
 public:
  explicit QtDialogs(QWidget* parent = nullptr);

  // The window the boxes are centred on and modal to; it may be set once that window exists.
  void SetParent(QWidget* parent) { parent_ = parent; }

  lorix::DialogAnswer Show(const lorix::DialogRequest& request) override;

 private:
  QPointer<QWidget> parent_;
};
