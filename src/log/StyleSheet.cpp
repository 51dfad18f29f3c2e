// The head of the page with one class rule per style element, and its tail.
#include "common/TextCodec.h"
#include "log/uLogProcess.h"
#include "prefs/OptionValues.h"

namespace skribo {

namespace {

constexpr std::u16string_view HeadLines =
    u"<html>\r\n"
    u"<head>\r\n"
    u"<meta http-equiv=\"content-type\" content=\"text/html; charset=UTF-8\">\r\n"
    u"<style type=\"text/css\">\r\n"
    u"body { margin-left: 0; margin-top: 0; margin-right: 0; margin-bottom: 0; }\r\n"
    u"a:link    { text-decoration: underline; color: blue; }\r\n"
    u"a:visited { text-decoration: underline; color: blue; }\r\n"
    u"a:active  { text-decoration: underline; color: blue; }\r\n"
    u"a:hover   { text-decoration: none; color: blue; }\r\n";

void AppendNumber(std::u16string& out, long long n) {
  for (char c : std::to_string(n))
    out.push_back(static_cast<char16_t>(c));
}

}  // namespace

std::u16string BuildStyleSheet(const TRecOptions& options) {
  std::u16string sheet(HeadLines);
  for (int n = 0; n < StyleCount; ++n) {
    const TRecStyle& style = options.Styles[n];
    sheet.append(u".Style");
    AppendNumber(sheet, n);
    sheet.append(u" { font-family: ").append(style.FontName).append(u"; font-size: ");
    AppendNumber(sheet, style.FontSize);
    sheet.append(u"pt; color: ").append(ColorToHtml(style.FontColor)).append(u"; ");
    if (style.FontStyle & fsBold) sheet.append(u"font-weight: bold; ");
    if (style.FontStyle & fsItalic) sheet.append(u"font-style: italic; ");
    if (style.FontStyle & fsUnderline) sheet.append(u"text-decoration: underline; ");
    sheet.append(u"}\r\n");
  }
  sheet.append(u"</style>\r\n</head>\r\n<body>\r\n");
  return sheet;
}

std::u16string BuildDocumentTail() {
  return u"</body>\r\n</html>";
}

std::string BuildPageUtf8(const TRecOptions& options, std::u16string_view body) {
  std::string page = EncodeUtf8(BuildStyleSheet(options));
  page.reserve(page.size() + body.size() + body.size() / 8 + 32);
  AppendUtf8(page, body);
  AppendUtf8(page, BuildDocumentTail());
  return page;
}

}  // namespace skribo
