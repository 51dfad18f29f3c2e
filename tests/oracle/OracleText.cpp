// The text model of the oracle: lines, replacing, entities and pattern values.
#include "common/CaseFold.h"
#include "common/TextCodec.h"
#include "oracle/Oracle.h"

namespace skribo::oracle {

namespace {

bool IsHighSurrogate(char16_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

// The code point at s[p] and how many units it takes; an unpaired surrogate stands for itself.
char32_t CodePointAt(const std::u16string& s, size_t p, size_t* units) {
  if (IsHighSurrogate(s[p]) && p + 1 < s.size() && IsLowSurrogate(s[p + 1])) {
    *units = 2;
    return 0x10000 + ((char32_t(s[p]) - 0xD800) << 10) + (char32_t(s[p + 1]) - 0xDC00);
  }
  *units = 1;
  return s[p];
}

// Whether Sub stands in S at p; with ignoreCase every code point is compared by simple folding.
bool MatchesAt(const std::u16string& s, size_t p, const std::u16string& sub, bool ignoreCase,
               size_t* matched) {
  if (!ignoreCase) {
    if (p + sub.size() > s.size() || s.compare(p, sub.size(), sub) != 0) return false;
    *matched = sub.size();
    return true;
  }
  size_t i = p;
  size_t j = 0;
  while (j < sub.size()) {
    if (i >= s.size()) return false;
    size_t ni = 0;
    size_t nj = 0;
    char32_t a = CodePointAt(s, i, &ni);
    char32_t b = CodePointAt(sub, j, &nj);
    if (SimpleFold(a) != SimpleFold(b)) return false;
    i += ni;
    j += nj;
  }
  *matched = i - p;
  return true;
}

const char16_t* const kLatin1Names[96] = {
    u"&nbsp;",   u"&iexcl;",  u"&cent;",   u"&pound;",  u"&curren;", u"&yen;",    u"&brvbar;",
    u"&sect;",   u"&uml;",    u"&copy;",   u"&ordf;",   u"&laquo;",  u"&not;",    u"&shy;",
    u"&reg;",    u"&macr;",   u"&deg;",    u"&plusmn;", u"&sup2;",   u"&sup3;",   u"&acute;",
    u"&micro;",  u"&para;",   u"&middot;", u"&cedil;",  u"&sup1;",   u"&ordm;",   u"&raquo;",
    u"&frac14;", u"&frac12;", u"&frac34;", u"&iquest;", u"&Agrave;", u"&Aacute;", u"&Acirc;",
    u"&Atilde;", u"&Auml;",   u"&Aring;",  u"&AElig;",  u"&Ccedil;", u"&Egrave;", u"&Eacute;",
    u"&Ecirc;",  u"&Euml;",   u"&Igrave;", u"&Iacute;", u"&Icirc;",  u"&Iuml;",   u"&ETH;",
    u"&Ntilde;", u"&Ograve;", u"&Oacute;", u"&Ocirc;",  u"&Otilde;", u"&Ouml;",   u"&times;",
    u"&Oslash;", u"&Ugrave;", u"&Uacute;", u"&Ucirc;",  u"&Uuml;",   u"&Yacute;", u"&THORN;",
    u"&szlig;",  u"&agrave;", u"&aacute;", u"&acirc;",  u"&atilde;", u"&auml;",   u"&aring;",
    u"&aelig;",  u"&ccedil;", u"&egrave;", u"&eacute;", u"&ecirc;",  u"&euml;",   u"&igrave;",
    u"&iacute;", u"&icirc;",  u"&iuml;",   u"&eth;",    u"&ntilde;", u"&ograve;", u"&oacute;",
    u"&ocirc;",  u"&otilde;", u"&ouml;",   u"&divide;", u"&oslash;", u"&ugrave;", u"&uacute;",
    u"&ucirc;",  u"&uuml;",   u"&yacute;", u"&thorn;",  u"&yuml;"};

}  // namespace

TLines SplitLines(const std::u16string& text) {
  TLines lines;
  std::u16string line;
  size_t p = 0;
  while (p < text.size()) {
    char16_t c = text[p];
    if (c != u'\r' && c != u'\n' && c != u'\u2028') {
      line += c;
      ++p;
      continue;
    }
    if (p < text.size() && text[p] == u'\r') ++p;
    if (p < text.size() && text[p] == u'\n') ++p;
    if (p < text.size() && text[p] == u'\u2028') ++p;
    lines.push_back(line);
    line.clear();
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

std::u16string JoinLines(const TLines& lines) {
  std::u16string text;
  for (const auto& line : lines)
    text += line + u"\r\n";
  return text;
}

TLines LoadLogLines(const std::string& fileBytes) {
  std::u16string text = DecodeText(fileBytes);
  size_t nul = text.find(u'\0');
  if (nul != std::u16string::npos) text.resize(nul);
  return SplitLines(text);
}

bool IsLogText(const std::u16string& text) {
  return !text.empty() && text[0] == u'.';
}

std::u16string ReplaceText(const std::u16string& s, const std::u16string& oldText,
                           const std::u16string& newText, unsigned flags) {
  return ReplaceText(s, oldText, newText, flags, nullptr);
}

std::u16string ReplaceText(const std::u16string& s, const std::u16string& oldText,
                           const std::u16string& newText, unsigned flags,
                           const TOccurrenceFilter& accept) {
  if (oldText.empty()) return s;
  const bool all = (flags & rfReplaceAll) != 0;
  const bool ignoreCase = (flags & rfIgnoreCase) != 0;
  std::u16string out;
  bool done = false;
  size_t p = 0;
  while (p < s.size()) {
    size_t matched = 0;
    if (!done && MatchesAt(s, p, oldText, ignoreCase, &matched) &&
        (!accept || accept(p, p + matched))) {
      out += newText;
      p += matched;
      done = !all;
    } else {
      out += s[p];
      ++p;
    }
  }
  return out;
}

size_t Pos(const std::u16string& sub, const std::u16string& s) {
  if (sub.empty()) return 0;
  size_t at = s.find(sub);
  return at == std::u16string::npos ? 0 : at + 1;
}

size_t LastPos(const std::u16string& sub, const std::u16string& s) {
  if (sub.empty()) return 0;
  size_t at = s.rfind(sub);
  return at == std::u16string::npos ? 0 : at + 1;
}

const std::vector<TEntity>& EntityTable() {
  static const std::vector<TEntity> table = [] {
    std::vector<TEntity> t = {
        {u'&', u"&amp;"}, {u'"', u"&quot;"}, {u'<', u"&lt;"}, {u'>', u"&gt;"}};
    for (int i = 0; i < 96; ++i)
      t.push_back({char16_t(160 + i), kLatin1Names[i]});
    return t;
  }();
  return table;
}

std::u16string EncodeEntities(const std::u16string& text) {
  std::u16string s = text;
  for (const auto& e : EntityTable())
    s = ReplaceText(s, std::u16string(1, e.Char), e.Reference, rfReplaceAll);
  return s;
}

std::u16string DecodeEntities(const std::u16string& text) {
  std::u16string s = text;
  const auto& table = EntityTable();
  for (auto it = table.rbegin(); it != table.rend(); ++it)
    s = ReplaceText(s, it->Reference, std::u16string(1, it->Char), rfReplaceAll);
  return s;
}

std::vector<std::u16string> SplitByText(const std::u16string& s, const std::u16string& separator) {
  std::vector<std::u16string> pieces;
  if (s.empty()) return pieces;
  std::u16string rest = s;
  size_t at = 0;
  while ((at = Pos(separator, rest)) != 0) {
    pieces.push_back(rest.substr(0, at - 1));
    rest.erase(0, at - 1 + separator.size());
  }
  pieces.push_back(rest);
  return pieces;
}

std::vector<std::u16string> ExtractPatternValues(const std::u16string& pattern,
                                                 const std::u16string& text,
                                                 const std::u16string& separator) {
  const std::vector<std::u16string> pieces = SplitByText(pattern, separator);
  std::vector<std::u16string> values;
  std::u16string rest = text;
  for (size_t j = 0; j < pieces.size(); ++j) {
    // A leading fixed text is taken at its first occurrence: its last one may lie inside a name
    // ("[%s] renamed to [%s]" would otherwise lose the old name).
    const bool leadingFixed = j == 0 && pieces.size() >= 2 && !pieces[0].empty();
    size_t at = leadingFixed ? Pos(pieces[j], rest) : LastPos(pieces[j], rest);
    if (at != 0) rest.erase(0, at - 1 + pieces[j].size());
    if (j + 1 < pieces.size()) {
      size_t next = LastPos(pieces[j + 1], rest);
      std::u16string value = next == 0 ? std::u16string() : rest.substr(0, next - 1);
      if (!value.empty()) values.push_back(value);
    } else if (!rest.empty()) {
      values.push_back(rest);
    }
  }
  return values;
}

}  // namespace skribo::oracle
