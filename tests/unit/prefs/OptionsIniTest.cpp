#include "prefs/OptionsIni.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "prefs/OptionValues.h"

namespace skribo {
namespace {

namespace fs = std::filesystem;

std::u16string WithCrLf(std::u16string_view text) {
  std::u16string out;
  for (char16_t c : text) {
    if (c == u'\n') out += u'\r';
    out += c;
  }
  return out;
}

TRecOptions ReadFrom(std::u16string_view preferencesLines) {
  TRecOptions options;
  ReadOptionsFromIni(TIniFile::FromText(u"[preferences]\r\n" + WithCrLf(preferencesLines)),
                     options);
  return options;
}

class OptionsIniTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "skribo-opts-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    Dir = pattern;
  }
  void TearDown() override { fs::remove_all(Dir); }

  fs::path Dir;
};

TEST_F(OptionsIniTest, NoFileGivesTheDefaultsAndWritesNothing) {
  TIniFile ini(Dir / "Skribo.ini");
  TRecOptions options;  // zero and empty, as the main window's record starts out
  ReadOptionsFromIni(ini, options);
  EXPECT_EQ(options, DefaultOptions());
  EXPECT_TRUE(options.Password.empty());
  EXPECT_FALSE(options.AssociateTXT || options.AssociateTXTAsDefault || options.AssociatePLE ||
               options.AssociatePLEAsDefault);
  EXPECT_TRUE(fs::is_empty(Dir));

  // A file without the section, or with other sections only, reads the same.
  TRecOptions other;
  ReadOptionsFromIni(TIniFile::FromText(u"[position]\r\nAlwaysOnTop=1\r\n"), other);
  EXPECT_EQ(other, DefaultOptions());
}

TEST(OptionsIniRead, EachKeyAndItsFallback) {
  struct TCase {
    std::u16string Lines;
    std::function<void(TRecOptions&)> Change;  // applied to the defaults
  } cases[] = {
      {u"AlwaysOnTop=2", [](TRecOptions& o) { o.AlwaysOnTop = true; }},
      {u"AlwaysOnTop=-1", [](TRecOptions& o) { o.AlwaysOnTop = true; }},
      {u"AlwaysOnTop=$1", [](TRecOptions& o) { o.AlwaysOnTop = true; }},
      {u"AlwaysOnTop=yes", [](TRecOptions&) {}},
      {u"alwaysontop=1", [](TRecOptions& o) { o.AlwaysOnTop = true; }},
      {u"DisableVelmoraLongContactNames=0",
       [](TRecOptions& o) { o.DisableVelmoraLongContactNames = false; }},
      {u"DisableVelmoraLongContactNames=no", [](TRecOptions&) {}},
      {u"DontShowWarning=2", [](TRecOptions& o) { o.DontShowWarning = 2; }},
      {u"DontShowWarning=258", [](TRecOptions& o) { o.DontShowWarning = 2; }},
      {u"DontShowWarning=255", [](TRecOptions& o) { o.DontShowWarning = -1; }},
      {u"DontShowWarning=x", [](TRecOptions&) {}},
      {u"RememberPassword=1", [](TRecOptions& o) { o.RememberPassword = true; }},
      {u"Password=secret", [](TRecOptions&) {}},
      {u"OpenGoTo=1", [](TRecOptions& o) { o.OpenGoTo = 1; }},
      {u"OpenGoTo=5", [](TRecOptions&) {}},
      {u"OpenGoTo=257", [](TRecOptions&) {}},
      {u"Language=Deutsch", [](TRecOptions& o) { o.Language = u"Deutsch"; }},
      {u"Language=", [](TRecOptions& o) { o.Language.clear(); }},
      {u"ShowEmoticons=0", [](TRecOptions& o) { o.ShowEmoticons = false; }},
      {u"DontShowTimestamp=1", [](TRecOptions& o) { o.DontShowTimestamp = true; }},
      {u"ShowContactNamesBold=1", [](TRecOptions& o) { o.ShowContactNamesBold = true; }},
      {u"ConvertURLsToLinks=0", [](TRecOptions& o) { o.ConvertURLsToLinks = false; }},
      {u"ReTruncateLongContactNames=0",
       [](TRecOptions& o) { o.ReTruncateLongContactNames = false; }},
      {u"ReTruncateLongContactNamesChars=0", [](TRecOptions&) {}},
      {u"ReTruncateLongContactNamesChars=-5", [](TRecOptions&) {}},
      {u"ReTruncateLongContactNamesChars=256", [](TRecOptions&) {}},
      {u"ReTruncateLongContactNamesChars=200", [](TRecOptions&) {}},  // low byte is -56
      {u"ReTruncateLongContactNamesChars=abc", [](TRecOptions&) {}},
      {u"ReTruncateLongContactNamesChars=300",
       [](TRecOptions& o) { o.ReTruncateLongContactNamesChars = 44; }},
      {u"ReTruncateLongContactNamesChars=127",
       [](TRecOptions& o) { o.ReTruncateLongContactNamesChars = 127; }},
      {u"ReTruncateLongContactNamesChars=1",
       [](TRecOptions& o) { o.ReTruncateLongContactNamesChars = 1; }},
      {u"0.FontStyle=010", [](TRecOptions& o) { o.Styles[0].FontStyle = fsItalic; }},
      {u"0.FontStyle=1", [](TRecOptions& o) { o.Styles[0].FontStyle = fsBold; }},
      {u"0.FontStyle=", [](TRecOptions& o) { o.Styles[0].FontStyle = 0; }},
      {u"0.FontStyle=error", [](TRecOptions&) {}},
      {u"0.FontStyle=ERROR", [](TRecOptions& o) { o.Styles[0].FontStyle = 0; }},
      {u"1.FontStyle=101", [](TRecOptions& o) { o.Styles[1].FontStyle = fsBold | fsUnderline; }},
      {u"1.FontColor=clGreen", [](TRecOptions& o) { o.Styles[1].FontColor = 0x008000; }},
      {u"1.FontColor=$00008000", [](TRecOptions& o) { o.Styles[1].FontColor = 0x008000; }},
      {u"1.FontColor=32768", [](TRecOptions& o) { o.Styles[1].FontColor = 0x008000; }},
      {u"1.FontColor=clbtnface", [](TRecOptions& o) { o.Styles[1].FontColor = 0x8000000F; }},
      {u"4.FontColor=bogus", [](TRecOptions&) {}},
      {u"4.FontColor=", [](TRecOptions&) {}},
      {u"3.FontSize=-3", [](TRecOptions& o) { o.Styles[3].FontSize = -3; }},
      {u"3.FontSize=12pt", [](TRecOptions&) {}},
      {u"13.FontName=Arial", [](TRecOptions& o) { o.Styles[13].FontName = u"Arial"; }},
      {u"13.FontName=", [](TRecOptions& o) { o.Styles[13].FontName.clear(); }},
      {u"013.FontName=Arial", [](TRecOptions&) {}},
      {u"14.FontName=Arial", [](TRecOptions&) {}},
  };
  for (const TCase& c : cases) {
    TRecOptions expected = DefaultOptions();
    c.Change(expected);
    EXPECT_EQ(ReadFrom(c.Lines), expected) << std::string(c.Lines.begin(), c.Lines.end());
  }
}

