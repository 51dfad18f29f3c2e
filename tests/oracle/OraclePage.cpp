// The oracle's pipeline from file bytes to the page, and the page's head and tail.
#include <map>

#include "common/TextCodec.h"
#include "oracle/Oracle.h"

namespace skribo::oracle {

namespace {

std::u16string Ascii(const std::string& s) {
  return std::u16string(s.begin(), s.end());
}

std::u16string Decimal(long long v) {
  return Ascii(std::to_string(v));
}

// The classic Windows default system colours as 0xRRGGBB.
const std::map<uint32_t, uint32_t>& SystemColors() {
  static const std::map<uint32_t, uint32_t> table = {
      {0, 0xD4D0C8},  {1, 0x3A6EA5},  {2, 0x0A246A},  {3, 0x808080},  {4, 0xD4D0C8},
      {5, 0xFFFFFF},  {6, 0x000000},  {7, 0x000000},  {8, 0x000000},  {9, 0xFFFFFF},
      {10, 0xD4D0C8}, {11, 0xD4D0C8}, {12, 0x808080}, {13, 0x0A246A}, {14, 0xFFFFFF},
      {15, 0xD4D0C8}, {16, 0x808080}, {17, 0x808080}, {18, 0x000000}, {19, 0xD4D0C8},
      {20, 0xFFFFFF}, {21, 0x404040}, {22, 0xD4D0C8}, {23, 0x000000}, {24, 0xFFFFE1},
      {26, 0x0000FF}, {27, 0xA6CAF0}, {28, 0xC0C0C0}, {29, 0x0A246A}, {30, 0xD4D0C8}};
  return table;
}

std::u16string Hex2(uint32_t v) {
  const char* digits = "0123456789ABCDEF";
  return {char16_t(digits[(v >> 4) & 15]), char16_t(digits[v & 15])};
}

std::u16string Block(char digit, const std::u16string& line) {
  const int n = digit <= '9' ? digit - '0' : digit - 'A' + 10;
  return u"<div class=\"Style" + Decimal(n) + u"\"> " + line + u" </div>";
}

}  // namespace

std::u16string ColorToHtml(uint32_t color) {
  uint32_t r = 0, g = 0, b = 0;
  if (color & 0x80000000u) {
    const auto it = SystemColors().find(color - 0x80000000u);
    if (it != SystemColors().end()) {
      r = it->second >> 16 & 0xFF;
      g = it->second >> 8 & 0xFF;
      b = it->second & 0xFF;
    }
  } else {
    r = color & 0xFF;
    g = color >> 8 & 0xFF;
    b = color >> 16 & 0xFF;
  }
  return u"#" + Hex2(r) + Hex2(g) + Hex2(b);
}

std::u16string BuildStyleSheet(const TRecOptions& options) {
  std::u16string head =
      u"<html>\r\n"
      u"<head>\r\n"
      u"<meta http-equiv=\"content-type\" content=\"text/html; charset=UTF-8\">\r\n"
      u"<style type=\"text/css\">\r\n"
      u"body { margin-left: 0; margin-top: 0; margin-right: 0; margin-bottom: 0; }\r\n"
      u"a:link    { text-decoration: underline; color: blue; }\r\n"
      u"a:visited { text-decoration: underline; color: blue; }\r\n"
      u"a:active  { text-decoration: underline; color: blue; }\r\n"
      u"a:hover   { text-decoration: none; color: blue; }\r\n";
  for (int n = 0; n < StyleCount; ++n) {
    const TRecStyle& s = options.Styles[n];
    head += u".Style" + Decimal(n) + u" { font-family: " + s.FontName + u"; font-size: " +
            Decimal(s.FontSize) + u"pt; color: " + ColorToHtml(s.FontColor) + u"; ";
    if (s.FontStyle & fsBold) head += u"font-weight: bold; ";
    if (s.FontStyle & fsItalic) head += u"font-style: italic; ";
    if (s.FontStyle & fsUnderline) head += u"text-decoration: underline; ";
    head += u"}\r\n";
  }
  head += u"</style>\r\n</head>\r\n<body>\r\n";
  return head;
}

std::u16string BuildDocumentTail() {
  return u"</body>\r\n</html>";
}

std::u16string OracleConvertLogToHtml(const TOracleInput& in) {
  TLines lines = LoadLogLines(in.FileBytes);
  std::u16string text = JoinLines(lines);
  if (!IsLogText(text)) return {};

  text = JoinContinuationLines(text);
  text = EncodeEntities(text);
  lines = SplitLines(text);

  const std::string classes = DetectLogFormat(lines, in.Options, in.NameChangePattern);
  for (size_t i = 0; i < lines.size(); ++i)
    lines[i] = Block(classes[i], lines[i]);
  text = JoinLines(lines);

  if (in.Options.ShowEmoticons) text = ReplaceEmoticons(text, in.ProgramFileName);
  if (in.Options.ConvertURLsToLinks) text = ConvertLinks(text, u"_blank");
  return ReplaceText(text, u"  ", u"&nbsp;&nbsp;", rfReplaceAll);
}

std::string OracleBuildPage(const TOracleInput& in) {
  const std::u16string body = OracleConvertLogToHtml(in);
  if (body.empty()) return {};
  return EncodeUtf8(BuildStyleSheet(in.Options) + body + BuildDocumentTail());
}

}  // namespace skribo::oracle
