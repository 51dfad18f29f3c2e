// Stage texts, progress positions and cancellation of a load, seen through a recording window.
#include <gtest/gtest.h>

#include "TestPaths.h"
#include "common/TextCodec.h"
#include "log/uLogProcess.h"
#include "support/FakePipelineHost.h"
#include "support/TestFiles.h"

namespace skribo {
namespace {

using THost = test::TFakePipelineHost;
using TEvent = THost::TEvent;

const std::u16string Log = DecodeUtf8(std::string(SKRIBO_FIXTURES_DIR) + "/emoticons.txt");

std::u16string Stage(const char16_t* suffix) {
  return std::u16string(u"Processing log \"emoticons.txt\"") + suffix + u"...";
}

struct TRun {
  THost Host;
  std::u16string Body;
};

void Convert(TRun& run, const TRecOptions& options, const std::u16string& path = Log) {
  TLogProcessor processor(run.Host, options);
  processor.State.CurrentLogPath = path;
  run.Body = processor.ConvertLogToHtml(path);
}

// The bar position at the moment each stage text appeared, and where it ended.
std::vector<std::pair<std::u16string, int>> StageStarts(const THost& host) {
  std::vector<std::pair<std::u16string, int>> starts;
  for (const TEvent& e : host.Events)
    if (e.Kind == TEvent::Status) starts.emplace_back(e.Text, e.Value);
  return starts;
}

TEST(Pipeline, StagesAnnounceThemselvesAndFillTheirSlices) {
  TRun run;
  Convert(run, DefaultOptions());
  EXPECT_FALSE(run.Body.empty());
  const std::vector<std::pair<std::u16string, int>> expected = {
      {Stage(u" (preprocessing)"), 0},
      {Stage(u" (detecting format)"), 100},
      {Stage(u" (applying format)"), 400},
      {Stage(u" (applying options - emoticons)"), 450},
      {Stage(u" (applying options - detecting links)"), 850},
  };
  EXPECT_EQ(StageStarts(run.Host), expected);
  EXPECT_EQ(run.Host.Bar, 950);
  EXPECT_EQ(run.Host.Clears, 0);

  // 79 rows of 200/39 add up to 405 units: the bar overshoots to 855 before it is set to 850.
  int beforeSet = 0;
  for (size_t i = 1; i < run.Host.Events.size(); ++i)
    if (run.Host.Events[i].Kind == TEvent::Position && run.Host.Events[i].Value == 850)
      beforeSet = run.Host.Events[i - 1].Value;
  EXPECT_EQ(beforeSet, 855);
}

TEST(Pipeline, DetectionPumpsAtMostOncePerUnit) {
  test::TTempDir dir;
  std::string log = ".--------------------------------------------------------------------.\r\n";
  for (int i = 0; i < 5000; ++i)
    log += "[00:00:00] Nobody: line\r\n";
  test::WriteBytes(dir.Path / "big.txt", log);
  TRun run;
  TRecOptions options = DefaultOptions();
  options.ShowEmoticons = options.ConvertURLsToLinks = false;
  Convert(run, options, DecodeUtf8((dir.Path / "big.txt").string()));
  int pumps = 0, last = 0;
  bool inDetection = false;
  for (const TEvent& e : run.Host.Events) {
    if (e.Kind == TEvent::Status)
      inDetection = e.Text.find(u"detecting format") != std::u16string::npos;
    if (inDetection && e.Kind == TEvent::Pump) ++pumps;
    if (inDetection && e.Kind == TEvent::Step) last = e.Value;
  }
  EXPECT_LE(pumps, 301);
  EXPECT_GE(pumps, 299);
  EXPECT_GE(last, 399);  // the share of 300 was spread over the lines
}

TEST(Pipeline, StagesThatAreOffOnlyMoveTheBar) {
  TRecOptions options = DefaultOptions();
  options.ShowEmoticons = false;
  options.ConvertURLsToLinks = false;
  TRun run;
  Convert(run, options);
  std::vector<int> positions;
  for (const TEvent& e : run.Host.Events)
    if (e.Kind == TEvent::Position) positions.push_back(e.Value);
  EXPECT_EQ(positions, (std::vector<int>{400, 850, 950}));
  EXPECT_EQ(StageStarts(run.Host).back().first, Stage(u" (applying format)"));
  EXPECT_NE(run.Body.find(u":-)"), std::u16string::npos);
  EXPECT_EQ(run.Body.find(u"<img"), std::u16string::npos);
}

// A cancel requested while a stage pumps messages stops the load at its next progress report;
// the later stages still announce themselves until their first report sees the flag.
TEST(Pipeline, CancelUnwindsEveryStage) {
  struct TCase {
    const char16_t* CancelIn;
    std::vector<const char16_t*> Stages;
  } cases[] = {
      {u"(preprocessing)", {u" (preprocessing)", u" (detecting format)", u" (applying format)"}},
      {u"(detecting format)", {u" (preprocessing)", u" (detecting format)", u" (applying format)"}},
      {u"(applying format)", {u" (preprocessing)", u" (detecting format)", u" (applying format)"}},
      {u"- emoticons)",
       {u" (preprocessing)", u" (detecting format)", u" (applying format)",
        u" (applying options - emoticons)"}},
      {u"detecting links)",
       {u" (preprocessing)", u" (detecting format)", u" (applying format)",
        u" (applying options - emoticons)", u" (applying options - detecting links)"}},
  };
  for (const TCase& c : cases) {
    THost host;
    TLogProcessor processor(host, DefaultOptions());
    processor.State.CurrentLogPath = Log;
    host.OnPump = [&](THost& h) {
      const std::vector<std::u16string> texts = h.StatusTexts();
      if (!texts.empty() && texts.back().find(c.CancelIn) != std::u16string::npos)
        processor.State.CancelLoad = true;
    };
    EXPECT_EQ(processor.ConvertLogToHtml(Log), u"");
    std::vector<std::u16string> expected;
    for (const char16_t* s : c.Stages)
      expected.push_back(Stage(s));
    EXPECT_EQ(host.StatusTexts(), expected);
    EXPECT_GE(host.Clears, 1);
    EXPECT_TRUE(host.Warnings.empty());
  }
}

TEST(Pipeline, FilesThatAreNotLogsGiveTheWarningAndNoStages) {
  test::TTempDir dir;
  const std::pair<const char*, std::string> files[] = {
      {"empty.txt", ""},
      {"blank-first.txt", "\r\n.---"},
      {"space-first.txt", " .---"},
      {"nul-first.txt", std::string("\0.", 2)},
      {"bom-only.txt", "\xFF\xFE"},
      {"odd.txt", std::string("\xFF\xFE.", 3)},
  };
  for (const auto& [name, bytes] : files) {
    test::WriteBytes(dir.Path / name, bytes);
    TRun run;
    Convert(run, DefaultOptions(), DecodeUtf8((dir.Path / name).string()));
    EXPECT_EQ(run.Body, u"") << name;
    EXPECT_EQ(run.Host.Warnings,
              std::vector<std::u16string>{
                  u"The specified file is not a valid Velmora log file or has a wrong format."})
        << name;
    EXPECT_TRUE(run.Host.StatusTexts().empty()) << name;
  }
  // A byte-order mark before the full stop still makes a log.
  test::WriteBytes(dir.Path / "bom.txt", "\xEF\xBB\xBF.");
  TRun run;
  Convert(run, DefaultOptions(), DecodeUtf8((dir.Path / "bom.txt").string()));
  EXPECT_EQ(run.Body, u"<div class=\"Style1\"> . </div>\r\n");
}

TEST(Pipeline, UnreadableFilesRaiseAnOpenError) {
  test::TTempDir dir;
  for (const std::filesystem::path& path : {dir.Path / "missing.txt", dir.Path}) {
    TRun run;
    EXPECT_THROW(Convert(run, DefaultOptions(), DecodeUtf8(path.string())), TFileOpenError);
  }
}

}  // namespace
}  // namespace skribo
