// The lookups into the host add-on's registry settings and language file.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "host/uMisc.h"
#include "unit/host/SettingsSandbox.h"

namespace skribo {
namespace {

namespace fs = std::filesystem;
using test::SetRegInteger;
using test::SetRegString;
using test::U;

constexpr auto CU = THive::CurrentUser;
constexpr auto LM = THive::LocalMachine;
constexpr std::u16string_view Host = u"Software\\Dravik\\Velmora2";
constexpr std::u16string_view ShellFolders =
    u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

class HostLookupsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Documents = Sandbox.Dir.Path / "Documents";
    fs::create_directories(Documents);
    SetRegString(CU, ShellFolders, u"Personal", U(Documents));
  }

  test::TSettingsSandbox Sandbox;
  fs::path Documents;
};

TEST_F(HostLookupsTest, LogDirectoryOrTheDocumentsFolder) {
  const fs::path logs = Sandbox.Dir.Path / "logs";
  fs::create_directories(logs);
  const std::u16string documents = U(Documents) + u"/";
  struct TCase {
    const char* Name;
    std::optional<std::u16string> DefaultConfiguration, LogDirectory;
    std::u16string Expected;
  } cases[] = {
      {"no default configuration", std::nullopt, U(logs), documents},
      {"empty default configuration", u"", U(logs), documents},
      {"no log directory", u"anna", std::nullopt, documents},
      {"a folder that does not exist", u"anna", U(logs / "gone"), documents},
      {"a file, not a folder", u"anna", U(Sandbox.Dir.Path / "file"), documents},
      {"existing folder as stored", u"anna", U(logs), U(logs)},
      {"existing folder with its delimiter", u"anna", U(logs) + u"/", U(logs) + u"/"},
  };
  test::WriteBytes(Sandbox.Dir.Path / "file", "x");
  for (const TCase& c : cases) {
    TRegistry reg(CU);
    reg.DeleteKey(Host);
    if (c.DefaultConfiguration)
      SetRegString(CU, Host, u"DefaultConfiguration", *c.DefaultConfiguration);
    if (c.LogDirectory)
      SetRegString(CU, std::u16string(Host) + u"\\anna\\Preferences", u"LogDirectory",
                   *c.LogDirectory);
    std::u16string problem = u"left over";
    EXPECT_EQ(GetHostLogDirectory(&problem), c.Expected) << c.Name;
    EXPECT_EQ(problem, u"") << c.Name;
  }
}

TEST_F(HostLookupsTest, PersonalFolderGetsOneTrailingDelimiter) {
  EXPECT_EQ(GetPersonalFolder(), U(Documents) + u"/");
  SetRegString(CU, ShellFolders, u"Personal", U(Documents) + u"/");
  EXPECT_EQ(GetPersonalFolder(), U(Documents) + u"/");
  // An empty value names no folder, not the root.
  SetRegString(CU, ShellFolders, u"Personal", u"");
  EXPECT_EQ(GetPersonalFolder(), u"");
}

TEST_F(HostLookupsTest, LanguageFileMustExistInTheLocalizationFolder) {
  const fs::path languages = Sandbox.Dir.Path / "lang";
  fs::create_directories(languages / "Deutsch.lng");  // a folder of a language file's name
  test::WriteBytes(languages / "English.lng", "[Logging]\r\n");
  const std::u16string english = U(languages) + u"/English.lng";
  struct TCase {
    std::optional<std::u16string> LanguageFile, LocalizationDir;
    std::u16string Expected;
  } cases[] = {
      {u"English.lng", U(languages), english},
      {u"English.lng", U(languages) + u"/", english},
      {u"Missing.lng", U(languages), u""},
      {u"Deutsch.lng", U(languages), u""},
      {u"", U(languages), u""},
      {std::nullopt, U(languages), u""},
      {u"English.lng", std::nullopt, u""},  // no key under the local machine
  };
  for (const TCase& c : cases) {
    TRegistry(CU).DeleteKey(Host);
    TRegistry(LM).DeleteKey(Host);
    if (c.LanguageFile) SetRegString(CU, Host, u"LanguageFile", *c.LanguageFile);
    if (c.LocalizationDir) SetRegString(LM, Host, u"LocalizationDir", *c.LocalizationDir);
    EXPECT_EQ(GetHostLanguageFile(), c.Expected) << EncodeUtf8(c.LanguageFile.value_or(u"(none)"));
  }
}

TEST_F(HostLookupsTest, ExecutableJoinsFolderAndFileName) {
  struct TCase {
    std::optional<std::u16string> BinDir, FileNameExe;
    std::u16string Expected;
  } cases[] = {
      {u"/opt/velmora", u"velmora", u"/opt/velmora/velmora"},
      {u"/opt/velmora/", u"velmora", u"/opt/velmora/velmora"},
      {u"/opt/velmora", u"", u"/opt/velmora/"},  // the caller's existence test fails on it
      {std::nullopt, u"velmora", u"/velmora"},
      {std::nullopt, std::nullopt, u""},  // the key holds neither
  };
  for (const TCase& c : cases) {
    TRegistry(LM).DeleteKey(Host);
    test::CreateRegKey(LM, Host);
    if (c.BinDir) SetRegString(LM, Host, u"BinDir", *c.BinDir);
    if (c.FileNameExe) SetRegString(LM, Host, u"FileNameExe", *c.FileNameExe);
    EXPECT_EQ(GetHostExecutable(), c.Expected) << EncodeUtf8(c.Expected);
  }
  TRegistry(LM).DeleteKey(Host);
  EXPECT_EQ(GetHostExecutable(), u"");
}

