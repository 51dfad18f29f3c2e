// The log view: a Qt WebEngine view that shows whole pages handed over from memory.
#pragma once

#include <functional>
#include <string_view>

#include <QByteArray>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QUrl>
#include <QWidget>

class QKeyEvent;
class QStackedLayout;
class QWebEngineLoadingInfo;
class QWebEnginePage;
class QWebEngineView;

namespace skribo {

class THtmlView : public QWidget {
  Q_OBJECT

 public:
  // How a page reaches the renderer. The default is the fastest measured here; the others stay
  // for the view benchmark.
  enum class THandOver {
    SchemeHidden,   // served from memory through the page scheme, the view blank until loaded
    SchemeVisible,  // the same, drawn while it loads
    DocumentWrite,  // written in pieces with document.write from the view's own script world
  };

  struct TFindResult {
    bool Found = false;
    int ActiveMatch = 0;  // 1-based index of the match now highlighted
    int Matches = 0;
  };

  // Sees every key press and release meant for the page first; true consumes the key.
  using TKeyHook = std::function<bool(QKeyEvent&)>;
  using TLinkHandler = std::function<void(const QUrl&)>;
  using TFindCallback = std::function<void(const TFindResult&)>;

  explicit THtmlView(QWidget* parent = nullptr);
  ~THtmlView() override;

  // Replaces the document with Page in one piece; Completed follows once it is loaded and drawn.
  void SetPage(std::u16string_view page);
  void SetPageBytes(QByteArray utf8);
  // Empties the view at once (about:blank); a load in progress is abandoned.
  void Clear();
  // The ready state: false from SetPage or Clear until that document is loaded and drawn.
  bool IsComplete() const { return Complete; }
  bool LastLoadSucceeded() const { return Succeeded; }

  void TakeFocus();
  void ScrollToTop();
  void ScrollToBottom();
  // Finds the next match from the current one; an empty text clears the highlight.
  void FindText(const QString& text, bool backward, bool matchCase, TFindCallback done);
  void SelectAll();
  void Copy();

  void SetKeyHook(TKeyHook hook) { KeyHook = std::move(hook); }
  // Where clicked links go; the default hands them to the desktop (web browser, mail program).
  void SetLinkHandler(TLinkHandler handler) { LinkHandler = std::move(handler); }
  void SetHandOver(THandOver method) { HandOver = method; }

  QWebEngineView* WebView() const { return Web; }
  QWebEnginePage* Page() const;

  // The default link handler: only the kinds of address that the log's links use leave the view.
  static void OpenLinkOnDesktop(const QUrl& url);

 signals:
  void Completed(bool ok);
  // The bytes of every page handed over, for those who check what the view was given.
  void PageHandedOver(const QByteArray& utf8);
  void FilesDropped(const QStringList& paths);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  class TPage;
  friend class TPage;

  void StartLoad(const QUrl& url);
  void OnLoadingChanged(const QWebEngineLoadingInfo& info);
  void WriteNextPiece(quint64 serial);
  void ShowLoaded(bool ok);
  void PollFrame(quint64 serial);
  void Finish(bool ok);
  void WithdrawPublished();
  void WatchChildren();
  bool IsOwnNavigation(const QUrl& url, bool isMainFrame) const;
  void OnLinkClicked(const QUrl& url);

  QStackedLayout* Stack = nullptr;
  QWidget* Blank = nullptr;
  QWebEngineView* Web = nullptr;
  TPage* LogPage = nullptr;

  THandOver HandOver = THandOver::SchemeHidden;
  TKeyHook KeyHook;
  TLinkHandler LinkHandler;

  QUrl Target;         // the document now being loaded or shown
  QUrl Published;      // its address in the page scheme, until the load is over
  quint64 Serial = 0;  // tells the replies of an abandoned load from those of the current one
  bool Complete = true;
  bool Succeeded = true;
  QByteArray PendingWrite;
  qsizetype WriteOffset = 0;
  QTimer FramePoll;
  QString LastFindText;
  bool LastFindMatchCase = false;
};

}  // namespace skribo
