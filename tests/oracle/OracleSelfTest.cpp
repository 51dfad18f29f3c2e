// Hand-computed results for tiny inputs: the oracle is only worth comparing against if it is
// right on the cases that a reader can work out on paper.
#include <gtest/gtest.h>

#include "common/TextCodec.h"
#include "oracle/Oracle.h"

namespace skribo::oracle {
namespace {

const std::u16string kBorder = u"." + std::u16string(68, u'-') + u".";
const std::u16string kBorderBlock = u"<div class=\"Style0\"> " + kBorder + u" </div>\r\n";

// A byte string literal with its NULs.
template <size_t N>
std::string Bytes(const char (&s)[N]) {
  return std::string(s, N - 1);
}

std::u16string Tag(int n) {
  return EmoticonImageTag(n, u"skribo");
}

std::u16string Anchor(const std::u16string& href, const std::u16string& text) {
  return u"<a href=\"" + href + u"\" target=\"_blank\">" + text + u"</a>";
}

// Emoticons, links and shortening off, so that each case shows one behaviour.
TRecOptions PlainOptions() {
  TRecOptions o = DefaultOptions();
  o.ShowEmoticons = false;
  o.ConvertURLsToLinks = false;
  o.ReTruncateLongContactNames = false;
  return o;
}

std::u16string Body(const std::vector<std::u16string>& lines, const TRecOptions& options,
                    const std::u16string& pattern = {}) {
  TOracleInput in;
  in.FileBytes = "\xEF\xBB\xBF" + EncodeUtf8(JoinLines(lines));
  in.Options = options;
  in.NameChangePattern = pattern;
  return OracleConvertLogToHtml(in);
}

TEST(OracleText, LineBreaksAndTheEndOfTheText) {
  struct TCase {
    std::u16string Text;
    TLines Lines;
  };
  const TCase cases[] = {
      {u"", {}},
      {u"a\r\n", {u"a"}},
      {u"a", {u"a"}},
      {u"a\r\n\u2028b", {u"a", u"b"}},
      {u"a\n\u2028b", {u"a", u"b"}},
      {u"a\n\rb", {u"a", u"", u"b"}},
      {u"a\u2028\rb", {u"a", u"", u"b"}},
      {u"a\r\rb\r\n\r\n", {u"a", u"", u"b", u""}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(SplitLines(c.Text), c.Lines);

  // The first NUL ends the text, wherever the line breaks are.
  EXPECT_EQ(LoadLogLines(Bytes("\xEF\xBB\xBF.a\r\nb\0c\r\nd")), (TLines{u".a", u"b"}));
  EXPECT_EQ(LoadLogLines(Bytes("\xFF\xFE.\0\0\0x\0")), (TLines{u"."}));
}

TEST(OracleText, ReplaceTextFlags) {
  EXPECT_EQ(ReplaceText(u"aXaxa", u"x", u"-", 0), u"aXa-a");
  EXPECT_EQ(ReplaceText(u"aXaxa", u"x", u"-", rfIgnoreCase), u"a-axa");
  EXPECT_EQ(ReplaceText(u"aXaxa", u"x", u"-", rfReplaceAll | rfIgnoreCase), u"a-a-a");
  // Left to right, no overlap, replaced text not searched again.
  EXPECT_EQ(ReplaceText(u"aaaaa", u"aa", u"a", rfReplaceAll), u"aaa");
  EXPECT_EQ(ReplaceText(u"   ", u"  ", u"&nbsp;&nbsp;", rfReplaceAll), u"&nbsp;&nbsp; ");
  EXPECT_EQ(ReplaceText(u"abc", u"", u"x", rfReplaceAll), u"abc");
  // Simple folding: the Kelvin sign and the long s fold into ASCII, sharp s stays one letter.
  EXPECT_EQ(ReplaceText(u"(\u212A) (\u017F) ss", u"(k)", u"K", rfReplaceAll | rfIgnoreCase),
            u"K (\u017F) ss");
  EXPECT_EQ(ReplaceText(u"(\u017F)", u"(S)", u"S", rfReplaceAll | rfIgnoreCase), u"S");
  EXPECT_EQ(ReplaceText(u"\u00DF", u"ss", u"x", rfReplaceAll | rfIgnoreCase), u"\u00DF");
}

TEST(OracleText, EntitiesAndContinuationLines) {
  EXPECT_EQ(EncodeEntities(u"a&<b>\"\u00E9'\u00A0\u00FF\u0100"),
            u"a&amp;&lt;b&gt;&quot;&eacute;'&nbsp;&yuml;\u0100");
  EXPECT_EQ(DecodeEntities(u"&amp;lt; &lt; &Eacute;&eacute;"), u"&lt; < \u00C9\u00E9");
  EXPECT_EQ(EntityTable().size(), 100u);

  // Blank-led lines join with one blank; the trim takes controls up to U+0020 but not U+00A0;
  // a tab does not start a continuation.
  EXPECT_EQ(JoinContinuationLines(u"a\r\n  b \t\r\n   \r\n\tc\r\n \u00A0x\x7F\r\n \x01\ty\x1F\r\n"),
            u"a b \r\n\tc \u00A0x\x7F y\r\n");
}

TEST(OracleText, PatternValues) {
  EXPECT_EQ(ExtractPatternValues(u"%s is now known as %s", u"Ann is now known as Bea", u"%s"),
            (std::vector<std::u16string>{u"Ann", u"Bea"}));
  // The old name is taken whole when it holds the fixed text itself.
  EXPECT_EQ(ExtractPatternValues(u"%s to %s", u"Go to Rome to Ann", u"%s"),
            (std::vector<std::u16string>{u"Go to Rome", u"Ann"}));
  // A leading fixed text is taken at its first occurrence.
  EXPECT_EQ(ExtractPatternValues(u"[%s] renamed to [%s]", u"[Ann] renamed to [Bea]", u"%s"),
            (std::vector<std::u16string>{u"Ann", u"Bea"}));
  EXPECT_TRUE(ExtractPatternValues(u"", u"Ann", u"%s").empty());
}

TEST(OracleEmoticons, WorkedExamples) {
  struct TCase {
    std::u16string Encoded, Expected;
  };
  const TCase cases[] = {
      // Row 14 "(a)" is replaced before row 53 "+o(" is tried.
      {u"+o(a)", u"+o" + Tag(14)},
      // The wink would take the ";" of the reference.
      {u"(Caf&eacute;)", u"(Caf&eacute;)"},
      {u"&eacute;;)", u"&eacute;" + Tag(19)},
      // Codes that hold whole references still match.
      {u"(&amp;) &lt;:o)", Tag(3) + u" " + Tag(4)},
      {u":-) (Y) :D", Tag(1) + u" " + Tag(41) + u" " + Tag(2)},
      {u"(\u212A)", Tag(28)},
      {u"&lt;:o):o", Tag(4) + Tag(75)},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ReplaceEmoticons(c.Encoded, u"skribo"), c.Expected) << EncodeUtf8(c.Encoded);
  EXPECT_EQ(Tag(14), u"<img src=\"res://skribo/GIF/14\">");
}

TEST(OracleLinks, TokensAndEdges) {
  EXPECT_EQ(SplitLinkTokens(u" (&lt;a&gt;),  x"),
            (std::vector<std::u16string>{u" ", u"(", u"&lt;", u"a", u"&gt;", u")", u",", u" ", u" ",
                                         u"x"}));
  // References of letters from 192 up are part of the word.
  EXPECT_EQ(SplitLinkTokens(u"&Agrave;b&eacute;&nbsp;"),
            (std::vector<std::u16string>{u"&Agrave;b&eacute;", u"&nbsp;"}));
  EXPECT_TRUE(IsLinkEdgeChar(u'\u4E2D'));   // not in the code page: "?"
  EXPECT_FALSE(IsLinkEdgeChar(u'\u20AC'));  // byte 128
  EXPECT_FALSE(IsLinkEdgeChar(u'\t'));
  EXPECT_TRUE(IsEmailAddress(u"a@b.c"));
  EXPECT_TRUE(IsEmailAddress(u"a.b@c"));
  EXPECT_FALSE(IsEmailAddress(u"a@b"));
  EXPECT_FALSE(IsEmailAddress(u"@home.x"));
  EXPECT_FALSE(IsEmailAddress(u"a@b.c."));
}

TEST(OracleLinks, WorkedExamples) {
  struct TCase {
    std::u16string Line, Expected;
  };
  const TCase cases[] = {
      {u" &lt;bob@x.com&gt; ", u" &lt;<a href=\"mailto:bob@x.com\">bob@x.com</a>&gt; "},
      {u" www.x.com ", u" " + Anchor(u"http://www.x.com", u"www.x.com") + u" "},
      {u" &quot;www.x.com&quot; ",
       u" &quot;" + Anchor(u"http://www.x.com", u"www.x.com") + u"&quot; "},
      {u" (http://x.com/a?b=1). ",
       u" (" + Anchor(u"http://x.com/a?b=1", u"http://x.com/a?b=1") + u"). "},
      {u" mailto:bob@x.com ", u" <a href=\"mailto:bob@x.com\">mailto:bob@x.com</a> "},
      // Row 0 comes first: a user name before the host makes a mail link.
      {u" http://u@x.com/ ", u" <a href=\"mailto:http://u@x.com/\">http://u@x.com/</a> "},
      {u" a@b @home HTTP://X.COM WWW.X.COM ", u" a@b @home HTTP://X.COM WWW.X.COM "},
      {u" &Agrave;www.x.com ", u" &Agrave;www.x.com "},
      {u" ftp.x.org irc://i.x ", u" " + Anchor(u"ftp://ftp.x.org", u"ftp.x.org") + u" " +
                                     Anchor(u"irc://i.x", u"irc://i.x") + u" "},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ConvertLinks(c.Line + u"\r\n", u"_blank"), c.Expected + u"\r\n");
}

TEST(OraclePipeline, SmallLogWithDefaults) {
  const std::u16string body =
      Body({kBorder, u"| Participants:", u"|    Ann (ann@x.com)", u"|    ...Bob   |", kBorder,
            u"[12:00:00] Ann: hi :) see www.x.com", u"[12:00:01] Bob: a  b & <c>", u"  more", u""},
           DefaultOptions());
  EXPECT_EQ(body,
            kBorderBlock + u"<div class=\"Style0\"> | Participants: </div>\r\n" +
                u"<div class=\"Style0\"> |&nbsp;&nbsp;&nbsp;&nbsp;Ann (<a "
                u"href=\"mailto:ann@x.com\">ann@x.com</a>) </div>\r\n" +
                u"<div class=\"Style0\"> |&nbsp;&nbsp;&nbsp;&nbsp;...Bob&nbsp;&nbsp; | </div>\r\n" +
                kBorderBlock + u"<div class=\"Style4\"> [12:00:00] Ann: hi " + Tag(1) + u" see " +
                Anchor(u"http://www.x.com", u"www.x.com") + u" </div>\r\n" +
                u"<div class=\"Style5\"> [12:00:01] Bob: a&nbsp;&nbsp;b &amp; &lt;c&gt; more "
                u"</div>\r\n" +
                u"<div class=\"Style1\">&nbsp;&nbsp;</div>\r\n");
}

TEST(OraclePipeline, NotALog) {
  TOracleInput in;
  for (const char* bytes : {"", "\xEF\xBB\xBF", "\r\n.x", " .x", "\xEF\xBB\xBF\r\n.x", "x."}) {
    in.FileBytes = bytes;
    EXPECT_TRUE(OracleConvertLogToHtml(in).empty()) << bytes;
    EXPECT_TRUE(OracleBuildPage(in).empty());
  }
  in.FileBytes = Bytes("\xFE\xFF\0.");
  EXPECT_EQ(OracleConvertLogToHtml(in), u"<div class=\"Style1\"> . </div>\r\n");
}

TEST(OraclePipeline, AttributionTieAndConversations) {
  // In Anna's line both names start at the name position: the one listed first wins. Bob's line
  // that mentions Ann later is Bob's; a stranger's line mentioning Ann is Ann's. The second
  // conversation has its own list and its own timestamp width.
  TRecOptions o = PlainOptions();
  o.ShowContactNamesBold = true;
  const std::u16string body =
      Body({kBorder, u"|    Ann (a)", u"|    Anna (b)", u"|    Bob (c)", kBorder,
            u"[1:00] Anna: hi", u"[1:01] Bob: hi Ann", u"[1:02] Eve: hi Ann", kBorder,
            u"|    Eve (e)", kBorder, u"[2008-01-01 1:03] Eve: Ann?"},
           o);
  const std::u16string box1 =
      u"<div class=\"Style0\"> |&nbsp;&nbsp;&nbsp;&nbsp;Ann (a) </div>\r\n"
      u"<div class=\"Style0\"> |&nbsp;&nbsp;&nbsp;&nbsp;Anna (b) </div>\r\n"
      u"<div class=\"Style0\"> |&nbsp;&nbsp;&nbsp;&nbsp;Bob (c) </div>\r\n";
  EXPECT_EQ(body, kBorderBlock + box1 + kBorderBlock +
                      u"<div class=\"Style4\"> [1:00] <b>Ann</b>a: hi </div>\r\n"
                      u"<div class=\"Style6\"> [1:01] <b>Bob</b>: hi Ann </div>\r\n"
                      u"<div class=\"Style4\"> [1:02] Eve: hi Ann </div>\r\n" +
                      kBorderBlock +
                      u"<div class=\"Style0\"> |&nbsp;&nbsp;&nbsp;&nbsp;Eve (e) </div>\r\n" +
                      kBorderBlock +
                      u"<div class=\"Style4\"> [2008-01-01 1:03] <b>Eve</b>: Ann? </div>\r\n");
}

TEST(OraclePipeline, NameChanges) {
  const TRecOptions o = PlainOptions();
  const std::u16string box =
      kBorderBlock +
      u"<div class=\"Style0\"> |&nbsp;&nbsp;&nbsp;&nbsp;Ann (a) </div>\r\n"
      u"<div class=\"Style0\"> |&nbsp;&nbsp;&nbsp;&nbsp;Anna (b) </div>\r\n" +
      kBorderBlock;
  const std::vector<std::u16string> head = {kBorder, u"|    Ann (a)", u"|    Anna (b)", kBorder};
  auto with = [&](std::vector<std::u16string> lines) {
    lines.insert(lines.begin(), head.begin(), head.end());
    return lines;
  };

  // A fixed text before the first name; the old name no longer attributes lines afterwards.
  EXPECT_EQ(Body(with({u"[1:00] * [Ann] renamed to [Bea]", u"[1:01] Bea: x", u"[1:02] Ann: y"}), o,
                 u"[%s] renamed to [%s]"),
            box +
                u"<div class=\"Style3\"> [1:00] * [Ann] renamed to [Bea] </div>\r\n"
                u"<div class=\"Style4\"> [1:01] Bea: x </div>\r\n"
                u"<div class=\"Style1\"> [1:02] Ann: y </div>\r\n");

  // The participant whose name is the old name is renamed, not the first one it contains.
  EXPECT_EQ(Body(with({u"* Anna is now known as Bea", u"Bea: y", u"Ann: z"}), o,
                 u"%s is now known as %s"),
            box +
                u"<div class=\"Style3\"> * Anna is now known as Bea </div>\r\n"
                u"<div class=\"Style5\"> Bea: y </div>\r\n"
                u"<div class=\"Style4\"> Ann: z </div>\r\n");

  // The pattern is encoded like the text; no pattern recognises nothing.
  EXPECT_EQ(Body(with({u"* Ann & co. \u2192 Bo\u00EB"}), o, u"%s & co. \u2192 %s"),
            box + u"<div class=\"Style3\"> * Ann &amp; co. \u2192 Bo&euml; </div>\r\n");
  EXPECT_EQ(Body(with({u"* Ann is now known as Bea"}), o),
            box + u"<div class=\"Style4\"> * Ann is now known as Bea </div>\r\n");
}

TEST(OraclePipeline, BoldShorteningAndHiddenTimestamps) {
  TRecOptions o = PlainOptions();
  o.ShowContactNamesBold = true;
  o.ReTruncateLongContactNames = true;
  o.ReTruncateLongContactNamesChars = 10;
  const std::vector<std::u16string> lines = {kBorder,
                                             u"|    Alexandrina Smith (a)",
                                             u"|    Tom & Jerry Smith (t)",
                                             u"|    Abcdefghi\U0001F600x (e)",
                                             u"|    Ann Lee" + std::u16string(21, u' ') + u"|",
                                             kBorder,
                                             u"[12:00:00] Alexandrina Smith: hi Alexandrina Smith",
                                             u"[12:00:01] Tom & Jerry Smith: hi",
                                             u"[12:00:02] Abcdefghi\U0001F600x: hi",
                                             u"[12:00:03] Ann Lee: hi",
                                             u"[12:00:04] Eve: Ann Lee"};
  const std::u16string head =
      kBorderBlock +
      u"<div class=\"Style0\"> |&nbsp;&nbsp;&nbsp;&nbsp;Alexandrina Smith (a) </div>\r\n"
      u"<div class=\"Style0\"> |&nbsp;&nbsp;&nbsp;&nbsp;Tom &amp; Jerry Smith (t) </div>\r\n"
      u"<div class=\"Style0\"> |&nbsp;&nbsp;&nbsp;&nbsp;Abcdefghi\U0001F600x (e) </div>\r\n"
      u"<div class=\"Style0\"> |&nbsp;&nbsp;&nbsp;&nbsp;Ann "
      u"Lee&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&"
      u"nbsp;"
      u"&nbsp;&nbsp;&nbsp;&nbsp;&nbsp; | </div>\r\n" +
      kBorderBlock;
  // Shortening counts characters, not encoded length, and never splits a surrogate pair; only
  // the sender's own name is touched.
  EXPECT_EQ(Body(lines, o),
            head +
                u"<div class=\"Style4\"> [12:00:00] <b>Alexandrin</b>: hi Alexandrin </div>\r\n"
                u"<div class=\"Style5\"> [12:00:01] <b>Tom &amp; Jerr</b>: hi </div>\r\n"
                u"<div class=\"Style6\"> [12:00:02] <b>Abcdefghi</b>: hi </div>\r\n"
                u"<div class=\"Style7\"> [12:00:03] <b>Ann Lee</b>: hi </div>\r\n"
                u"<div class=\"Style7\"> [12:00:04] Eve: Ann Lee </div>\r\n");

  o.ReTruncateLongContactNames = false;
  o.DontShowTimestamp = true;
  EXPECT_EQ(Body(lines, o),
            head +
                u"<div class=\"Style4\">&nbsp;&nbsp;<b>Alexandrina Smith</b>: hi Alexandrina "
                u"Smith </div>\r\n"
                u"<div class=\"Style5\">&nbsp;&nbsp;<b>Tom &amp; Jerry Smith</b>: hi </div>\r\n"
                u"<div class=\"Style6\">&nbsp;&nbsp;<b>Abcdefghi\U0001F600x</b>: hi </div>\r\n"
                u"<div class=\"Style7\">&nbsp;&nbsp;<b>Ann Lee</b>: hi </div>\r\n"
                u"<div class=\"Style7\">&nbsp;&nbsp;Eve: Ann Lee </div>\r\n");
}

TEST(OraclePipeline, ElevenParticipantsRepeatTheStyles) {
  std::vector<std::u16string> lines = {kBorder};
  for (char c = 'A'; c <= 'L'; ++c)
    lines.push_back(u"|    P" + std::u16string(1, c) + u" (x)");
  lines.push_back(kBorder);
  lines.push_back(u"PK: k");
  lines.push_back(u"PL: l");
  const std::u16string body = Body(lines, PlainOptions());
  EXPECT_NE(body.find(u"<div class=\"Style4\"> PK: k </div>\r\n<div class=\"Style5\"> PL: l"),
            std::u16string::npos);
}

TEST(OraclePage, StyleSheetAndColours) {
  const std::u16string head = BuildStyleSheet(DefaultOptions());
  const std::u16string start =
      u"<html>\r\n<head>\r\n<meta http-equiv=\"content-type\" content=\"text/html; "
      u"charset=UTF-8\">\r\n<style type=\"text/css\">\r\n"
      u"body { margin-left: 0; margin-top: 0; margin-right: 0; margin-bottom: 0; }";
  EXPECT_EQ(head.substr(0, start.size()), start);
  EXPECT_NE(head.find(u"\r\na:link    { text-decoration: underline; color: blue; }\r\n"
                      u"a:visited { text-decoration: underline; color: blue; }\r\n"
                      u"a:active  { text-decoration: underline; color: blue; }\r\n"
                      u"a:hover   { text-decoration: none; color: blue; }\r\n"
                      u".Style0 { font-family: Courier New; font-size: 8pt; color: #008000; "
                      u"font-weight: bold; }\r\n"
                      u".Style1 { font-family: Tahoma; font-size: 8pt; color: #000000; "
                      u"font-weight: bold; font-style: italic; }\r\n"),
            std::u16string::npos);
  EXPECT_NE(head.find(u".Style4 { font-family: Tahoma; font-size: 8pt; color: #000080; }\r\n"),
            std::u16string::npos);
  EXPECT_NE(head.find(u".Style11 { font-family: Tahoma; font-size: 8pt; color: #A6CAF0; }\r\n"
                      u".Style12 { font-family: Tahoma; font-size: 8pt; color: #008080; }\r\n"
                      u".Style13 { font-family: Tahoma; font-size: 8pt; color: #800000; }\r\n"
                      u"</style>\r\n</head>\r\n<body>\r\n"),
            std::u16string::npos);
  EXPECT_EQ(head.size(), head.find(u"<body>\r\n") + 8);

  TRecOptions o = DefaultOptions();
  o.Styles[2] = {u"", 0x80000001u, -3, 0x0F};
  EXPECT_NE(BuildStyleSheet(o).find(u".Style2 { font-family: ; font-size: -3pt; color: #3A6EA5; "
                                    u"font-weight: bold; font-style: italic; text-decoration: "
                                    u"underline; }\r\n"),
            std::u16string::npos);
  EXPECT_EQ(ColorToHtml(0x80000019u), u"#000000");  // no system colour 25
  EXPECT_EQ(ColorToHtml(0x80000018u), u"#FFFFE1");
  EXPECT_EQ(ColorToHtml(0x1FFFFFFFu), u"#FFFFFF");
  EXPECT_EQ(ColorToHtml(0x20000000u), u"#000000");
  EXPECT_EQ(ColorToHtml(0x00563412u), u"#123456");
}

TEST(OraclePage, PageIsUtf8WithHeadAndTail) {
  TOracleInput in;
  in.Options = PlainOptions();
  in.FileBytes = "\xFF\xFE";
  for (char16_t c : std::u16string(u".\u00E9\xD800"))
    in.FileBytes += {char(c & 0xFF), char(c >> 8)};
  const std::string page = OracleBuildPage(in);
  const std::string tail =
      "<div class=\"Style1\"> .&eacute;\xEF\xBF\xBD </div>\r\n</body>\r\n</html>";
  ASSERT_GE(page.size(), tail.size());
  EXPECT_EQ(page.substr(page.size() - tail.size()), tail);
  EXPECT_EQ(page.substr(0, 8), "<html>\r\n");
}

}  // namespace
}  // namespace skribo::oracle
