// The options record: every user preference and its defaults.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace skribo {

// Font style bits of TRecStyle::FontStyle.
enum TFontStyleBit : uint8_t {
  fsBold = 1 << 0,
  fsItalic = 1 << 1,
  fsUnderline = 1 << 2,
  fsStrikeOut = 1 << 3,
};

// Colours are 0x00BBGGRR; 0x80000000 + n names system colour n.
using TColor = uint32_t;

constexpr int StyleCount = 14;

struct TRecStyle {
  std::u16string FontName;
  TColor FontColor = 0;
  int32_t FontSize = 0;
  uint8_t FontStyle = 0;

  bool operator==(const TRecStyle&) const = default;
};

struct TRecOptions {
  bool AlwaysOnTop = false;
  bool DisableVelmoraLongContactNames = false;
  int8_t DontShowWarning = 0;
  bool RememberPassword = false;
  std::u16string Password;
  uint8_t OpenGoTo = 0;
  std::u16string Language;
  bool AssociateTXT = false;
  bool AssociateTXTAsDefault = false;
  bool AssociatePLE = false;
  bool AssociatePLEAsDefault = false;
  bool ShowEmoticons = false;
  bool DontShowTimestamp = false;
  bool ShowContactNamesBold = false;
  bool ConvertURLsToLinks = false;
  bool ReTruncateLongContactNames = false;
  int8_t ReTruncateLongContactNamesChars = 0;
  std::array<TRecStyle, StyleCount> Styles{};

  bool operator==(const TRecOptions&) const = default;
};

// The defaults of every field; read-only.
const TRecOptions& DefaultOptions();

}  // namespace skribo
