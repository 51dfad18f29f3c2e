// The viewer's entry: the application object with its general error handling, the main window,
// the message loop.
#include <QStringList>

#include "app/Pictures.h"
#include "app/SkriboApplication.h"
#include "app/fMain.h"
#include "platform/qt/WebEngineSetup.h"

int main(int argc, char** argv) {
  skribo::PrepareWebEngine();
  skribo::TSkriboApplication application(argc, argv);
  application.setWindowIcon(skribo::ApplicationIcon());
  QStringList arguments = application.arguments();
  if (!arguments.isEmpty()) arguments.removeFirst();
  int result = 0;
  {
    skribo::TfrmMain frmMain(skribo::TProgramPaths::OfRunningProgram(), arguments);
    result = frmMain.isVisible() ? application.exec() : 0;
  }
  return result;
}
