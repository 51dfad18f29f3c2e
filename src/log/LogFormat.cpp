#include "log/LogFormat.h"

#include "common/Misc.h"
#include "common/u_ResourceString.h"
#include "log/ProgressAccumulator.h"
#include "log/uLogProcess.h"

namespace skribo {

namespace {

constexpr std::u16string_view Border =
    u".--------------------------------------------------------------------.";
static_assert(Border.size() == 70);

bool StartsWith(std::u16string_view s, std::u16string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

bool IsHighSurrogate(char16_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

char HexDigit(int value) {
  return static_cast<char>(value < 10 ? '0' + value : 'A' + value - 10);
}

// The name of a participant line "|    Name (address)": columns 6 to the one before the blank
// that precedes the last "(", or to the right border when there is no "(".
std::u16string ParticipantName(std::u16string_view line) {
  size_t end = ParticipantNameEnd(line);
  std::u16string_view name = end > 6 ? line.substr(5, end - 6) : std::u16string_view();
  if (line.find(u'(') == std::u16string_view::npos)
    while (!name.empty() && name.back() == u' ')
      name.remove_suffix(1);
  if (StartsWith(name, u"...")) name.remove_prefix(3);
  return std::u16string(name);
}

}  // namespace

TNameChangePattern MakeNameChangePattern(std::u16string_view rawPattern) {
  TNameChangePattern p;
  p.Pattern = EncodeEntities(rawPattern);
  p.Pieces = SplitByText(p.Pattern, u"%s");
  return p;
}

bool TLineStep::RunNameChange(size_t i, const std::u16string& line, size_t namePosition,
                              std::vector<std::u16string>& participants,
                              TLineClasses& classes) const {
  if (line.size() < namePosition + 1 || line[namePosition - 1] != u'*' ||
      line[namePosition] != u' ')
    return false;
  bool anyOccurs = false;
  for (const std::u16string& name : participants)
    anyOccurs = anyOccurs || Pos(name, line) > 0;
  if (!anyOccurs) return false;
  const TNameChangePattern& pattern = Pattern();
  for (const std::u16string& piece : pattern.Pieces)
    if (!piece.empty() && line.find(piece) == std::u16string::npos) return false;
  std::vector<std::u16string> values = ExtractPatternValues(
      pattern.Pattern, std::u16string_view(line).substr(namePosition + 1), u"%s");
  if (values.size() < 2) return false;
  // The participant whose name is the old name; failing that, the first one named in both.
  size_t target = participants.size();
  for (size_t k = 0; k < participants.size() && target == participants.size(); ++k)
    if (participants[k] == values[0]) target = k;
  for (size_t k = 0; k < participants.size() && target == participants.size(); ++k)
    if (Pos(participants[k], line) > 0 && Pos(participants[k], values[0]) > 0) target = k;
  if (target == participants.size()) return false;
  participants[target] = values[1];
  classes[i] = '3';
  return true;
}

// Bold and shortening touch the line only when the name stands where the sender's name belongs.
void TLineStep::ApplyNameOptions(std::u16string& line, size_t namePosition,
                                 const std::u16string& name) const {
  if (Options.ShowContactNamesBold) {
    line.insert(namePosition - 1 + name.size(), u"</b>");
    line.insert(namePosition - 1, u"<b>");
  }
  if (!Options.ReTruncateLongContactNames) return;
  const size_t start = namePosition - 1 + (Options.ShowContactNamesBold ? 3 : 0);
  const size_t end = line.find(name) + name.size();
  const size_t limit =
      static_cast<size_t>(std::max<int>(0, Options.ReTruncateLongContactNamesChars));
  // Decoding never lengthens a text, so a segment within the limit stays as it is.
  if (end <= start || end - start <= limit) return;
  const std::u16string_view segment = std::u16string_view(line).substr(start, end - start);
  const bool encoded = segment.find(u'&') != std::u16string_view::npos;
  std::u16string shown = encoded ? DecodeEntities(segment) : std::u16string();
  const std::u16string_view visible = encoded ? std::u16string_view(shown) : segment;
  if (visible.size() <= limit) return;
  size_t cut = limit;
  if (cut > 0 && IsHighSurrogate(visible[cut - 1]) && IsLowSurrogate(visible[cut])) --cut;
  // Without references the segment holds nothing to encode, and neither does its start.
  const std::u16string replacement =
      encoded ? EncodeEntities(visible.substr(0, cut)) : std::u16string(visible.substr(0, cut));
  line = ReplaceText(line, segment, replacement, rfReplaceAll);
}

void TLineStep::Run(size_t i, std::u16string& line, size_t namePosition,
                    std::vector<std::u16string>& participants, TLineClasses& classes) const {
  if (!RunNameChange(i, line, namePosition, participants, classes)) {
    size_t best = std::u16string::npos, chosen = 0;
    for (size_t k = 0; k < participants.size(); ++k) {
      if (participants[k].empty()) continue;
      // Only an occurrence before the best so far can win: search no further than that.
      const std::u16string_view within =
          best == std::u16string::npos
              ? std::u16string_view(line)
              : std::u16string_view(line).substr(0, best + participants[k].size() - 1);
      const size_t p = within.find(participants[k]);
      if (p < best) {
        best = p;
        chosen = k;
      }
    }
    if (best != std::u16string::npos) {
      classes[i] = HexDigit(4 + static_cast<int>(chosen % 10));
      if (best == namePosition - 1) ApplyNameOptions(line, namePosition, participants[chosen]);
    }
  }
  if (Options.DontShowTimestamp && HasTimestamp(line)) line.erase(0, line.find(u']') + 1);
}

TLineClasses TLogProcessor::DetectLogFormat(TLines& lines) {
  TLineClasses classes(lines.size(), '1');
  SetStatusText(std::u16string(SProcessingLogDetectingFormat));
  if (!ReportProgress(0)) return {};

  std::optional<TNameChangePattern> pattern;
  TLineStep step(Options, [&]() -> const TNameChangePattern& {
    if (!pattern)
      pattern = MakeNameChangePattern(ReadHostLanguageString(LanguageFile, u"NameChange"));
    return *pattern;
  });
  std::vector<std::u16string> participants;
  bool inHeaderBox = false;
  long timestampWidth = -1;
  TProgressAccumulator progress(*this);
  const long double share = lines.empty() ? 0 : 300.0L / lines.size();

  for (size_t i = 0; i < lines.size(); ++i) {
    if (!progress.Add(share)) return {};
    std::u16string& line = lines[i];
    if (line.empty()) continue;
    if (StartsWith(line, Border) || StartsWith(line, u"| ")) {
      classes[i] = '0';
      if (line.front() == u'.') {
        inHeaderBox = !inHeaderBox;
        if (inHeaderBox) {
          participants.clear();
          timestampWidth = -1;
        }
      }
      if (StartsWith(line, u"|    ")) participants.push_back(ParticipantName(line));
      continue;
    }
    if (timestampWidth == -1)
      timestampWidth = line.front() == u'[' ? static_cast<long>(Pos(u"]", line)) : 0;
    size_t namePosition = HasTimestamp(line) ? static_cast<size_t>(timestampWidth) + 2 : 1;
    step.Run(i, line, namePosition, participants, classes);
  }
  Host.SetProgressPosition(400);
  return classes;
}

}  // namespace skribo
