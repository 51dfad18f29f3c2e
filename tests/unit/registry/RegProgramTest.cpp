// skribo-reg as a built program: output format, exit codes, the /f rules, import and export.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RegistryTestEnv.h"
#include "TestPaths.h"
#include "platform/Registry.h"
#include "support/RunProgram.h"

namespace skribo {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TProgramResult;
using test::WriteBytes;

const std::string Done = "The operation completed successfully.\n";
const std::string Velmora = "HKEY_CURRENT_USER\\Software\\Dravik\\Velmora2";

class RegProgramTest : public test::TRegistryTestEnv {
 protected:
  // The program inherits this process's environment, and with it the temporary store.
  static TProgramResult Reg(const std::vector<std::string>& args) {
    return test::RunProgram(SKRIBO_REG_EXE, args);
  }
  static void ExpectDone(const std::vector<std::string>& args) {
    TProgramResult r = Reg(args);
    EXPECT_EQ(r.ExitCode, 0) << args[0] << " " << args[1] << ": " << r.Err;
    EXPECT_EQ(r.Out, Done);
    EXPECT_EQ(r.Err, "");
  }
  static void ExpectError(const std::vector<std::string>& args, const std::string& message) {
    TProgramResult r = Reg(args);
    EXPECT_EQ(r.ExitCode, 1) << message;
    EXPECT_EQ(r.Out, "") << message;
    EXPECT_EQ(r.Err.rfind("ERROR: ", 0), 0u) << r.Err;
    EXPECT_NE(r.Err.find(message), std::string::npos) << r.Err;
  }
};

TEST_F(RegProgramTest, QueryShowsTheKeyItsValuesAndItsSubkeys) {
  ExpectDone(
      {"add", "HKCU\\Software\\Dravik\\Velmora2", "/v", "DefaultConfiguration", "/d", "alice"});
  ExpectDone({"add", "hkcu\\software\\dravik\\velmora2", "/V", "LogNameShort", "/T", "reg_dword",
              "/D", "0x1A"});
  ExpectDone({"add", "HKEY_CURRENT_USER\\Software\\Dravik\\Velmora2\\alice\\Preferences", "/v",
              "LogDirectory", "/d", "/home/alice/logs"});
  ExpectDone({"add", "HKCU\\Software\\Dravik\\Velmora2", "/ve", "/d", "Main"});
  ExpectDone({"add", "HKCU\\Software\\Dravik\\Velmora2\\bob\\"});

  TProgramResult r = Reg({"query", "HKCU\\SOFTWARE\\dravik\\Velmora2"});
  EXPECT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(r.Out, Velmora +
                       "\n"
                       "    DefaultConfiguration    REG_SZ    alice\n"
                       "    LogNameShort    REG_DWORD    0x1a\n"
                       "    (Default)    REG_SZ    Main\n"
                       "\n" +
                       Velmora + "\\alice\n" + Velmora + "\\bob\n");

  r = Reg({"query", "HKCU\\Software\\Dravik\\Velmora2", "/s"});
  EXPECT_EQ(r.Out, Velmora +
                       "\n"
                       "    DefaultConfiguration    REG_SZ    alice\n"
                       "    LogNameShort    REG_DWORD    0x1a\n"
                       "    (Default)    REG_SZ    Main\n"
                       "\n" +
                       Velmora + "\\alice\n\n" + Velmora +
                       "\\alice\\Preferences\n"
                       "    LogDirectory    REG_SZ    /home/alice/logs\n"
                       "\n" +
                       Velmora + "\\bob\n\n");

  r = Reg({"query", "HKCU\\Software\\Dravik\\Velmora2", "/v", "logNameShort"});
  EXPECT_EQ(r.Out, Velmora + "\n    LogNameShort    REG_DWORD    0x1a\n");
  r = Reg({"query", "HKCU\\Software\\Dravik\\Velmora2", "/ve"});
  EXPECT_EQ(r.Out, Velmora + "\n    (Default)    REG_SZ    Main\n");
  r = Reg({"query", "HKCU\\Software\\Dravik", "/v", "logdirectory", "/s"});
  EXPECT_EQ(r.Out,
            Velmora + "\\alice\\Preferences\n    LogDirectory    REG_SZ    /home/alice/logs\n\n");

  // The library sees what the program wrote.
  TRegistry reg(THive::CurrentUser, Folder);
  ASSERT_TRUE(reg.OpenKeyReadOnly(u"Software\\Dravik\\Velmora2"));
  EXPECT_EQ(reg.ReadInteger(u"LogNameShort"), 26);

  // The documents folder answers for the shell folder as it does for the viewer.
  r = Reg({"query", "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
           "/v", "Personal"});
  EXPECT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_NE(r.Out.find("    Personal    REG_SZ    " + Home.string() + "/Documents\n"),
            std::string::npos)
      << r.Out;

  ExpectError({"query", "HKCU\\Software\\Nobody"},
              "There is no key HKEY_CURRENT_USER\\Software\\Nobody.");
  ExpectError({"query", "HKCU\\Software\\Dravik\\Velmora2", "/v", "Missing"},
              "has no value \"Missing\"");
  ExpectError({"query", "HKCU\\Software\\Dravik\\Velmora2\\bob", "/ve"}, "has no default value");
  ExpectError({"query", "HKCU\\Software", "/v", "Missing", "/s"}, "nor a key below it");
}

TEST_F(RegProgramTest, DataIsTakenInTheFormOfItsType) {
  struct TCase {
    std::string Type, Data, Shown;  // an empty Shown: refused
  } cases[] = {
      {"REG_SZ", "Zo\xC3\xAB \\ \"x\"", "Zo\xC3\xAB \\ \"x\""},
      {"REG_DWORD", "10", "0xa"},
      {"REG_DWORD", "0XFFFFFFFF", "0xffffffff"},
      {"REG_DWORD", "4294967295", "0xffffffff"},
      {"REG_DWORD", "4294967296", ""},
      {"REG_DWORD", "0x100000000", ""},
      {"REG_DWORD", "-1", ""},
      {"REG_DWORD", "0x", ""},
      {"REG_DWORD", "12abc", ""},
      {"REG_DWORD", "", ""},
      {"REG_QWORD", "0x0123456789abcdef", "0x123456789abcdef"},
      {"REG_QWORD", "18446744073709551616", ""},
      {"REG_BINARY", "fe340EAD", "FE340EAD"},
      {"REG_BINARY", "abc", ""},
      {"REG_BINARY", "zz", ""},
      {"REG_MULTI_SZ", "a\\0b c", "a\\0b c"},
      {"REG_EXPAND_SZ", "%TEMP%", "%TEMP%"},
      {"REG_FOO", "1", ""},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Type + " " + c.Data);
    std::vector<std::string> add = {
        "add", "HKLM\\Software\\Types", "/v", "V", "/t", c.Type, "/d", c.Data, "/f"};
    if (c.Shown.empty()) {
      ExpectError(add, c.Type == "REG_FOO" ? "Unknown type" : "is no " + c.Type + " data");
      continue;
    }
    ExpectDone(add);
    TProgramResult r = Reg({"query", "HKLM\\Software\\Types", "/v", "V"});
    EXPECT_EQ(r.Out,
              "HKEY_LOCAL_MACHINE\\Software\\Types\n    V    " + c.Type + "    " + c.Shown + "\n");
  }
}

