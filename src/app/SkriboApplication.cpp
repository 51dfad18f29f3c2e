#include "app/SkriboApplication.h"

#include <cxxabi.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <typeinfo>

#include <QMessageBox>
#include <QPointer>

#include "common/u_ResourceString.h"

namespace skribo {

namespace {

QString Q(std::u16string_view s) {
  return QString::fromUtf16(s.data(), s.size());
}

}  // namespace

TSkriboApplication::TSkriboApplication(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(Q(ApplicationTitle));
  setApplicationDisplayName(Q(ApplicationTitle));
  setQuitOnLastWindowClosed(true);
}

bool TSkriboApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    ShowExceptionBox(nullptr, std::current_exception());
    return true;
  }
}

std::string ExceptionKindName(const std::exception& error) {
  const char* mangled = typeid(error).name();
  int status = 0;
  std::unique_ptr<char, void (*)(void*)> name(
      abi::__cxa_demangle(mangled, nullptr, nullptr, &status), std::free);
  return status == 0 && name ? std::string(name.get()) : std::string(mangled);
}

void ShowExceptionBox(QWidget* owner, std::exception_ptr error) {
  QString message, kind;
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    message = QString::fromUtf8(e.what());
    kind = QString::fromStdString(ExceptionKindName(e));
  } catch (...) {
    message = QStringLiteral("An unknown error occurred.");
    kind = QStringLiteral("unknown");
  }
  if (message.isEmpty()) message = kind;
  // Also on the terminal, for a user who started the program there and for reports.
  std::fprintf(stderr, "skribo: %s (%s)\n", message.toLocal8Bit().constData(),
               kind.toLocal8Bit().constData());
  if (!owner) owner = QApplication::activeModalWidget();
  if (!owner) owner = QApplication::activeWindow();
  QMessageBox box(QMessageBox::Critical, Q(ApplicationTitle), message, QMessageBox::Ok, owner);
  box.setObjectName(QStringLiteral("ErrorBox"));
  box.setDetailedText(QStringLiteral("%1\n%2").arg(kind, message));
  box.setTextInteractionFlags(Qt::TextSelectableByMouse);
  box.exec();
}

}  // namespace skribo
