// The main window's side of a load: the status display, the progress bar, handing the page to
// the log view and waiting for it.
#include <QCoreApplication>
#include <QEventLoop>
#include <QProgressBar>
#include <QTimer>

#include "app/StatusBar.h"
#include "app/fMain.h"
#include "common/u_ResourceString.h"
#include "host/uMisc.h"
#include "platform/qt/THtmlView.h"

namespace skribo {

namespace {

// The view's processes can die on a page too big for them; the load then ends with this box.
constexpr std::u16string_view SViewFailed =
    u"The log view could not show this log. It may be too large for the memory available.";

}  // namespace

void TfrmMain::SetStatusText(const std::u16string& text) {
  StatusText = QString::fromStdU16String(text);
  if (sbStatus->SimplePanel())
    sbStatus->SetSimpleText(StatusText);
  else
    sbStatus->SetPanelText(0, StatusText);
  emit StatusTextChanged(StatusText);
}

void TfrmMain::ProcessMessages() {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void TfrmMain::StepProgress(int delta) {
  ProgressBar->setValue(std::min(ProgressBar->value() + delta, ProgressBar->maximum()));
}

void TfrmMain::SetProgressPosition(int position) {
  ProgressBar->setValue(position);
}

void TfrmMain::ClearView() {
  wbLog->Clear();
}

void TfrmMain::OpenEncryptedLog(const std::u16string&) {
  ShowError(std::u16string(SEncryptedLogsNotYet));
}

// Lets events run for up to milliseconds, returning early when the view reports its page.
void TfrmMain::WaitForView(int milliseconds) {
  QEventLoop loop;
  QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
  QMetaObject::Connection done = connect(wbLog, &THtmlView::Completed, &loop, &QEventLoop::quit);
  loop.exec();
  disconnect(done);
}

void TfrmMain::ProcessLog(const std::u16string& path) {
  TLoadState& state = Processor.State;
  state.LoadInProgress = true;
  state.CancelLoad = false;
  state.CurrentLogPath = path;
  state.LastLoadTime = -1;
  const uint32_t start = SteadyTickCount();
  // Whatever way the load ends, the window goes back to idle, also when the very first report
  // already sees a cancel.
  struct TCleanup {
    TfrmMain& Form;
    ~TCleanup() {
      Form.Processor.State.CancelLoad = false;
      Form.Processor.State.LoadInProgress = false;
      Form.ProgressBar->hide();
      Form.sbStatus->SetSimplePanel(true);
      Form.sbStatus->SetSimpleText(Form.StatusText);
    }
  } cleanup{*this};

  Processor.SetStatusText(std::u16string(SProcessingLog));
  if (!Processor.ReportProgress(0)) return;

  ProgressBar->setRange(0, 1000);
  ProgressBar->setValue(0);
  sbStatus->SetPanelText(0, StatusText);
  sbStatus->SetSimplePanel(false);
  PlaceProgressBar(ProgressBar, sbStatus, 1);
  ProgressBar->show();

  Processor.SetLanguageFile(GetHostLanguageFile());
  Processor.SetProgramFileName(ExtractFileName(ProgramPaths.ExeFileName));
  // The page arrives in pieces at the end of the conversion; events are handled between them so
  // that writing out a big page does not hold the window still.
  std::string page;
  if (!Processor.ConvertLogToPageUtf8(path, [this, &page](std::string_view piece) {
        page.append(piece);
        ProcessMessages();
      }))
    return;

  Processor.SetStatusText(std::u16string(SProcessingLogRendering));
  if (!Processor.ReportProgress(0)) return;
  // The view takes a page once the document it has is complete (the blank page it starts with
  // may still be loading when a small log is ready).
  while (!wbLog->IsComplete() && !state.CancelLoad)
    WaitForView(10);
  if (state.CancelLoad) return ClearView();
  wbLog->SetPageBytes(QByteArray(page.data(), static_cast<qsizetype>(page.size())));
  std::string().swap(page);
  // Escape ends the wait at once; the report below then empties the view.
  while (!wbLog->IsComplete() && !state.CancelLoad)
    WaitForView(100);
  if (!Processor.ReportProgress(50)) return;
  if (!wbLog->LastLoadSucceeded()) {
    wbLog->Clear();
    ShowError(std::u16string(SViewFailed));
    return;
  }
  WaitForView(50);
  wbLog->TakeFocus();
  if (Options.OpenGoTo == 0)
    wbLog->ScrollToTop();
  else if (Options.OpenGoTo == 1)
    wbLog->ScrollToBottom();
  state.LastLoadTime = static_cast<int32_t>(SteadyTickCount() - start);
  emit PageShown();
}

}  // namespace skribo
