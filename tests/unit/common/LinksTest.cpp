#include <gtest/gtest.h>

#include "common/Misc.h"

namespace skribo {
namespace {

TEST(Links, EdgeCharacters) {
  for (char16_t c : std::u16string(u"/09?AZaz\\\u00C0\u00FF\u4E2D\u0080\xD83D"))
    EXPECT_TRUE(IsLinkEdgeChar(c)) << int(c);
  for (char16_t c : std::u16string(u" .,:;()<>&\"'-_@[]{}\t\u00A0\u00BF\u20AC\u0081"))
    EXPECT_FALSE(IsLinkEdgeChar(c)) << int(c);
}

TEST(Links, EmailAddresses) {
  struct TCase {
    std::u16string Word;
    bool Email;
  } cases[] = {
      {u"bob@x.com", true},
      {u"@home", false},
      {u"a@b", false},
      {u"bob@x.", false},
      {u"bob.x@", false},
      {u"b.@x", true},
      {u"x.y@z", true},
      {u"", false},
      {u"\tb@x.c", true},
      {u".a@b.c", false},
      {u"http://u@h.com/", true},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(IsEmailAddress(c.Word), c.Email) << c.Word.size();
}

TEST(Links, TokensKeepEntityReferencesWhole) {
  using TViews = std::vector<std::u16string_view>;
  EXPECT_EQ(SplitLinkTokens(u"(see  www.x.com)."),
            (TViews{u"(", u"see", u" ", u" ", u"www.x.com", u")", u"."}));
  EXPECT_EQ(SplitLinkTokens(u"&lt;bob@x.com&gt;"), (TViews{u"&lt;", u"bob@x.com", u"&gt;"}));
  EXPECT_EQ(SplitLinkTokens(u"caf&eacute;&amp;"), (TViews{u"caf&eacute;", u"&amp;"}));
  EXPECT_EQ(SplitLinkTokens(u"&Agrave;b"), TViews{u"&Agrave;b"});
  EXPECT_EQ(SplitLinkTokens(u"a&b;"), (TViews{u"a&b", u";"}));
}

TEST(Links, LineConversion) {
  struct TCase {
    std::u16string Line, Expected;
  } cases[] = {
      {u"go www.x.com.", u"go <a href=\"http://www.x.com\" target=\"_blank\">www.x.com</a>."},
      {u"(http://x.com/a?)",
       u"(<a href=\"http://x.com/a?\" target=\"_blank\">http://x.com/a?</a>)"},
      {u"HTTP://x.com WWW.x.com", u"HTTP://x.com WWW.x.com"},
      {u"&lt;bob@x.com&gt;", u"&lt;<a href=\"mailto:bob@x.com\">bob@x.com</a>&gt;"},
      {u"&quot;www.x.com&quot;",
       u"&quot;<a href=\"http://www.x.com\" target=\"_blank\">www.x.com</a>&quot;"},
      {u"mailto:bo@x.com", u"<a href=\"mailto:bo@x.com\">mailto:bo@x.com</a>"},
      {u"http://u@h.com", u"<a href=\"mailto:http://u@h.com\">http://u@h.com</a>"},
      {u"ftp.x.org irc.y.net gopher.z",
       u"<a href=\"ftp://ftp.x.org\" target=\"_blank\">ftp.x.org</a> "
       u"<a href=\"irc://irc.y.net\" target=\"_blank\">irc.y.net</a> "
       u"<a href=\"gopher://gopher.z\" target=\"_blank\">gopher.z</a>"},
      {u"a@b @home no.links", u"a@b @home no.links"},
  };
  for (const TCase& c : cases) {
    std::u16string line = c.Line;
    ConvertLinksInLine(line, u"_blank");
    EXPECT_EQ(line, c.Expected);
  }
  EXPECT_EQ(ConvertLinks(u"a www.b.c\r\nd\n", u"t"),
            u"a <a href=\"http://www.b.c\" target=\"t\">www.b.c</a>\r\nd\r\n");
}

}  // namespace
}  // namespace skribo
