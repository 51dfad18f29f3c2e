// skribo_screenshots LOG OUTDIR: shows LOG in the real main window and saves what the screen
// shows of it: empty, loading (with the progress bar), the log, and the find dialog over it.
#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "app/SkriboApplication.h"
#include "app/fMain.h"
#include "app/fSearch.h"
#include "common/TextCodec.h"
#include "platform/qt/WebEngineSetup.h"
#include "support/LogGenerator.h"

namespace fs = std::filesystem;
using namespace skribo;

namespace {

// The screen under the windows, their frames included.
void Save(const QList<QWidget*>& windows, const fs::path& file) {
  QRect area;
  for (QWidget* w : windows)
    area |= w->frameGeometry();
  QGuiApplication::primaryScreen()
      ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
      .save(QString::fromStdString(file.string()));
  std::printf("%s\n", file.c_str());
}

void Settle(int ms) {
  QTest::qWait(ms);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: skribo_screenshots LOG OUTDIR\n");
    return 2;
  }
  const fs::path log = fs::absolute(argv[1]), out = fs::absolute(argv[2]);
  const fs::path scratch = fs::temp_directory_path() / "skribo-screenshots";
  fs::remove_all(scratch);
  fs::create_directories(scratch / "program");
  ::setenv("XDG_CONFIG_HOME", (scratch / "config").c_str(), 1);
  fs::create_directories(out);
  // A big log, so that the loading picture has a moment to be taken.
  test::TLogGenOptions big;
  big.TargetBytes = 12 << 20;
  big.RealisticOnly = true;
  big.Encoding = test::TLogEncoding::Utf16LE;
  const fs::path bigLog = scratch / "2025 archive.txt";
  std::ofstream(bigLog, std::ios::binary) << test::GenerateLog(11, big);

  PrepareWebEngine();
  TSkriboApplication app(argc, argv);
  TfrmMain form(TProgramPaths::ForExecutable(DecodeUtf8((scratch / "program/skribo").string())),
                {});
  form.setGeometry(60, 60, 760, 520);
  Settle(1500);
  Save({&form}, out / "screenshot-empty.png");

  bool taken = false;
  QObject::connect(&form, &TfrmMain::StatusTextChanged, &form, [&](const QString& text) {
    if (taken || !text.contains(QStringLiteral("(applying options - emoticons)"))) return;
    taken = true;
    Settle(300);
    Save({&form}, out / "screenshot-loading.png");
  });
  form.OpenLogFile(QString::fromStdString(bigLog.string()));

  form.OpenLogFile(QString::fromStdString(log.string()));
  Settle(1500);
  Save({&form}, out / "screenshot-log.png");

  form.btnSearchClick();
  auto* search = form.findChild<TfrmSearch*>(QStringLiteral("frmSearch"));
  search->move(form.frameGeometry().right() - search->frameGeometry().width() - 30,
               form.frameGeometry().top() + 150);
  search->findChild<QLineEdit*>(QStringLiteral("edFind"))->setText(QStringLiteral("agenda"));
  bool found = false;
  QObject::connect(search, &TfrmSearch::SearchDone, &form, [&](bool) { found = true; });
  search->btnFindNextClick();
  if (!QTest::qWaitFor([&] { return found; }, 20000)) std::fprintf(stderr, "find: no answer\n");
  Settle(800);
  Save({&form, search}, out / "screenshot-find.png");
  return 0;
}
