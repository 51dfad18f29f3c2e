#include "platform/qt/THtmlView.h"

#include <QDesktopServices>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QMimeData>
#include <QStackedLayout>
#include <QWebEngineFindTextResult>
#include <QWebEngineLoadingInfo>
#include <QWebEngineNewWindowRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include "platform/qt/PageSchemeHandler.h"
#include "platform/qt/WebEngineSetup.h"

namespace skribo {

namespace {

constexpr quint32 ViewWorld = QWebEngineScript::ApplicationWorld;
constexpr qsizetype WritePieceBytes = 1 << 18;
constexpr int FramePollMs = 16;

void ConfigureSettings(QWebEngineSettings* s) {
  // Page scripts stay off; the view's own helpers run in a separate script world, which this
  // switch does not govern.
  s->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
  s->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
  s->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);
  s->setAttribute(QWebEngineSettings::PluginsEnabled, false);
  s->setAttribute(QWebEngineSettings::PdfViewerEnabled, false);
  s->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
  s->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
  s->setAttribute(QWebEngineSettings::LocalStorageEnabled, false);
  s->setAttribute(QWebEngineSettings::WebGLEnabled, false);
  s->setAttribute(QWebEngineSettings::HyperlinkAuditingEnabled, false);
  s->setAttribute(QWebEngineSettings::DnsPrefetchEnabled, false);
  s->setAttribute(QWebEngineSettings::NavigateOnDropEnabled, false);
  s->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
  s->setAttribute(QWebEngineSettings::ScrollAnimatorEnabled, false);
  // A load must not pull the focus away from the find dialog; focus is given on request.
  s->setAttribute(QWebEngineSettings::FocusOnNavigationEnabled, false);
  s->setAttribute(QWebEngineSettings::AutoLoadImages, true);
  // The styles name Windows fonts (Tahoma, Courier New). Where such a font is missing the page
  // falls back to the desktop's own sans-serif and fixed fonts, not to a serif default.
  const QString sansSerif = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
  s->setFontFamily(QWebEngineSettings::StandardFont, sansSerif);
  s->setFontFamily(QWebEngineSettings::SansSerifFont, sansSerif);
  s->setFontFamily(QWebEngineSettings::FixedFont,
                   QFontDatabase::systemFont(QFontDatabase::FixedFont).family());
  // Addresses that WebEngine cannot load itself (mailto:, irc:, ...) come to the link handler
  // when the user clicks them, and nothing else may open them.
  s->setUnknownUrlSchemePolicy(QWebEngineSettings::AllowUnknownUrlSchemesFromUserInteraction);
}

// document.write takes a script string: a JavaScript literal of Utf8.
QString JavaScriptLiteral(const QByteArray& utf8) {
  const QString text = QString::fromUtf8(utf8);
  QString out;
  out.reserve(text.size() + text.size() / 8 + 2);
  out += u'"';
  for (QChar c : text) {
    switch (c.unicode()) {
      case u'\\':
        out += u"\\\\";
        break;
      case u'"':
        out += u"\\\"";
        break;
      case u'\n':
        out += u"\\n";
        break;
      case u'\r':
        out += u"\\r";
        break;
      case 0x2028:
        out += u"\\u2028";
        break;
      case 0x2029:
        out += u"\\u2029";
        break;
      default:
        out += c;
    }
  }
  out += u'"';
  return out;
}

}  // namespace

// Keeps the view on its own documents: clicked links go to the link handler, everything else
// that would navigate is refused.
class THtmlView::TPage : public QWebEnginePage {
 public:
  TPage(QWebEngineProfile* profile, THtmlView* owner)
      : QWebEnginePage(profile, owner), Owner(owner) {}

 protected:
  bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override {
    if (type == NavigationTypeLinkClicked) {
      Owner->OnLinkClicked(url);
      return false;
    }
    return Owner->IsOwnNavigation(url, isMainFrame);
  }
  // Silent, like a browser control with script errors turned off.
  void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int,
                                const QString&) override {}

 private:
  THtmlView* Owner;
};

THtmlView::THtmlView(QWidget* parent) : QWidget(parent) {
  QWebEngineProfile* profile = AcquireLogViewProfile();
  Stack = new QStackedLayout(this);
  Stack->setContentsMargins(0, 0, 0, 0);
  Web = new QWebEngineView(this);
  LogPage = new TPage(profile, this);
  ConfigureSettings(LogPage->settings());
  LogPage->setBackgroundColor(Qt::white);
  Web->setPage(LogPage);
  Web->setContextMenuPolicy(Qt::NoContextMenu);
  // Shown in place of the web view while a page is parsed: a renderer that draws nothing while
  // it loads is several times faster on big pages, and the user sees an empty view meanwhile.
  Blank = new QWidget(this);
  Blank->setAutoFillBackground(true);
  QPalette palette = Blank->palette();
  palette.setColor(QPalette::Window, Qt::white);
  Blank->setPalette(palette);
  Blank->setAcceptDrops(true);
  Stack->addWidget(Web);
  Stack->addWidget(Blank);
  setFocusProxy(Web);

  connect(LogPage, &QWebEnginePage::loadingChanged, this, &THtmlView::OnLoadingChanged);
  connect(LogPage, &QWebEnginePage::newWindowRequested, this,
          [this](QWebEngineNewWindowRequest& request) { OnLinkClicked(request.requestedUrl()); });
  connect(LogPage, &QWebEnginePage::renderProcessTerminated, this, [this] {
    if (!Complete) ShowLoaded(false);
  });
  FramePoll.setSingleShot(true);
  connect(&FramePoll, &QTimer::timeout, this, [this] { PollFrame(Serial); });
  LinkHandler = &THtmlView::OpenLinkOnDesktop;

  Web->installEventFilter(this);
  Blank->installEventFilter(this);
  WatchChildren();
  Clear();
}

