// How option values are spelled in the INI file: integers, booleans, colours and font styles.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/IniFile.h"
#include "prefs/uPreferences.h"

namespace skribo {

// Decimal: an optional "-" and ASCII digits within signed 32 bits. Hexadecimal: "$", "0x" or "0X"
// and at least one hex digit, up to $FFFFFFFF, taken as a 32-bit two's-complement pattern.
std::optional<int32_t> ParseInteger(std::u16string_view text);
std::u16string FormatInteger(int32_t value);

// The colour's identifier ("clGreen", "clBtnFace", "clNone", ...) when it has one.
std::optional<std::u16string_view> ColorToIdent(TColor color);
// Letter case is ignored.
std::optional<TColor> IdentToColor(std::u16string_view ident);
// The identifier, else "$" and 8 upper-case hex digits.
std::u16string FormatColor(TColor color);
// An identifier or an integer.
std::optional<TColor> ParseColor(std::u16string_view text);

// Three characters for bold, italic and underline, "1" when set, "0" when not.
std::u16string FormatFontStyle(uint8_t style);
// value is nullopt for an absent key. Absent or exactly "error" gives defaultStyle; otherwise each
// of the first three characters that is "1" sets bold, italic or underline.
uint8_t ParseFontStyle(std::optional<std::u16string_view> value, uint8_t defaultStyle);

// "#RRGGBB" in upper case; system colours through the program's fixed table, #000000 for an
// index the table does not hold.
std::u16string ColorToHtml(TColor color);

// Reading and writing typed values; a value that does not parse gives the default.
int32_t ReadInteger(const TIniFile& ini, std::u16string_view section, std::u16string_view key,
                    int32_t defaultValue);
void WriteInteger(TIniFile& ini, std::u16string_view section, std::u16string_view key,
                  int32_t value);
// Any integer other than 0 is true.
bool ReadBool(const TIniFile& ini, std::u16string_view section, std::u16string_view key,
              bool defaultValue);
void WriteBool(TIniFile& ini, std::u16string_view section, std::u16string_view key, bool value);
TColor ReadColor(const TIniFile& ini, std::u16string_view section, std::u16string_view key,
                 TColor defaultValue);
void WriteColor(TIniFile& ini, std::u16string_view section, std::u16string_view key, TColor value);
uint8_t ReadFontStyle(const TIniFile& ini, std::u16string_view section, std::u16string_view key,
                      uint8_t defaultStyle);
void WriteFontStyle(TIniFile& ini, std::u16string_view section, std::u16string_view key,
                    uint8_t style);

}  // namespace skribo
