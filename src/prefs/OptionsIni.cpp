#include "prefs/OptionsIni.h"

#include <string>

#include "prefs/OptionValues.h"

namespace skribo {

namespace {

constexpr std::u16string_view Section = PreferencesSection;

std::u16string StyleKey(int element, std::u16string_view name) {
  return FormatInteger(element) + u"." + std::u16string(name);
}

// Only the low 8 bits of the stored integer fit the field.
int8_t LowByte(int32_t value) {
  return static_cast<int8_t>(static_cast<uint8_t>(value & 0xFF));
}

}  // namespace

void ReadOptionsFromIni(const TIniFile& ini, TRecOptions& options) {
  const TRecOptions& d = DefaultOptions();
  options.AlwaysOnTop = ReadBool(ini, Section, u"AlwaysOnTop", d.AlwaysOnTop);
  options.DisableVelmoraLongContactNames =
      ReadBool(ini, Section, u"DisableVelmoraLongContactNames", d.DisableVelmoraLongContactNames);
  options.DontShowWarning =
      LowByte(ReadInteger(ini, Section, u"DontShowWarning", d.DontShowWarning));
  options.RememberPassword = ReadBool(ini, Section, u"RememberPassword", d.RememberPassword);

  int32_t openGoTo = ReadInteger(ini, Section, u"OpenGoTo", d.OpenGoTo);
  if (openGoTo == 0 || openGoTo == 1) options.OpenGoTo = static_cast<uint8_t>(openGoTo);

  options.Language = ini.ReadString(Section, u"Language", d.Language);

  options.ShowEmoticons = ReadBool(ini, Section, u"ShowEmoticons", d.ShowEmoticons);
  options.DontShowTimestamp = ReadBool(ini, Section, u"DontShowTimestamp", d.DontShowTimestamp);
  options.ShowContactNamesBold =
      ReadBool(ini, Section, u"ShowContactNamesBold", d.ShowContactNamesBold);
  options.ConvertURLsToLinks = ReadBool(ini, Section, u"ConvertURLsToLinks", d.ConvertURLsToLinks);
  options.ReTruncateLongContactNames =
      ReadBool(ini, Section, u"ReTruncateLongContactNames", d.ReTruncateLongContactNames);

  int8_t chars = LowByte(ReadInteger(ini, Section, u"ReTruncateLongContactNamesChars",
                                     d.ReTruncateLongContactNamesChars));
  options.ReTruncateLongContactNamesChars = chars < 1 ? 10 : chars;

  for (int n = 0; n < StyleCount; ++n) {
    const TRecStyle& ds = d.Styles[n];
    TRecStyle& s = options.Styles[n];
    s.FontName = ini.ReadString(Section, StyleKey(n, u"FontName"), ds.FontName);
    s.FontColor = ReadColor(ini, Section, StyleKey(n, u"FontColor"), ds.FontColor);
    s.FontSize = ReadInteger(ini, Section, StyleKey(n, u"FontSize"), ds.FontSize);
    s.FontStyle = ReadFontStyle(ini, Section, StyleKey(n, u"FontStyle"), ds.FontStyle);
  }
}

void WriteOptionsToIni(TIniFile& ini, const TRecOptions& options) {
  WriteBool(ini, Section, u"AlwaysOnTop", options.AlwaysOnTop);
  WriteBool(ini, Section, u"DisableVelmoraLongContactNames",
            options.DisableVelmoraLongContactNames);
  WriteInteger(ini, Section, u"DontShowWarning", options.DontShowWarning);
  WriteBool(ini, Section, u"RememberPassword", options.RememberPassword);
  // The password is never kept on disk.
  ini.WriteString(Section, u"Password", u"");
  WriteInteger(ini, Section, u"OpenGoTo", options.OpenGoTo);
  ini.WriteString(Section, u"Language", options.Language);
  WriteBool(ini, Section, u"ShowEmoticons", options.ShowEmoticons);
  WriteBool(ini, Section, u"DontShowTimestamp", options.DontShowTimestamp);
  WriteBool(ini, Section, u"ShowContactNamesBold", options.ShowContactNamesBold);
  WriteBool(ini, Section, u"ConvertURLsToLinks", options.ConvertURLsToLinks);
  WriteBool(ini, Section, u"ReTruncateLongContactNames", options.ReTruncateLongContactNames);
  WriteInteger(ini, Section, u"ReTruncateLongContactNamesChars",
               options.ReTruncateLongContactNamesChars);
  for (int n = 0; n < StyleCount; ++n) {
    const TRecStyle& s = options.Styles[n];
    ini.WriteString(Section, StyleKey(n, u"FontName"), s.FontName);
    WriteColor(ini, Section, StyleKey(n, u"FontColor"), s.FontColor);
    WriteInteger(ini, Section, StyleKey(n, u"FontSize"), s.FontSize);
    WriteFontStyle(ini, Section, StyleKey(n, u"FontStyle"), s.FontStyle);
  }
}

}  // namespace skribo
