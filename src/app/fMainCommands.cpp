// The main window's commands: the header buttons, the hotkeys and their two routes, drops.
#include <utility>

#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>

#include "app/SkriboApplication.h"
#include "app/fMain.h"
#include "app/fSearch.h"
#include "platform/ProcessStart.h"
#include "platform/qt/THtmlView.h"

namespace skribo {

namespace {

constexpr uint16_t VK_ESCAPE = 0x1B, VK_PRIOR = 0x21, VK_DOWN = 0x28, VK_F1 = 0x70, VK_F4 = 0x73,
                   VK_F5 = 0x74;
constexpr int SW_SHOWNORMAL = 1;

}  // namespace

uint16_t VirtualKeyOf(int qtKey) {
  if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
    return static_cast<uint16_t>(qtKey);
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
    return static_cast<uint16_t>(VK_F1 + (qtKey - Qt::Key_F1));
  switch (qtKey) {
    case Qt::Key_Escape:
      return VK_ESCAPE;
    case Qt::Key_PageUp:
      return 0x21;
    case Qt::Key_PageDown:
      return 0x22;
    case Qt::Key_End:
      return 0x23;
    case Qt::Key_Home:
      return 0x24;
    case Qt::Key_Left:
      return 0x25;
    case Qt::Key_Up:
      return 0x26;
    case Qt::Key_Right:
      return 0x27;
    case Qt::Key_Down:
      return 0x28;
    default:
      return 0;
  }
}

unsigned ShiftStateOf(Qt::KeyboardModifiers modifiers) {
  unsigned shift = 0;
  if (modifiers & Qt::ShiftModifier) shift |= ssShift;
  if (modifiers & Qt::AltModifier) shift |= ssAlt;
  if (modifiers & Qt::ControlModifier) shift |= ssCtrl;
  return shift;
}

void TfrmMain::btnOpenClick() {
  const bool shiftDown = QGuiApplication::keyboardModifiers() & Qt::ShiftModifier;
  if (shiftDown) {
    // A second window for the chosen log; this one keeps its own.
    TOpenDialog dialog = odOpen;
    if (!dialog.Execute()) return;
    ExecuteFile(u"Open", ProgramPaths.ExeFileName,
                QuoteCommandLineArgument(dialog.FileName.toStdU16String()), u"", SW_SHOWNORMAL);
    return;
  }
  if (odOpen.Execute()) OpenLogFile(odOpen.FileName);
}

void TfrmMain::btnSearchClick() {
  if (!frmSearch) {
    frmSearch = new TfrmSearch(this, wbLog);
    frmSearch->setWindowIcon(windowIcon());
  }
  frmSearch->show();
  frmSearch->raise();
  frmSearch->activateWindow();
}

// The preferences dialog and the about window come with their own dialogs; until then their
// buttons and hotkeys do nothing.
void TfrmMain::btnOptionsClick() {}
void TfrmMain::btnAboutClick() {}

void TfrmMain::ExecuteHotkey(uint16_t key, unsigned shift) {
  TLoadState& state = Processor.State;
  if (key == VK_ESCAPE && shift == 0) {
    if (state.LoadInProgress) state.CancelLoad = true;
  } else if (key == VK_F5 && shift == 0) {
    if (FileExists(odOpen.FileName.toStdU16String()) && state.LastLoadTime >= 0) {
      state.LastLoadTime = -1;
      OpenLogFile(odOpen.FileName);
    }
  } else if ((key == 'A' || key == 'E') && shift == ssCtrl) {
    wbLog->SelectAll();
  } else if (key == 'C' && shift == ssCtrl) {
    wbLog->Copy();
  } else if (key == VK_F4 && (shift & ssAlt)) {
    close();
  } else if (key == 'O' && shift == ssCtrl) {
    btnOpenClick();
  } else if (key == 'F' && shift == ssCtrl) {
    btnSearchClick();
  } else if (key == 'P' && shift == ssCtrl) {
    btnOptionsClick();
  } else if (key == VK_F1 && shift == ssCtrl) {
    btnAboutClick();
  } else if (key == 'A' && shift == (ssCtrl | ssAlt)) {
    TopToggle.Toggle(Options, ProgramPaths, *this);
  }
}

// Keys meant for the log view: the navigation keys scroll it, every other key goes to the
// hotkeys, and the view applies none of its own shortcuts. A key acts when it goes down; its
// release is swallowed so that it does not act a second time through the window's route.
bool TfrmMain::wbLogTranslateAccelerator(QKeyEvent& event) {
  const uint16_t key = VirtualKeyOf(event.key());
  if (key >= VK_PRIOR && key <= VK_DOWN) return false;
  if (event.type() == QEvent::KeyPress) ExecuteHotkey(key, ShiftStateOf(event.modifiers()));
  return true;
}

void TfrmMain::keyReleaseEvent(QKeyEvent* event) {
  if (!event->isAutoRepeat()) TntFormKeyUp(*event);
  event->accept();
}

void TfrmMain::TntFormKeyUp(QKeyEvent& event) {
  ExecuteHotkey(VirtualKeyOf(event.key()), ShiftStateOf(event.modifiers()));
}

void TfrmMain::FileDropDrop(const QStringList& paths) {
  if (!paths.isEmpty()) OpenLogFile(paths.first());
}

void TfrmMain::OpenLogFile(const QString& path) {
  if (Opening) {
    PendingOpen = path;
    if (Processor.State.LoadInProgress) Processor.State.CancelLoad = true;
    return;
  }
  Opening = true;
  odOpen.FileName = path;
  for (;;) {
    try {
      OpenLog(odOpen.FileName.toStdU16String(), Processor.State.LastLoadTime, *this);
    } catch (...) {
      // A load that failed says so in its box; the status no longer claims it is running.
      SetStatusText({});
      ShowExceptionBox(this, std::current_exception());
    }
    if (!PendingOpen) break;
    odOpen.FileName = *std::exchange(PendingOpen, std::nullopt);
  }
  Opening = false;
  emit LogOpened();
}

}  // namespace skribo
