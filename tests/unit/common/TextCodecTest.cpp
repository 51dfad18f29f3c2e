#include <gtest/gtest.h>

#include "common/CaseFold.h"
#include "common/TextCodec.h"

namespace skribo {
namespace {

TEST(TextCodec, EveryMarkGivesTheSameText) {
  const std::u16string expected = u"caf\u00E9 \u20AC\U0001F600";
  const std::string utf8 = "caf\xC3\xA9 \xE2\x82\xAC\xF0\x9F\x98\x80";
  const std::string le =
      std::string("\xFF\xFE", 2) + std::string("c\0a\0f\0\xE9\0 \0\xAC\x20=\xD8\0\xDE", 16);
  const std::string be =
      std::string("\xFE\xFF", 2) + std::string("\0c\0a\0f\0\xE9\0 \x20\xAC\xD8=\xDE\0", 16);
  EXPECT_EQ(DecodeText("\xEF\xBB\xBF" + utf8), expected);
  EXPECT_EQ(DecodeText(le), expected);
  EXPECT_EQ(DecodeText(be), expected);
  // Without a mark the bytes are Windows-1252, UTF-8 or not.
  EXPECT_EQ(DecodeText("caf\xE9 \x80"), u"caf\u00E9 \u20AC");
  EXPECT_EQ(DecodeText("\xC3\xA9"), u"\u00C3\u00A9");
}

TEST(TextCodec, Windows1252UndefinedBytesStandForThemselves) {
  EXPECT_EQ(DecodeText("\x81\x8D\x8F\x90\x9D\x9F"), u"\u0081\u008D\u008F\u0090\u009D\u0178");
  for (int b = 0; b < 256; ++b)
    EXPECT_EQ(ToWindows1252(FromWindows1252(static_cast<uint8_t>(b))), b);
  EXPECT_EQ(ToWindows1252(u'\u0080'), '?');
  EXPECT_EQ(ToWindows1252(u'\u4E2D'), '?');
  EXPECT_EQ(ToWindows1252(u'\xD83D'), '?');
}

TEST(TextCodec, Utf16KeepsUnpairedSurrogatesAndDropsAnOddByte) {
  EXPECT_EQ(DecodeText(std::string("\xFF\xFE\x3D\xD8x\0y", 7)), std::u16string(u"\xD83Dx"));
  EXPECT_EQ(DecodeText(std::string("\xFF\xFE", 2)), u"");
  EXPECT_EQ(DecodeText(std::string("\xFE\xFF\x00", 3)), u"");
}

TEST(TextCodec, InvalidUtf8GivesOneReplacementPerMaximalSubpart) {
  struct TCase {
    std::string Bytes;
    std::u16string Text;
  } cases[] = {
      {"a\x80z", u"a\uFFFDz"},
      {"\xE2\x82z", u"\uFFFDz"},                // truncated sequence: one replacement
      {"\xF0\x9F\x98", u"\uFFFD"},              // truncated at the end
      {"\xC0\xAF", u"\uFFFD\uFFFD"},            // overlong lead byte, then a stray continuation
      {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},  // encoded surrogate
      {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"\xFF", u"\uFFFD"},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(DecodeUtf8(c.Bytes), c.Text) << c.Bytes;
}

TEST(TextCodec, Utf8OutputReplacesUnpairedSurrogates) {
  EXPECT_EQ(EncodeUtf8(u"a\U0001F600b"),
            "a\xF0\x9F\x98\x80"
            "b");
  EXPECT_EQ(EncodeUtf8(std::u16string(u"\xDC00x\xD800")), "\xEF\xBF\xBDx\xEF\xBF\xBD");
  EXPECT_EQ(EncodeUtf16LEWithBom(u"A\u20AC"), std::string("\xFF\xFE"
                                                          "A\0\xAC\x20",
                                                          6));
}

TEST(CaseFold, SimpleFoldingOnly) {
  EXPECT_EQ(SimpleFold(U'A'), U'a');
  EXPECT_EQ(SimpleFold(U'\u017F'), U's');       // long s folds into ASCII
  EXPECT_EQ(SimpleFold(U'\u212A'), U'k');       // Kelvin sign
  EXPECT_EQ(SimpleFold(U'\u1E9E'), U'\u00DF');  // capital sharp s: simple, not "ss"
  EXPECT_EQ(SimpleFold(U'\u00DF'), U'\u00DF');
  EXPECT_EQ(SimpleFold(U'\u0130'), U'\u0130');  // only a full or Turkic folding exists
  EXPECT_EQ(SimpleFold(U'\u03A3'), U'\u03C3');
  EXPECT_EQ(SimpleFold(U'\U00010400'), U'\U00010428');
  EXPECT_EQ(SimpleFoldUnit(u'\xD801'), u'\xD801');
}

}  // namespace
}  // namespace skribo
