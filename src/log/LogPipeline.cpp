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
constexpr size_t BodyPieceUnits = 1 << 18;

// Appends "<div class="StyleN"> text </div>" and CR LF, with every pair of blanks of the block's
// text (its two framing blanks included) written as two no-break spaces, pairs taken left to
// right. The blanks keep the tags out of the first and last word, so the emoticon and link stages
// give the same result on the bare text as on the block.
void AppendBlock(std::u16string& body, int element, std::u16string_view text) {
  constexpr std::u16string_view Pair = u"&nbsp;&nbsp;";
  body.append(u"<div class=\"Style");
  if (element >= 10) body.push_back(u'1');
  body.push_back(static_cast<char16_t>(u'0' + element % 10));
  body.append(u"\">");
  if (text.empty()) {
    body.append(Pair).append(u"</div>\r\n");
    return;
  }
  if (text.front() == u' ') {
    body.append(Pair);
    text.remove_prefix(1);
  } else {
    body.push_back(u' ');
  }
  size_t from = 0;
  for (size_t p; (p = text.find(u"  ", from)) != std::u16string_view::npos; from = p + 2)
    body.append(text.substr(from, p - from)).append(Pair);
  std::u16string_view tail = text.substr(from);
  if (!tail.empty() && tail.back() == u' ') {
    body.append(tail.substr(0, tail.size() - 1)).append(Pair);
  } else {
    body.append(tail).push_back(u' ');
  }
  body.append(u"</div>\r\n");
}

int ElementOfDigit(char digit) {
  return digit <= '9' ? digit - '0' : digit - 'A' + 10;
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
    const bool plain = std::all_of(line.begin(), line.end(), [](char16_t c) {
      return c >= 256 || (c < 160 && c != u'&' && c != u'"' && c != u'<' && c != u'>');
    });
    if (!plain) line = EncodeEntities(line);
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
  std::u16string body;
  ConvertLinesToHtml(LoadLogLines(path), [&](std::u16string_view piece) { body.append(piece); });
  return body;
}

bool TLogProcessor::ConvertLogToHtml(const std::u16string& path, const TBodySink& sink) {
  return ConvertLinesToHtml(LoadLogLines(path), sink);
}

bool TLogProcessor::ConvertLogToPageUtf8(const std::u16string& path, const TPageSink& sink) {
  std::string buffer = EncodeUtf8(BuildStyleSheet(Options));
  const bool converted = ConvertLogToHtml(path, [&](std::u16string_view piece) {
    AppendUtf8(buffer, piece);
    sink(buffer);
    buffer.clear();
  });
  if (converted) sink(EncodeUtf8(BuildDocumentTail()));
  return converted;
}

std::u16string TLogProcessor::ConvertLogBytesToHtml(std::string_view fileBytes) {
  std::u16string body;
  ConvertLinesToHtml(SplitLogBytes(fileBytes),
                     [&](std::u16string_view piece) { body.append(piece); });
  return body;
}

bool TLogProcessor::ConvertLinesToHtml(TLines lines, const TBodySink& sink) {
  if (!IsLogText(lines)) {
    Host.ShowWarning(std::u16string(SInvalidLogFile));
    return false;
  }
  lines = PreprocessLog(std::move(lines));
  const TLineClasses classes = DetectLogFormat(lines);

  // The blocks themselves are written when the body is joined, at the end.
  SetStatusText(std::u16string(SProcessingLogApplyingFormat));
  if (!ReportProgress(0)) return false;
  if (!ReportProgress(50)) return false;

  if (Options.ShowEmoticons) {
    SetStatusText(std::u16string(SProcessingLogEmoticons));
    if (!ReportProgress(0)) return false;
    if (!ReplaceEmoticons(lines)) return false;
  }
  Host.SetProgressPosition(850);

  if (Options.ConvertURLsToLinks) {
    SetStatusText(std::u16string(SProcessingLogLinks));
    if (!ReportProgress(0)) return false;
    ConvertLinks(lines, u"_blank");
    if (!ReportProgress(100)) return false;
  }
  Host.SetProgressPosition(950);

  std::u16string piece;
  piece.reserve(BodyPieceUnits + 4096);
  for (size_t i = 0; i < lines.size(); ++i) {
    AppendBlock(piece, ElementOfDigit(classes[i]), lines[i]);
    std::u16string().swap(lines[i]);
    if (piece.size() >= BodyPieceUnits) {
      sink(piece);
      piece.clear();
    }
  }
  if (!piece.empty()) sink(piece);
  return true;
}

}  // namespace skribo
