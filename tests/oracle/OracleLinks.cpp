// The oracle's link detection: every line, every prefix, tokens rebuilt for each prefix found.
#include "common/TextCodec.h"
#include "oracle/Oracle.h"

namespace skribo::oracle {

namespace {

struct TPrefixRow {
  const char16_t* Prefix;
  const char16_t* BareHost;  // nullptr when the row has none
};

const TPrefixRow kPrefixes[] = {
    {u"@", nullptr},       {u"http://", u"www."},      {u"https://", nullptr},
    {u"ftp://", u"ftp."},  {u"file://", nullptr},      {u"news://", nullptr},
    {u"nntp://", nullptr}, {u"gopher://", u"gopher."}, {u"telnet://", nullptr},
    {u"wais://", nullptr}, {u"irc://", u"irc."}};

bool StartsWith(const std::u16string& s, const std::u16string& prefix) {
  return s.size() >= prefix.size() && s.compare(0, prefix.size(), prefix) == 0;
}

// One character of a word: a code unit, or a whole entity reference of the table, which is
// edge punctuation exactly when the character it stands for is.
struct TLinkChar {
  std::u16string Text;
  char16_t StandsFor;
};

std::vector<TLinkChar> LinkChars(const std::u16string& piece) {
  std::vector<TLinkChar> chars;
  size_t p = 0;
  while (p < piece.size()) {
    bool isReference = false;
    if (piece[p] == u'&') {
      for (const auto& e : EntityTable()) {
        const std::u16string ref = e.Reference;
        if (piece.compare(p, ref.size(), ref) == 0) {
          chars.push_back({ref, e.Char});
          p += ref.size();
          isReference = true;
          break;
        }
      }
    }
    if (!isReference) {
      chars.push_back({std::u16string(1, piece[p]), piece[p]});
      ++p;
    }
  }
  return chars;
}

size_t LastPosOfEither(const std::u16string& w, char16_t a, char16_t b) {
  for (size_t i = w.size(); i > 0; --i)
    if (w[i - 1] == a || w[i - 1] == b) return i;
  return 0;
}

}  // namespace

bool IsLinkEdgeChar(char16_t c) {
  const uint8_t b = ToWindows1252(c);
  return b == '/' || (b >= '0' && b <= '9') || b == '?' || (b >= 'A' && b <= 'Z') ||
         (b >= 'a' && b <= 'z') || b == '\\' || b >= 192;
}

bool IsEmailAddress(const std::u16string& w) {
  size_t b = 0;
  size_t e = w.size();
  while (b < e && w[b] <= u' ')
    ++b;
  while (e > b && w[e - 1] <= u' ')
    --e;
  if (b == e) return false;
  // Positions are taken in the untrimmed word.
  if (Pos(u"@", w) < 2) return false;
  if (Pos(u".", w) < 2) return false;
  return LastPosOfEither(w, u'.', u'@') != w.size();
}

std::vector<std::u16string> SplitLinkTokens(const std::u16string& line) {
  std::vector<std::u16string> tokens;
  for (const auto& piece : SplitLines(ReplaceText(line, u" ", u"\r\n \r\n", rfReplaceAll))) {
    if (piece.empty()) continue;
    const std::vector<TLinkChar> chars = LinkChars(piece);
    size_t first = 0;
    while (first < chars.size() && !IsLinkEdgeChar(chars[first].StandsFor))
      tokens.push_back(chars[first++].Text);
    if (first == chars.size()) continue;
    size_t last = chars.size();
    while (last > first && !IsLinkEdgeChar(chars[last - 1].StandsFor))
      --last;
    std::u16string word;
    for (size_t i = first; i < last; ++i)
      word += chars[i].Text;
    tokens.push_back(word);
    for (size_t i = last; i < chars.size(); ++i)
      tokens.push_back(chars[i].Text);
  }
  return tokens;
}

std::u16string ConvertLinks(const std::u16string& text, const std::u16string& target) {
  TLines lines = SplitLines(text);
  for (auto& line : lines) {
    for (const auto& row : kPrefixes) {
      for (const char16_t* prefix : {row.Prefix, row.BareHost}) {
        if (prefix == nullptr) continue;
        const std::u16string p = prefix;
        if (Pos(p, line) == 0) continue;
        const bool bareHost = prefix == row.BareHost;
        const std::vector<std::u16string> tokens = SplitLinkTokens(line);
        line.clear();
        for (const auto& w : tokens) {
          if (p == u"@" && IsEmailAddress(w)) {
            line += u"<a href=\"" + std::u16string(StartsWith(w, u"mailto:") ? u"" : u"mailto:") +
                    w + u"\">" + w + u"</a>";
          } else if (p != u"@" && StartsWith(w, p)) {
            line += u"<a href=\"" + std::u16string(bareHost ? row.Prefix : u"") + w +
                    u"\" target=\"" + target + u"\">" + w + u"</a>";
          } else {
            line += w;
          }
        }
      }
    }
  }
  return JoinLines(lines);
}

}  // namespace skribo::oracle
