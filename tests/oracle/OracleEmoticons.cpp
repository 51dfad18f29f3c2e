// The oracle's emoticon pass: 79 rows, 90 codes, each an ignore-case replace-all over the body.
#include "oracle/Oracle.h"

namespace skribo::oracle {

namespace {

// For every position, the start of the entity reference ("&" up to the next ";") that covers
// it, or npos.
std::vector<size_t> ReferenceStarts(const std::u16string& s) {
  std::vector<size_t> owner(s.size(), std::u16string::npos);
  for (size_t a = 0; a < s.size(); ++a) {
    if (s[a] != u'&') continue;
    const size_t b = s.find(u';', a + 1);
    if (b == std::u16string::npos) break;
    for (size_t q = a; q <= b; ++q)
      owner[q] = a;
    a = b;
  }
  return owner;
}

// An occurrence [s, e) may not start after a reference's "&" up to its ";", nor end from its
// "&" up to before its ";".
bool CutsReference(const std::u16string& text, const std::vector<size_t>& owner, size_t s,
                   size_t e) {
  if (owner[s] != std::u16string::npos && owner[s] < s) return true;
  const size_t last = e - 1;
  return owner[last] != std::u16string::npos && text[last] != u';';
}

std::u16string ReplaceCode(const std::u16string& text, const std::u16string& code,
                           const std::u16string& tag) {
  const std::vector<size_t> owner = ReferenceStarts(text);
  return ReplaceText(text, code, tag, rfReplaceAll | rfIgnoreCase,
                     [&](size_t s, size_t e) { return !CutsReference(text, owner, s, e); });
}

}  // namespace

const std::vector<std::vector<std::u16string>>& EmoticonTable() {
  static const std::vector<std::vector<std::u16string>> table = {
      {u":)", u":-)"}, {u":d", u":-d"}, {u"(&amp;)"},    {u"&lt;:o)"},    {u":p", u":-p"},
      {u"(h)"},        {u":@", u":-@"}, {u":$", u":-$"}, {u":s", u":-s"}, {u":(", u":-("},
      {u":'("},        {u":|", u":-|"}, {u"(6)"},        {u"(a)"},        {u"(l)"},
      {u"(u)"},        {u"(m)"},        {u"(@)"},        {u";)", u";-)"}, {u"(s)"},
      {u"(*)"},        {u"(~)"},        {u"(8)"},        {u"(e)"},        {u"(f)"},
      {u"(w)"},        {u"(o)"},        {u"(k)"},        {u"(g)"},        {u"(^)"},
      {u"(p)"},        {u"(i)"},        {u"(c)"},        {u"(t)"},        {u"({)"},
      {u"(})"},        {u"(b)"},        {u"(d)"},        {u"(z)"},        {u"(x)"},
      {u"(y)"},        {u"(n)"},        {u":[", u":-["}, {u"(?)"},        {u"(%)"},
      {u"(#)"},        {u"(r)"},        {u":-#"},        {u"8o|"},        {u"8-|"},
      {u"^o)"},        {u":-*"},        {u"+o("},        {u"(sn)"},       {u"(tu)"},
      {u"(pl)"},       {u"(||)"},       {u"(pi)"},       {u"(so)"},       {u"(au)"},
      {u"(ap)"},       {u"(um)"},       {u"(ip)"},       {u"(co)"},       {u"(mp)"},
      {u"(brb)"},      {u"(st)"},       {u"(yn)"},       {u"(h5)"},       {u"(mo)"},
      {u"(bah)"},      {u":^)"},        {u"*-)"},        {u"(li)"},       {u":o", u":-o"},
      {u"8-)"},        {u"(ci)"},       {u"|-)"},        {u"(xx)"}};
  return table;
}

std::u16string EmoticonImageTag(int n, const std::u16string& programFileName) {
  std::string number = std::to_string(n);
  return u"<img src=\"res://" + programFileName + u"/GIF/" +
         std::u16string(number.begin(), number.end()) + u"\">";
}

std::u16string ReplaceEmoticons(const std::u16string& text, const std::u16string& programFileName) {
  std::u16string s = text;
  const auto& table = EmoticonTable();
  for (size_t row = 0; row < table.size(); ++row) {
    const std::u16string tag = EmoticonImageTag(int(row + 1), programFileName);
    for (const auto& code : table[row])
      s = ReplaceCode(s, code, tag);
  }
  return s;
}

}  // namespace skribo::oracle
