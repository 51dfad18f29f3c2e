// The oracle's recognition: continuation lines, header boxes, participants and the line step.
#include "oracle/Oracle.h"

namespace skribo::oracle {

namespace {

const std::u16string kBorder = u"." + std::u16string(68, u'-') + u".";

bool StartsWith(const std::u16string& s, const std::u16string& prefix) {
  return s.size() >= prefix.size() && s.compare(0, prefix.size(), prefix) == 0;
}

bool IsHighSurrogate(char16_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

// Trims code units up to U+0020 at both ends (blanks, tabs and the other C0 controls).
std::u16string TrimControls(const std::u16string& s) {
  size_t b = 0;
  size_t e = s.size();
  while (b < e && s[b] <= u' ')
    ++b;
  while (e > b && s[e - 1] <= u' ')
    --e;
  return s.substr(b, e - b);
}

// The pattern is read again for every announcement line and participant that asks for it, and
// encoded like the log text so that accented letters, "&", "<", ">" and quotes can match.
std::u16string ReadNameChangePattern(const std::u16string& raw) {
  return EncodeEntities(raw);
}

struct TWalk {
  const TRecOptions& Options;
  const std::u16string& RawPattern;
  TLines Participants;
};

// Which participant is renamed: the one whose name is the old-name value, else participant k.
size_t RenamedParticipant(const TLines& participants, size_t k, const std::u16string& oldName) {
  for (size_t j = 0; j < participants.size(); ++j)
    if (participants[j] == oldName) return j;
  return k;
}

bool TryNameChange(TWalk& w, std::u16string& line, size_t namePos) {
  for (size_t k = 0; k < w.Participants.size(); ++k) {
    if (line.size() < namePos + 1 || line[namePos - 1] != u'*' || line[namePos] != u' ') continue;
    if (Pos(w.Participants[k], line) == 0) continue;
    const std::u16string pattern = ReadNameChangePattern(w.RawPattern);
    bool allOccur = true;
    for (const auto& piece : SplitByText(pattern, u"%s"))
      if (!piece.empty() && Pos(piece, line) == 0) allOccur = false;
    if (!allOccur) continue;
    const std::u16string rest = line.substr(namePos + 1);
    const std::vector<std::u16string> values = ExtractPatternValues(pattern, rest, u"%s");
    if (values.size() >= 2 && Pos(w.Participants[k], values[0]) != 0) {
      w.Participants[RenamedParticipant(w.Participants, k, values[0])] = values[1];
      return true;
    }
  }
  return false;
}

// Cuts to at most n code units, never between the two units of a surrogate pair.
std::u16string CutName(const std::u16string& s, size_t n) {
  if (s.size() <= n) return s;
  size_t cut = n;
  if (cut > 0 && IsHighSurrogate(s[cut - 1]) && IsLowSurrogate(s[cut])) --cut;
  return s.substr(0, cut);
}

void Attribute(TWalk& w, std::u16string& line, size_t namePos, char& digit) {
  size_t best = 0;
  size_t bestPos = 0;
  for (size_t k = 0; k < w.Participants.size(); ++k) {
    const size_t p = Pos(w.Participants[k], line);
    if (p != 0 && (bestPos == 0 || p < bestPos)) {
      best = k;
      bestPos = p;
    }
  }
  if (bestPos == 0) return;
  // Past the tenth participant the ten participant styles repeat.
  digit = "0123456789ABCDEF"[4 + best % 10];
  const std::u16string name = w.Participants[best];
  // Only the sender's own name is made bold or shortened; a name met elsewhere first leaves the
  // line's text alone.
  if (bestPos != namePos) return;
  const TRecOptions& o = w.Options;
  if (o.ShowContactNamesBold) {
    line.insert(namePos - 1, u"<b>");
    // After the name's first occurrence in the line as it was, moved on by the three units of
    // "<b>".
    line.insert(bestPos - 1 + name.size() + 3, u"</b>");
  }
  if (o.ReTruncateLongContactNames) {
    const size_t start = namePos + (o.ShowContactNamesBold ? 3 : 0);
    const size_t end = Pos(name, line) + name.size() - 1;
    if (end < start) return;
    const std::u16string segment = line.substr(start - 1, end - start + 1);
    const std::u16string shown = DecodeEntities(segment);
    const int chars = o.ReTruncateLongContactNamesChars;
    const size_t limit = chars < 0 ? 0 : size_t(chars);
    if (shown.size() > limit)
      line = ReplaceText(line, segment, EncodeEntities(CutName(shown, limit)), rfReplaceAll);
  }
}

void LineStep(TWalk& w, std::u16string& line, size_t namePos, char& digit) {
  if (TryNameChange(w, line, namePos))
    digit = '3';
  else
    Attribute(w, line, namePos, digit);
  if (w.Options.DontShowTimestamp && HasTimestamp(line)) line = line.substr(Pos(u"]", line));
}

}  // namespace

std::u16string JoinContinuationLines(const std::u16string& text) {
  TLines joined;
  for (const auto& line : SplitLines(text)) {
    if (!line.empty() && line[0] == u' ' && !joined.empty())
      joined.back() = joined.back() + u" " + TrimControls(line);
    else
      joined.push_back(line);
  }
  return JoinLines(joined);
}

size_t ParticipantNameEnd(const std::u16string& line) {
  const size_t paren = LastPos(u"(", line);
  return paren == 0 ? line.size() : paren - 1;
}

bool HasTimestamp(const std::u16string& line) {
  return !line.empty() && line[0] == u'[' && Pos(u"]", line) != 0;
}

std::string DetectLogFormat(TLines& lines, const TRecOptions& options,
                            const std::u16string& nameChangePattern) {
  std::string classes(lines.size(), '1');
  TWalk w{options, nameChangePattern, {}};
  bool inHeaderBox = false;
  long timestampWidth = -1;
  for (size_t i = 0; i < lines.size(); ++i) {
    std::u16string& line = lines[i];
    if (line.empty()) continue;
    const bool border = line.size() >= 70 && line.compare(0, 70, kBorder) == 0;
    if (border || StartsWith(line, u"|    ") || StartsWith(line, u"| ")) {
      classes[i] = '0';
      if (StartsWith(line, u".")) {
        inHeaderBox = !inHeaderBox;
        if (inHeaderBox) {
          w.Participants.clear();
          timestampWidth = -1;
        }
      }
      if (StartsWith(line, u"|    ")) {
        // Columns 6 to ParticipantNameEnd - 1.
        const size_t end = ParticipantNameEnd(line);
        std::u16string name = end >= 7 ? line.substr(5, end - 6) : std::u16string();
        if (Pos(u"(", line) == 0)
          while (!name.empty() && name.back() == u' ')
            name.pop_back();
        if (StartsWith(name, u"...")) name.erase(0, 3);
        w.Participants.push_back(name);
      }
      continue;
    }
    if (timestampWidth == -1) timestampWidth = StartsWith(line, u"[") ? long(Pos(u"]", line)) : 0;
    const size_t namePos = HasTimestamp(line) ? size_t(timestampWidth) + 2 : 1;
    LineStep(w, line, namePos, classes[i]);
  }
  return classes;
}

}  // namespace skribo::oracle
