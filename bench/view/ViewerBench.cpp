// skribo_viewer_bench viewer LOG [--find-near-end] [--timeout SECONDS]: opens the log LOG in the
// viewer's main window the way the open command does and prints, as one line of name=value pairs
// like skribo_view_bench, the time from OpenLogFile until the page is shown (converting the log
// included), the processor time and memory of the program's processes, and optionally the time of
// a search through the find dialog for a text near the end of the log. Message boxes are answered
// at once and their texts reported; a load that ends without its page is reported as failed.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QStringDecoder>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEnginePage>

#include "ProcessTree.h"
#include "app/fMain.h"
#include "app/fSearch.h"
#include "platform/qt/THtmlView.h"
#include "platform/qt/WebEngineSetup.h"

namespace {

using skribo::MeasureProcessTree;
using skribo::TProcessFigures;

// The log's text, decoded the way its byte order mark (or the zero bytes of UTF-16 without one)
// says; the search only needs its words.
QString DecodeLog(const QByteArray& bytes) {
  auto encoding = QStringConverter::encodingForData(bytes);
  if (!encoding) {
    const bool utf16le = bytes.size() > 1 && bytes[0] != 0 && bytes[1] == 0;
    encoding = utf16le ? QStringConverter::Utf16LE : QStringConverter::Utf8;
  }
  QStringDecoder decoder(*encoding);
  return decoder(bytes);
}

// Letters and single spaces only: such a run is shown as the very same text, whereas marks,
// addresses and smileys may be turned into links or images.
bool IsPlainWords(QStringView run) {
  for (qsizetype i = 0; i < run.size(); ++i) {
    const QChar c = run[i];
    if (c == u' ' ? i > 0 && run[i - 1] == u' ' : !c.isLetter()) return false;
  }
  return true;
}

// A text that occurs once in the log, on one of its last lines, so that a search from the top
// has to go through nearly the whole page.
QString TextNearEnd(const QString& log) {
  qsizetype end = log.size();
  for (int line = 0; line < 2000 && end > 0; ++line) {
    const qsizetype start = log.lastIndexOf(u'\n', end - 1) + 1;
    const QStringView text = QStringView(log).mid(start, end - start);
    end = start - 1;
    qsizetype runStart = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
      if (i < text.size() && (text[i].isLetter() || text[i] == u' ')) continue;
      const QString candidate = text.mid(runStart, i - runStart).trimmed().toString();
      runStart = i + 1;
      if (candidate.size() < 12 || !IsPlainWords(candidate)) continue;
      if (log.indexOf(candidate) == log.lastIndexOf(candidate)) return candidate;
    }
  }
  return {};
}

