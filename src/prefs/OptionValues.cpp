#include "prefs/OptionValues.h"

#include <array>
#include <string>

#include "common/CaseFold.h"

namespace skribo {

namespace {

struct TColorIdent {
  std::u16string_view Name;
  TColor Value;
};

constexpr TColor SystemColor(uint32_t index) {
  return 0x80000000u + index;
}

// No two entries share a value, so a colour has at most one identifier.
constexpr std::array<TColorIdent, 52> ColorIdents = {{
    {u"clBlack", 0x00000000},
    {u"clMaroon", 0x00000080},
    {u"clGreen", 0x00008000},
    {u"clOlive", 0x00008080},
    {u"clNavy", 0x00800000},
    {u"clPurple", 0x00800080},
    {u"clTeal", 0x00808000},
    {u"clGray", 0x00808080},
    {u"clSilver", 0x00C0C0C0},
    {u"clRed", 0x000000FF},
    {u"clLime", 0x0000FF00},
    {u"clYellow", 0x0000FFFF},
    {u"clBlue", 0x00FF0000},
    {u"clFuchsia", 0x00FF00FF},
    {u"clAqua", 0x00FFFF00},
    {u"clWhite", 0x00FFFFFF},
    {u"clMoneyGreen", 0x00C0DCC0},
    {u"clSkyBlue", 0x00F0CAA6},
    {u"clCream", 0x00F0FBFF},
    {u"clMedGray", 0x00A4A0A0},
    {u"clScrollBar", SystemColor(0)},
    {u"clBackground", SystemColor(1)},
    {u"clActiveCaption", SystemColor(2)},
    {u"clInactiveCaption", SystemColor(3)},
    {u"clMenu", SystemColor(4)},
    {u"clWindow", SystemColor(5)},
    {u"clWindowFrame", SystemColor(6)},
    {u"clMenuText", SystemColor(7)},
    {u"clWindowText", SystemColor(8)},
    {u"clCaptionText", SystemColor(9)},
    {u"clActiveBorder", SystemColor(10)},
    {u"clInactiveBorder", SystemColor(11)},
    {u"clAppWorkSpace", SystemColor(12)},
    {u"clHighlight", SystemColor(13)},
    {u"clHighlightText", SystemColor(14)},
    {u"clBtnFace", SystemColor(15)},
    {u"clBtnShadow", SystemColor(16)},
    {u"clGrayText", SystemColor(17)},
    {u"clBtnText", SystemColor(18)},
    {u"clInactiveCaptionText", SystemColor(19)},
    {u"clBtnHighlight", SystemColor(20)},
    {u"cl3DDkShadow", SystemColor(21)},
    {u"cl3DLight", SystemColor(22)},
    {u"clInfoText", SystemColor(23)},
    {u"clInfoBk", SystemColor(24)},
    {u"clHotLight", SystemColor(26)},
    {u"clGradientActiveCaption", SystemColor(27)},
    {u"clGradientInactiveCaption", SystemColor(28)},
    {u"clMenuHighlight", SystemColor(29)},
    {u"clMenuBar", SystemColor(30)},
    {u"clNone", 0x1FFFFFFF},
    {u"clDefault", 0x20000000},
}};

// The classic Windows defaults as 0xRRGGBB, so that pages never depend on the desktop theme.
// Index 25 has no colour.
constexpr int NoSystemColor = -1;
constexpr std::array<int32_t, 31> SystemColorRgb = {
    0xD4D0C8, 0x3A6EA5,      0x0A246A, 0x808080, 0xD4D0C8, 0xFFFFFF, 0x000000, 0x000000,
    0x000000, 0xFFFFFF,      0xD4D0C8, 0xD4D0C8, 0x808080, 0x0A246A, 0xFFFFFF, 0xD4D0C8,
    0x808080, 0x808080,      0x000000, 0xD4D0C8, 0xFFFFFF, 0x404040, 0xD4D0C8, 0x000000,
    0xFFFFE1, NoSystemColor, 0x0000FF, 0xA6CAF0, 0xC0C0C0, 0x0A246A, 0xD4D0C8};

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

std::optional<int32_t> ParseHex(std::u16string_view digits) {
  if (digits.empty()) return std::nullopt;
  uint64_t value = 0;
  for (char16_t c : digits) {
    int d = HexDigit(c);
    if (d < 0) return std::nullopt;
    value = value * 16 + static_cast<uint64_t>(d);
    if (value > 0xFFFFFFFFu) return std::nullopt;
  }
  return static_cast<int32_t>(static_cast<uint32_t>(value));
}

std::optional<int32_t> ParseDecimal(std::u16string_view text) {
  bool negative = !text.empty() && text.front() == u'-';
  std::u16string_view digits = negative ? text.substr(1) : text;
  if (digits.empty()) return std::nullopt;
  const int64_t limit = negative ? 2147483648LL : 2147483647LL;
  int64_t value = 0;
  for (char16_t c : digits) {
    if (c < u'0' || c > u'9') return std::nullopt;
    value = value * 10 + (c - u'0');
    if (value > limit) return std::nullopt;
  }
  return static_cast<int32_t>(negative ? -value : value);
}

std::u16string Ascii(std::string_view s) {
  return std::u16string(s.begin(), s.end());
}

bool SameIdent(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (SimpleFoldUnit(a[i]) != SimpleFoldUnit(b[i])) return false;
  }
  return true;
}

std::u16string HexDigits(uint32_t value, int count) {
  static constexpr char Digits[] = "0123456789ABCDEF";
  std::u16string out(static_cast<size_t>(count), u'0');
  for (int i = count - 1; i >= 0; --i, value >>= 4)
    out[static_cast<size_t>(i)] = Digits[value & 0xF];
  return out;
}

}  // namespace