TEST_F(RegProgramTest, NothingIsOverwrittenOrDeletedWithoutF) {
  const std::string key = "HKCU\\Software\\Keep";
  ExpectDone({"add", key, "/v", "Name", "/d", "old"});
  ExpectDone({"add", key});  // an existing key is no value to overwrite
  ExpectError({"add", key, "/v", "NAME", "/d", "new"}, "exists already; give /f to overwrite it");
  ExpectDone({"add", key, "/ve", "/d", "x"});
  ExpectError({"add", key, "/ve", "/d", "y"}, "The default value of HKEY_CURRENT_USER");
  EXPECT_EQ(Reg({"query", key, "/v", "Name"}).Out,
            "HKEY_CURRENT_USER\\Software\\Keep\n    Name    REG_SZ    old\n");
  ExpectDone({"add", key, "/v", "Name", "/d", "new", "/f"});
  EXPECT_EQ(Reg({"query", key, "/v", "Name"}).Out,
            "HKEY_CURRENT_USER\\Software\\Keep\n    Name    REG_SZ    new\n");

  ExpectError({"delete", key, "/v", "Name"}, "needs /f");
  EXPECT_EQ(Reg({"query", key, "/v", "Name"}).ExitCode, 0);
  ExpectDone({"delete", key, "/v", "Name", "/f"});
  ExpectError({"query", key, "/v", "Name"}, "has no value \"Name\"");
  ExpectError({"delete", key, "/v", "Name", "/f"}, "has no value \"Name\"");

  ExpectDone({"add", key + "\\Below"});
  ExpectError({"delete", key}, "and everything below it needs /f");
  EXPECT_EQ(Reg({"query", key + "\\Below"}).ExitCode, 0);
  ExpectDone({"delete", key, "/f"});
  ExpectError({"query", key + "\\Below"}, "There is no key");
  ExpectError({"delete", key, "/f"}, "There is no key HKEY_CURRENT_USER\\Software\\Keep.");
  ExpectError({"delete", "HKCU", "/f"}, "root key HKEY_CURRENT_USER cannot be deleted");
}

