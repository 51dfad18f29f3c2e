#include "app/fMain.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QResizeEvent>
#include <QVBoxLayout>
#include <QWindow>

#include "app/FormGeometry.h"
#include "app/Pictures.h"
#include "app/SkriboApplication.h"
#include "app/StatusBar.h"
#include "app/fSearch.h"
#include "common/u_ResourceString.h"
#include "controls/MyDialogs.h"
#include "controls/RynImgBtn.h"
#include "host/uMisc.h"
#include "platform/qt/THtmlView.h"
#include "prefs/OptionsPersistence.h"

namespace skribo {

namespace {

QString Q(std::u16string_view s) {
  return QString::fromUtf16(s.data(), s.size());
}

constexpr int DesignClientWidth = 467;
constexpr int HeaderHeight = 40;
const QString PositionSection = QStringLiteral("position");

struct TButtonDesign {
  const char* Name;
  int Left, Width, Tag;
  const char* Picture;
};
constexpr TButtonDesign ButtonDesigns[] = {
    {"btnOpen", 266, 39, 1, "btnOpen"},
    {"btnSearch", 314, 38, 2, "btnSearch"},
    {"btnOptions", 362, 41, 3, "btnOptions"},
    {"btnAbout", 410, 55, 4, "btnAbout"},
};

}  // namespace

TfrmMain::TfrmMain(const TProgramPaths& paths, const QStringList& arguments, QWidget* parent)
    : QWidget(parent),
      ProgramPaths(paths),
      odOpen(this, Q(SOpenDialogFilter), QStringLiteral("txt")),
      Options(DefaultOptions()),
      Processor(*this, Options) {
  setObjectName(QStringLiteral("frmMain"));
  setWindowTitle(Q(ApplicationTitle));
  setWindowIcon(ApplicationIcon());
  setMinimumSize(DesignClientWidth, 220);
  resize(DesignClientWidth, 220 + 60);

  BuildHeader();
  wbLog = new THtmlView(this);
  wbLog->setObjectName(QStringLiteral("wbLog"));
  sbStatus = new TStatusBar(this);
  sbStatus->setObjectName(QStringLiteral("sbStatus"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(pnlHeader);
  layout->addWidget(wbLog, 1);
  layout->addWidget(sbStatus);

  wbLog->SetKeyHook([this](QKeyEvent& event) { return wbLogTranslateAccelerator(event); });
  connect(wbLog, &THtmlView::FilesDropped, this, &TfrmMain::FileDropDrop);

  TntFormCreate(arguments);
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::BuildHeader() {
  pnlHeader = new QWidget(this);
  pnlHeader->setObjectName(QStringLiteral("pnlHeader"));
  pnlHeader->setFixedHeight(HeaderHeight);
  pnlHeader->setAutoFillBackground(true);
  imgGrayBg = new QLabel(pnlHeader);
  imgGrayBg->setObjectName(QStringLiteral("imgGrayBg"));
  imgGrayBg->setPixmap(QPixmap::fromImage(Picture(QStringLiteral("graybg"))));
  imgGrayBg->setScaledContents(true);
  imgTitle = new QLabel(pnlHeader);
  imgTitle->setObjectName(QStringLiteral("imgTitle"));
  imgTitle->setPixmap(QPixmap::fromImage(Picture(QStringLiteral("title"))));
  imgTitle->setGeometry(0, 0, 265, 39);
  TRynImgBtn** buttons[] = {&btnOpen, &btnSearch, &btnOptions, &btnAbout};
  for (size_t i = 0; i < std::size(ButtonDesigns); ++i) {
    const TButtonDesign& design = ButtonDesigns[i];
    auto* button = new TRynImgBtn(pnlHeader);
    button->setObjectName(QString::fromLatin1(design.Name));
    button->SetAutoSize(false);
    button->SetLockPushed(false);
    button->SetStretch(false);
    button->SetTransparent(false);
    button->SetTransparentColor(Qt::black);
    button->SetTag(design.Tag);
    const QString picture = QString::fromLatin1(design.Picture);
    button->SetImg1(Picture(picture + u'1'));
    button->SetImg2(Picture(picture + u'2'));
    button->SetImg3(Picture(picture + u'3'));
    button->resize(design.Width, 39);
    connect(button, &TRynImgBtn::MouseEnter, this, [this, button] { ShowHint(button); });
    connect(button, &TRynImgBtn::MouseLeave, this, [this] { HideHint(); });
    *buttons[i] = button;
  }
  connect(btnOpen, &TRynImgBtn::Click, this, [this] { btnOpenClick(); });
  connect(btnSearch, &TRynImgBtn::Click, this, [this] { btnSearchClick(); });
  connect(btnOptions, &TRynImgBtn::Click, this, [this] { btnOptionsClick(); });
  connect(btnAbout, &TRynImgBtn::Click, this, [this] { btnAboutClick(); });
  pnlHeader->installEventFilter(this);
}

// The grey strip grows with the window and the buttons keep their distance from its right edge.
void TfrmMain::PlaceHeader() {
  const int grow = pnlHeader->width() - DesignClientWidth;
  imgGrayBg->setGeometry(265, 0, std::max(201 + grow, 0), 39);
  TRynImgBtn* buttons[] = {btnOpen, btnSearch, btnOptions, btnAbout};
  for (size_t i = 0; i < std::size(ButtonDesigns); ++i)
    buttons[i]->move(ButtonDesigns[i].Left + grow, 0);
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
  if (watched == pnlHeader && event->type() == QEvent::Resize) PlaceHeader();
  return QWidget::eventFilter(watched, event);
}

void TfrmMain::TntFormCreate(const QStringList& arguments) {
  // Owned by the status bar; it is placed over a panel only while a log loads.
  ProgressBar = new QProgressBar(sbStatus);
  ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
  ProgressBar->setTextVisible(false);
  ProgressBar->hide();
  QPalette header = pnlHeader->palette();
  header.setColor(QPalette::Window, QColor(190, 190, 190));
  pnlHeader->setPalette(header);
  wbLog->Clear();

  // Each step's failure is shown and the window still comes up.
  RunGuarded(this, [&] { LoadOptions(ProgramPaths, Options, *this); });
  odOpen.InitialDir = QString::fromStdU16String(GetHostLogDirectory());
  TQtFormGeometry geometry(this);
  RestoreWindowPlacement(&geometry, ProgramPaths.IniFileName, PositionSection.toStdU16String(),
                         paState | paPosition);
  show();

  for (const QString& argument : arguments) {
    if (FileExists(argument.toStdU16String())) {
      OpenLogFile(argument);
      break;
    }
  }
}

void TfrmMain::closeEvent(QCloseEvent* event) {
  // A load that is still running unwinds at its next step instead of drawing into a closed window.
  if (Processor.State.LoadInProgress) Processor.State.CancelLoad = true;
  if (frmSearch) frmSearch->close();
  TntFormClose();
  event->accept();
}

void TfrmMain::TntFormClose() {
  TQtFormGeometry geometry(this);
  SaveWindowPlacement(&geometry, ProgramPaths.IniFileName, PositionSection.toStdU16String(),
                      paState | paPosition);
  CleanTempFiles();
}

void TfrmMain::CleanTempFiles() {
  skribo::CleanTempFiles(ProgramPaths.ExeFolder());
}

void TfrmMain::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  TntFormResize();
}

void TfrmMain::TntFormResize() {
  sbStatus->SetPanelWidth(0, sbStatus->width() - 205);
  if (!sbStatus->SimplePanel() && ProgressBar) PlaceProgressBar(ProgressBar, sbStatus, 1);
}

void TfrmMain::ShowHint(TRynImgBtn* sender) {
  if (!sbStatus->SimpleText().isEmpty()) StatusText = sbStatus->SimpleText();
  switch (sender->Tag()) {
    case 1:
      sbStatus->SetSimpleText(Q(SHintOpen));
      break;
    case 2:
      sbStatus->SetSimpleText(Q(SHintSearch));
      break;
    case 3:
      sbStatus->SetSimpleText(Q(SHintOptions));
      break;
    case 4:
      sbStatus->SetSimpleText(Q(SHintAbout));
      break;
    default:
      break;
  }
}

void TfrmMain::HideHint() {
  sbStatus->SetSimpleText(StatusText);
}

void TfrmMain::ShowError(const std::u16string& text) {
  ShowMessageDlg(this, std::u16string(ApplicationTitle), text, TMsgDlgType::mtError, mbOK, mrOk);
}

void TfrmMain::ShowWarning(const std::u16string& text) {
  ShowMessageDlg(this, std::u16string(ApplicationTitle), text, TMsgDlgType::mtWarning, mbOK, mrOk);
}

TCheckAnswer TfrmMain::AskWithCheck(const TCheckQuestion& question) {
  bool dontAsk = question.DontAsk;
  const int result = MessageDlgWithCheck(
      this, question.Caption, question.Message, question.DialogType, question.Buttons,
      question.DefaultResult, question.HelpContext, dontAsk, question.CheckCaption);
  return {result, dontAsk};
}

void TfrmMain::SetAlwaysOnTop(bool onTop) {
  Qt::WindowFlags flags = windowFlags();
  flags.setFlag(Qt::WindowStaysOnTopHint, onTop);
  if (QWindow* window = windowHandle()) {
    // Changing the widget's flags would recreate and hide a shown window; the window system
    // window takes the change in place.
    overrideWindowFlags(flags);
    window->setFlags(flags);
  } else {
    setWindowFlags(flags);
  }
}

}  // namespace skribo