std::optional<int32_t> ParseInteger(std::u16string_view text) {
  if (!text.empty() && text.front() == u'$') return ParseHex(text.substr(1));
  if (text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X')) {
    return ParseHex(text.substr(2));
  }
  return ParseDecimal(text);
}

std::u16string FormatInteger(int32_t value) {
  return Ascii(std::to_string(value));
}

std::optional<std::u16string_view> ColorToIdent(TColor color) {
  for (const TColorIdent& c : ColorIdents) {
    if (c.Value == color) return c.Name;
  }
  return std::nullopt;
}

std::optional<TColor> IdentToColor(std::u16string_view ident) {
  for (const TColorIdent& c : ColorIdents) {
    if (SameIdent(c.Name, ident)) return c.Value;
  }
  return std::nullopt;
}

std::u16string FormatColor(TColor color) {
  if (auto ident = ColorToIdent(color)) return std::u16string(*ident);
  return u"$" + HexDigits(color, 8);
}

std::optional<TColor> ParseColor(std::u16string_view text) {
  if (auto color = IdentToColor(text)) return color;
  if (auto value = ParseInteger(text)) return static_cast<TColor>(*value);
  return std::nullopt;
}

std::u16string FormatFontStyle(uint8_t style) {
  std::u16string out;
  for (uint8_t bit : {fsBold, fsItalic, fsUnderline})
    out += (style & bit) ? u'1' : u'0';
  return out;
}

uint8_t ParseFontStyle(std::optional<std::u16string_view> value, uint8_t defaultStyle) {
  if (!value || *value == u"error") return defaultStyle;
  uint8_t style = 0;
  constexpr uint8_t Bits[] = {fsBold, fsItalic, fsUnderline};
  for (size_t i = 0; i < 3 && i < value->size(); ++i) {
    if ((*value)[i] == u'1') style |= Bits[i];
  }
  return style;
}

std::u16string ColorToHtml(TColor color) {
  uint32_t rgb = 0;
  if (color & 0x80000000u) {
    uint32_t index = color - 0x80000000u;
    if (index < SystemColorRgb.size() && SystemColorRgb[index] != NoSystemColor) {
      rgb = static_cast<uint32_t>(SystemColorRgb[index]);
    }
  } else {
    // 0x00BBGGRR: red is the lowest byte.
    rgb = ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
  }
  return u"#" + HexDigits(rgb, 6);
}

int32_t ReadInteger(const TIniFile& ini, std::u16string_view section, std::u16string_view key,
                    int32_t defaultValue) {
  return ParseInteger(ini.ReadString(section, key, u"")).value_or(defaultValue);
}

void WriteInteger(TIniFile& ini, std::u16string_view section, std::u16string_view key,
                  int32_t value) {
  ini.WriteString(section, key, FormatInteger(value));
}

bool ReadBool(const TIniFile& ini, std::u16string_view section, std::u16string_view key,
              bool defaultValue) {
  auto value = ParseInteger(ini.ReadString(section, key, u""));
  return value ? *value != 0 : defaultValue;
}

void WriteBool(TIniFile& ini, std::u16string_view section, std::u16string_view key, bool value) {
  ini.WriteString(section, key, value ? u"1" : u"0");
}

TColor ReadColor(const TIniFile& ini, std::u16string_view section, std::u16string_view key,
                 TColor defaultValue) {
  return ParseColor(ini.ReadString(section, key, u"")).value_or(defaultValue);
}

void WriteColor(TIniFile& ini, std::u16string_view section, std::u16string_view key, TColor value) {
  ini.WriteString(section, key, FormatColor(value));
}

uint8_t ReadFontStyle(const TIniFile& ini, std::u16string_view section, std::u16string_view key,
                      uint8_t defaultStyle) {
  if (!ini.ValueExists(section, key)) return ParseFontStyle(std::nullopt, defaultStyle);
  std::u16string value = ini.ReadString(section, key, u"");
  return ParseFontStyle(value, defaultStyle);
}

void WriteFontStyle(TIniFile& ini, std::u16string_view section, std::u16string_view key,
                    uint8_t style) {
  ini.WriteString(section, key, FormatFontStyle(style));
}

}  // namespace skribo
