#include "prefs/uPreferences.h"

namespace skribo {

namespace {

TRecOptions MakeDefaultOptions() {
  TRecOptions o;
  o.AlwaysOnTop = false;
  o.DisableVelmoraLongContactNames = true;
  o.DontShowWarning = 0;
  o.RememberPassword = false;
  o.OpenGoTo = 0;
  o.Language = u"English (default)";
  o.ShowEmoticons = true;
  o.DontShowTimestamp = false;
  o.ShowContactNamesBold = false;
  o.ConvertURLsToLinks = true;
  o.ReTruncateLongContactNames = true;
  o.ReTruncateLongContactNamesChars = 10;
  // Colours in 0x00BBGGRR: green, black, green, green, navy, red, blue, purple, gray, fuchsia,
  // money green, sky blue, teal, maroon.
  constexpr std::array<TColor, StyleCount> colors = {
      0x008000, 0x000000, 0x008000, 0x008000, 0x800000, 0x0000FF, 0xFF0000,
      0x800080, 0x808080, 0xFF00FF, 0xC0DCC0, 0xF0CAA6, 0x808000, 0x000080};
  for (int n = 0; n < StyleCount; ++n) {
    TRecStyle& s = o.Styles[n];
    s.FontName = n == 0 ? u"Courier New" : u"Tahoma";
    s.FontColor = colors[n];
    s.FontSize = 8;
    s.FontStyle = n == 0 ? fsBold : n <= 3 ? (fsBold | fsItalic) : 0;
  }
  return o;
}

}  // namespace

const TRecOptions& DefaultOptions() {
  static const TRecOptions defaults = MakeDefaultOptions();
  return defaults;
}

}  // namespace skribo