TEST(OptionsIniRead, OpenGoToOutsideZeroAndOneLeavesTheField) {
  TRecOptions options;
  options.OpenGoTo = 1;
  ReadOptionsFromIni(TIniFile::FromText(u"[preferences]\r\nOpenGoTo=5\r\n"), options);
  EXPECT_EQ(options.OpenGoTo, 1);
  ReadOptionsFromIni(TIniFile::FromText(u"[preferences]\r\nOpenGoTo=0\r\n"), options);
  EXPECT_EQ(options.OpenGoTo, 0);
}

TEST(OptionsIniRead, LeavesPasswordAndAssociationsAlone) {
  TRecOptions options;
  options.Password = u"kept";
  options.AssociatePLE = true;
  options.AssociateTXTAsDefault = true;
  ReadOptionsFromIni(TIniFile::FromText(u"[preferences]\r\nPassword=other\r\nAssociatePLE=0\r\n"
                                        u"AssociateTXTAsDefault=0\r\n"),
                     options);
  EXPECT_EQ(options.Password, u"kept");
  EXPECT_TRUE(options.AssociatePLE);
  EXPECT_TRUE(options.AssociateTXTAsDefault);
}

TEST(OptionsIniWrite, DefaultsGiveTheKnownFile) {
  TIniFile ini;
  WriteOptionsToIni(ini, DefaultOptions());
  EXPECT_EQ(ini.ToText(), WithCrLf(uR"([preferences]
AlwaysOnTop=0
DisableVelmoraLongContactNames=1
DontShowWarning=0
RememberPassword=0
Password=
OpenGoTo=0
Language=English (default)
ShowEmoticons=1
DontShowTimestamp=0
ShowContactNamesBold=0
ConvertURLsToLinks=1
ReTruncateLongContactNames=1
ReTruncateLongContactNamesChars=10
0.FontName=Courier New
0.FontColor=clGreen
0.FontSize=8
0.FontStyle=100
1.FontName=Tahoma
1.FontColor=clBlack
1.FontSize=8
1.FontStyle=110
2.FontName=Tahoma
2.FontColor=clGreen
2.FontSize=8
2.FontStyle=110
3.FontName=Tahoma
3.FontColor=clGreen
3.FontSize=8
3.FontStyle=110
4.FontName=Tahoma
4.FontColor=clNavy
4.FontSize=8
4.FontStyle=000
5.FontName=Tahoma
5.FontColor=clRed
5.FontSize=8
5.FontStyle=000
6.FontName=Tahoma
6.FontColor=clBlue
6.FontSize=8
6.FontStyle=000
7.FontName=Tahoma
7.FontColor=clPurple
7.FontSize=8
7.FontStyle=000
8.FontName=Tahoma
8.FontColor=clGray
8.FontSize=8
8.FontStyle=000
9.FontName=Tahoma
9.FontColor=clFuchsia
9.FontSize=8
9.FontStyle=000
10.FontName=Tahoma
10.FontColor=clMoneyGreen
10.FontSize=8
10.FontStyle=000
11.FontName=Tahoma
11.FontColor=clSkyBlue
11.FontSize=8
11.FontStyle=000
12.FontName=Tahoma
12.FontColor=clTeal
12.FontSize=8
12.FontStyle=000
13.FontName=Tahoma
13.FontColor=clMaroon
13.FontSize=8
13.FontStyle=000

)"));
  EXPECT_EQ(ini.ToBytes().substr(0, 6), std::string("\xFF\xFE[\0p\0", 6));
}

TEST_F(OptionsIniTest, SaveAndLoadRoundTripKeepsTheRestOfTheFile) {
  TRecOptions saved;
  saved.AlwaysOnTop = true;
  saved.DisableVelmoraLongContactNames = false;
  saved.DontShowWarning = 2;
  saved.RememberPassword = true;
  saved.Password = u"secret";
  saved.OpenGoTo = 1;
  saved.Language = u"Fran\u00E7ais \U0001F600";
  saved.AssociateTXT = saved.AssociateTXTAsDefault = true;
  saved.AssociatePLE = saved.AssociatePLEAsDefault = true;
  saved.ShowEmoticons = false;
  saved.DontShowTimestamp = true;
  saved.ShowContactNamesBold = true;
  saved.ConvertURLsToLinks = false;
  saved.ReTruncateLongContactNames = false;
  saved.ReTruncateLongContactNamesChars = 99;
  const TColor colours[] = {0x123456,   0x8000000F, 0x80000019, 0x1FFFFFFF, 0xFFFFFFFF,
                            0x20000000, 0x000000,   0x00FFFFFF, 0x80000000, 0x8000001E,
                            0x00ABCDEF, 0x0000FF,   0x7FFFFFFF, 0x00000001};
  for (int n = 0; n < StyleCount; ++n) {
    TRecStyle& s = saved.Styles[n];
    s.FontName = u"Font " + FormatInteger(n) + u" \u00C9";
    s.FontColor = colours[n];
    s.FontSize = n * 7 - 20;
    s.FontStyle = static_cast<uint8_t>(n % 8);
  }

  const fs::path path = Dir / "Skribo.ini";
  std::ofstream(path, std::ios::binary)
      << "[position]\r\nWinState=1\r\nWinPos1024x768=1;2;3;4\r\n"
         "[PREFERENCES]\r\nLanguage=old\r\nCustom=keep\r\n[zzz]\r\nq=1\r\n";
  {
    TIniFile ini(path);
    WriteOptionsToIni(ini, saved);
    ini.UpdateFile();
  }

  TIniFile reread(path);
  TRecOptions loaded;
  ReadOptionsFromIni(reread, loaded);
  TRecOptions expected = saved;
  expected.Password.clear();
  expected.AssociateTXT = expected.AssociateTXTAsDefault = false;
  expected.AssociatePLE = expected.AssociatePLEAsDefault = false;
  EXPECT_EQ(loaded, expected);

  EXPECT_EQ(reread.ReadString(u"preferences", u"Password", u"absent"), u"");
  EXPECT_EQ(reread.ReadSections(),
            (std::vector<std::u16string>{u"position", u"PREFERENCES", u"zzz"}));
  EXPECT_EQ(reread.ReadSection(u"position"),
            (std::vector<std::u16string>{u"WinState", u"WinPos1024x768"}));
  EXPECT_EQ(reread.ReadString(u"position", u"WinPos1024x768", u""), u"1;2;3;4");
  const std::vector<std::u16string> keys = reread.ReadSection(u"preferences");
  ASSERT_EQ(keys.size(), 1u + 13u + 4u * StyleCount);  // Custom, the options, the styles
  EXPECT_EQ(keys[0], u"Language");
  EXPECT_EQ(keys[1], u"Custom");
  EXPECT_EQ(keys[2], u"AlwaysOnTop");
  EXPECT_EQ(keys.back(), u"13.FontStyle");
  EXPECT_EQ(reread.ReadString(u"preferences", u"Custom", u""), u"keep");
  EXPECT_EQ(reread.ReadString(u"preferences", u"0.FontColor", u""), u"$00123456");
  EXPECT_EQ(reread.ReadString(u"preferences", u"1.FontColor", u""), u"clBtnFace");
  EXPECT_EQ(reread.ReadString(u"preferences", u"2.FontColor", u""), u"$80000019");
}

}  // namespace
}  // namespace skribo
