// The find dialog over the log view: modeless, find next upwards or downwards, match case.
#pragma once

#include <QDialog>
#include <QPointer>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace skribo {

class THtmlView;

class TfrmSearch : public QDialog {
  Q_OBJECT

 public:
  TfrmSearch(QWidget* owner, THtmlView* view);

  // Searches from the current match for the text in the box; a text that the log does not hold
  // is reported in a message box.
  void btnFindNextClick();

 signals:
  // After every search, with whether the text was found (tests and the benchmark wait on it).
  void SearchDone(bool found);

 private:
  QPointer<THtmlView> View;
  QLineEdit* edFind = nullptr;
  QCheckBox* cbMatchCase = nullptr;
  QRadioButton* rbUp = nullptr;
  QRadioButton* rbDown = nullptr;
  QPushButton* btnFindNext = nullptr;
  QPushButton* btnCancel = nullptr;
  bool Searching = false;
};

}  // namespace skribo
