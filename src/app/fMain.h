// The main window: header buttons, the log view, the status bar; it coordinates the commands,
// the loading of logs and the settings.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include <QPointer>
#include <QStringList>
#include <QWidget>

#include "app/OpenDialog.h"
#include "log/TPipelineHost.h"
#include "log/uLogProcess.h"
#include "open/uOpenFile.h"
#include "prefs/AlwaysOnTopToggle.h"
#include "prefs/PreferencesUi.h"
#include "prefs/ProgramPaths.h"
#include "prefs/uPreferences.h"

class QLabel;
class QProgressBar;

namespace skribo {

class THtmlView;
class TRynImgBtn;
class TStatusBar;
class TfrmSearch;

// The modifier keys of a hotkey.
enum TShiftState : unsigned { ssShift = 1, ssAlt = 2, ssCtrl = 4 };

// The virtual-key code of a Qt key, 0 for keys no hotkey uses.
uint16_t VirtualKeyOf(int qtKey);
unsigned ShiftStateOf(Qt::KeyboardModifiers modifiers);

class TfrmMain : public QWidget, public TPipelineHost, public TPreferencesUi, public TOpenLogHost {
  Q_OBJECT

 public:
  // Builds the window and runs its creation: options, placement, showing, and the first
  // argument that names an existing file.
  TfrmMain(const TProgramPaths& paths, const QStringList& arguments, QWidget* parent = nullptr);
  ~TfrmMain() override;

  void btnOpenClick();
  void btnSearchClick();
  void btnOptionsClick();
  void btnAboutClick();
  void ExecuteHotkey(uint16_t key, unsigned shift);
  // Stores path as the current log and opens it. A request that arrives while a log is being
  // opened cancels that load and is opened once it has unwound.
  void OpenLogFile(const QString& path);
  void FileDropDrop(const QStringList& paths);

  // TPipelineHost, TOpenLogHost
  void SetStatusText(const std::u16string& text) override;
  void ProcessMessages() override;
  void StepProgress(int delta) override;
  void SetProgressPosition(int position) override;
  void ClearView() override;
  void ShowWarning(const std::u16string& text) override;
  void ProcessLog(const std::u16string& path) override;
  void OpenEncryptedLog(const std::u16string& path) override;
  // TPreferencesUi
  void ShowError(const std::u16string& text) override;
  TCheckAnswer AskWithCheck(const TCheckQuestion& question) override;
  void SetAlwaysOnTop(bool onTop) override;

  const TLoadState& LoadState() const { return Processor.State; }
  const TRecOptions& LiveOptions() const { return Options; }
  QString CurrentLogFileName() const { return odOpen.FileName; }
  QString StatusTextShown() const { return StatusText; }
  const TProgramPaths& Paths() const { return ProgramPaths; }

 signals:
  // After every open request has ended, whatever its outcome.
  void LogOpened();
  // The view has the page of a completed load.
  void PageShown();
  void StatusTextChanged(const QString& text);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void TntFormCreate(const QStringList& arguments);
  void TntFormClose();
  void TntFormResize();
  void TntFormKeyUp(QKeyEvent& event);
  bool wbLogTranslateAccelerator(QKeyEvent& event);
  void ShowHint(TRynImgBtn* sender);
  void HideHint();
  void CleanTempFiles();
  void BuildHeader();
  void PlaceHeader();
  void WaitForView(int milliseconds);

  TProgramPaths ProgramPaths;

  QWidget* pnlHeader = nullptr;
  QLabel* imgTitle = nullptr;
  QLabel* imgGrayBg = nullptr;
  TRynImgBtn* btnOpen = nullptr;
  TRynImgBtn* btnSearch = nullptr;
  TRynImgBtn* btnOptions = nullptr;
  TRynImgBtn* btnAbout = nullptr;
  THtmlView* wbLog = nullptr;
  TStatusBar* sbStatus = nullptr;
  TOpenDialog odOpen;
  QPointer<TfrmSearch> frmSearch;

  QProgressBar* ProgressBar = nullptr;
  TRecOptions Options;
  QString StatusText;

  TLogProcessor Processor;
  TAlwaysOnTopToggle TopToggle;
  bool Opening = false;
  // A request that came while a log was being opened; it is opened next.
  std::optional<QString> PendingOpen;
};

}  // namespace skribo
