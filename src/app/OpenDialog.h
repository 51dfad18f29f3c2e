// The open dialog as the main window uses it: a file name that outlives the showing (the current
// log), an initial folder, and a Windows-style filter.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace skribo {

class TOpenDialog {
 public:
  // filter is "description|masks|description|masks..." with masks separated by ";".
  TOpenDialog(QWidget* owner, const QString& filter, const QString& defaultExt);

  QString FileName;
  QString InitialDir;

  // Shows the dialog modally; true, with FileName set, when the user chose an existing file.
  bool Execute();

  // Qt's name filters for a Windows-style filter: the description shown as written, the masks
  // given to Qt in its own notation.
  static QStringList NameFilters(const QString& filter);

 private:
  QWidget* Owner;
  QStringList Filters;
  QString DefaultExt;
};

}  // namespace skribo
