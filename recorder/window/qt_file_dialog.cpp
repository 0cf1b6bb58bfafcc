#include "recorder/window/qt_file_dialog.h"

#include <QFileInfo>

namespace lorix {

QStringList QtNameFilters(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    // The description already names its patterns, as Qt wants them.
    filters << parts[i];
  }
  return filters;
}

void PrepareQtFileDialog(QFileDialog& dialog, const FileDialogRequest& request) {
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  dialog.setWindowTitle(QString::fromStdString(request.title));
  dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(request.file_must_exist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  const QStringList filters = QtNameFilters(kOpenSaveDialogFilter);
  dialog.setNameFilters(filters);
  if (request.filter_index >= 1 && request.filter_index <= filters.size()) {
    dialog.selectNameFilter(filters[request.filter_index - 1]);
  }
  dialog.setDefaultSuffix(QString::fromStdString(request.default_extension));
  dialog.setLabelText(QFileDialog::Accept, QString::fromStdString(request.ok_word));

  // The start name may carry its own folder; without one the dialog starts in LORIXs.
  const QFileInfo name(QString::fromStdString(request.file_name));
  const bool has_folder = request.file_name.find('/') != std::string::npos;
  dialog.setDirectory(has_folder ? name.absolutePath()
                                 : QString::fromStdString(request.initial_folder));
  if (!request.file_name.empty()) dialog.selectFile(name.fileName());
}

std::optional<std::string> ShowQtFileDialog(QWidget* parent, const FileDialogRequest& request) {
  QFileDialog dialog(parent);
  PrepareQtFileDialog(dialog, request);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().constFirst().toStdString();
}

}  // namespace lorix
