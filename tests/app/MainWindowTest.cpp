// The viewer's main window with its real log view under a virtual display: start-up, commands
// and hotkeys from both routes, drops, loads with their status and progress, placement.
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include <QAbstractButton>
#include <QCheckBox>
#include <QClipboard>
#include <QFileDialog>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <QWindow>

#include "ModalAnswerer.h"
#include "TestPaths.h"
#include "app/SkriboApplication.h"
#include "app/StatusBar.h"
#include "app/fMain.h"
#include "app/fSearch.h"
#include "common/TextCodec.h"
#include "controls/RynImgBtn.h"
#include "platform/IniFile.h"
#include "platform/Registry.h"
#include "platform/qt/THtmlView.h"
#include "platform/qt/WebEngineSetup.h"
#include "support/LogGenerator.h"
#include "support/RunProgram.h"
#include "support/TestFiles.h"

using namespace skribo;
namespace fs = std::filesystem;

namespace {

constexpr int LoadTimeoutMs = 120000;

std::u16string U(const fs::path& p) {
  return DecodeUtf8(p.string());
}
QString QPath(const fs::path& p) {
  return QString::fromStdString(p.string());
}
fs::path Fixture(const char* name) {
  return fs::path(SKRIBO_FIXTURES_DIR) / name;
}

QVariant Eval(THtmlView* view, const QString& script) {
  QVariant result;
  bool done = false;
  view->Page()->runJavaScript(script, QWebEngineScript::ApplicationWorld, [&](const QVariant& v) {
    result = v;
    done = true;
  });
  if (!QTest::qWaitFor([&] { return done; }, LoadTimeoutMs)) return {};
  return result;
}

// Clicks the button of a message dialog or check dialog by its object name.
void Press(QWidget* dialog, const char* name) {
  if (auto* button = dialog->findChild<QAbstractButton*>(QString::fromLatin1(name)))
    button->click();
  else if (auto* d = qobject_cast<QDialog*>(dialog))
    d->reject();
}

}  // namespace

class TMainWindowTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<test::TTempDir> Dir;
  fs::path Program;  // the program's folder, with the INI file beside the executable
  std::unique_ptr<TfrmMain> Form;

  TProgramPaths Paths() const { return TProgramPaths::ForExecutable(U(Program / "skribo")); }

  TfrmMain* Start(const QStringList& arguments = {}) {
    Form = std::make_unique<TfrmMain>(Paths(), arguments);
    if (!QTest::qWaitForWindowExposed(Form.get())) return nullptr;
    // No window manager activates windows under the virtual display.
    Form->activateWindow();
    if (!QTest::qWaitForWindowActive(Form.get())) return nullptr;
    return Form.get();
  }

  template <typename T>
  T* Child(const char* name) const {
    return Form->findChild<T*>(QString::fromLatin1(name));
  }
  THtmlView* View() const { return Child<THtmlView>("wbLog"); }
  TStatusBar* Status() const { return Child<TStatusBar>("sbStatus"); }
  QWidget* ViewKeys() const { return View()->WebView()->focusProxy(); }

  fs::path CopyFixture(const char* name, const std::string& as) {
    fs::copy_file(Fixture(name), Dir->Path / as, fs::copy_options::overwrite_existing);
    return Dir->Path / as;
  }

  // A log big enough that its load takes a while.
  fs::path BigLog(size_t bytes = 6 << 20) {
    const fs::path path = Dir->Path / "big.txt";
    if (fs::exists(path)) return path;
    test::TLogGenOptions options;
    options.TargetBytes = bytes;
    options.RealisticOnly = true;
    options.Encoding = test::TLogEncoding::Utf16LE;
    test::WriteBytes(path, test::GenerateLog(7, options));
    return path;
  }

  bool Open(const fs::path& path) {
    QSignalSpy opened(Form.get(), &TfrmMain::LogOpened);
    Form->OpenLogFile(QPath(path));
    return opened.count() == 1 && Form->LoadState().LastLoadTime >= 0;
  }

  void Key(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(target, key, modifiers);
  }

  void WriteIni(const std::string& lines) {
    std::ofstream(Program / "skribo.ini", std::ios::binary) << lines;
  }

 private slots:
  void init() {
    Dir = std::make_unique<test::TTempDir>();
    Program = Dir->Path / "program";
    fs::create_directories(Program);
    fs::remove_all(fs::path(std::getenv("XDG_CONFIG_HOME")) / "skribo");
  }

  void cleanup() {
    Form.reset();
    Dir.reset();
  }

  void startsEmptyWithTheHeaderInPlace() {
    QVERIFY(Start());
    QCOMPARE(Form->windowTitle(), QStringLiteral("Velmora Skribo"));
    QVERIFY(Status()->SimplePanel());
    QCOMPARE(Status()->SimpleText(), QString());
    QVERIFY(!Form->windowIcon().isNull());
    QCOMPARE(Child<QWidget>("pnlHeader")->height(), 40);
    Form->resize(567, 300);
    QTRY_COMPARE(Child<QWidget>("pnlHeader")->width(), 567);
    QCOMPARE(Child<QWidget>("imgTitle")->geometry(), QRect(0, 0, 265, 39));
    QCOMPARE(Child<QWidget>("imgGrayBg")->geometry(), QRect(265, 0, 301, 39));
    QCOMPARE(Child<QWidget>("btnOpen")->geometry(), QRect(366, 0, 39, 39));
    QCOMPARE(Child<QWidget>("btnSearch")->geometry(), QRect(414, 0, 38, 39));
    QCOMPARE(Child<QWidget>("btnOptions")->geometry(), QRect(462, 0, 41, 39));
    QCOMPARE(Child<QWidget>("btnAbout")->geometry(), QRect(510, 0, 55, 39));
    QCOMPARE(Status()->PanelWidth(0), Status()->width() - 205);
    QCOMPARE(Form->LoadState().LastLoadTime, -1);
  }

  void commandLineOpensTheFirstExistingFile() {
    const fs::path a = CopyFixture("conversations.txt", "a.txt");
    const fs::path b = CopyFixture("links.txt", "b.txt");
    fs::create_directories(Dir->Path / "folder.txt");
    test::TModalAnswerer answerer;
    QVERIFY(Start(
        {QPath(Dir->Path / "missing.txt"), QPath(Dir->Path / "folder.txt"), QPath(a), QPath(b)}));
    QCOMPARE(Form->CurrentLogFileName(), QPath(a));
    QVERIFY(Form->LoadState().LastLoadTime >= 0);
    QVERIFY(Status()->SimpleText().startsWith(QStringLiteral("Log loaded in ")));
    QVERIFY(answerer.Seen.isEmpty());
  }

  void commandLineWithoutFilesOpensNothing() {
    test::TModalAnswerer answerer;
    QVERIFY(Start({QPath(Dir->Path / "missing.txt"), QPath(Dir->Path)}));
    QCOMPARE(Form->CurrentLogFileName(), QString());
    QVERIFY(answerer.Seen.isEmpty());
    QCOMPARE(Status()->SimpleText(), QString());
  }

  void pageHandedToTheViewIsTheConvertersPage() {
    const fs::path log = CopyFixture("emoticons.txt", "emoticons.txt");
    WriteIni("[preferences]\r\nOpenGoTo=0\r\n");
    QVERIFY(Start());
    QByteArray handed;
    connect(View(), &THtmlView::PageHandedOver, this,
            [&](const QByteArray& bytes) { handed = bytes; });
    QVERIFY(Open(log));
    const test::TProgramResult converted = test::RunProgram(
        SKRIBO_CONVERT_EXE,
        {"--ini", (Program / "skribo.ini").string(), "--exe-name", "skribo", log.string()});
    QCOMPARE(converted.ExitCode, 0);
    QVERIFY(!handed.isEmpty());
    QCOMPARE(handed, QByteArray::fromStdString(converted.Out));
    // The images of the page resolve in the view.
    QTRY_COMPARE_WITH_TIMEOUT(
        Eval(View(), QStringLiteral("Array.from(document.images).every(i => i.naturalWidth == 19)"))
            .toBool(),
        true, LoadTimeoutMs);
  }

  void statusTextsAndProgressOfALoad() {
    const fs::path log = CopyFixture("conversations.txt", "chat.txt");
    QVERIFY(Start());
    QStringList texts;
    connect(Form.get(), &TfrmMain::StatusTextChanged, this,
            [&](const QString& text) { texts << text; });
    QVERIFY(Open(log));
    QCOMPARE(texts.size(), 9);
    const QStringList expected = {
        QStringLiteral("Loading log \"chat.txt\"..."),
        QStringLiteral("Processing log \"chat.txt\"..."),
        QStringLiteral("Processing log \"chat.txt\" (preprocessing)..."),
        QStringLiteral("Processing log \"chat.txt\" (detecting format)..."),
        QStringLiteral("Processing log \"chat.txt\" (applying format)..."),
        QStringLiteral("Processing log \"chat.txt\" (applying options - emoticons)..."),
        QStringLiteral("Processing log \"chat.txt\" (applying options - detecting links)..."),
        QStringLiteral("Processing log \"chat.txt\" (rendering)..."),
    };
    QCOMPARE(texts.mid(0, 8), expected);
    QCOMPARE(texts.at(8), QStringLiteral("Log loaded in %1ms").arg(Form->LoadState().LastLoadTime));
    QVERIFY(Status()->SimplePanel());
    QVERIFY(!Child<QProgressBar>("ProgressBar")->isVisible());
    QCOMPARE(Status()->SimpleText(), texts.at(8));
  }

  void progressBarFollowsPanelOneWhileResized() {
    const fs::path log = BigLog();
    QVERIFY(Start());
    auto* bar = Child<QProgressBar>("ProgressBar");
    QList<bool> placed;
    int sizes[] = {640, 900, 500};
    int next = 0;
    connect(Form.get(), &TfrmMain::StatusTextChanged, this, [&](const QString& text) {
      if (!text.contains(QStringLiteral("(")) || next >= 3) return;
      Form->resize(sizes[next++], 320);
      QTest::qWait(30);
      placed << (bar->isVisible() && bar->parentWidget() == Status() &&
                 bar->geometry() == Status()->PanelRect(1) &&
                 Status()->PanelWidth(0) == Status()->width() - 205 && !Status()->SimplePanel());
    });
    QVERIFY(Open(log));
    QCOMPARE(placed, (QList<bool>{true, true, true}));
    QCOMPARE(Status()->PanelWidth(0), Status()->width() - 205);
  }

  void escapeDuringALoadEmptiesTheView_data() {
    QTest::addColumn<QString>("stage");
    QTest::newRow("detecting format") << QStringLiteral("(detecting format)");
    QTest::newRow("emoticons") << QStringLiteral("(applying options - emoticons)");
    QTest::newRow("rendering") << QStringLiteral("(rendering)");
  }
  void escapeDuringALoadEmptiesTheView() {
    QFETCH(QString, stage);
    const fs::path small = CopyFixture("conversations.txt", "small.txt");
    const fs::path log = BigLog();
    QVERIFY(Start());
    QVERIFY(Open(small));
    bool pressed = false;
    QMetaObject::Connection watch =
        connect(Form.get(), &TfrmMain::StatusTextChanged, this, [&](const QString& text) {
          if (pressed || !text.contains(stage)) return;
          pressed = true;
          // Delivered through the event queue, as a key from the user arrives mid-load.
          QTimer::singleShot(0, Form.get(), [this] { Key(Form.get(), Qt::Key_Escape, {}); });
        });
    QStringList texts;
    connect(Form.get(), &TfrmMain::StatusTextChanged, this,
            [&](const QString& text) { texts << text; });
    QSignalSpy shown(Form.get(), &TfrmMain::PageShown);
    Form->OpenLogFile(QPath(log));
    disconnect(watch);
    QVERIFY(pressed);
    QCOMPARE(shown.count(), 0);
    QCOMPARE(Form->LoadState().LastLoadTime, -1);
    QVERIFY(!Form->LoadState().LoadInProgress);
    QCOMPARE(texts.last(), QString());
    QCOMPARE(Status()->SimpleText(), QString());
    QTRY_VERIFY_WITH_TIMEOUT(View()->IsComplete(), LoadTimeoutMs);
    QCOMPARE(View()->Page()->url(), QUrl(QStringLiteral("about:blank")));
    // The next load works as usual.
    QVERIFY(Open(small));
    QVERIFY(Status()->SimpleText().startsWith(QStringLiteral("Log loaded in ")));
  }

  void escapeWithoutALoadDoesNothing() {
    const fs::path log = CopyFixture("conversations.txt", "chat.txt");
    QVERIFY(Start());
    QVERIFY(Open(log));
    Key(ViewKeys(), Qt::Key_Escape, {});
    Key(Form.get(), Qt::Key_Escape, {});
    QVERIFY(!Form->LoadState().CancelLoad);
    QVERIFY(View()->Page()->url() != QUrl(QStringLiteral("about:blank")));
  }

  // Every row of the hotkey table from the view and from the window, and the keys that must do
  // nothing.
  void hotkeys_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("fromView");
    QTest::addColumn<QString>("effect");
    struct TRow {
      const char* Name;
      Qt::Key Key;
      Qt::KeyboardModifiers Modifiers;
      const char* Effect;
    } rows[] = {
        {"Ctrl+O", Qt::Key_O, Qt::ControlModifier, "open dialog"},
        {"Ctrl+Shift+O", Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier, "nothing"},
        {"Ctrl+Alt+O", Qt::Key_O, Qt::ControlModifier | Qt::AltModifier, "nothing"},
        {"Ctrl+F", Qt::Key_F, Qt::ControlModifier, "find dialog"},
        {"Ctrl+Shift+F", Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier, "nothing"},
        {"Ctrl+P", Qt::Key_P, Qt::ControlModifier, "nothing"},
        {"Ctrl+F1", Qt::Key_F1, Qt::ControlModifier, "nothing"},
        {"F1", Qt::Key_F1, Qt::NoModifier, "nothing"},
        {"F5", Qt::Key_F5, Qt::NoModifier, "reload"},
        {"Shift+F5", Qt::Key_F5, Qt::ShiftModifier, "nothing"},
        {"Ctrl+F5", Qt::Key_F5, Qt::ControlModifier, "nothing"},
        {"Ctrl+A", Qt::Key_A, Qt::ControlModifier, "select all"},
        {"Ctrl+E", Qt::Key_E, Qt::ControlModifier, "select all"},
        {"Ctrl+Shift+A", Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier, "nothing"},
        {"Alt+F4", Qt::Key_F4, Qt::AltModifier, "close"},
        {"Shift+Alt+F4", Qt::Key_F4, Qt::AltModifier | Qt::ShiftModifier, "close"},
        {"Ctrl+Alt+F4", Qt::Key_F4, Qt::AltModifier | Qt::ControlModifier, "close"},
        {"F4", Qt::Key_F4, Qt::NoModifier, "nothing"},
        {"Ctrl+Alt+A", Qt::Key_A, Qt::AltModifier | Qt::ControlModifier, "on top"},
        {"Ctrl+R", Qt::Key_R, Qt::ControlModifier, "nothing"},
    };
    for (const TRow& row : rows)
      for (bool fromView : {true, false})
        QTest::newRow((std::string(row.Name) + (fromView ? " view" : " window")).c_str())
            << int(row.Key) << int(row.Modifiers) << fromView << QString::fromLatin1(row.Effect);
  }
  void hotkeys() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, fromView);
    QFETCH(QString, effect);
    const fs::path log = CopyFixture("conversations.txt", "chat.txt");
    QVERIFY(Start());
    QVERIFY(Open(log));
    QSignalSpy opened(Form.get(), &TfrmMain::LogOpened);
    test::TModalAnswerer answerer;
    QWidget* target = fromView ? ViewKeys() : static_cast<QWidget*>(Form.get());
    if (fromView) QTRY_VERIFY(ViewKeys() && ViewKeys()->hasFocus());
    QTest::keyClick(target, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QTest::qWait(100);

    const bool openDialog = answerer.Seen.size() == 1 && answerer.Seen[0].startsWith("odOpen");
    auto* search = Child<TfrmSearch>("frmSearch");
    const bool findDialog = search && search->isVisible();
    const bool closed = !Form->isVisible();
    const bool reloaded = opened.count() == 1;
    const bool onTop =
        Form->windowHandle() && Form->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint);
    const bool selected =
        !closed &&
        Eval(View(), QStringLiteral("window.getSelection().toString().length")).toInt() > 100;
    QCOMPARE(openDialog, effect == "open dialog");
    QCOMPARE(findDialog, effect == "find dialog");
    QCOMPARE(closed, effect == "close");
    QCOMPARE(reloaded, effect == "reload");
    QCOMPARE(onTop, effect == "on top");
    QCOMPARE(selected, effect == "select all");
    if (effect != "open dialog") QCOMPARE(answerer.Seen, QStringList());
    if (effect == "on top") {
      TIniFile ini(U(Program / "skribo.ini"));
      QCOMPARE(ini.ReadString(u"preferences", u"AlwaysOnTop", u""), std::u16string(u"1"));
    }
  }

  void copyPutsTheSelectionOnTheClipboard() {
    const fs::path log = CopyFixture("conversations.txt", "chat.txt");
    QVERIFY(Start());
    QVERIFY(Open(log));
    QApplication::clipboard()->setText(QStringLiteral("before"));
    QTRY_VERIFY(ViewKeys()->hasFocus());
    Key(ViewKeys(), Qt::Key_A, Qt::ControlModifier);
    Key(ViewKeys(), Qt::Key_C, Qt::ControlModifier);
    const QString text =
        Eval(View(), QStringLiteral("document.body.innerText.trim().split('\\n')[0]")).toString();
    QVERIFY(!text.isEmpty());
    QTRY_VERIFY(QApplication::clipboard()->text().contains(text));
  }

  void navigationKeysScrollTheView() {
    const fs::path log = BigLog(300 << 10);
    WriteIni("[preferences]\r\nOpenGoTo=0\r\n");
    QVERIFY(Start());
    QVERIFY(Open(log));
    QTRY_VERIFY(ViewKeys()->hasFocus());
    auto scrollY = [&] { return Eval(View(), QStringLiteral("window.scrollY")).toInt(); };
    QCOMPARE(scrollY(), 0);
    Key(ViewKeys(), Qt::Key_End, {});
    QTRY_VERIFY(scrollY() > 1000);
    Key(ViewKeys(), Qt::Key_Home, {});
    QTRY_COMPARE(scrollY(), 0);
    Key(ViewKeys(), Qt::Key_PageDown, {});
    QTRY_VERIFY(scrollY() > 0);
  }

  void openGoToEndShowsTheLastLine() {
    const fs::path log = BigLog(300 << 10);
    WriteIni("[preferences]\r\nOpenGoTo=1\r\n");
    QVERIFY(Start());
    QVERIFY(Open(log));
    QTRY_VERIFY(Eval(View(), QStringLiteral("window.scrollY + window.innerHeight >= "
                                            "document.documentElement.scrollHeight - 2"))
                    .toBool());
  }

  void reloadOnlyAfterACompletedLoad() {
    const fs::path log = CopyFixture("conversations.txt", "chat.txt");
    const fs::path bad = CopyFixture("not-a-log.txt", "bad.txt");
    test::TModalAnswerer answerer;
    QVERIFY(Start());
    QSignalSpy opened(Form.get(), &TfrmMain::LogOpened);
    Key(Form.get(), Qt::Key_F5, {});
    QCOMPARE(opened.count(), 0);
    QVERIFY(Open(log));
    QStringList texts;
    connect(Form.get(), &TfrmMain::StatusTextChanged, this,
            [&](const QString& text) { texts << text; });
    Key(Form.get(), Qt::Key_F5, {});
    QCOMPARE(opened.count(), 2);
    QVERIFY(texts.last().startsWith(QStringLiteral("Log loaded in ")));
    QCOMPARE(Form->CurrentLogFileName(), QPath(log));
    // A failed load leaves F5 inert.
    Form->OpenLogFile(QPath(bad));
    QCOMPARE(answerer.Seen.size(), 1);
    QVERIFY(answerer.Seen[0].contains("not a valid Velmora log file"));
    QCOMPARE(Form->LoadState().LastLoadTime, -1);
    const int before = opened.count();
    Key(Form.get(), Qt::Key_F5, {});
    QCOMPARE(opened.count(), before);
    // So does a log that has gone from disk since it loaded.
    QVERIFY(Open(log));
    fs::remove(log);
    Key(Form.get(), Qt::Key_F5, {});
    QCOMPARE(opened.count(), before + 1);
  }

  void dropOpensTheFirstPathOnly() {
    const fs::path a = CopyFixture("conversations.txt", "a.txt");
    const fs::path b = CopyFixture("links.txt", "b.txt");
    const fs::path c = CopyFixture("links.txt", "c.txt");
    fs::create_directories(Dir->Path / "logs");
    test::TModalAnswerer answerer;
    QVERIFY(Start());
    QVERIFY(Open(b));
    auto drop = [&](const QList<QUrl>& urls) {
      QMimeData data;
      data.setUrls(urls);
      const QPoint at(60, 20);
      QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
      QApplication::sendEvent(ViewKeys(), &enter);
      QDropEvent dropEvent(at, Qt::CopyAction, &data, Qt::LeftButton, {});
      QApplication::sendEvent(ViewKeys(), &dropEvent);
    };
    drop({QUrl::fromLocalFile(QPath(a)), QUrl::fromLocalFile(QPath(b)),
          QUrl::fromLocalFile(QPath(c))});
    QCOMPARE(Form->CurrentLogFileName(), QPath(a));
    QVERIFY(Form->LoadState().LastLoadTime >= 0);
    QVERIFY(answerer.Seen.isEmpty());
    // A folder goes to the opening, which reports it as missing and keeps the log on view.
    const QString status = Status()->SimpleText();
    drop({QUrl::fromLocalFile(QPath(Dir->Path / "logs"))});
    QCOMPARE(answerer.Seen.size(), 1);
    QVERIFY(answerer.Seen[0].contains("The specified file does not exist."));
    QCOMPARE(Status()->SimpleText(), status);
    QVERIFY(View()->Page()->url().scheme() == QLatin1String(PageScheme) ||
            View()->Page()->url() != QUrl(QStringLiteral("about:blank")));
  }

  void encryptedLogsAreReportedAsNotYetOpened() {
    const fs::path log = CopyFixture("conversations.txt", "secret.PLE");
    test::TModalAnswerer answerer;
    QVERIFY(Start());
    Form->OpenLogFile(QPath(log));
    QCOMPARE(answerer.Seen.size(), 1);
    QVERIFY(answerer.Seen[0].contains("Encrypted logs"));
    QCOMPARE(Status()->SimpleText(), QString());
  }

  void unreadableLogShowsAnErrorAndGoesOn() {
    const fs::path log = Dir->Path / "log.txt";
    test::WriteBytes(log, ".\r\n");
    // The file turns into a folder after the existence check, so reading it fails.
    test::TModalAnswerer answerer([&](QWidget* modal) { Press(modal, "OK"); });
    QVERIFY(Start());
    bool swapped = false;
    QMetaObject::Connection swap =
        connect(Form.get(), &TfrmMain::StatusTextChanged, this, [&](const QString& text) {
          if (swapped || !text.startsWith(QStringLiteral("Loading log"))) return;
          swapped = true;
          fs::remove(log);
          fs::create_directory(log);
        });
    Form->OpenLogFile(QPath(log));
    disconnect(swap);
    QVERIFY(swapped);
    QCOMPARE(answerer.Seen.size(), 1);
    QVERIFY2(answerer.Seen[0].startsWith(QStringLiteral("ErrorBox")), qPrintable(answerer.Seen[0]));
    QVERIFY(Form->isVisible());
    QVERIFY(!Form->LoadState().LoadInProgress);
    QVERIFY(Status()->SimplePanel());
    QCOMPARE(Status()->SimpleText(), QString());
  }

  void brokenRegistryAtStartUpIsShownAndTheWindowComesUp() {
    // A hive file the store cannot parse: the settings checks of the start-up meet it.
    const fs::path hives = fs::path(std::getenv("XDG_CONFIG_HOME")) / "skribo" / "registry";
    fs::create_directories(hives);
    for (const char* hive : {"HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE"})
      test::WriteBytes(
          hives / (std::string(hive) + ".reg"),
          "Windows Registry Editor Version 5.00\r\n\r\n[" + std::string(hive) + "\\Software\r\n");
    test::TModalAnswerer answerer([&](QWidget* modal) { Press(modal, "OK"); });
    QVERIFY(Start());
    QVERIFY2(!answerer.Seen.isEmpty(), "the user is told");
    for (const QString& seen : answerer.Seen)
      QVERIFY2(seen.contains(QStringLiteral(".reg")), qPrintable(seen));
    QVERIFY(Form->isVisible());
    const fs::path log = CopyFixture("conversations.txt", "chat.txt");
    QVERIFY(Open(log));
  }

  void hintsInTheStatusBar() {
    const fs::path log = CopyFixture("conversations.txt", "chat.txt");
    QVERIFY(Start());
    auto enter = [](QWidget* w) {
      QEnterEvent event(QPointF(5, 5), QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)));
      QApplication::sendEvent(w, &event);
    };
    auto leave = [](QWidget* w) {
      QEvent event(QEvent::Leave);
      QApplication::sendEvent(w, &event);
    };
    // With nothing shown, leaving gives back the empty text.
    enter(Child<QWidget>("btnOpen"));
    QCOMPARE(Status()->SimpleText(), QStringLiteral("Open log"));
    leave(Child<QWidget>("btnOpen"));
    QCOMPARE(Status()->SimpleText(), QString());
    QVERIFY(Open(log));
    const QString loaded = Status()->SimpleText();
    QVERIFY(loaded.startsWith(QStringLiteral("Log loaded in ")));
    const std::pair<const char*, const char*> hints[] = {{"btnOpen", "Open log"},
                                                         {"btnSearch", "Search"},
                                                         {"btnOptions", "Options"},
                                                         {"btnAbout", "About"}};
    for (const auto& [name, hint] : hints) {
      enter(Child<QWidget>(name));
      QCOMPARE(Status()->SimpleText(), QString::fromLatin1(hint));
      leave(Child<QWidget>(name));
      QCOMPARE(Status()->SimpleText(), loaded);
    }
  }

  void searchFindsAndReportsMisses() {
    const fs::path log = CopyFixture("conversations.txt", "chat.txt");
    QVERIFY(Start());
    QVERIFY(Open(log));
    for (int round = 0; round < 2; ++round) {  // closed and opened again
      Form->btnSearchClick();
      auto* search = Child<TfrmSearch>("frmSearch");
      QVERIFY(search && search->isVisible());
      QVERIFY(!search->isModal());
      QVERIFY(!search->windowIcon().isNull());
      QSignalSpy done(search, &TfrmSearch::SearchDone);
      search->findChild<QLineEdit*>("edFind")->setText(QStringLiteral("Bob"));
      search->btnFindNextClick();
      QVERIFY(done.wait(LoadTimeoutMs));
      QCOMPARE(done.last().at(0).toBool(), true);
      test::TModalAnswerer answerer;
      search->findChild<QLineEdit*>("edFind")->setText(QStringLiteral("no such words here"));
      search->btnFindNextClick();
      QTRY_COMPARE_WITH_TIMEOUT(answerer.Seen.size(), 1, LoadTimeoutMs);
      QTRY_COMPARE_WITH_TIMEOUT(done.count(), 2, LoadTimeoutMs);
      QCOMPARE(done.last().at(0).toBool(), false);
      QVERIFY(answerer.Seen[0].contains("Cannot find \"no such words here\"."));
      search->close();
      QTRY_VERIFY(!Child<TfrmSearch>("frmSearch"));
    }
  }

  void searchDuringALoad() {
    const fs::path log = BigLog();
    QVERIFY(Start());
    bool searched = false;
    QMetaObject::Connection during =
        connect(Form.get(), &TfrmMain::StatusTextChanged, this, [&](const QString& text) {
          if (searched || !text.contains(QStringLiteral("(detecting format)"))) return;
          searched = true;
          Form->btnSearchClick();
          auto* search = Child<TfrmSearch>("frmSearch");
          search->findChild<QLineEdit*>("edFind")->setText(QStringLiteral("zzzz-not-there"));
          search->btnFindNextClick();
        });
    test::TModalAnswerer answerer;
    QVERIFY(Open(log));
    disconnect(during);
    QVERIFY(searched);
    auto* search = Child<TfrmSearch>("frmSearch");
    QVERIFY(search);
    QSignalSpy done(search, &TfrmSearch::SearchDone);
    search->findChild<QLineEdit*>("edFind")->setText(QStringLiteral("Subject"));
    QTRY_VERIFY_WITH_TIMEOUT(search->findChild<QAbstractButton*>("btnFindNext")->isEnabled(),
                             LoadTimeoutMs);
    search->btnFindNextClick();
    QVERIFY(done.wait(LoadTimeoutMs));
  }

  void shiftOpenStartsASecondInstance() {
    // The "program" records its arguments, so the test sees what a second instance would get.
    const fs::path record = Dir->Path / "args.txt";
    const fs::path exe = Program / "skribo";
    {
      std::ofstream script(exe);
      script << "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" << record.string()
             << "'\n";
    }
    fs::permissions(exe, fs::perms::owner_all);
    fs::create_directories(Dir->Path / "my \"logs\"");
    const fs::path log = Dir->Path / "my \"logs\"" / "a b.txt";
    fs::copy_file(Fixture("conversations.txt"), log);
    QVERIFY(Start());
    test::TModalAnswerer answerer([&](QWidget* modal) {
      if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
        dialog->selectFile(QPath(log));
        QMetaObject::invokeMethod(dialog, "accept");
      }
    });
    QSignalSpy opened(Form.get(), &TfrmMain::LogOpened);
    QTest::mouseClick(Child<QWidget>("btnOpen"), Qt::LeftButton, Qt::ShiftModifier);
    QTRY_VERIFY_WITH_TIMEOUT(fs::exists(record) && fs::file_size(record) > 0, 10000);
    QCOMPARE(test::ReadBytes(record), log.string() + "\n");
    QCOMPARE(opened.count(), 0);
    QCOMPARE(Form->CurrentLogFileName(), QString());
    // Without Shift the same choice opens here.
    QTest::mouseClick(Child<QWidget>("btnOpen"), Qt::LeftButton);
    QTRY_COMPARE(opened.count(), 1);
    QCOMPARE(Form->CurrentLogFileName(), QPath(log));
  }

  void closingDeletesTheTemporaryCopies() {
    fs::create_directories(Program / "sub");
    for (const char* name : {"a.tmp", "B.TMP", "a.tmpx", "a.tmp.txt", "sub/c.tmp"})
      test::WriteBytes(Program / name, "x");
    QVERIFY(Start());
    Form->close();
    for (const char* gone : {"a.tmp", "B.TMP"})
      QVERIFY(!fs::exists(Program / gone));
    for (const char* kept : {"a.tmpx", "a.tmp.txt", "sub/c.tmp"})
      QVERIFY(fs::exists(Program / kept));
  }

  void placementIsSavedAndRestored() {
    QVERIFY(Start());
    Form->setGeometry(40, 50, 600, 400);
    QTRY_COMPARE(Form->geometry(), QRect(40, 50, 600, 400));
    Form->close();
    Form.reset();
    TIniFile ini(U(Program / "skribo.ini"));
    QCOMPARE(ini.ReadString(u"position", u"WinState", u""), std::u16string(u"0"));
    QVERIFY(Start());
    QCOMPARE(Form->geometry(), QRect(40, 50, 600, 400));
    QVERIFY(!Form->isMaximized());
    Form->showMaximized();
    QTRY_VERIFY(Form->isMaximized());
    Form->close();
    Form.reset();
    QVERIFY(Start());
    QVERIFY(Form->isMaximized());
    Form->showNormal();
    QTRY_COMPARE(Form->geometry(), QRect(40, 50, 600, 400));
  }

  void truncationQuestionAtStartUp_data() {
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("remember");
    QTest::addColumn<int>("switchAfter");
    QTest::newRow("yes") << "Yes" << false << 0;
    QTest::newRow("no, remembered") << "No" << true << 1;
  }
  void truncationQuestionAtStartUp() {
    QFETCH(QString, answer);
    QFETCH(bool, remember);
    QFETCH(int, switchAfter);
    const std::u16string prefs = u"Software\\Dravik\\Velmora2\\Ann\\Preferences";
    {
      TRegistry reg(THive::CurrentUser);
      QVERIFY(reg.OpenKey(prefs, true));
      reg.WriteInteger(u"LogNameShort", 1);
    }
    test::TModalAnswerer answerer([&](QWidget* modal) {
      if (remember) modal->findChild<QCheckBox*>("DontAskCheck")->setChecked(true);
      Press(modal, answer.toLatin1().constData());
    });
    QVERIFY(Start());
    QCOMPARE(answerer.Seen.size(), 1);
    TRegistry reg(THive::CurrentUser);
    QVERIFY(reg.OpenKeyReadOnly(prefs));
    QCOMPARE(reg.ReadInteger(u"LogNameShort"), switchAfter);
    TIniFile ini(U(Program / "skribo.ini"));
    QCOMPARE(ini.ReadString(u"preferences", u"DontShowWarning", u"absent"),
             remember ? std::u16string(u"2") : std::u16string(u"0"));
  }
};

int main(int argc, char** argv) {
  // Nothing of the user's: configuration, caches and temporary files go to a fresh folder.
  std::string base = (fs::temp_directory_path() / "skribo-app-XXXXXX").string();
  if (!::mkdtemp(base.data())) return 1;
  for (const char* name :
       {"XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR", "TMPDIR"}) {
    const fs::path folder = fs::path(base) / name;
    fs::create_directory(folder);
    fs::permissions(folder, fs::perms::owner_all);
    ::setenv(name, folder.c_str(), 1);
  }
  PrepareWebEngine();
  int result = 0;
  {
    TSkriboApplication app(argc, argv);
    TMainWindowTest test;
    result = QTest::qExec(&test, argc, argv);
  }
  std::error_code ignored;
  fs::remove_all(base, ignored);
  return result;
}

#include "MainWindowTest.moc"
