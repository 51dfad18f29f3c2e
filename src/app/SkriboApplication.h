// The application object and its general error handling: an exception that no handler caught is
// shown to the user in an error box, and the program goes on.
#pragma once

#include <exception>
#include <string>

#include <QApplication>

class QWidget;

namespace skribo {

class TSkriboApplication : public QApplication {
 public:
  TSkriboApplication(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};

// The box for an error that reached the general handling: its message, and its kind and message
// as details that can be copied. owner may be null (the active window is taken).
void ShowExceptionBox(QWidget* owner, std::exception_ptr error);

// The kind of an error for people: its type name, demangled.
std::string ExceptionKindName(const std::exception& error);

// Runs step and shows what it throws; true when it ran through.
template <typename TStep>
bool RunGuarded(QWidget* owner, TStep&& step) {
  try {
    step();
    return true;
  } catch (...) {
    ShowExceptionBox(owner, std::current_exception());
    return false;
  }
}

}  // namespace skribo