// The text of a box: the message of the program's own message dialogs, else the dialog's title.
QString BoxText(QWidget* box) {
  if (auto* message = box->findChild<QLabel*>(QStringLiteral("Message")))
    return message->text().simplified();
  return box->windowTitle();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3 || std::string(argv[1]) != "viewer") {
    std::fprintf(stderr,
                 "usage: skribo_viewer_bench viewer LOG [--find-near-end] "
                 "[--timeout SECONDS]\n");
    return 1;
  }
  const QString logPath = QFileInfo(QString::fromLocal8Bit(argv[2])).absoluteFilePath();
  bool find = false;
  int timeoutSeconds = 1800;
  for (int i = 3; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--find-near-end") find = true;
    if (arg == "--timeout" && i + 1 < argc) timeoutSeconds = std::atoi(argv[++i]);
  }
  skribo::PrepareWebEngine();
  QApplication app(argc, argv);

  qint64 logBytes = 0;
  QString findText;
  {
    QFile file(logPath);
    if (!file.open(QIODevice::ReadOnly)) {
      std::fprintf(stderr, "cannot read %s\n", argv[2]);
      return 1;
    }
    logBytes = file.size();
    if (find) findText = TextNearEnd(DecodeLog(file.readAll()));
  }

  // The options file and the temporary log copies live beside the executable.
  QTemporaryDir home;
  if (!home.isValid()) {
    std::fprintf(stderr, "cannot make a scratch folder\n");
    return 1;
  }
  const skribo::TProgramPaths paths = skribo::TProgramPaths::ForExecutable(
      home.filePath(QStringLiteral("skribo")).toStdU16String());

  QElapsedTimer clock;
  double cpuBefore = 0, handOverMs = -1, shownMs = 0, cpuShown = 0, findMs = -1;
  qint64 pageBytes = 0;
  TProcessFigures atShown;
  bool wasShown = false, opening = false;
  QString findOutcome = QStringLiteral("-"), renderer = QStringLiteral("-");
  QStringList boxes;
  // The longest time the window handled no events during the load: a timer that should fire
  // every 10 ms notes the widest gap between its ticks.
  QTimer stallProbe;
  QElapsedTimer sinceTick;
  double longestStallMs = 0;
  QObject::connect(&stallProbe, &QTimer::timeout, [&] {
    if (opening)
      longestStallMs =
          std::max(longestStallMs, static_cast<double>(sinceTick.nsecsElapsed()) / 1e6);
    sinceTick.restart();
  });

  auto report = [&](const char* status) {
    QString boxText = boxes.join(QStringLiteral(" | "));
    boxText.replace(u'"', u'\'');
    std::printf(
        "method=viewer bytes=%lld status=%s shown_ms=%.0f cpu_s=%.1f rss_mib=%.0f "
        "peak_sum_mib=%.0f processes=%d find_ms=%.0f find=%s handover_ms=%.0f page_bytes=%lld "
        "renderer=%s longest_stall_ms=%.0f find_text=\"%s\" box=\"%s\"\n",
        static_cast<long long>(logBytes), status, shownMs, cpuShown - cpuBefore, atShown.RssMiB,
        atShown.PeakMiB, atShown.Processes, findMs, qPrintable(findOutcome), handOverMs,
        static_cast<long long>(pageBytes), qPrintable(renderer), longestStallMs,
        qPrintable(findText), qPrintable(boxText));
    std::fflush(stdout);
  };

  // Every box the load or the search puts up is noted and answered, so that nothing waits for a
  // person; a box counts against the run.
  QTimer boxCloser;
  QObject::connect(&boxCloser, &QTimer::timeout, [&] {
    QWidget* box = QApplication::activeModalWidget();
    if (!box) return;
    boxes << BoxText(box);
    if (auto* dialog = qobject_cast<QDialog*>(box))
      dialog->reject();
    else
      box->close();
  });
  boxCloser.start(50);

  auto frmMain = std::make_unique<skribo::TfrmMain>(paths, QStringList());
  // The same view size as skribo_view_bench: 1000 x 700 below the header and above the status bar.
  auto* wbLog = frmMain->findChild<skribo::THtmlView*>(QStringLiteral("wbLog"));
  if (!wbLog) {
    std::fprintf(stderr, "the main window has no log view\n");
    return 1;
  }
  frmMain->resize(1000, 700 + frmMain->height() - wbLog->height());

  QObject::connect(wbLog, &skribo::THtmlView::PageHandedOver, [&](const QByteArray& utf8) {
    if (!opening) return;
    handOverMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    pageBytes = utf8.size();
  });
  QObject::connect(frmMain.get(), &skribo::TfrmMain::PageShown, [&] {
    if (!opening) return;
    wasShown = true;
    shownMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    atShown = MeasureProcessTree();
    cpuShown = atShown.CpuSeconds;
  });
  // A renderer that dies while the page loads makes the load fail with its box; one that dies
  // during the search may never answer it, so the figures are reported right away.
  QObject::connect(wbLog->Page(), &QWebEnginePage::renderProcessTerminated,
                   [&](QWebEnginePage::RenderProcessTerminationStatus status, int exitCode) {
                     renderer =
                         QStringLiteral("ended-%1-%2").arg(static_cast<int>(status)).arg(exitCode);
                     if (findMs >= 0 || !wasShown) return;
                     findOutcome = QStringLiteral("lost");
                     report("shown-then-renderer-ended");
                     std::_Exit(4);
                   });

  auto search = [&] {
    frmMain->btnSearchClick();
    auto* frmSearch = frmMain->findChild<skribo::TfrmSearch*>(QStringLiteral("frmSearch"));
    auto* edFind = frmSearch ? frmSearch->findChild<QLineEdit*>(QStringLiteral("edFind")) : nullptr;
    if (!edFind) {
      findOutcome = QStringLiteral("no-dialog");
      report("failed");
      return QApplication::exit(2);
    }
    edFind->setText(findText);
    QObject::connect(frmSearch, &skribo::TfrmSearch::SearchDone, [&](bool found) {
      findMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
      findOutcome = found ? QStringLiteral("found") : QStringLiteral("not-found");
      // A renderer that dies answers a pending search with nothing and reports its end just
      // after; the short delay lets that end be seen before the figures are taken as good.
      QTimer::singleShot(200, &app, [&, found] {
        report(renderer == u'-' ? "ok" : "failed");
        QApplication::exit(found ? 0 : 2);
      });
    });
    clock.restart();
    frmSearch->btnFindNextClick();
  };

  auto start = [&] {
    cpuBefore = MeasureProcessTree().CpuSeconds;
    opening = true;
    sinceTick.start();
    stallProbe.start(10);
    clock.start();
    // The whole load runs inside this call; PageShown comes before it returns.
    frmMain->OpenLogFile(logPath);
    opening = false;
    stallProbe.stop();
    if (!wasShown) {
      shownMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
      atShown = MeasureProcessTree();
      cpuShown = atShown.CpuSeconds;
      report("failed");
      return QApplication::exit(2);
    }
    if (!boxes.isEmpty() || renderer != u'-') {
      report("failed");
      return QApplication::exit(2);
    }
    if (!find) {
      QTimer::singleShot(200, &app, [&] {
        report(renderer == u'-' ? "ok" : "failed");
        QApplication::exit(0);
      });
      return;
    }
    if (findText.isEmpty()) {
      findOutcome = QStringLiteral("no-text");
      report("failed");
      return QApplication::exit(2);
    }
    search();
  };

  // Start once the empty view stands, so that start-up of WebEngine is not counted.
  QTimer wait;
  QObject::connect(&wait, &QTimer::timeout, [&] {
    if (!wbLog->IsComplete()) return;
    wait.stop();
    QTimer::singleShot(500, &app, start);
  });
  wait.start(20);

  QTimer::singleShot(timeoutSeconds * 1000, &app, [&] {
    if (shownMs == 0) shownMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    report("timeout");
    std::_Exit(3);
  });
  const int result = app.exec();
  boxCloser.stop();
  frmMain.reset();
  return result;
}
