#include "common/EntityTable.h"

namespace skribo {

namespace {

constexpr std::array<std::u16string_view, 96> Latin1Names = {
    u"nbsp",   u"iexcl",  u"cent",   u"pound",  u"curren", u"yen",    u"brvbar", u"sect",
    u"uml",    u"copy",   u"ordf",   u"laquo",  u"not",    u"shy",    u"reg",    u"macr",
    u"deg",    u"plusmn", u"sup2",   u"sup3",   u"acute",  u"micro",  u"para",   u"middot",
    u"cedil",  u"sup1",   u"ordm",   u"raquo",  u"frac14", u"frac12", u"frac34", u"iquest",
    u"Agrave", u"Aacute", u"Acirc",  u"Atilde", u"Auml",   u"Aring",  u"AElig",  u"Ccedil",
    u"Egrave", u"Eacute", u"Ecirc",  u"Euml",   u"Igrave", u"Iacute", u"Icirc",  u"Iuml",
    u"ETH",    u"Ntilde", u"Ograve", u"Oacute", u"Ocirc",  u"Otilde", u"Ouml",   u"times",
    u"Oslash", u"Ugrave", u"Uacute", u"Ucirc",  u"Uuml",   u"Yacute", u"THORN",  u"szlig",
    u"agrave", u"aacute", u"acirc",  u"atilde", u"auml",   u"aring",  u"aelig",  u"ccedil",
    u"egrave", u"eacute", u"ecirc",  u"euml",   u"igrave", u"iacute", u"icirc",  u"iuml",
    u"eth",    u"ntilde", u"ograve", u"oacute", u"ocirc",  u"otilde", u"ouml",   u"divide",
    u"oslash", u"ugrave", u"uacute", u"ucirc",  u"uuml",   u"yacute", u"thorn",  u"yuml"};

// References are stored whole ("&name;") so that callers can compare and copy them directly.
struct TReferenceStore {
  std::array<std::u16string, EntityCount> Texts;
  TReferenceStore() {
    Texts[0] = u"&amp;";
    Texts[1] = u"&quot;";
    Texts[2] = u"&lt;";
    Texts[3] = u"&gt;";
    for (size_t i = 0; i < Latin1Names.size(); ++i)
      Texts[4 + i] = u"&" + std::u16string(Latin1Names[i]) + u";";
  }
};

const TReferenceStore& Store() {
  static const TReferenceStore store;
  return store;
}

std::array<TEntity, EntityCount> MakeTable() {
  std::array<TEntity, EntityCount> table{};
  const char16_t first[] = {u'&', u'"', u'<', u'>'};
  for (int i = 0; i < EntityCount; ++i) {
    table[i].Char = i < 4 ? first[i] : static_cast<char16_t>(160 + i - 4);
    table[i].Reference = Store().Texts[i];
  }
  return table;
}

// Index by character: 0 for characters that are not encoded, else table index + 1.
struct TCharIndex {
  std::array<unsigned char, 256> Index{};
  TCharIndex() {
    for (int i = 0; i < EntityCount; ++i)
      Index[EntityTable[i].Char] = static_cast<unsigned char>(i + 1);
  }
};

const TCharIndex& CharIndex() {
  static const TCharIndex index;
  return index;
}

}  // namespace

const std::array<TEntity, EntityCount> EntityTable = MakeTable();

std::u16string_view EntityReferenceOf(char16_t c) {
  if (c > 255) return {};
  int i = CharIndex().Index[c];
  return i ? EntityTable[i - 1].Reference : std::u16string_view();
}

int MatchEntityAt(std::u16string_view text, size_t pos) {
  if (pos >= text.size() || text[pos] != u'&') return -1;
  // Names are at most six letters: find the ';' that would close one.
  size_t end = text.find(u';', pos + 1);
  if (end == std::u16string_view::npos || end - pos > 7) return -1;
  std::u16string_view candidate = text.substr(pos, end - pos + 1);
  for (int i = 0; i < EntityCount; ++i)
    if (EntityTable[i].Reference == candidate) return i;
  return -1;
}

int MatchEntityEndingAt(std::u16string_view text, size_t pos) {
  if (pos >= text.size() || text[pos] != u';') return -1;
  size_t from = pos >= 7 ? pos - 7 : 0;
  for (size_t start = pos; start-- > from;) {
    if (text[start] == u'&') return MatchEntityAt(text, start);
    if (text[start] == u';') return -1;
  }
  return -1;
}

}  // namespace skribo