THtmlView::~THtmlView() {
  FramePoll.stop();
  WithdrawPublished();
  Web->removeEventFilter(this);
  for (QWidget* child : Web->findChildren<QWidget*>())
    child->removeEventFilter(this);
  // The page goes before its profile, the profile before the application object.
  delete Web;
  Web = nullptr;
  delete LogPage;
  LogPage = nullptr;
  ReleaseLogViewProfile();
}

QWebEnginePage* THtmlView::Page() const {
  return LogPage;
}

void THtmlView::SetPage(std::u16string_view page) {
  SetPageBytes(QStringView(page.data(), static_cast<qsizetype>(page.size())).toUtf8());
}

void THtmlView::SetPageBytes(QByteArray utf8) {
  emit PageHandedOver(utf8);
  WithdrawPublished();
  PendingWrite.clear();
  WriteOffset = 0;
  if (HandOver == THandOver::DocumentWrite) {
    PendingWrite = std::move(utf8);
    Published = LogViewPages().Publish(QByteArray());
  } else {
    Published = LogViewPages().Publish(std::move(utf8));
  }
  if (HandOver != THandOver::SchemeVisible) Stack->setCurrentWidget(Blank);
  StartLoad(Published);
}

void THtmlView::Clear() {
  WithdrawPublished();
  PendingWrite.clear();
  Stack->setCurrentWidget(Blank);
  StartLoad(QUrl(QStringLiteral("about:blank")));
}

void THtmlView::StartLoad(const QUrl& url) {
  ++Serial;
  FramePoll.stop();
  Target = url;
  Complete = false;
  Succeeded = false;
  LogPage->load(url);
}

void THtmlView::OnLoadingChanged(const QWebEngineLoadingInfo& info) {
  if (Complete || info.url() != Target) return;
  switch (info.status()) {
    case QWebEngineLoadingInfo::LoadStartedStatus:
      return;
    case QWebEngineLoadingInfo::LoadSucceededStatus:
      if (!PendingWrite.isEmpty())
        WriteNextPiece(Serial);
      else
        ShowLoaded(true);
      return;
    case QWebEngineLoadingInfo::LoadStoppedStatus:
    case QWebEngineLoadingInfo::LoadFailedStatus:
      ShowLoaded(false);
      return;
  }
}

void THtmlView::WriteNextPiece(quint64 serial) {
  if (serial != Serial) return;
  if (WriteOffset >= PendingWrite.size()) {
    PendingWrite.clear();
    ShowLoaded(true);
    return;
  }
  qsizetype end = std::min(PendingWrite.size(), WriteOffset + WritePieceBytes);
  // Pieces end on a character boundary: a UTF-8 continuation byte never starts one.
  while (end < PendingWrite.size() && (static_cast<uchar>(PendingWrite[end]) & 0xC0) == 0x80)
    ++end;
  QString script;
  if (WriteOffset == 0) script += u"document.open();";
  script += u"document.write(";
  script += JavaScriptLiteral(
      QByteArray::fromRawData(PendingWrite.constData() + WriteOffset, end - WriteOffset));
  script += u");";
  if (end == PendingWrite.size()) script += u"document.close();";
  WriteOffset = end;
  QPointer<THtmlView> self(this);
  LogPage->runJavaScript(script, ViewWorld, [self, serial](const QVariant&) {
    if (self) self->WriteNextPiece(serial);
  });
}

void THtmlView::ShowLoaded(bool ok) {
  WithdrawPublished();
  PendingWrite.clear();
  Stack->setCurrentWidget(Web);
  Succeeded = ok;
  // Complete means drawn: two animation frames after the page is visible the first frame of
  // the laid-out page has been produced. A view that cannot draw (hidden) is complete at once.
  if (!ok || !Web->isVisible()) {
    Finish(ok);
    return;
  }
  LogPage->runJavaScript(
      QStringLiteral("window.skriboFrameDrawn = false; requestAnimationFrame(() => "
                     "requestAnimationFrame(() => { window.skriboFrameDrawn = true; }));"),
      ViewWorld);
  PollFrame(Serial);
}

