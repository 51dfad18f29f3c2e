// Loading and saving the options: the INI file, the program's registry key, the error box.
#include "prefs/OptionsPersistence.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/IniFile.h"
#include "platform/Registry.h"
#include "prefs/OptionsIni.h"
#include "unit/host/SettingsSandbox.h"
#include "unit/settings/FakePreferencesUi.h"

namespace skribo {
namespace {

namespace fs = std::filesystem;
using test::RegValueState;
using test::U;

constexpr auto LM = THive::LocalMachine;
constexpr std::u16string_view SavePrefix = u"There was an error while saving the preferences.\r\n";

class OptionsPersistenceTest : public ::testing::Test {
 protected:
  void WriteIni(std::u16string_view text) {
    test::WriteBytes(IniFile(), EncodeUtf16LEWithBom(text));
  }
  fs::path IniFile() const { return fs::path(EncodeUtf8(Paths.IniFileName)); }
  TRecOptions Load() {
    TRecOptions options;  // zero and empty, as the main window's record starts out
    LoadOptions(Paths, options, Ui);
    return options;
  }

  test::TSettingsSandbox Sandbox;
  TProgramPaths Paths = TProgramPaths::ForExecutable(U(Sandbox.Program / "skribo"));
  test::TFakePreferencesUi Ui;
};

TEST(ProgramPaths, IniFileBesideTheExecutable) {
  EXPECT_EQ(TProgramPaths::ForExecutable(u"/opt/sk/skribo").IniFileName, u"/opt/sk/skribo.ini");
  EXPECT_EQ(TProgramPaths::ForExecutable(u"/opt/sk/Skribo.exe").IniFileName, u"/opt/sk/Skribo.ini");
  EXPECT_EQ(TProgramPaths::ForExecutable(u"/opt/s.k/skribo").IniFileName, u"/opt/s.k/skribo.ini");
  EXPECT_EQ(TProgramPaths::ForExecutable(u"/opt/sk/skribo").ShellExtensionFileName(),
            u"/opt/sk/SkriboExt.dll");
  const TProgramPaths running = TProgramPaths::OfRunningProgram();
  EXPECT_TRUE(fs::equivalent(EncodeUtf8(running.ExeFileName), "/proc/self/exe"));
}

TEST_F(OptionsPersistenceTest, FirstStartCreatesTheKeyWithPathOnlyAndNoIniFile) {
  EXPECT_EQ(Load(), DefaultOptions());
  TRegistry reg(LM);
  ASSERT_TRUE(reg.OpenKeyReadOnly(ProgramKey));
  EXPECT_EQ(reg.GetValueNames(), std::vector<std::u16string>{u"Path"});
  EXPECT_EQ(reg.ReadString(u"Path"), Paths.ExeFileName);
  EXPECT_TRUE(fs::is_empty(Sandbox.Program));
  EXPECT_EQ(Ui.Calls, std::vector<std::string>{"normal"});  // applied, nothing to report
}

TEST_F(OptionsPersistenceTest, IniValuesReachTheOptionsAndAreApplied) {
  struct TCase {
    std::u16string Line;
    std::function<int(const TRecOptions&)> Field;
    int Expected;
  } cases[] = {
      {u"0.FontStyle=010", [](auto& o) { return o.Styles[0].FontStyle; }, fsItalic},
      {u"0.FontStyle=1", [](auto& o) { return o.Styles[0].FontStyle; }, fsBold},
      {u"0.FontStyle=", [](auto& o) { return o.Styles[0].FontStyle; }, 0},
      {u"0.FontStyle=error", [](auto& o) { return o.Styles[0].FontStyle; }, fsBold},
      {u"2.FontColor=clGreen", [](auto& o) { return int(o.Styles[2].FontColor); }, 0x008000},
      {u"2.FontColor=$00008000", [](auto& o) { return int(o.Styles[2].FontColor); }, 0x008000},
      {u"2.FontColor=32768", [](auto& o) { return int(o.Styles[2].FontColor); }, 0x008000},
      {u"OpenGoTo=5", [](auto& o) { return o.OpenGoTo; }, 0},
      {u"OpenGoTo=1", [](auto& o) { return o.OpenGoTo; }, 1},
      {u"ReTruncateLongContactNamesChars=0",
       [](auto& o) { return o.ReTruncateLongContactNamesChars; }, 10},
      {u"ReTruncateLongContactNamesChars=-5",
       [](auto& o) { return o.ReTruncateLongContactNamesChars; }, 10},
      {u"ReTruncateLongContactNamesChars=256",
       [](auto& o) { return o.ReTruncateLongContactNamesChars; }, 10},
      {u"ReTruncateLongContactNamesChars=300",
       [](auto& o) { return o.ReTruncateLongContactNamesChars; }, 44},
      {u"ReTruncateLongContactNamesChars=127",
       [](auto& o) { return o.ReTruncateLongContactNamesChars; }, 127},
      {u"AlwaysOnTop=2", [](auto& o) { return o.AlwaysOnTop; }, 1},
      {u"AlwaysOnTop=yes", [](auto& o) { return o.AlwaysOnTop; }, 0},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(EncodeUtf8(c.Line));
    WriteIni(u"[preferences]\r\n" + c.Line + u"\r\n");
    Ui.TopmostCalls.clear();
    const TRecOptions options = Load();
    EXPECT_EQ(c.Field(options), c.Expected);
    EXPECT_EQ(Ui.TopmostCalls, std::vector<bool>{options.AlwaysOnTop});
  }
}

TEST_F(OptionsPersistenceTest, AssociationFlagsComeFromTheKeyAsDwordsOnly) {
  test::SetRegString(LM, ProgramKey, u"Path", u"/old/place/skribo");
  test::SetRegInteger(LM, ProgramKey, u"AssociateTXT", 7);
  test::SetRegInteger(LM, ProgramKey, u"AssociateTXTAsDefault", 0);
  test::SetRegString(LM, ProgramKey, u"AssociatePLE", u"1");
  test::SetRegInteger(LM, ProgramKey, u"AssociatePLEAsDefault", 1);
  TRecOptions options = Load();
  EXPECT_TRUE(options.AssociateTXT);
  EXPECT_FALSE(options.AssociateTXTAsDefault);
  EXPECT_FALSE(options.AssociatePLE);
  EXPECT_TRUE(options.AssociatePLEAsDefault);
  EXPECT_EQ(RegValueState(LM, ProgramKey, u"Path"), "sz:" + EncodeUtf8(Paths.ExeFileName));

  // Flags the key does not hold are false, whatever the record held before.
  TRegistry(LM).DeleteKey(ProgramKey);
  options.AssociateTXT = options.AssociateTXTAsDefault = true;
  options.AssociatePLE = options.AssociatePLEAsDefault = true;
  LoadOptions(Paths, options, Ui);
  EXPECT_FALSE(options.AssociateTXT || options.AssociateTXTAsDefault || options.AssociatePLE ||
               options.AssociatePLEAsDefault);
}

TEST_F(OptionsPersistenceTest, UnreadableStoresLeaveTheDefaults) {
  // A hive the store cannot read: flags false, not a word, the file kept as it is.
  const std::string broken = Sandbox.BreakHive(LM);
  TRecOptions options;
  EXPECT_NO_THROW(options = Load());
  EXPECT_EQ(options, DefaultOptions());
  EXPECT_TRUE(Ui.Errors.empty());
  EXPECT_EQ(test::ReadBytes(Sandbox.HiveFile(LM)), broken);

  // An INI file that cannot be read: the defaults, applied, and the user is told.
  fs::create_directories(IniFile());
  Ui.Calls.clear();
  EXPECT_EQ(Load(), DefaultOptions());
  ASSERT_EQ(Ui.Errors.size(), 1u);
  EXPECT_NE(Ui.Errors[0].find(u"could not be read"), std::u16string::npos);
  EXPECT_EQ(Ui.Calls, (std::vector<std::string>{"error", "normal"}));
}

TEST_F(OptionsPersistenceTest, NewFileLayoutAndRegistryFlags) {
  TRecOptions options = DefaultOptions();
  options.AssociateTXT = options.AssociatePLEAsDefault = true;
  SaveOptions(Paths.IniFileName, options, Ui);
  EXPECT_TRUE(Ui.Errors.empty());

  const std::string bytes = test::ReadBytes(IniFile());
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
  EXPECT_EQ(DecodeText(bytes).substr(0, 15), u"[preferences]\r\n");

  std::vector<std::u16string> order = {u"AlwaysOnTop",
                                       u"DisableVelmoraLongContactNames",
                                       u"DontShowWarning",
                                       u"RememberPassword",
                                       u"Password",
                                       u"OpenGoTo",
                                       u"Language",
                                       u"ShowEmoticons",
                                       u"DontShowTimestamp",
                                       u"ShowContactNamesBold",
                                       u"ConvertURLsToLinks",
                                       u"ReTruncateLongContactNames",
                                       u"ReTruncateLongContactNamesChars"};
  for (int n = 0; n < StyleCount; ++n)
    for (const char16_t* key : {u".FontName", u".FontColor", u".FontSize", u".FontStyle"})
      order.push_back(DecodeUtf8(std::to_string(n)) + key);
  const TIniFile ini(IniFile());
  EXPECT_EQ(ini.ReadSection(PreferencesSection), order);

  EXPECT_EQ(RegValueState(LM, ProgramKey, u"AssociateTXT"), "dword:1");
  EXPECT_EQ(RegValueState(LM, ProgramKey, u"AssociateTXTAsDefault"), "dword:0");
  EXPECT_EQ(RegValueState(LM, ProgramKey, u"AssociatePLE"), "dword:0");
  EXPECT_EQ(RegValueState(LM, ProgramKey, u"AssociatePLEAsDefault"), "dword:1");
}

TEST_F(OptionsPersistenceTest, SaveThenLoadGivesTheOptionsBackAndKeepsOtherSections) {
  const std::u16string position =
      u"[position]\r\nWinState=1\r\nWinPos1280x1024=160;120;760;520\r\n\r\n";
  WriteIni(position +
           u"[preferences]\r\nLanguage=Deutsch\r\nUnknown=kept\r\n\r\n[other]\r\na=b\r\n");

  TRecOptions options = DefaultOptions();
  options.AlwaysOnTop = true;
  options.Password = u"secret";
  options.Language = u"Español";
  options.OpenGoTo = 1;
  options.ReTruncateLongContactNamesChars = 25;
  options.AssociatePLE = true;
  options.Styles[5] = {u"DejaVu Sans", 0x00123456, 11, fsBold | fsUnderline};
  options.Styles[6].FontColor = 0x80000000 + 15;  // clBtnFace
  SaveOptions(Paths.IniFileName, options, Ui);
  EXPECT_TRUE(Ui.Errors.empty());

  const std::u16string text = DecodeText(test::ReadBytes(IniFile()));
  EXPECT_EQ(text.substr(0, position.size()), position);
  const TIniFile ini(IniFile());
  EXPECT_EQ(ini.ReadSections(),
            (std::vector<std::u16string>{u"position", u"preferences", u"other"}));
  EXPECT_EQ(ini.ReadSection(PreferencesSection).at(0), u"Language");  // kept its place
  EXPECT_EQ(ini.ReadString(PreferencesSection, u"Unknown", u""), u"kept");
  EXPECT_EQ(ini.ReadString(PreferencesSection, u"Password", u"absent"), u"");
  EXPECT_EQ(ini.ReadString(PreferencesSection, u"5.FontColor", u""), u"$00123456");
  EXPECT_EQ(ini.ReadString(PreferencesSection, u"5.FontStyle", u""), u"101");
  EXPECT_EQ(ini.ReadString(PreferencesSection, u"6.FontColor", u""), u"clBtnFace");
  EXPECT_EQ(ini.ReadString(PreferencesSection, u"0.FontColor", u""), u"clGreen");

  TRecOptions expected = options;
  expected.Password.clear();
  EXPECT_EQ(Load(), expected);
}

TEST(SaveErrorText, SystemTextNumberMessageAndKind) {
  EXPECT_EQ(SaveErrorText(TIniFileWriteError("cannot write \"a.ini\"", ENOSPC, "a.ini")),
            std::u16string(SavePrefix) + DecodeUtf8(std::strerror(ENOSPC)) + u" (" +
                DecodeUtf8(std::to_string(ENOSPC)) +
                u")\r\ncannot write \"a.ini\" (TIniFileWriteError)");
  EXPECT_EQ(SaveErrorText(TRegistryError("refused", EACCES)),
            std::u16string(SavePrefix) + DecodeUtf8(std::strerror(EACCES)) + u" (" +
                DecodeUtf8(std::to_string(EACCES)) + u")\r\nrefused (TRegistryError)");
}

// Every failure is shown once and never reaches the caller; what was written before it stays,
// and nothing after it is written.
TEST_F(OptionsPersistenceTest, SaveFailuresAreShownNotThrown) {
  struct TCase {
    const char* Name;
    std::function<void()> Inject;
    const char16_t* Kind;
    const char* FlagAfter;  // AssociateTXT in the key afterwards; nullptr: the hive is unreadable
  } cases[] = {
      {"a folder where the INI file should be", [&] { fs::create_directories(IniFile()); },
       u"(TIniFileReadError)", "dword:1"},
      {"the file's replacement cannot be written",
       [&] {
         WriteIni(u"[preferences]\r\nLanguage=Deutsch\r\n");
         fs::create_directories(TIniFile::TemporaryPathFor(IniFile()));
       },
       u"(TIniFileWriteError)", "dword:1"},
      {"a hive the store cannot read", [&] { Sandbox.BreakHive(LM); }, u"(TRegistryFormatError)",
       nullptr},
      {"the store refuses the write",
       [&] {
         test::SetRegString(LM, ProgramKey, u"Path", u"/opt/skribo");
         const fs::path lock = Sandbox.HiveFile(LM).parent_path() / "registry.lock";
         fs::remove(lock);
         fs::create_directories(lock);
       },
       u"(TRegistryError)", "no value"},
  };
  TRecOptions options = DefaultOptions();
  options.AssociateTXT = true;
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    fs::remove_all(Sandbox.Program);
    fs::remove_all(Sandbox.Config);
    fs::create_directories(Sandbox.Program);
    c.Inject();
    const bool iniExisted = fs::exists(IniFile());
    const std::string iniBefore = fs::is_regular_file(IniFile()) ? test::ReadBytes(IniFile()) : "";
    Ui.Errors.clear();
    EXPECT_NO_THROW(SaveOptions(Paths.IniFileName, options, Ui));
    ASSERT_EQ(Ui.Errors.size(), 1u);
    const std::u16string& text = Ui.Errors[0];
    EXPECT_EQ(text.substr(0, SavePrefix.size()), SavePrefix) << EncodeUtf8(text);
    EXPECT_EQ(text.substr(text.size() - std::u16string_view(c.Kind).size()), c.Kind)
        << EncodeUtf8(text);
    if (c.FlagAfter) {
      EXPECT_EQ(RegValueState(LM, ProgramKey, u"AssociateTXT"), c.FlagAfter);
    }
    EXPECT_EQ(fs::exists(IniFile()), iniExisted);
    if (fs::is_regular_file(IniFile())) {
      EXPECT_EQ(test::ReadBytes(IniFile()), iniBefore);
    }
  }
}

}  // namespace
}  // namespace skribo
