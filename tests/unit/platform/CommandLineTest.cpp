// SplitCommandLine and QuoteCommandLineArgument: the C runtime's splitting rules and the quoting
// that undoes them.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "common/TextCodec.h"
#include "platform/ProcessStart.h"

namespace skribo {
namespace {

using namespace std::string_literals;
using namespace std::string_view_literals;
using TArgs = std::vector<std::u16string>;

std::string Show(const TArgs& args) {
  std::string out = "{";
  for (const std::u16string& arg : args)
    out += "[" + Utf16ToUtf8(arg) + "]";
  return out + "}";
}

TEST(SplitCommandLineTest, FollowsTheRuntimeRules) {
  struct TCase {
    std::u16string_view Line;
    TArgs Expected;
  };
  const TCase cases[] = {
      {u"", {}},
      {u"  \t ", {}},
      {u"a b c", {u"a", u"b", u"c"}},
      {u"  a\t\tb  ", {u"a", u"b"}},
      {u"a\nb", {u"a\nb"}},
      // The tricky rows of the runtime's own documentation.
      {uR"("a b c" d e)", {u"a b c", u"d", u"e"}},
      {uR"("ab\"c" "\\" d)", {uR"(ab"c)", uR"(\)", u"d"}},
      {uR"(a\\\b d"e f"g h)", {uR"(a\\\b)", u"de fg", u"h"}},
      {uR"(a\\\"b c d)", {uR"(a\"b)", u"c", u"d"}},
      {uR"(a\\\\"b c" d e)", {uR"(a\\b c)", u"d", u"e"}},
      {uR"(a"b"" c d)", {uR"(ab" c d)"}},
      // Empty and unbalanced quotes.
      {uR"("")", {u""}},
      {uR"("" "")", {u"", u""}},
      {uR"(")", {u""}},
      {uR"(x "")", {u"x", u""}},
      {uR"("a b)", {u"a b"}},
      {uR"(a""b)", {u"ab"}},
      {uR"(a"" b)", {u"a", u"b"}},
      {uR"("a""b")", {uR"(a"b)"}},
      {uR"(""")", {uR"(")"}},
      {uR"("""")", {uR"(")"}},
      {uR"("a"b "c"d)", {u"ab", u"cd"}},
      // Backslashes.
      {uR"(\"a)", {uR"("a)"}},
      {uR"(\\"a b")", {uR"(\a b)"}},
      {uR"(a\)", {uR"(a\)"}},
      {uR"(\\server\share\x.txt)", {uR"(\\server\share\x.txt)"}},
      {uR"("a\\" b)", {uR"(a\)", u"b"}},
      // Quoting a path that ends in a backslash without doubling it loses the closing quote.
      {uR"("C:\Log dir\" next)", {uR"(C:\Log dir" next)"}},
      // The host add-on's parameter string, unquoted.
      {uR"(/LOG:C:\Logs\alice.ple)", {uR"(/LOG:C:\Logs\alice.ple)"}},
      {u"\"Grüße 日本\" \U0001F600", {u"Grüße 日本", u"\U0001F600"}},
      {u"a\0b c"sv, {u"a"}},
  };
  for (const TCase& c : cases) {
    EXPECT_EQ(Show(SplitCommandLine(c.Line)), Show(c.Expected)) << Utf16ToUtf8(c.Line);
  }
}

TEST(QuoteCommandLineArgumentTest, QuotesAndEscapes) {
  const std::pair<std::u16string_view, std::u16string_view> cases[] = {
      {u"", uR"("")"},
      {u"a", uR"("a")"},
      {u"a b", uR"("a b")"},
      {uR"(a"b)", uR"("a""b")"},
      {uR"(a\b)", uR"("a\b")"},
      {uR"(a\)", uR"("a\\")"},
      {uR"(a\"b)", uR"("a\\""b")"},
      {uR"(C:\Log dir\)", uR"("C:\Log dir\\")"},
  };
  for (const auto& [argument, quoted] : cases) {
    EXPECT_EQ(Utf16ToUtf8(QuoteCommandLineArgument(argument)), Utf16ToUtf8(quoted));
  }
}

// For a path without backslashes the quoting is exactly "in double quotes, a quote doubled".
TEST(QuoteCommandLineArgumentTest, MatchesQuoteDoublingWithoutBackslashes) {
  for (std::u16string path : {u"/home/me/Chat with \"Bob\".txt"s, u"\"\""s, u"x\"\"y"s}) {
    std::u16string doubled = u"\"";
    for (char16_t c : path)
      doubled += c == u'"' ? u"\"\"" : std::u16string(1, c);
    doubled += u'"';
    EXPECT_EQ(QuoteCommandLineArgument(path), doubled);
  }
}

// Every string up to five characters over the characters that matter.
TEST(QuoteCommandLineArgumentTest, RoundTripsEveryShortString) {
  const char16_t alphabet[] = {u' ', u'"', u'\\', u'a'};
  std::vector<std::u16string> level{u""};
  for (int length = 0; length <= 5; ++length) {
    std::vector<std::u16string> next;
    for (const std::u16string& s : level) {
      const TArgs back = SplitCommandLine(QuoteCommandLineArgument(s));
      ASSERT_EQ(back.size(), 1u) << Utf16ToUtf8(s);
      ASSERT_EQ(back[0], s) << Utf16ToUtf8(s);
      for (char16_t c : alphabet)
        next.push_back(s + c);
    }
    level = std::move(next);
  }
}

// Several awkward arguments joined on one line come back whole and in order.
TEST(QuoteCommandLineArgumentTest, RoundTripsGeneratedArgumentLists) {
  const std::u16string_view pieces[] = {u" ", u"\t", u"\"",   u"\\",  u"\\\\",
                                        u"a", u"Z",  u"é",    u"日",  u"\U0001F600",
                                        u"'", u"/",  u"\\\"", u"\"\""};
  const std::u16string_view separators[] = {u" ", u"\t", u"  \t "};
  std::mt19937 random(20240611);
  for (int round = 0; round < 3000; ++round) {
    TArgs args(random() % 5);
    for (std::u16string& arg : args) {
      for (unsigned n = random() % 9; n > 0; --n)
        arg += pieces[random() % std::size(pieces)];
    }
    std::u16string line = round % 2 == 0 ? u"" : u" ";
    for (size_t i = 0; i < args.size(); ++i) {
      if (i > 0) line += separators[random() % std::size(separators)];
      line += QuoteCommandLineArgument(args[i]);
    }
    ASSERT_EQ(Show(SplitCommandLine(line)), Show(args)) << Utf16ToUtf8(line);
  }
}

}  // namespace
}  // namespace skribo
