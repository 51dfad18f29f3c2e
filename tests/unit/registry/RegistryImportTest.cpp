// Importing what a Windows user exports, and exporting keys back out.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RegistryTestEnv.h"
#include "TestPaths.h"
#include "common/TextCodec.h"
#include "platform/Registry.h"
#include "support/TestFiles.h"

namespace skribo {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using test::ReadBytes;
using test::WriteBytes;

const fs::path Fixtures = fs::path(SKRIBO_FIXTURES_DIR) / "registry";

class RegistryImportTest : public test::TRegistryTestEnv {};

std::string Utf16LE(std::u16string_view s) {
  return EncodeUtf16LEWithBom(s).substr(2);
}

TEST_F(RegistryImportTest, AWindowsExportIsTakenWhole) {
  {
    // What was there before: a value and a key the export deletes, and a value it leaves.
    TRegistry reg(THive::CurrentUser, Folder);
    ASSERT_TRUE(reg.OpenKey(u"Software\\Dravik\\Velmora2\\Stale\\Deep", true));
    ASSERT_TRUE(reg.OpenKey(u"\\Software\\Dravik\\Velmora2", false));
    reg.WriteString(u"ObsoleteSetting", u"old");
    reg.WriteString(u"KeepMe", u"yes");
  }
  ImportRegFile(Fixtures / "velmora-export.reg", Folder);

  TRegistry reg(THive::CurrentUser, Folder);
  ASSERT_TRUE(reg.OpenKeyReadOnly(u"\\Software\\Dravik\\Velmora2"));
  EXPECT_EQ(reg.ReadString(u"DefaultConfiguration"), u"alice_wonder");
  EXPECT_EQ(reg.ReadString(u"LanguageFile"), u"English.lng");
  EXPECT_EQ(reg.ReadString(u"KeepMe"), u"yes");
  EXPECT_FALSE(reg.ValueExists(u"ObsoleteSetting"));
  EXPECT_EQ(reg.GetKeyNames(), (std::vector<std::u16string>{u"alice_wonder", u"bob.builder"}));
  const std::string window = "\x2c\0\0\0\0\0\0\0\x01\0\0\0"s + std::string(16, '\xff') +
                             "\x16\0\0\0\x16\0\0\0\x36\x03\0\0\x6a\x02\0\0"s;
  EXPECT_EQ(reg.ReadValue(u"WindowPos"), (TRegValue{TRegDataType::Binary, window}));
  EXPECT_EQ(reg.ReadValue(u"RecentContacts"),
            (TRegValue{TRegDataType::MultiString, Utf16LE(u"bob.builder\0carol\0\0"s)}));
  EXPECT_EQ(reg.ReadValue(u"RecentContacts"), MakeMultiStringValue({u"bob.builder", u"carol"}));

  ASSERT_TRUE(reg.OpenKeyReadOnly(u"alice_wonder"));
  EXPECT_EQ(reg.ReadString(u""), u"Alice");
  ASSERT_TRUE(reg.OpenKeyReadOnly(u"Preferences"));
  EXPECT_EQ(reg.ReadString(u"LogDirectory"),
            u"C:\\Documents and Settings\\Alice\\My Documents\\Velmora Logs");
  EXPECT_EQ(reg.ReadInteger(u"LogNameShort"), 1);
  EXPECT_EQ(reg.GetDataType(u"LogFormat"), TRegDataType::ExpandString);
  EXPECT_EQ(reg.ReadString(u"LogFormat"), u"%USERPROFILE%\\Velmora Logs");
  EXPECT_EQ(reg.ReadValue(u"LastSeen"), MakeQwordValue(0x01d55f9cb24fe000ull));
  EXPECT_EQ(reg.ReadString(u"Nick"), u"Zo\u00eb \U0001F98A \"the fox\"");

  ASSERT_TRUE(reg.OpenKeyReadOnly(u"\\Software\\Dravik\\Velmora2\\bob.builder\\Preferences"));
  EXPECT_EQ(reg.ReadString(u"LogDirectory"), u"D:\\Logs\\Bob");
  EXPECT_EQ(reg.ReadInteger(u"LogNameShort"), 0);

  TRegistry machine(THive::LocalMachine, Folder);
  ASSERT_TRUE(machine.OpenKeyReadOnly(u"Software\\Dravik\\Velmora2"));
  EXPECT_EQ(machine.ReadString(u"BinDir"), u"C:\\Program Files\\Velmora2\\");
  EXPECT_EQ(machine.ReadString(u"FileNameExe"), u"Velmora2.exe");
  EXPECT_FALSE(fs::exists(TRegistry(THive::ClassesRoot, Folder).HiveFile()));

  // Exported, imported into an empty store and exported again: the same file.
  const fs::path first = Dir.Path / "first.reg", second = Dir.Path / "second.reg";
  ASSERT_TRUE(ExportRegFile(THive::CurrentUser, u"software\\DRAVIK", first, Folder));
  const std::string exported = ReadBytes(first);
  EXPECT_EQ(exported.substr(0, 2), "\xFF\xFE");
  EXPECT_EQ(FileText(first).rfind(
                "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Dravik]"
                "\r\n\r\n[HKEY_CURRENT_USER\\Software\\Dravik\\Velmora2]\r\n",
                0),
            0u);
  test::TTempDir other;
  ImportRegFile(first, other.Path);
  ASSERT_TRUE(ExportRegFile(THive::CurrentUser, u"\\Software\\Dravik\\", second, other.Path));
  EXPECT_EQ(ReadBytes(second), exported);
  EXPECT_FALSE(ExportRegFile(THive::CurrentUser, u"Software\\Nobody", second, Folder));
  EXPECT_EQ(ReadBytes(second), exported);
}

TEST_F(RegistryImportTest, OlderAndUnmarkedFilesAreReadInTheirEncoding) {
  ImportRegFile(Fixtures / "regedit4.reg", Folder);
  TRegistry reg(THive::CurrentUser, Folder);
  ASSERT_TRUE(reg.OpenKeyReadOnly(u"Software\\Dravik\\Velmora2\\carol"));
  EXPECT_EQ(reg.ReadString(u"Nick"), u"Zo\u00eb");
  // REGEDIT4 keeps text values as ANSI bytes; the store holds them as UTF-16.
  EXPECT_EQ(reg.ReadValue(u"LogFormat"),
            MakeStringValue(u"%TEMP%\\logs", TRegDataType::ExpandString));

  const std::string body =
      "Windows Registry Editor Version 5.00\n\n[HKCU\\Software\\Plain]\n\"Nick\"=\"Zo\xC3\xAB\"\n";
  struct TCase {
    const char* Name;
    std::string Bytes;
  } cases[] = {
      {"UTF-8 without a mark, LF line ends", body},
      {"UTF-8 with a mark", "\xEF\xBB\xBF" + body},
      {"UTF-16LE without a mark", Utf16LE(DecodeUtf8(body))},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    WriteBytes(Dir.Path / "in.reg", c.Bytes);
    ImportRegFile(Dir.Path / "in.reg", Folder);
    ASSERT_TRUE(reg.OpenKeyReadOnly(u"\\Software\\Plain"));
    EXPECT_EQ(reg.ReadString(u"Nick"), u"Zo\u00eb");
    ASSERT_TRUE(reg.DeleteKey(u"\\Software\\Plain"));
  }
}

TEST_F(RegistryImportTest, AFileWithAnErrorImportsNothing) {
  const fs::path file = Dir.Path / "bad.reg";
  WriteBytes(file,
             "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\New]\r\n"
             "\"Good\"=\"yes\"\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\New]\r\n\"Bad\"=dword:x\r\n");
  try {
    ImportRegFile(file, Folder);
    ADD_FAILURE() << "no error";
  } catch (const TRegistryFormatError& e) {
    EXPECT_EQ(e.Line(), 7);
    EXPECT_NE(std::string(e.what()).find("The file \"" + file.string() +
                                         "\" cannot be imported: line 7: "),
              std::string::npos)
        << e.what();
    EXPECT_NE(std::string(e.what()).find("Nothing was imported."), std::string::npos);
  }
  EXPECT_FALSE(fs::exists(Folder));

  WriteBytes(file, "");
  EXPECT_THROW(ImportRegFile(file, Folder), TRegistryFormatError);
  fs::remove(file);
  try {
    ImportRegFile(file, Folder);
    ADD_FAILURE() << "no error";
  } catch (const TRegistryError& e) {
    EXPECT_NE(std::string(e.what()).find("there is no such file"), std::string::npos);
  }
  EXPECT_FALSE(fs::exists(Folder));
}

}  // namespace
}  // namespace skribo
