#include <gtest/gtest.h>

#include "common/Misc.h"

namespace skribo {
namespace {

using TStrings = std::vector<std::u16string>;

TEST(Misc, ReplaceTextFlags) {
  struct TCase {
    std::u16string S, Old, New;
    unsigned Flags;
    std::u16string Expected;
  } cases[] = {
      {u"a-a-a", u"a", u"b", 0, u"b-a-a"},
      {u"a-a-a", u"a", u"b", rfReplaceAll, u"b-b-b"},
      {u"A-a-A", u"a", u"b", rfReplaceAll, u"A-b-A"},
      {u"A-a-A", u"a", u"b", rfReplaceAll | rfIgnoreCase, u"b-b-b"},
      {u"aaa", u"aa", u"a", rfReplaceAll, u"aa"},       // no overlap, no second look
      {u"ab", u"a", u"aa", rfReplaceAll, u"aab"},       // replaced text is not searched again
      {u"x", u"", u"y", rfReplaceAll, u"x"},            // an empty text never occurs
      {u"(\u017F)", u"(s)", u"S", rfIgnoreCase, u"S"},  // long s folds to s
      {u"\u212A", u"k", u"!", rfIgnoreCase, u"!"},
      {u"STRASSE", u"stra\u00DFe", u"x", rfIgnoreCase, u"STRASSE"},  // no full folding
      {u"\U00010400!", u"\U00010428", u"d", rfIgnoreCase, u"d!"},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(ReplaceText(c.S, c.Old, c.New, c.Flags), c.Expected);
}

TEST(Misc, PositionsOfEmptyAndMissingTexts) {
  EXPECT_EQ(Pos(u"", u"abc"), 0u);
  EXPECT_EQ(LastPos(u"", u"abc"), 0u);
  EXPECT_EQ(Pos(u"b", u"abcb"), 2u);
  EXPECT_EQ(LastPos(u"b", u"abcb"), 4u);
  EXPECT_EQ(LastPos(u"z", u"abcb"), 0u);
}

TEST(Misc, SplitByText) {
  EXPECT_EQ(SplitByText(u"", u"%s"), TStrings{});
  EXPECT_EQ(SplitByText(u"%s is now %s", u"%s"), (TStrings{u"", u" is now ", u""}));
  EXPECT_EQ(SplitByText(u"plain", u"%s"), TStrings{u"plain"});
}

TEST(Misc, ExtractPatternValues) {
  struct TCase {
    std::u16string Pattern, Text;
    TStrings Values;
  } cases[] = {
      {u"%s is now known as %s", u"Ann is now known as Bea", {u"Ann", u"Bea"}},
      // The last occurrence of the fixed text splits, so an old name holding it stays whole.
      {u"%s is %s", u"Jo is Al is Ed", {u"Jo is Al", u"Ed"}},
      // A leading fixed text is cut at its first occurrence.
      {u"[%s] renamed to [%s]", u"[Ann] renamed to [Bea]", {u"Ann", u"Bea"}},
      {u"%s left", u"Ann left", {u"Ann"}},
      {u"%s is now known as %s", u"Ann is now known as ", {u"Ann"}},
      {u"", u"anything", {}},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(ExtractPatternValues(c.Pattern, c.Text, u"%s"), c.Values) << c.Text.size();
}

TEST(Misc, LineBreaks) {
  struct TCase {
    std::u16string Text;
    TStrings Lines;
  } cases[] = {
      {u"", {}},
      {u"a", {u"a"}},
      {u"a\r\n", {u"a"}},
      {u"a\r\nb", {u"a", u"b"}},
      {u"a\r\n\u2028b", {u"a", u"b"}},  // CR LF U+2028 is one break
      {u"a\n\rb", {u"a", u"", u"b"}},   // LF CR is two
      {u"a\u2028\rb", {u"a", u"", u"b"}},
      {u"a\rb\nc\u2028d", {u"a", u"b", u"c", u"d"}},
      {u"\r\n\r\n", {u"", u""}},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(SplitTextLines(c.Text), c.Lines);
}

TEST(Misc, Trimming) {
  EXPECT_EQ(TrimControls(u"\t \x01 a b\x1F "), u"a b");
  EXPECT_EQ(TrimControls(u"\u00A0a\x7F"), u"\u00A0a\x7F");
  EXPECT_EQ(TrimBlanks(u" \ta\t "), u"\ta\t");
}

}  // namespace
}  // namespace skribo
