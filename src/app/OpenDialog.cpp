#include "app/OpenDialog.h"

#include <QFileDialog>
#include <QFileInfo>

namespace skribo {

TOpenDialog::TOpenDialog(QWidget* owner, const QString& filter, const QString& defaultExt)
    : Owner(owner), Filters(NameFilters(filter)), DefaultExt(defaultExt) {}

QStringList TOpenDialog::NameFilters(const QString& filter) {
  const QStringList parts = filter.split(u'|');
  QStringList result;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString masks = parts[i + 1];
    masks.replace(u';', u' ');
    // With the filter details hidden, Qt shows the text before the last parenthesis only, so
    // the description keeps its own "(*.txt,*.ple)".
    result << parts[i] + QStringLiteral(" (") + masks + u')';
  }
  return result;
}

bool TOpenDialog::Execute() {
  // Qt's own dialog, so that it behaves alike on every desktop and tests can answer it.
  QFileDialog dialog(Owner);
  dialog.setObjectName(QStringLiteral("odOpen"));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setOption(QFileDialog::ReadOnly);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilters(Filters);
  dialog.setDefaultSuffix(DefaultExt);
  dialog.setSizeGripEnabled(true);
  const QFileInfo current(FileName);
  if (!FileName.isEmpty() && current.dir().exists()) {
    dialog.setDirectory(current.absolutePath());
    dialog.selectFile(current.fileName());
  } else if (!InitialDir.isEmpty()) {
    dialog.setDirectory(InitialDir);
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  FileName = dialog.selectedFiles().first();
  return true;
}

}  // namespace skribo
