// skribo_view_bench METHOD PAGE [--find-near-end] [--timeout SECONDS]: hands the page PAGE to a
// log view in one of the ways below and prints, as one line of name=value pairs, the time until
// the view shows it, the processor time and memory of the view's processes, and optionally the
// time of a find of a text near the end of the page.
//   file            Qt WebEngine opening PAGE from its file:// address (for comparison)
//   scheme-hidden   THtmlView: from memory through the page scheme, drawn once loaded
//   scheme-visible  THtmlView: the same, drawn while it loads
//   document-write  THtmlView: document.write in pieces
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <QWebEngineFindTextResult>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include "ProcessTree.h"
#include "platform/qt/ResourceSchemeHandler.h"
#include "platform/qt/THtmlView.h"
#include "platform/qt/WebEngineSetup.h"

namespace {

using skribo::MeasureProcessTree;
using skribo::THtmlView;
using skribo::TProcessFigures;

// A text that occurs once in the page, on one of its last lines, so that a find from the top
// has to go through nearly the whole page.
QString TextNearEnd(const QByteArray& page) {
  qsizetype end = page.lastIndexOf("</div>");
  for (int line = 0; line < 2000 && end > 0; ++line) {
    const qsizetype start = page.lastIndexOf("<div", end);
    if (start < 0) break;
    const QByteArray html = page.mid(start, end - start);
    end = start - 1;
    QByteArray text;
    bool inTag = false;
    for (char c : html) {
      if (c == '<') inTag = true;
      text += inTag ? '|' : c;
      if (c == '>') inTag = false;
    }
    for (const QByteArray& run : text.replace("&nbsp;", "|").split('|')) {
      const QByteArray candidate = run.trimmed();
      if (candidate.size() < 12 || candidate.contains('&')) continue;
      if (page.indexOf(candidate) == page.lastIndexOf(candidate))
        return QString::fromUtf8(candidate);
    }
  }
  return {};
}

void ArmFrameProbe(QWebEnginePage* page) {
  page->runJavaScript(
      QStringLiteral("window.benchFrame = false; requestAnimationFrame(() => "
                     "requestAnimationFrame(() => { window.benchFrame = true; }));"),
      QWebEngineScript::ApplicationWorld);
}

void PollFrameProbe(QWebEnginePage* page, std::function<void()> drawn) {
  page->runJavaScript(QStringLiteral("window.benchFrame === true"),
                      QWebEngineScript::ApplicationWorld, [page, drawn](const QVariant& v) {
                        if (v.toBool())
                          drawn();
                        else
                          QTimer::singleShot(10, [page, drawn] { PollFrameProbe(page, drawn); });
                      });
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr,
                 "usage: skribo_view_bench file|scheme-hidden|scheme-visible|"
                 "document-write PAGE [--find-near-end] [--timeout SECONDS]\n");
    return 1;
  }
  const std::string method = argv[1];
  const QString path = QString::fromLocal8Bit(argv[2]);
  bool find = false;
  int timeoutSeconds = 1800;
  for (int i = 3; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--find-near-end") find = true;
    if (arg == "--timeout" && i + 1 < argc) timeoutSeconds = std::atoi(argv[++i]);
  }
  skribo::PrepareWebEngine();
  QApplication app(argc, argv);

  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "cannot read %s\n", argv[2]);
    return 1;
  }
  QByteArray bytes = file.readAll();
  const qsizetype pageBytes = bytes.size();
  const QString findText = find ? TextNearEnd(bytes) : QString();
  // The pipeline holds the page as UTF-16 text; the view's part starts with that text.
  std::u16string text;
  if (method != "file") text = QString::fromUtf8(bytes).toStdU16String();
  bytes = QByteArray();

  std::unique_ptr<THtmlView> view;
  std::unique_ptr<QWebEngineView> plain;
  std::unique_ptr<skribo::TResourceSchemeHandler> resources;
  QWebEnginePage* page = nullptr;
  QWidget* window = nullptr;
  if (method == "file") {
    resources = std::make_unique<skribo::TResourceSchemeHandler>();
    QWebEngineProfile::defaultProfile()->installUrlSchemeHandler(skribo::ResourceScheme,
                                                                 resources.get());
    plain = std::make_unique<QWebEngineView>();
    plain->settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
    page = plain->page();
    window = plain.get();
  } else {
    view = std::make_unique<THtmlView>();
    if (method == "scheme-hidden")
      view->SetHandOver(THtmlView::THandOver::SchemeHidden);
    else if (method == "scheme-visible")
      view->SetHandOver(THtmlView::THandOver::SchemeVisible);
    else if (method == "document-write")
      view->SetHandOver(THtmlView::THandOver::DocumentWrite);
    else {
      std::fprintf(stderr, "unknown method %s\n", method.c_str());
      return 1;
    }
    page = view->Page();
    window = view.get();
  }
  window->resize(1000, 700);
  window->show();

  QElapsedTimer clock;
  double cpuBefore = 0, shownMs = 0, cpuShown = 0, findMs = -1;
  TProcessFigures atShown;
  QString findOutcome = QStringLiteral("-");

  auto report = [&](const char* status) {
    std::printf(
        "method=%s bytes=%lld status=%s shown_ms=%.0f cpu_s=%.1f rss_mib=%.0f "
        "peak_sum_mib=%.0f processes=%d find_ms=%.0f find=%s find_text=\"%s\"\n",
        method.c_str(), static_cast<long long>(pageBytes), status, shownMs, cpuShown - cpuBefore,
        atShown.RssMiB, atShown.PeakMiB, atShown.Processes, findMs, qPrintable(findOutcome),
        qPrintable(findText));
    std::fflush(stdout);
  };
  bool wasShown = false;
  // A renderer that dies answers a pending find with nothing and reports its end just after;
  // the short delay lets that end be seen before the figures are taken as good.
  auto finish = [&] {
    QTimer::singleShot(200, &app, [&] {
      report("ok");
      QApplication::quit();
    });
  };
  auto shown = [&] {
    wasShown = true;
    shownMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    atShown = MeasureProcessTree();
    cpuShown = atShown.CpuSeconds;
    if (findText.isEmpty()) return finish();
    clock.restart();
    page->findText(findText, {}, [&](const QWebEngineFindTextResult& r) {
      findMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
      findOutcome = QStringLiteral("%1/%2").arg(r.activeMatch()).arg(r.numberOfMatches());
      finish();
    });
  };
  auto start = [&] {
    cpuBefore = MeasureProcessTree().CpuSeconds;
    clock.start();
    if (plain) {
      QObject::connect(page, &QWebEnginePage::loadFinished, [&](bool) {
        ArmFrameProbe(page);
        PollFrameProbe(page, shown);
      });
      plain->load(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
    } else {
      QObject::connect(view.get(), &THtmlView::Completed, [&](bool ok) {
        if (ok) shown();
      });
      view->SetPage(text);
      text = std::u16string();
    }
  };
  // Start once the empty view stands, so that start-up of WebEngine is not counted.
  if (plain) {
    plain->load(QUrl(QStringLiteral("about:blank")));
    QObject::connect(
        page, &QWebEnginePage::loadFinished, &app, [&] { QTimer::singleShot(500, start); },
        Qt::SingleShotConnection);
  } else {
    QTimer* wait = new QTimer(&app);
    QObject::connect(wait, &QTimer::timeout, [&, wait] {
      if (!view->IsComplete()) return;
      wait->stop();
      QTimer::singleShot(500, start);
    });
    wait->start(20);
  }
  // A renderer that dies never answers; say so instead of waiting for the time limit.
  QObject::connect(page, &QWebEnginePage::renderProcessTerminated,
                   [&](QWebEnginePage::RenderProcessTerminationStatus status, int exitCode) {
                     const std::string what =
                         std::string(wasShown ? "shown-then-renderer-ended-" : "renderer-ended-") +
                         std::to_string(static_cast<int>(status)) + "-" + std::to_string(exitCode);
                     if (findMs >= 0) findOutcome = QStringLiteral("lost");
                     if (shownMs == 0) shownMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
                     report(what.c_str());
                     std::_Exit(4);
                   });
  QTimer::singleShot(timeoutSeconds * 1000, [&] {
    if (shownMs == 0) shownMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    report("timeout");
    std::_Exit(3);
  });
  return app.exec();
}