void THtmlView::PollFrame(quint64 serial) {
  if (serial != Serial || Complete) return;
  QPointer<THtmlView> self(this);
  LogPage->runJavaScript(QStringLiteral("window.skriboFrameDrawn === true"), ViewWorld,
                         [self, serial](const QVariant& drawn) {
                           if (!self || serial != self->Serial || self->Complete) return;
                           if (drawn.toBool() || !self->Web->isVisible())
                             self->Finish(self->Succeeded);
                           else
                             self->FramePoll.start(FramePollMs);
                         });
}

void THtmlView::Finish(bool ok) {
  FramePoll.stop();
  Complete = true;
  Succeeded = ok;
  emit Completed(ok);
}

void THtmlView::WithdrawPublished() {
  if (Published.isEmpty()) return;
  LogViewPages().Withdraw(Published);
  Published.clear();
}

bool THtmlView::IsOwnNavigation(const QUrl& url, bool isMainFrame) const {
  return isMainFrame && url == Target;
}

void THtmlView::OnLinkClicked(const QUrl& url) {
  if (LinkHandler) LinkHandler(url);
}

void THtmlView::OpenLinkOnDesktop(const QUrl& url) {
  static const QStringList LinkSchemes = {
      QStringLiteral("http"),   QStringLiteral("https"),  QStringLiteral("ftp"),
      QStringLiteral("file"),   QStringLiteral("news"),   QStringLiteral("nntp"),
      QStringLiteral("gopher"), QStringLiteral("telnet"), QStringLiteral("wais"),
      QStringLiteral("irc"),    QStringLiteral("mailto")};
  if (LinkSchemes.contains(url.scheme(), Qt::CaseInsensitive)) QDesktopServices::openUrl(url);
}

void THtmlView::TakeFocus() {
  Web->setFocus(Qt::OtherFocusReason);
}

void THtmlView::ScrollToTop() {
  LogPage->runJavaScript(QStringLiteral("window.scrollTo(0, 0);"), ViewWorld);
}

void THtmlView::ScrollToBottom() {
  LogPage->runJavaScript(
      QStringLiteral("window.scrollTo(0, document.documentElement.scrollHeight);"), ViewWorld);
}

void THtmlView::FindText(const QString& text, bool backward, bool matchCase, TFindCallback done) {
  QWebEnginePage::FindFlags flags;
  if (backward) flags |= QWebEnginePage::FindBackward;
  if (matchCase) flags |= QWebEnginePage::FindCaseSensitively;
  // WebEngine takes the same text again as "find next" and, when only the case rule changed,
  // never answers; a fresh search session answers.
  if (text == LastFindText && matchCase != LastFindMatchCase) LogPage->findText(QString());
  LastFindText = text;
  LastFindMatchCase = matchCase;
  LogPage->findText(text, flags, [done = std::move(done)](const QWebEngineFindTextResult& r) {
    if (done) done(TFindResult{r.numberOfMatches() > 0, r.activeMatch(), r.numberOfMatches()});
  });
}

void THtmlView::SelectAll() {
  LogPage->triggerAction(QWebEnginePage::SelectAll);
}

void THtmlView::Copy() {
  LogPage->triggerAction(QWebEnginePage::Copy);
}

void THtmlView::WatchChildren() {
  // WebEngine replaces the widget that takes the keys (its focus proxy) when the renderer
  // changes, so every child it adds is watched.
  for (QWidget* child : Web->findChildren<QWidget*>()) {
    child->installEventFilter(this);
    child->setContextMenuPolicy(Qt::NoContextMenu);
  }
}

bool THtmlView::eventFilter(QObject* watched, QEvent* event) {
  if (!Web) return false;
  switch (event->type()) {
    case QEvent::ChildAdded:
    case QEvent::ChildPolished:
      if (watched == Web) WatchChildren();
      break;
    case QEvent::ShortcutOverride:
      // With a hook the key must arrive as a key press, where the hook sees it, instead of
      // triggering a shortcut of the window behind the hook's back.
      if (KeyHook) {
        event->accept();
        return true;
      }
      break;
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
      QWidget* keyTarget = Web->focusProxy() ? Web->focusProxy() : Web;
      if (KeyHook && watched == keyTarget && KeyHook(*static_cast<QKeyEvent*>(event))) return true;
      break;
    }
    case QEvent::DragEnter:
    case QEvent::DragMove: {
      // Drops never reach the page: the view must not navigate to a dropped file.
      auto* drag = static_cast<QDragMoveEvent*>(event);
      if (drag->mimeData()->hasUrls())
        drag->acceptProposedAction();
      else
        drag->ignore();
      return true;
    }
    case QEvent::DragLeave:
      return true;
    case QEvent::Drop: {
      auto* drop = static_cast<QDropEvent*>(event);
      QStringList paths;
      for (const QUrl& url : drop->mimeData()->urls())
        if (url.isLocalFile()) paths << url.toLocalFile();
      drop->acceptProposedAction();
      if (!paths.isEmpty()) emit FilesDropped(paths);
      return true;
    }
    default:
      break;
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace skribo
