// The stages of a load, their progress and their cancellation.
#include <algorithm>

#include "common/Misc.h"
#include "common/TextCodec.h"
#include "common/u_ResourceString.h"
#include "log/Emoticons.h"
#include "log/ProgressAccumulator.h"
#include "log/uLogProcess.h"

namespace skribo {

namespace {

constexpr int EmoticonRows = EmoticonImageCount;

void AppendNumber(std::u16string& out, int n) {
  for (char c : std::to_string(n))
    out.push_back(static_cast<char16_t>(c));
}

// "<div class="StyleN"> text </div>": the blanks keep the tags out of the first and last word.
void WrapLine(std::u16string& line, int element) {
  std::u16string block = u"<div class=\"Style";
  block.reserve(line.size() + 30);
  AppendNumber(block, element);
  block.append(u"\"> ").append(line).append(u" </div>");
  line = std::move(block);
}

void ReplaceDoubleBlanks(std::u16string& line) {
  size_t p = line.find(u"  ");
  if (p == std::u16string::npos) return;
  std::u16string out;
  out.reserve(line.size() + 16);
  size_t from = 0;
  for (; p != std::u16string::npos; p = line.find(u"  ", from)) {
    out.append(line, from, p - from).append(u"&nbsp;&nbsp;");
    from = p + 2;
  }
  out.append(line, from);
  line = std::move(out);
}

int ElementOfDigit(char16_t digit) {
  return digit <= u'9' ? digit - u'0' : digit - u'A' + 10;
}

}  // namespace

TLogProcessor::TLogProcessor(TPipelineHost& host, const TRecOptions& options)
    : Host(host), Options(options) {}

void TLogProcessor::SetStatusText(const std::u16string& stageFormat) {
  Host.SetStatusText(ReplaceText(stageFormat, u"%s", ExtractFileName(State.CurrentLogPath), 0));
}

bool TLogProcessor::ReportProgress(int delta) {
  Host.ProcessMessages();
  Host.StepProgress(delta);
  if (State.CancelLoad) {
    Host.ClearView();
    return false;
  }
  return true;
}

TLines TLogProcessor::PreprocessLog(TLines lines) {
  SetStatusText(std::u16string(SProcessingLogPreprocessing));
  if (!ReportProgress(0)) return {};
  JoinContinuationLines(lines);
  if (!ReportProgress(50)) return {};
  for (std::u16string& line : lines) {
    if (line.find_first_of(u"&\"<>") == std::u16string::npos &&
        std::none_of(line.begin(), line.end(), [](char16_t c) { return c >= 160 && c <= 255; }))
      continue;
    line = EncodeEntities(line);
  }
  if (!ReportProgress(50)) return {};
  return lines;
}

// The rows of the emoticon table pace the progress; each row's turn handles its share of lines.
bool TLogProcessor::ReplaceEmoticons(TLines& lines) {
  TEmoticonReplacer replacer(ProgramFileName);
  TProgressAccumulator progress(*this);
  const size_t n = lines.size();
  for (int row = 0; row < EmoticonRows; ++row) {
    if (!progress.Add(200.0L / 39.0L)) return false;
    const size_t from = n * row / EmoticonRows, to = n * (row + 1) / EmoticonRows;
    for (size_t i = from; i < to; ++i)
      replacer.ReplaceInLine(lines[i]);
  }
  return true;
}

void TLogProcessor::ConvertLinks(TLines& lines, std::u16string_view target) {
  for (std::u16string& line : lines)
    ConvertLinksInLine(line, target);
}

std::u16string TLogProcessor::ConvertLogToHtml(const std::u16string& path) {
  return ConvertLinesToHtml(LoadLogLines(path));
}

std::u16string TLogProcessor::ConvertLogBytesToHtml(std::string_view fileBytes) {
  return ConvertLinesToHtml(SplitLogText(DecodeText(fileBytes)));
}

std::u16string TLogProcessor::ConvertLinesToHtml(TLines lines) {
  if (!IsLogText(lines)) {
    Host.ShowWarning(std::u16string(SInvalidLogFile));
    return {};
  }
  lines = PreprocessLog(std::move(lines));
  const TLineClasses classes = DetectLogFormat(lines);

  SetStatusText(std::u16string(SProcessingLogApplyingFormat));
  if (!ReportProgress(0)) return {};
  for (size_t i = 0; i < lines.size(); ++i)
    WrapLine(lines[i], ElementOfDigit(classes[i]));
  if (!ReportProgress(50)) return {};

  if (Options.ShowEmoticons) {
    SetStatusText(std::u16string(SProcessingLogEmoticons));
    if (!ReportProgress(0)) return {};
    if (!ReplaceEmoticons(lines)) return {};
  }
  Host.SetProgressPosition(850);

  if (Options.ConvertURLsToLinks) {
    SetStatusText(std::u16string(SProcessingLogLinks));
    if (!ReportProgress(0)) return {};
    ConvertLinks(lines, u"_blank");
    if (!ReportProgress(100)) return {};
  }
  Host.SetProgressPosition(950);

  size_t size = 0;
  for (std::u16string& line : lines) {
    ReplaceDoubleBlanks(line);
    size += line.size() + 2;
  }
  std::u16string body;
  body.reserve(size);
  for (std::u16string& line : lines) {
    body.append(line).append(u"\r\n");
    std::u16string().swap(line);
  }
  return body;
}

}  // namespace skribo
