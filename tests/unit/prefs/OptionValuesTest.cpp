#include "prefs/OptionValues.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace skribo {
namespace {

TEST(OptionValues, ParsesIntegers) {
  struct TCase {
    std::u16string Text;
    std::optional<int32_t> Expected;
  } cases[] = {
      {u"0", 0},
      {u"-0", 0},
      {u"007", 7},
      {u"123", 123},
      {u"2147483647", 2147483647},
      {u"-2147483648", INT32_MIN},
      {u"2147483648", std::nullopt},
      {u"-2147483649", std::nullopt},
      {u"99999999999999999999", std::nullopt},
      {u"$10", 16},
      {u"$fF", 255},
      {u"$FFFFFFFF", -1},
      {u"$80000000", INT32_MIN},
      {u"$0000000001", 1},
      {u"$100000000", std::nullopt},
      {u"0x1f", 31},
      {u"0X1F", 31},
      {u"0x7FFFFFFF", 2147483647},
      {u"0x", std::nullopt},
      {u"0X", std::nullopt},
      {u"$", std::nullopt},
      {u"", std::nullopt},
      {u"-", std::nullopt},
      {u"+5", std::nullopt},
      {u"-$10", std::nullopt},
      {u"-0x10", std::nullopt},
      {u"$-1", std::nullopt},
      {u"1e3", std::nullopt},
      {u"12abc", std::nullopt},
      {u"$12G", std::nullopt},
      {u"0x12G", std::nullopt},
      {u"1 2", std::nullopt},
      {u"\t5", std::nullopt},
      {u"\uFF11", std::nullopt},  // fullwidth digit one
  };
  for (const TCase& c : cases) {
    EXPECT_EQ(ParseInteger(c.Text), c.Expected) << std::string(c.Text.begin(), c.Text.end());
  }
  EXPECT_EQ(FormatInteger(-3), u"-3");
  EXPECT_EQ(FormatInteger(INT32_MIN), u"-2147483648");
  EXPECT_EQ(FormatInteger(0), u"0");
}

TEST(OptionValues, ParsesColours) {
  constexpr TColor NoColour = 0xDEADBEEF;
  struct TCase {
    std::u16string Text;
    TColor Expected;
  } cases[] = {
      {u"clGreen", 0x008000},        {u"CLGREEN", 0x008000},     {u"clgreen", 0x008000},
      {u"$00008000", 0x008000},      {u"32768", 0x008000},       {u"0x8000", 0x008000},
      {u"clSkyBlue", 0xF0CAA6},      {u"clBtnFace", 0x8000000F}, {u"clMenuBar", 0x8000001E},
      {u"cl3DDkShadow", 0x80000015}, {u"clNone", 0x1FFFFFFF},    {u"clDefault", 0x20000000},
      {u"clBlac\u212A", 0x000000},  // Kelvin sign folds to k like every other name here
      {u"-1", 0xFFFFFFFF},           {u"$80000019", 0x80000019}, {u"cl", NoColour},
      {u"clGreenish", NoColour},     {u"Green", NoColour},       {u"", NoColour},
  };
  for (const TCase& c : cases) {
    EXPECT_EQ(ParseColor(c.Text).value_or(NoColour), c.Expected)
        << std::string(c.Text.begin(), c.Text.end());
  }
}

TEST(OptionValues, FormatsColoursByIdentifierElseHex) {
  struct TCase {
    TColor Color;
    std::u16string Expected;
  } cases[] = {
      {0x008000, u"clGreen"},      {0x000000, u"clBlack"},       {0xF0FBFF, u"clCream"},
      {0x123456, u"$00123456"},    {0x8000000F, u"clBtnFace"},   {0x80000018, u"clInfoBk"},
      {0x8000001A, u"clHotLight"}, {0x80000019, u"$80000019"},   {0x8000001F, u"$8000001F"},
      {0x1FFFFFFF, u"clNone"},     {0x20000000, u"clDefault"},   {0xFFFFFFFF, u"$FFFFFFFF"},
      {0x00ABCDEF, u"$00ABCDEF"},  {0x80000000, u"clScrollBar"},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(FormatColor(c.Color), c.Expected) << std::hex << c.Color;

  // Whatever is written reads back as the same value, identifiers included.
  std::vector<TColor> values = {0x1FFFFFFF, 0x20000000, 0xFFFFFFFF, 0x00FFFFFF};
  for (TColor n = 0; n <= 32; ++n)
    values.push_back(0x80000000 + n);
  for (TColor v : {0x00u, 0x80u, 0x8000u, 0x8080u, 0x800000u, 0x808080u, 0xC0C0C0u, 0xC0DCC0u,
                   0xF0CAA6u, 0xF0FBFFu, 0xA4A0A0u, 0xFFu, 0xFF00u, 0xFF0000u}) {
    values.push_back(v);
  }
  for (TColor v : values)
    EXPECT_EQ(ParseColor(FormatColor(v)), v) << std::hex << v;
}

TEST(OptionValues, FontStyles) {
  const uint8_t Default = fsBold | fsItalic;
  struct TCase {
    std::optional<std::u16string> Value;
    uint8_t Expected;
  } cases[] = {
      {std::nullopt, Default},
      {u"error", Default},
      {u"ERROR", 0},
      {u"Error", 0},
      {u"", 0},
      {u"010", fsItalic},
      {u"1", fsBold},
      {u"101", fsBold | fsUnderline},
      {u"111", fsBold | fsItalic | fsUnderline},
      {u"0001", 0},
      {u"1111", fsBold | fsItalic | fsUnderline},
      {u"x1x", fsItalic},
      {u"2", 0},
  };
  for (const TCase& c : cases) {
    std::optional<std::u16string_view> value;
    if (c.Value) value = *c.Value;
    EXPECT_EQ(ParseFontStyle(value, Default), c.Expected)
        << (c.Value ? std::string(c.Value->begin(), c.Value->end()) : "absent");
  }
  EXPECT_EQ(FormatFontStyle(0), u"000");
  EXPECT_EQ(FormatFontStyle(fsBold | fsUnderline), u"101");
  EXPECT_EQ(FormatFontStyle(fsItalic), u"010");
  EXPECT_EQ(FormatFontStyle(fsBold | fsStrikeOut), u"100");
}

TEST(OptionValues, ColourToHtml) {
  struct TCase {
    TColor Color;
    std::u16string Expected;
  } cases[] = {
      {0x0000FF, u"#FF0000"},   {0x008000, u"#008000"},   {0xFF0000, u"#0000FF"},
      {0xF0CAA6, u"#A6CAF0"},   {0x123456, u"#563412"},   {0x1FFFFFFF, u"#FFFFFF"},
      {0x20000000, u"#000000"}, {0x7FABCDEF, u"#EFCDAB"}, {0x80000000, u"#D4D0C8"},
      {0x80000001, u"#3A6EA5"}, {0x8000000F, u"#D4D0C8"}, {0x80000018, u"#FFFFE1"},
      {0x80000019, u"#000000"}, {0x8000001A, u"#0000FF"}, {0x8000001B, u"#A6CAF0"},
      {0x8000001E, u"#D4D0C8"}, {0x8000001F, u"#000000"}, {0xFFFFFFFF, u"#000000"},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(ColorToHtml(c.Color), c.Expected) << std::hex << c.Color;
}

TEST(OptionValues, TypedReadsFallBackToTheirDefault) {
  TIniFile ini = TIniFile::FromText(
      u"[s]\r\nb2=2\r\nbYes=yes\r\nbHex=$0\r\ni=-$10\r\nc=bogus\r\nst= error \r\n");
  EXPECT_TRUE(ReadBool(ini, u"s", u"b2", false));
  EXPECT_FALSE(ReadBool(ini, u"s", u"bYes", false));
  EXPECT_TRUE(ReadBool(ini, u"s", u"bYes", true));
  EXPECT_FALSE(ReadBool(ini, u"s", u"bHex", true));
  EXPECT_TRUE(ReadBool(ini, u"s", u"absent", true));
  EXPECT_EQ(ReadInteger(ini, u"s", u"i", 42), 42);
  EXPECT_EQ(ReadColor(ini, u"s", u"c", 0x800000), 0x800000u);
  // The reader trims the blanks, so the value is exactly "error".
  EXPECT_EQ(ReadFontStyle(ini, u"s", u"st", fsUnderline), fsUnderline);
  EXPECT_EQ(ReadFontStyle(ini, u"s", u"absent", fsItalic), fsItalic);

  WriteBool(ini, u"s", u"b2", false);
  WriteInteger(ini, u"s", u"i", -7);
  WriteColor(ini, u"s", u"c", 0x0000FF);
  WriteFontStyle(ini, u"s", u"st", fsBold | fsItalic);
  EXPECT_EQ(ini.ToText(),
            u"[s]\r\nb2=0\r\nbYes=yes\r\nbHex=$0\r\ni=-7\r\nc=clRed\r\nst=110\r\n\r\n");
}

}  // namespace
}  // namespace skribo
