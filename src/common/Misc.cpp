#include "common/Misc.h"

#include "common/CaseFold.h"

namespace skribo {

namespace {

bool IsHigh(char16_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLow(char16_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

// The code point at i and the number of units it takes.
char32_t CodePointAt(std::u16string_view s, size_t i, size_t* units) {
  if (IsHigh(s[i]) && i + 1 < s.size() && IsLow(s[i + 1])) {
    *units = 2;
    return 0x10000 + ((char32_t(s[i]) - 0xD800) << 10) + (s[i + 1] - 0xDC00);
  }
  *units = 1;
  return s[i];
}

// Length in units of a case-insensitive match of folded at i, or 0.
size_t MatchFoldedAt(std::u16string_view s, size_t i, const std::u32string& folded) {
  size_t at = i;
  for (char32_t want : folded) {
    if (at >= s.size()) return 0;
    size_t units;
    char32_t c = CodePointAt(s, at, &units);
    if (SimpleFold(c) != want) return 0;
    at += units;
  }
  return at - i;
}

}  // namespace

size_t Pos(std::u16string_view sub, std::u16string_view s) {
  if (sub.empty()) return 0;
  size_t p = s.find(sub);
  return p == std::u16string_view::npos ? 0 : p + 1;
}

size_t LastPos(std::u16string_view sub, std::u16string_view s) {
  if (sub.empty()) return 0;
  size_t p = s.rfind(sub);
  return p == std::u16string_view::npos ? 0 : p + 1;
}

std::u16string ReplaceText(std::u16string_view s, std::u16string_view oldText,
                           std::u16string_view newText, unsigned flags) {
  if (oldText.empty()) return std::u16string(s);
  const bool all = flags & rfReplaceAll;
  std::u16string out;
  out.reserve(s.size());
  if (!(flags & rfIgnoreCase)) {
    size_t from = 0;
    for (size_t p; (p = s.find(oldText, from)) != std::u16string_view::npos;) {
      out.append(s.substr(from, p - from)).append(newText);
      from = p + oldText.size();
      if (!all) break;
    }
    out.append(s.substr(from));
    return out;
  }
  std::u32string folded;
  for (size_t i = 0, units; i < oldText.size(); i += units)
    folded.push_back(SimpleFold(CodePointAt(oldText, i, &units)));
  size_t from = 0, i = 0;
  bool replaced = false;
  while (i < s.size() && !(replaced && !all)) {
    if (size_t length = MatchFoldedAt(s, i, folded)) {
      out.append(s.substr(from, i - from)).append(newText);
      i = from = i + length;
      replaced = true;
      continue;
    }
    size_t units;
    CodePointAt(s, i, &units);
    i += units;
  }
  out.append(s.substr(from));
  return out;
}

std::vector<std::u16string> SplitByText(std::u16string_view s, std::u16string_view separator) {
  std::vector<std::u16string> pieces;
  if (s.empty()) return pieces;
  if (separator.empty()) {
    pieces.emplace_back(s);
    return pieces;
  }
  for (size_t p; (p = s.find(separator)) != std::u16string_view::npos;) {
    pieces.emplace_back(s.substr(0, p));
    s.remove_prefix(p + separator.size());
  }
  pieces.emplace_back(s);
  return pieces;
}

// A leading fixed text is cut at its first occurrence, so that a fixed text that recurs later
// (as in "[%s] renamed to [%s]") does not swallow the first value.
std::vector<std::u16string> ExtractPatternValues(std::u16string_view pattern,
                                                 std::u16string_view text,
                                                 std::u16string_view separator) {
  const std::vector<std::u16string> pieces = SplitByText(pattern, separator);
  const bool holdsSeparator = Pos(separator, pattern) > 0;
  std::vector<std::u16string> values;
  for (size_t j = 0; j < pieces.size(); ++j) {
    const std::u16string& piece = pieces[j];
    size_t p = (j == 0 && holdsSeparator) ? Pos(piece, text) : LastPos(piece, text);
    if (p > 0) text.remove_prefix(p - 1 + piece.size());
    if (j + 1 < pieces.size()) {
      size_t q = LastPos(pieces[j + 1], text);
      if (q > 1) values.emplace_back(text.substr(0, q - 1));
    } else if (!text.empty()) {
      values.emplace_back(text);
    }
  }
  return values;
}

std::vector<std::u16string> SplitTextLines(std::u16string_view text) {
  std::vector<std::u16string> lines;
  size_t start = 0, i = 0;
  const size_t n = text.size();
  while (i < n) {
    char16_t c = text[i];
    if (c != u'\r' && c != u'\n' && c != 0x2028) {
      ++i;
      continue;
    }
    lines.emplace_back(text.substr(start, i - start));
    if (i < n && text[i] == u'\r') ++i;
    if (i < n && text[i] == u'\n') ++i;
    if (i < n && text[i] == 0x2028) ++i;
    start = i;
  }
  if (start < n) lines.emplace_back(text.substr(start));
  return lines;
}

std::u16string_view TrimControls(std::u16string_view s) {
  while (!s.empty() && s.front() <= u' ')
    s.remove_prefix(1);
  while (!s.empty() && s.back() <= u' ')
    s.remove_suffix(1);
  return s;
}

std::u16string_view TrimBlanks(std::u16string_view s) {
  while (!s.empty() && s.front() == u' ')
    s.remove_prefix(1);
  while (!s.empty() && s.back() == u' ')
    s.remove_suffix(1);
  return s;
}

}  // namespace skribo