TEST_F(HostLookupsTest, LanguageFileValues) {
  const fs::path file = Sandbox.Dir.Path / "English.lng";
  test::WriteBytes(file,
                   EncodeUtf16LEWithBom(u"[Logging]\r\nNameChange=%s is now %s\r\n"
                                        u"[Dialog.BasicSkribo]\r\nTitle=Velmora - Passwort\r\n"
                                        u"DecyptFileSuffix=entschlüsselt\r\n"));
  EXPECT_EQ(GetHostDialogTitle(U(file)), u"Velmora - Passwort");
  EXPECT_EQ(GetHostDecryptSuffix(U(file)), u"entschlüsselt");

  test::WriteBytes(file, "[Dialog.BasicSkribo]\r\nTitle=Password\r\n");
  EXPECT_EQ(GetHostDecryptSuffix(U(file)), u"");
  EXPECT_EQ(GetHostDialogTitle(U(Sandbox.Dir.Path / "missing.lng")), u"");
  EXPECT_EQ(GetHostDialogTitle(U(Sandbox.Dir.Path)), u"");  // a folder reads as no file
  EXPECT_EQ(GetHostDialogTitle(u""), u"");
}

TEST_F(HostLookupsTest, TempFolderFollowsTmpdir) {
  EXPECT_EQ(GetTempFolder(), U(Sandbox.Temp) + u"/");
  ::setenv("TMPDIR", (Sandbox.Temp.string() + "/").c_str(), 1);
  EXPECT_EQ(GetTempFolder(), U(Sandbox.Temp) + u"/");
  ::setenv("TMPDIR", "", 1);
  EXPECT_EQ(GetTempFolder(), u"/tmp/");
  ::unsetenv("TMPDIR");
  EXPECT_EQ(GetTempFolder(), u"/tmp/");
}

TEST_F(HostLookupsTest, DecryptedFileNameInTheTemporaryFolder) {
  const fs::path languages = Sandbox.Dir.Path / "lang";
  fs::create_directories(languages);
  SetRegString(CU, Host, u"LanguageFile", u"English.lng");
  SetRegString(LM, Host, u"LocalizationDir", U(languages));
  const std::u16string temp = U(Sandbox.Temp) + u"/";
  struct TCase {
    std::u16string LogPath;
    const char* Suffix;  // nullptr: no language file
    std::u16string Expected;
  } cases[] = {
      {u"/home/u/logs/alice.ple", "decrypted", temp + u"alice {decrypted}.txt"},
      {u"/home/u/logs/a.b.ple", "decrypted", temp + u"a.b {decrypted}.txt"},
      {u"/home/u/log.s/readme", "decrypted", temp + u"readme {decrypted}.txt"},
      {u"alice.ple", "", temp + u"alice {}.txt"},
      {u"/home/u/logs/alice.ple", nullptr, temp + u"alice {}.txt"},
  };
  for (const TCase& c : cases) {
    fs::remove(languages / "English.lng");
    if (c.Suffix)
      test::WriteBytes(
          languages / "English.lng",
          std::string("[Dialog.BasicSkribo]\r\nDecyptFileSuffix=") + c.Suffix + "\r\n");
    EXPECT_EQ(GetDecryptedFileName(c.LogPath), c.Expected) << EncodeUtf8(c.LogPath);
  }
}

// A value of the wrong type, or a hive that cannot be read, gives what a missing setting gives,
// and says what is wrong.
TEST_F(HostLookupsTest, UnusableSettingsReadAsMissingWithTheReason) {
  const fs::path logs = Sandbox.Dir.Path / "logs";
  fs::create_directories(logs);
  SetRegString(CU, Host, u"DefaultConfiguration", u"anna");
  SetRegInteger(CU, std::u16string(Host) + u"\\anna\\Preferences", u"LogDirectory", 5);
  std::u16string problem;
  EXPECT_EQ(GetHostLogDirectory(&problem), U(Documents) + u"/");
  EXPECT_NE(problem.find(u"LogDirectory"), std::u16string::npos) << EncodeUtf8(problem);

  SetRegString(LM, Host, u"BinDir", u"/opt/velmora");
  SetRegInteger(LM, Host, u"FileNameExe", 1);
  EXPECT_EQ(GetHostExecutable(&problem), u"");
  EXPECT_NE(problem.find(u"FileNameExe"), std::u16string::npos) << EncodeUtf8(problem);
  EXPECT_EQ(GetHostExecutable(), u"");  // without a place for the reason

  SetRegInteger(CU, Host, u"LanguageFile", 3);
  EXPECT_EQ(GetHostLanguageFile(&problem), u"");
  EXPECT_NE(problem.find(u"LanguageFile"), std::u16string::npos) << EncodeUtf8(problem);

  const std::string hiveText = Sandbox.BreakHive(LM);
  EXPECT_EQ(GetHostExecutable(&problem), u"");
  EXPECT_NE(problem.find(u"HKEY_LOCAL_MACHINE.reg"), std::u16string::npos) << EncodeUtf8(problem);
  EXPECT_EQ(test::ReadBytes(Sandbox.HiveFile(LM)), hiveText);
}

}  // namespace
}  // namespace skribo
