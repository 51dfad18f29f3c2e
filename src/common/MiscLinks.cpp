// Turning Internet and e-mail addresses into links, one line at a time.
#include <array>

#include "common/EntityTable.h"
#include "common/Misc.h"
#include "common/TextCodec.h"

namespace skribo {

namespace {

struct TLinkPrefix {
  std::u16string_view Prefix;
  std::u16string_view TargetPrefix;  // put before a bare host name in the link target
};

// Tried in this order for every word; "@" stands for e-mail addresses.
constexpr std::array<TLinkPrefix, 15> LinkPrefixes = {{
    {u"@", {}},
    {u"http://", {}},
    {u"www.", u"http://"},
    {u"https://", {}},
    {u"ftp://", {}},
    {u"ftp.", u"ftp://"},
    {u"file://", {}},
    {u"news://", {}},
    {u"nntp://", {}},
    {u"gopher://", {}},
    {u"gopher.", u"gopher://"},
    {u"telnet://", {}},
    {u"wais://", {}},
    {u"irc://", {}},
    {u"irc.", u"irc://"},
}};

bool IsEdgeByte(uint8_t b) {
  return b == '/' || (b >= '0' && b <= '9') || b == '?' || (b >= 'A' && b <= 'Z') ||
         (b >= 'a' && b <= 'z') || b == '\\' || b >= 192;
}

// Length of the "character" at the front of s: an entity reference counts as one.
size_t FrontCharLength(std::u16string_view s, bool* edge) {
  int e = s.front() == u'&' ? MatchEntityAt(s, 0) : -1;
  if (e >= 0) {
    *edge = IsLinkEdgeChar(EntityTable[e].Char);
    return EntityTable[e].Reference.size();
  }
  *edge = IsLinkEdgeChar(s.front());
  return 1;
}

size_t BackCharLength(std::u16string_view s, bool* edge) {
  int e = s.back() == u';' ? MatchEntityEndingAt(s, s.size() - 1) : -1;
  if (e >= 0) {
    *edge = IsLinkEdgeChar(EntityTable[e].Char);
    return EntityTable[e].Reference.size();
  }
  *edge = IsLinkEdgeChar(s.back());
  return 1;
}

// Calls emit for every token of the line, in order.
template <typename TEmit>
void ForEachLinkToken(std::u16string_view line, TEmit&& emit) {
  size_t i = 0;
  while (i < line.size()) {
    size_t end = line[i] == u' ' ? i + 1 : line.find(u' ', i);
    if (end == std::u16string_view::npos) end = line.size();
    std::u16string_view piece = line.substr(i, end - i);
    i = end;
    bool edge = false;
    while (!piece.empty()) {
      size_t n = FrontCharLength(piece, &edge);
      if (edge) break;
      emit(piece.substr(0, n));
      piece.remove_prefix(n);
    }
    if (piece.empty()) continue;
    size_t wordEnd = piece.size();
    while (true) {
      size_t n = BackCharLength(piece.substr(0, wordEnd), &edge);
      if (edge) break;
      wordEnd -= n;
    }
    emit(piece.substr(0, wordEnd));
    std::u16string_view rest = piece.substr(wordEnd);
    while (!rest.empty()) {
      size_t n = FrontCharLength(rest, &edge);
      emit(rest.substr(0, n));
      rest.remove_prefix(n);
    }
  }
}

bool StartsWith(std::u16string_view s, std::u16string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

// The first prefix that links the token, or -1. A token linked by one prefix is never taken by a
// later one, so the first match decides.
int LinkPrefixOf(std::u16string_view token) {
  if (token.find(u'@') != std::u16string_view::npos && IsEmailAddress(token)) return 0;
  switch (token.front()) {
    case u'h':
    case u'w':
    case u'f':
    case u'n':
    case u'g':
    case u't':
    case u'i':
      break;
    default:
      return -1;  // no prefix starts with anything else
  }
  for (size_t r = 1; r < LinkPrefixes.size(); ++r)
    if (StartsWith(token, LinkPrefixes[r].Prefix)) return static_cast<int>(r);
  return -1;
}

// Whether any prefix occurs in the line: an "@", a "://", or a bare-host prefix before a ".".
bool MayHoldLink(std::u16string_view line) {
  for (size_t i = 0; i < line.size(); ++i) {
    switch (line[i]) {
      case u'@':
        return true;
      case u':':
        if (line.substr(i + 1, 2) == u"//") return true;
        break;
      case u'.': {
        std::u16string_view before = line.substr(0, i);
        for (std::u16string_view host : {u"www", u"ftp", u"gopher", u"irc"})
          if (before.ends_with(host)) return true;
        break;
      }
      default:
        break;
    }
  }
  return false;
}

void AppendAnchor(std::u16string& out, std::u16string_view word, int row,
                  std::u16string_view target) {
  out += u"<a href=\"";
  if (row == 0) {
    if (!StartsWith(word, u"mailto:")) out += u"mailto:";
    out.append(word).append(u"\">").append(word).append(u"</a>");
    return;
  }
  out.append(LinkPrefixes[row].TargetPrefix).append(word);
  out.append(u"\" target=\"").append(target).append(u"\">").append(word).append(u"</a>");
}

}  // namespace

bool IsLinkEdgeChar(char16_t c) {
  return IsEdgeByte(ToWindows1252(c));
}

bool IsEmailAddress(std::u16string_view word) {
  if (TrimControls(word).empty()) return false;
  size_t at = word.find(u'@'), dot = word.find(u'.');
  if (at == std::u16string_view::npos || at < 1 || dot == std::u16string_view::npos || dot < 1)
    return false;
  size_t last = std::max(word.rfind(u'.'), word.rfind(u'@'));
  return last != word.size() - 1;
}

std::vector<std::u16string_view> SplitLinkTokens(std::u16string_view line) {
  std::vector<std::u16string_view> tokens;
  ForEachLinkToken(line, [&](std::u16string_view t) { tokens.push_back(t); });
  return tokens;
}

void ConvertLinksInLine(std::u16string& line, std::u16string_view target) {
  if (!MayHoldLink(line)) return;
  std::u16string out;
  out.reserve(line.size() + 128);
  bool linked = false;
  ForEachLinkToken(line, [&](std::u16string_view token) {
    int row = LinkPrefixOf(token);
    if (row < 0) {
      out.append(token);
      return;
    }
    AppendAnchor(out, token, row, target);
    linked = true;
  });
  if (linked) line = std::move(out);
}

std::u16string ConvertLinks(std::u16string_view text, std::u16string_view target) {
  std::u16string out;
  out.reserve(text.size());
  for (std::u16string& line : SplitTextLines(text)) {
    ConvertLinksInLine(line, target);
    out.append(line).append(u"\r\n");
  }
  return out;
}

}  // namespace skribo
