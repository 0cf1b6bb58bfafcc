#pragma once

// The recorder's open/save dialog in Qt: the request's title, filter entry, default extension,
// start folder and name, and the OK button's word. Qt's own dialog is used on every desktop, so
// the dialog looks and reads the same everywhere (German through Qt's translations).

#include <QFileDialog>
#include <QStringList>
#include <optional>
#include <string>

#include "recorder/open_save_dialog.h"

namespace lorix {

// "A (*.a)|*.a|B (*.b)|*.b" as Qt's name filters: "A (*.a)", "B (*.b)".
QStringList QtNameFilters(const std::string& filter);

// Sets up `dialog` for `request`. The program asks its own question before replacing a file,
// so the dialog does not ask as well.
void PrepareQtFileDialog(QFileDialog& dialog, const FileDialogRequest& request);

// Shows the dialog modally; the chosen path, or nothing when cancelled.
std::optional<std::string> ShowQtFileDialog(QWidget* parent, const FileDialogRequest& request);

}  // namespace lorix
