#include "log/Emoticons.h"

#include <algorithm>

#include "common/CaseFold.h"
#include "log/uLogProcess.h"

namespace skribo {

const std::array<TEmoticonCode, EmoticonCodeCount> EmoticonCodes = {{
    {1, u":)"},    {1, u":-)"},   {2, u":d"},     {2, u":-d"},    {3, u"(&amp;)"}, {4, u"&lt;:o)"},
    {5, u":p"},    {5, u":-p"},   {6, u"(h)"},    {7, u":@"},     {7, u":-@"},     {8, u":$"},
    {8, u":-$"},   {9, u":s"},    {9, u":-s"},    {10, u":("},    {10, u":-("},    {11, u":'("},
    {12, u":|"},   {12, u":-|"},  {13, u"(6)"},   {14, u"(a)"},   {15, u"(l)"},    {16, u"(u)"},
    {17, u"(m)"},  {18, u"(@)"},  {19, u";)"},    {19, u";-)"},   {20, u"(s)"},    {21, u"(*)"},
    {22, u"(~)"},  {23, u"(8)"},  {24, u"(e)"},   {25, u"(f)"},   {26, u"(w)"},    {27, u"(o)"},
    {28, u"(k)"},  {29, u"(g)"},  {30, u"(^)"},   {31, u"(p)"},   {32, u"(i)"},    {33, u"(c)"},
    {34, u"(t)"},  {35, u"({)"},  {36, u"(})"},   {37, u"(b)"},   {38, u"(d)"},    {39, u"(z)"},
    {40, u"(x)"},  {41, u"(y)"},  {42, u"(n)"},   {43, u":["},    {43, u":-["},    {44, u"(?)"},
    {45, u"(%)"},  {46, u"(#)"},  {47, u"(r)"},   {48, u":-#"},   {49, u"8o|"},    {50, u"8-|"},
    {51, u"^o)"},  {52, u":-*"},  {53, u"+o("},   {54, u"(sn)"},  {55, u"(tu)"},   {56, u"(pl)"},
    {57, u"(||)"}, {58, u"(pi)"}, {59, u"(so)"},  {60, u"(au)"},  {61, u"(ap)"},   {62, u"(um)"},
    {63, u"(ip)"}, {64, u"(co)"}, {65, u"(mp)"},  {66, u"(brb)"}, {67, u"(st)"},   {68, u"(yn)"},
    {69, u"(h5)"}, {70, u"(mo)"}, {71, u"(bah)"}, {72, u":^)"},   {73, u"*-)"},    {74, u"(li)"},
    {75, u":o"},   {75, u":-o"},  {76, u"8-)"},   {77, u"(ci)"},  {78, u"|-)"},    {79, u"(xx)"},
}};

std::u16string EmoticonImageTag(int n, std::u16string_view programFileName) {
  std::u16string tag = u"<img src=\"res://";
  tag.append(programFileName).append(u"/GIF/");
  for (char c : std::to_string(n))
    tag.push_back(static_cast<char16_t>(c));
  tag.append(u"\">");
  return tag;
}

namespace {

// For every UTF-16 unit, its simple case folding when that is ASCII, else 0: the codes are ASCII,
// so this is all matching needs, and one lookup per character of the body.
struct TAsciiFold {
  std::array<unsigned char, 0x10000> Of{};
  TAsciiFold() {
    for (char32_t c = 1; c < 0x10000; ++c) {
      char16_t f = SimpleFoldUnit(static_cast<char16_t>(c));
      Of[c] = f < 128 ? static_cast<unsigned char>(f) : 0;
    }
  }
};

const TAsciiFold& AsciiFold() {
  static const TAsciiFold table;
  return table;
}

size_t MatchCodeAt(std::u16string_view text, size_t at, std::u16string_view code) {
  if (text.size() - at < code.size()) return 0;
  const TAsciiFold& fold = AsciiFold();
  for (size_t k = 0; k < code.size(); ++k)
    if (fold.Of[text[at + k]] != code[k]) return 0;
  return code.size();
}

// Every "&" opens a reference that runs to the next ";".
struct TReferenceMap {
  std::vector<size_t> OpenAt;  // for each position: its reference's "&", or npos
  std::vector<size_t> CloseAt;
  void Build(std::u16string_view text) {
    OpenAt.assign(text.size(), std::u16string_view::npos);
    CloseAt.assign(text.size(), std::u16string_view::npos);
    for (size_t a = text.find(u'&'); a != std::u16string_view::npos; a = text.find(u'&', a + 1)) {
      const size_t b = text.find(u';', a + 1);
      if (b == std::u16string_view::npos) break;  // an "&" without a ";" after it opens nothing
      for (size_t p = a; p <= b; ++p) {
        OpenAt[p] = a;
        CloseAt[p] = b;
      }
      a = b;
    }
  }
  // An occurrence may hold whole references but may neither start after a reference's "&" nor
  // end before its ";".
  bool Cuts(size_t start, size_t length) const {
    size_t last = start + length - 1;
    if (OpenAt[start] != std::u16string_view::npos && OpenAt[start] < start) return true;
    return OpenAt[last] != std::u16string_view::npos && last < CloseAt[last];
  }
};

bool HasCodeFold(std::u16string_view text) {
  for (const TEmoticonCode& c : EmoticonCodes)
    for (size_t i = 0; i < text.size(); ++i)
      if (MatchCodeAt(text, i, c.Code)) return true;
  return false;
}

// The codes whose first character is c, in replacement order.
struct TFirstCharIndex {
  std::array<std::vector<int>, 128> ByChar;
  std::array<bool, 128> Starts{};
  TFirstCharIndex() {
    for (int i = 0; i < EmoticonCodeCount; ++i) {
      ByChar[EmoticonCodes[i].Code[0]].push_back(i);
      Starts[EmoticonCodes[i].Code[0]] = true;
    }
  }
};

const TFirstCharIndex& FirstChars() {
  static const TFirstCharIndex index;
  return index;
}

}  // namespace

TEmoticonReplacer::TEmoticonReplacer(std::u16string_view programFileName) {
  for (int n = 1; n <= EmoticonImageCount; ++n) {
    Tags[n] = EmoticonImageTag(n, programFileName);
    std::u16string_view tag = Tags[n];
    if (tag.find_first_of(u"&;\r\n\u2028") != std::u16string_view::npos || HasCodeFold(tag))
      TagsAreInert = false;
  }
}

void TEmoticonReplacer::ReplaceInLine(std::u16string& line) {
  if (TagsAreInert) {
    ReplaceByScan(line);
  } else {
    ReplaceByPasses(line);
  }
}

// No code holds "<" or ">", so none can reach into a tag, and the tags hold no code: the passes
// only ever replace text of the line as it was, and an occurrence is replaced exactly when no
// earlier code took any of its characters.
void TEmoticonReplacer::ReplaceByScan(std::u16string& line) {
  Candidates.clear();
  const TFirstCharIndex& index = FirstChars();
  const TAsciiFold& fold = AsciiFold();
  for (size_t i = 0; i < line.size(); ++i) {
    const unsigned char f = fold.Of[line[i]];
    if (!index.Starts[f]) continue;
    for (int code : index.ByChar[f])
      if (size_t n = MatchCodeAt(line, i, EmoticonCodes[code].Code))
        Candidates.push_back({code, i, n});
  }
  if (Candidates.empty()) return;

  static thread_local TReferenceMap references;
  bool hasReferences = line.find(u'&') != std::u16string::npos;
  if (hasReferences) references.Build(line);
  std::stable_sort(Candidates.begin(), Candidates.end(),
                   [](const TCandidate& a, const TCandidate& b) { return a.Code < b.Code; });
  Taken.assign(line.size(), 0);
  Accepted.clear();
  for (const TCandidate& c : Candidates) {
    if (hasReferences && references.Cuts(c.Start, c.Length)) continue;
    if (std::any_of(Taken.begin() + c.Start, Taken.begin() + c.Start + c.Length,
                    [](unsigned char t) { return t != 0; }))
      continue;
    std::fill(Taken.begin() + c.Start, Taken.begin() + c.Start + c.Length, 1);
    Accepted.push_back(c);
  }
  if (Accepted.empty()) return;
  std::sort(Accepted.begin(), Accepted.end(),
            [](const TCandidate& a, const TCandidate& b) { return a.Start < b.Start; });
  std::u16string out;
  out.reserve(line.size() + Accepted.size() * Tags[1].size());
  size_t from = 0;
  for (const TCandidate& c : Accepted) {
    out.append(line, from, c.Start - from).append(Tags[EmoticonCodes[c.Code].Image]);
    from = c.Start + c.Length;
  }
  out.append(line, from);
  line = std::move(out);
}

// Code by code over the line, for program file names that make the tags take part.
void TEmoticonReplacer::ReplaceByPasses(std::u16string& line) const {
  TReferenceMap references;
  for (const TEmoticonCode& code : EmoticonCodes) {
    references.Build(line);
    std::u16string out;
    size_t from = 0;
    for (size_t i = 0; i < line.size();) {
      size_t n = MatchCodeAt(line, i, code.Code);
      if (n == 0 || references.Cuts(i, n)) {
        ++i;
        continue;
      }
      out.append(line, from, i - from).append(Tags[code.Image]);
      i = from = i + n;
    }
    if (from == 0) continue;
    out.append(line, from);
    line = std::move(out);
  }
}

}  // namespace skribo
