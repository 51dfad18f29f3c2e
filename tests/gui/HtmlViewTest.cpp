// The log view against the real Qt WebEngine under a virtual display.
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include "platform/qt/ResourceSchemeHandler.h"
#include "platform/qt/THtmlView.h"
#include "platform/qt/WebEngineSetup.h"
#include "resources/EmbeddedResources.h"

using skribo::THtmlView;

Q_DECLARE_METATYPE(THtmlView::THandOver)

namespace {

constexpr int LoadTimeoutMs = 60000;

std::u16string MakePage(std::u16string_view body) {
  return u"<html>\r\n<head>\r\n<meta http-equiv=\"content-type\" content=\"text/html; "
         u"charset=UTF-8\">\r\n</head>\r\n<body>\r\n" +
         std::u16string(body) + u"</body>\r\n</html>";
}

std::u16string Line(std::u16string_view text) {
  return u"<div class=\"Style4\"> " + std::u16string(text) + u" </div>\r\n";
}

std::u16string NumberedLines(int count) {
  std::u16string body;
  for (int i = 1; i <= count; ++i)
    body += Line(u"line " + QString::number(i).toStdU16String() + u" Zoë &amp; 😀");
  return body;
}

QVariant Eval(THtmlView& view, const QString& script) {
  QVariant result;
  bool done = false;
  view.Page()->runJavaScript(script, QWebEngineScript::ApplicationWorld, [&](const QVariant& v) {
    result = v;
    done = true;
  });
  if (!QTest::qWaitFor([&] { return done; }, LoadTimeoutMs)) return QVariant();
  return result;
}

QPoint CentreOf(THtmlView& view, const QString& id) {
  const QVariantList r =
      Eval(view, QStringLiteral("(() => { const r = document.getElementById('%1')"
                                ".getBoundingClientRect(); return [r.x + r.width / 2, "
                                "r.y + r.height / 2]; })()")
                     .arg(id))
          .toList();
  return r.size() == 2 ? QPoint(r[0].toInt(), r[1].toInt()) : QPoint(-1, -1);
}

}  // namespace

class THtmlViewTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<THtmlView> View;

  bool Load(const std::u16string& page) {
    QSignalSpy completed(View.get(), &THtmlView::Completed);
    View->SetPage(page);
    if (View->IsComplete()) return false;  // the ready state must cover the load
    return completed.wait(LoadTimeoutMs) && View->IsComplete() && View->LastLoadSucceeded();
  }
  QWidget* KeyWidget() const { return View->WebView()->focusProxy(); }

 private slots:
  void init() {
    View = std::make_unique<THtmlView>();
    View->resize(500, 400);
    View->show();
    QVERIFY(QTest::qWaitForWindowExposed(View.get()));
    View->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(View.get()));
    QTRY_VERIFY_WITH_TIMEOUT(View->IsComplete(), LoadTimeoutMs);
  }
  void cleanup() { View.reset(); }

  void pageArrivesWhole_data() {
    QTest::addColumn<THtmlView::THandOver>("method");
    QTest::addColumn<int>("lines");
    // 40,000 lines make a page of about 3 MB, past the 2 MB that setHtml would take.
    for (int lines : {3, 40000}) {
      QTest::addRow("scheme hidden, %d lines", lines)
          << THtmlView::THandOver::SchemeHidden << lines;
      QTest::addRow("scheme visible, %d lines", lines)
          << THtmlView::THandOver::SchemeVisible << lines;
      QTest::addRow("document.write, %d lines", lines)
          << THtmlView::THandOver::DocumentWrite << lines;
    }
  }
  void pageArrivesWhole() {
    QFETCH(THtmlView::THandOver, method);
    QFETCH(int, lines);
    View->SetHandOver(method);
    QVERIFY(Load(MakePage(NumberedLines(lines))));
    const QVariantList texts =
        Eval(*View, QStringLiteral("Array.from(document.querySelectorAll('div'), "
                                   "d => d.textContent)"))
            .toList();
    QCOMPARE(texts.size(), lines);
    for (int i : {0, lines / 2, lines - 1})
      QCOMPARE(texts[i].toString(), QStringLiteral(" line %1 Zoë & 😀 ").arg(i + 1));
    QCOMPARE(Eval(*View, QStringLiteral("document.characterSet")).toString(),
             QStringLiteral("UTF-8"));
    // Scripts of the page itself stay off whatever the hand-over.
    QCOMPARE(View->Page()->settings()->testAttribute(QWebEngineSettings::JavascriptEnabled), false);
  }

  void pageScriptsDoNotRun() {
    QVERIFY(
        Load(MakePage(u"<div id=\"d\">before</div><script>document.getElementById('d')"
                      u".textContent = 'after';</script>\r\n")));
    QCOMPARE(Eval(*View, QStringLiteral("document.getElementById('d').textContent")).toString(),
             QStringLiteral("before"));
  }

  void emoticonImagesLoad_data() {
    QTest::addColumn<THtmlView::THandOver>("method");
    QTest::addRow("scheme") << THtmlView::THandOver::SchemeHidden;
    QTest::addRow("document.write") << THtmlView::THandOver::DocumentWrite;
  }
  void emoticonImagesLoad() {
    QFETCH(THtmlView::THandOver, method);
    View->SetHandOver(method);
    QVERIFY(
        Load(MakePage(Line(u"<img src=\"res://skribo/GIF/1\"><img src=\"res://Skribo.exe/GIF/79\">"
                           u"<img src=\"res://skribo/GIF/80\">"))));
    QCOMPARE(
        Eval(*View, QStringLiteral("Array.from(document.images, i => i.naturalWidth)")).toList(),
        (QVariantList{19, 19, 0}));
  }

  void remoteLoadsBlocked() {
    // A web server on the loopback address that would hand out the image to anyone who asks.
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost));
    int connections = 0;
    connect(&server, &QTcpServer::newConnection, this, [&] {
      while (QTcpSocket* socket = server.nextPendingConnection()) {
        ++connections;
        const std::string_view gif = skribo::EmoticonGif(1);
        socket->write("HTTP/1.0 200 OK\r\nContent-Type: image/gif\r\nContent-Length: " +
                      QByteArray::number(qsizetype(gif.size())) + "\r\n\r\n");
        socket->write(gif.data(), qsizetype(gif.size()));
        socket->disconnectFromHost();
      }
    });
    const QString address = QStringLiteral("http://127.0.0.1:%1/x.gif").arg(server.serverPort());
    QVERIFY(Load(MakePage(Line(u"<img src=\"" + address.toStdU16String() + u"\">"))));
    QCOMPARE(Eval(*View, QStringLiteral("document.images[0].naturalWidth")).toInt(), 0);
    QCOMPARE(connections, 0);
  }

  void emoticonAddresses_data() {
    QTest::addColumn<QString>("url");
    QTest::addColumn<int>("number");
    QTest::addRow("program name") << "res://skribo/GIF/1" << 1;
    QTest::addRow("other program name") << "res://Skribo.exe/GIF/79" << 79;
    QTest::addRow("type in lower case") << "res://skribo/gif/5" << 5;
    QTest::addRow("past the last image") << "res://skribo/GIF/80" << 0;
    QTest::addRow("zero") << "res://skribo/GIF/0" << 0;
    QTest::addRow("no number") << "res://skribo/GIF/" << 0;
    QTest::addRow("sign") << "res://skribo/GIF/+5" << 0;
    QTest::addRow("query") << "res://skribo/GIF/5?x" << 0;
    QTest::addRow("other type") << "res://skribo/PNG/5" << 0;
  }
  void emoticonAddresses() {
    QFETCH(QString, url);
    QFETCH(int, number);
    QCOMPARE(skribo::EmoticonNumberOfUrl(url), number);
  }

  void scrollsToEitherEnd() {
    QVERIFY(Load(MakePage(NumberedLines(3000))));
    const QString atBottom = QStringLiteral(
        "window.scrollY > 0 && window.scrollY + window.innerHeight >= "
        "document.documentElement.scrollHeight - 1");
    View->ScrollToBottom();
    QTRY_VERIFY(Eval(*View, atBottom).toBool());
    View->ScrollToTop();
    QTRY_COMPARE(Eval(*View, QStringLiteral("window.scrollY")).toInt(), 0);
  }

  void findReportsMatches() {
    QVERIFY(Load(MakePage(Line(u"alpha Beta") + Line(u"alpha gamma") + Line(u"alpha"))));
    struct TCase {
      const char* Text;
      bool MatchCase;
      int Matches;
    };
    for (const TCase& c :
         {TCase{"alpha", false, 3}, TCase{"beta", false, 1}, TCase{"beta", true, 0},
          TCase{"Beta", true, 1}, TCase{"delta", false, 0}}) {
      THtmlView::TFindResult result;
      bool done = false;
      View->FindText(QString::fromLatin1(c.Text), false, c.MatchCase,
                     [&](const THtmlView::TFindResult& r) {
                       result = r;
                       done = true;
                     });
      QTRY_VERIFY2(done, c.Text);
      QCOMPARE(result.Found, c.Matches > 0);
      QCOMPARE(result.Matches, c.Matches);
    }
    // Find next goes on from the current match, in either direction.
    QList<int> active;
    for (bool backward : {false, false, false, true}) {
      bool done = false;
      View->FindText(QStringLiteral("alpha"), backward, false,
                     [&](const THtmlView::TFindResult& r) {
                       active << r.ActiveMatch;
                       done = true;
                     });
      QTRY_VERIFY(done);
    }
    QCOMPARE(active, (QList<int>{1, 2, 3, 2}));
  }

  void noContextMenu() {
    QVERIFY(Load(MakePage(Line(u"text"))));
    QCOMPARE(View->WebView()->contextMenuPolicy(), Qt::NoContextMenu);
    // Control: with a custom policy the right click does reach the menu request.
    View->WebView()->setContextMenuPolicy(Qt::CustomContextMenu);
    QSignalSpy requested(View->WebView(), &QWidget::customContextMenuRequested);
    QTest::mouseClick(KeyWidget(), Qt::RightButton, {}, QPoint(50, 10));
    QVERIFY(requested.wait(10000));
    View->WebView()->setContextMenuPolicy(Qt::NoContextMenu);
    QTest::mouseClick(KeyWidget(), Qt::RightButton, {}, QPoint(50, 10));
    Eval(*View, QStringLiteral("0"));
    QTest::qWait(500);
    for (QWidget* w : QApplication::topLevelWidgets())
      QVERIFY(!(qobject_cast<QMenu*>(w) && w->isVisible()));
    QCOMPARE(requested.count(), 1);
  }

  void linkClickStaysOnPage_data() {
    QTest::addColumn<QString>("id");
    QTest::addColumn<QUrl>("target");
    QTest::addRow("new window") << "blank" << QUrl("http://example.invalid/one");
    QTest::addRow("same window") << "plain" << QUrl("http://example.invalid/two");
    QTest::addRow("mail") << "mail" << QUrl("mailto:someone@example.invalid");
  }
  void linkClickStaysOnPage() {
    QFETCH(QString, id);
    QFETCH(QUrl, target);
    QList<QUrl> opened;
    View->SetLinkHandler([&](const QUrl& url) { opened << url; });
    QVERIFY(Load(MakePage(
        Line(u"<a id=\"blank\" href=\"http://example.invalid/one\" target=\"_blank\">one</a>") +
        Line(u"<a id=\"plain\" href=\"http://example.invalid/two\">two</a>") +
        Line(u"<a id=\"mail\" href=\"mailto:someone@example.invalid\">mail</a>"))));
    const QUrl page = View->Page()->url();
    QTest::mouseClick(KeyWidget(), Qt::LeftButton, {}, CentreOf(*View, id));
    QTRY_COMPARE(opened, (QList<QUrl>{target}));
    QCOMPARE(View->Page()->url(), page);
    QCOMPARE(Eval(*View, QStringLiteral("document.querySelectorAll('a').length")).toInt(), 3);
  }

  void keyHookAndEditing() {
    QVERIFY(Load(MakePage(NumberedLines(3000))));
    QList<int> seen;
    View->SetKeyHook([&](QKeyEvent& key) {
      if (key.type() == QEvent::KeyPress) seen << key.key();
      return key.key() != Qt::Key_End;
    });
    View->TakeFocus();
    QTRY_VERIFY(KeyWidget()->hasFocus());
    QTest::keyClick(KeyWidget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(KeyWidget(), Qt::Key_End);
    QCOMPARE(seen, (QList<int>{Qt::Key_Control, Qt::Key_A, Qt::Key_End}));
    // End went through and scrolled; the consumed Ctrl+A selected nothing.
    QTRY_VERIFY(Eval(*View, QStringLiteral("window.scrollY")).toInt() > 0);
    QCOMPARE(Eval(*View, QStringLiteral("getSelection().toString()")).toString(), QString());
    View->SelectAll();
    QTRY_VERIFY(View->Page()->selectedText().contains(QStringLiteral("line 3000")));
    QApplication::clipboard()->clear();
    View->Copy();
    QTRY_VERIFY(QApplication::clipboard()->text().contains(QStringLiteral("line 1 Zoë")));
  }

  void dropReportsFilesAndStays() {
    QVERIFY(Load(MakePage(Line(u"text"))));
    const QUrl page = View->Page()->url();
    QSignalSpy dropped(View.get(), &THtmlView::FilesDropped);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile("/tmp/a b.txt"), QUrl::fromLocalFile("/tmp/c.txt")});
    const QPointF at(50, 10);
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(KeyWidget(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(KeyWidget(), &drop);
    QCOMPARE(dropped.count(), 1);
    QCOMPARE(dropped[0][0].toStringList(), (QStringList{"/tmp/a b.txt", "/tmp/c.txt"}));
    Eval(*View, QStringLiteral("0"));
    QCOMPARE(View->Page()->url(), page);
  }

  void clearAbandonsLoad() {
    QSignalSpy completed(View.get(), &THtmlView::Completed);
    View->SetPage(MakePage(NumberedLines(40000)));
    View->Clear();
    QVERIFY(!View->IsComplete());
    QTRY_VERIFY_WITH_TIMEOUT(View->IsComplete(), LoadTimeoutMs);
    QCOMPARE(Eval(*View, QStringLiteral("document.querySelectorAll('div').length")).toInt(), 0);
    QCOMPARE(View->Page()->url(), QUrl("about:blank"));
    QVERIFY(Load(MakePage(Line(u"next"))));
    QCOMPARE(Eval(*View, QStringLiteral("document.body.textContent.trim()")).toString(),
             QStringLiteral("next"));
    // One report per finished document: the abandoned page never reported.
    QCOMPARE(completed.count(), 2);
  }
};

int main(int argc, char** argv) {
  // Nothing of the user's: configuration, caches and temporary files go to a fresh folder.
  std::string base = (std::filesystem::temp_directory_path() / "skribo-gui-XXXXXX").string();
  if (!::mkdtemp(base.data())) return 1;
  for (const char* name :
       {"XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR", "TMPDIR"}) {
    const std::filesystem::path folder = std::filesystem::path(base) / name;
    std::filesystem::create_directory(folder);
    std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
    ::setenv(name, folder.c_str(), 1);
  }
  skribo::PrepareWebEngine();
  int result = 0;
  {
    QApplication app(argc, argv);
    THtmlViewTest test;
    result = QTest::qExec(&test, argc, argv);
  }
  std::error_code ignored;
  std::filesystem::remove_all(base, ignored);
  return result;
}

#include "HtmlViewTest.moc"