TEST_F(RegProgramTest, BadCommandLinesAreRefusedWithAMessage) {
  struct TCase {
    std::vector<std::string> Args;
    std::string Message;
  } cases[] = {
      {{"frob"}, "Unknown verb \"frob\""},
      {{"query"}, "Query needs a key"},
      {{"query", "HKU\\Software"}, "must start with HKCU, HKLM or HKCR"},
      {{"query", "Software"}, "must start with"},
      {{"query", "HKCU\\a\\\\b"}, "empty name"},
      {{"query", "HKCU", "/v"}, "/v needs a value"},
      {{"query", "HKCU", "/v", "a", "/ve"}, "either /v NAME or /ve"},
      {{"query", "HKCU", "/s", "/s"}, "/s is given more than once"},
      {{"query", "HKCU", "/f"}, "/f is not an option of query"},
      {{"query", "HKCU", "extra"}, "Unexpected argument \"extra\""},
      {{"add", "HKCU\\x", "/d", "1"}, "/t and /d need /v NAME"},
      {{"import"}, "Import needs a file name"},
      {{"export", "HKCU"}, "Export needs a key and a file name"},
  };
  for (const TCase& c : cases)
    ExpectError(c.Args, c.Message);
  EXPECT_FALSE(fs::exists(Folder));

  TProgramResult r = Reg({});
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_EQ(r.Err.rfind("Usage: skribo-reg", 0), 0u);
  r = Reg({"/?"});
  EXPECT_EQ(r.ExitCode, 0);
  EXPECT_EQ(r.Out.rfind("Usage: skribo-reg", 0), 0u);
}

TEST_F(RegProgramTest, ImportAndExportMoveSettingsBetweenStores) {
  const std::string fixture = std::string(SKRIBO_FIXTURES_DIR) + "/registry/velmora-export.reg";
  ExpectDone({"import", fixture});
  TProgramResult r = Reg({"query", "HKCU\\Software\\Dravik\\Velmora2\\alice_wonder\\Preferences"});
  EXPECT_EQ(r.Out, Velmora +
                       "\\alice_wonder\\Preferences\n"
                       "    LogDirectory    REG_SZ    C:\\Documents and Settings\\Alice\\My "
                       "Documents\\Velmora Logs\n"
                       "    LogNameShort    REG_DWORD    0x1\n"
                       "    LogFormat    REG_EXPAND_SZ    %USERPROFILE%\\Velmora Logs\n"
                       "    LastSeen    REG_QWORD    0x1d55f9cb24fe000\n"
                       "    Nick    REG_SZ    Zo\xC3\xAB \xF0\x9F\xA6\x8A \"the fox\"\n");
  r = Reg({"query", "HKCU\\Software\\Dravik\\Velmora2", "/v", "RecentContacts"});
  EXPECT_NE(r.Out.find("    RecentContacts    REG_MULTI_SZ    bob.builder\\0carol\n"),
            std::string::npos);
  r = Reg({"query", "HKCU\\Software\\Dravik\\Velmora2", "/v", "WindowPos"});
  EXPECT_NE(r.Out.find("    WindowPos    REG_BINARY    2C00000000000000"), std::string::npos);

  const fs::path out = Dir.Path / "out.reg";
  ExpectDone({"export", "HKCU\\Software\\Dravik", out.string()});
  const std::string exported = ReadBytes(out);
  EXPECT_EQ(exported.substr(0, 2), "\xFF\xFE");
  ExpectError({"export", "HKCU\\Software\\Dravik", out.string()},
              "exists; give /y to overwrite it");
  ExpectDone({"export", "HKLM\\Software\\Dravik", out.string(), "/y"});
  EXPECT_NE(FileText(out).find("\"FileNameExe\"=\"Velmora2.exe\""), std::string::npos);
  ExpectError({"export", "HKCU\\Software\\Nobody", (Dir.Path / "none.reg").string()},
              "There is no key");
  EXPECT_FALSE(fs::exists(Dir.Path / "none.reg"));

  // Into another store and out again: the same file.
  WriteBytes(out, exported);
  Save("XDG_CONFIG_HOME", (Dir.Path / "other").string());
  ExpectDone({"import", out.string()});
  const fs::path again = Dir.Path / "again.reg";
  ExpectDone({"export", "HKCU\\Software\\Dravik", again.string()});
  EXPECT_EQ(ReadBytes(again), exported);

  const fs::path bad = Dir.Path / "bad.reg";
  WriteBytes(bad, "REGEDIT4\r\n\r\n[HKCU\\Software\\X]\r\n\"a\"=dword:1\r\n\"b\"=what\r\n");
  ExpectError({"import", bad.string()}, "cannot be imported: line 5: ");
  ExpectError({"query", "HKCU\\Software\\X"}, "There is no key");
  ExpectError({"import", (Dir.Path / "missing.reg").string()}, "there is no such file");
}

}  // namespace
}  // namespace skribo
