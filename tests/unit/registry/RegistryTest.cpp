// The registry store within one process: value types in the hive file, names, keys, errors.
#include "platform/Registry.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <iterator>
#include <string>
#include <vector>

#include "RegistryTestEnv.h"
#include "common/TextCodec.h"
#include "support/TestFiles.h"

namespace skribo {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using test::ReadBytes;
using test::WriteBytes;

class RegistryTest : public test::TRegistryTestEnv {
 protected:
  fs::path HivePath(THive hive = THive::CurrentUser) const {
    return TRegistry(hive, Folder).HiveFile();
  }
  size_t FilesInFolder() const {
    return static_cast<size_t>(
        std::distance(fs::directory_iterator(Folder), fs::directory_iterator()));
  }
};

std::string Bytes(size_t count) {
  std::string s;
  for (size_t i = 0; i < count; ++i)
    s.push_back(static_cast<char>(i));
  return s;
}

TEST_F(RegistryTest, EveryValueTypeSurvivesTheHiveFileExactly) {
  struct TCase {
    std::u16string Name;
    TRegValue Value;
  } cases[] = {
      {u"Plain", MakeStringValue(u"text")},
      {u"Escapes", MakeStringValue(u"C:\\dir\\ \"quoted\"")},
      {u"Empty", MakeStringValue(u"")},
      {u"Lines", MakeStringValue(u"one\r\ntwo")},
      {u"EmbeddedNul", MakeStringValue(u"a\0b"s)},
      {u"Unterminated", {TRegDataType::String, "x\0y"s}},
      {u"Wide", MakeStringValue(u"Zo\u00eb \U0001F98A \u2028 end")},
      {u"Ten", MakeIntegerValue(10)},
      {u"Max", MakeIntegerValue(0xFFFFFFFF)},
      {u"ShortDword", {TRegDataType::Integer, "\x01\x02"}},
      {u"Expand", MakeStringValue(u"%TEMP%\\x", TRegDataType::ExpandString)},
      {u"Binary", {TRegDataType::Binary, Bytes(200)}},
      {u"NoBytes", {TRegDataType::Binary, ""}},
      {u"Multi", MakeMultiStringValue({u"a", u"b c"})},
      {u"Qword", MakeQwordValue(0x0123456789ABCDEFull)},
      {u"None", {TRegDataType::None, "\x01"}},
      {u"BigEndian", {static_cast<TRegDataType>(5), "\0\0\0\x01"s}},
      {u"OddType", {static_cast<TRegDataType>(0x12345), "\xff"}},
      {u"Name with \\ and \" and ]=", MakeStringValue(u"v")},
      {u"", MakeStringValue(u"default")},
  };
  {
    TRegistry reg(THive::CurrentUser, Folder);
    ASSERT_TRUE(reg.OpenKey(u"Software\\Test", true));
    for (const TCase& c : cases)
      reg.WriteValue(c.Name, c.Value);
  }
  TRegistry reg(THive::CurrentUser, Folder);
  ASSERT_TRUE(reg.OpenKeyReadOnly(u"Software\\Test"));
  std::vector<std::u16string> names;
  for (const TCase& c : cases) {
    names.push_back(c.Name);
    EXPECT_EQ(reg.ReadValue(c.Name), c.Value) << EncodeUtf8(c.Name);
  }
  EXPECT_EQ(reg.GetValueNames(), names);

  const std::string bytes = ReadBytes(HivePath());
  ASSERT_EQ(bytes.substr(0, 2), "\xFF\xFE");
  const std::string text = FileText(HivePath());
  EXPECT_EQ(
      text.rfind("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software]\r\n\r\n"
                 "[HKEY_CURRENT_USER\\Software\\Test]\r\n\"Plain\"=\"text\"\r\n",
                 0),
      0u)
      << text;
  for (const char* line : {
           "\"Escapes\"=\"C:\\\\dir\\\\ \\\"quoted\\\"\"\r\n",
           "\"Empty\"=\"\"\r\n",
           "\"Lines\"=hex(1):6f,00,6e,00,65,00,0d,00,0a,00,74,00,77,00,6f,00,00,00\r\n",
           "\"Unterminated\"=hex(1):78,00,79\r\n",
           "\"Ten\"=dword:0000000a\r\n",
           "\"Max\"=dword:ffffffff\r\n",
           "\"ShortDword\"=hex(4):01,02\r\n",
           "\"Binary\"=hex:00,01,02,",
           "\"NoBytes\"=hex:\r\n",
           "\"Multi\"=hex(7):61,00,00,00,62,00,20,00,63,00,00,00,00,00\r\n",
           "\"Qword\"=hex(b):ef,cd,ab,89,67,45,23,01\r\n",
           "\"OddType\"=hex(12345):ff\r\n",
           "\"Name with \\\\ and \\\" and ]=\"=\"v\"\r\n",
           "@=\"default\"\r\n\r\n",
       }) {
    EXPECT_NE(text.find(line), std::string::npos) << line;
  }
  // Long data is continued over lines as regedit continues it; every line ends in CR LF.
  size_t lineStart = 0, continued = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\n') continue;
    ASSERT_GT(i, 0u);
    EXPECT_EQ(text[i - 1], '\r') << "at " << i;
    EXPECT_LE(i - 1 - lineStart, 80u) << text.substr(lineStart, i - lineStart);
    if (text.compare(i - 2, 1, "\\") == 0) ++continued;
    lineStart = i + 1;
  }
  EXPECT_GE(continued, 7u);

  // The hive file read back and written again is the same file.
  test::TTempDir other;
  ImportRegFile(HivePath(), other.Path);
  EXPECT_EQ(ReadBytes(TRegistry(THive::CurrentUser, other.Path).HiveFile()), bytes);
}

TEST_F(RegistryTest, NamesMatchWithoutCaseAndKeepTheirFirstSpelling) {
  TRegistry reg(THive::CurrentUser, Folder);
  ASSERT_TRUE(reg.OpenKey(u"\\Software\\Dravik\\Velmora2", true));
  reg.WriteString(u"LogDirectory", u"a");
  reg.CloseKey();

  ASSERT_TRUE(reg.OpenKey(u"SOFTWARE\\dravik\\VELMORA2\\", false));
  EXPECT_EQ(reg.CurrentPath(), u"Software\\Dravik\\Velmora2");
  EXPECT_EQ(reg.ReadString(u"logdirectory"), u"a");
  reg.WriteString(u"LOGDIRECTORY", u"b");
  EXPECT_EQ(reg.GetValueNames(), std::vector<std::u16string>{u"LogDirectory"});
  EXPECT_EQ(reg.ReadString(u"LogDirectory"), u"b");

  // Folding goes by code point, beyond ASCII and beyond the BMP.
  ASSERT_TRUE(reg.OpenKey(u"\\\u00c4rger\\\U00010400", true));
  ASSERT_TRUE(reg.OpenKey(u"\\\u00e4RGER\\\U00010428", false));
  EXPECT_EQ(reg.CurrentPath(), u"\u00c4rger\\\U00010400");

  // Relative to the open key unless the path starts with "\".
  ASSERT_TRUE(reg.OpenKey(u"\\Software", false));
  ASSERT_TRUE(reg.OpenKey(u"Dravik", false));
  EXPECT_EQ(reg.CurrentPath(), u"Software\\Dravik");
  EXPECT_TRUE(reg.KeyExists(u"Velmora2"));
  EXPECT_FALSE(reg.KeyExists(u"\\Velmora2"));
  EXPECT_TRUE(reg.KeyExists(u"\\Software\\Dravik\\Velmora2"));

  // Paths that cannot name a key open nothing, create nothing and leave the open key open.
  const std::string before = ReadBytes(HivePath());
  for (std::u16string_view bad : {u"Software\\\\Dravik", u"bad\nname", u"a\rb", u"\\\\\\"}) {
    EXPECT_FALSE(reg.OpenKey(bad, true)) << EncodeUtf8(bad);
    EXPECT_FALSE(reg.KeyExists(bad)) << EncodeUtf8(bad);
  }
  EXPECT_FALSE(reg.OpenKey(u"\\Missing", false));
  EXPECT_EQ(reg.CurrentPath(), u"Software\\Dravik");
  EXPECT_EQ(ReadBytes(HivePath()), before);
  EXPECT_THROW(reg.WriteString(u"two\nlines", u"x"), TRegistryError);

  // Without an open key, values belong to the root.
  reg.CloseKey();
  EXPECT_FALSE(reg.KeyIsOpen());
  reg.WriteInteger(u"AtRoot", 3);
  EXPECT_NE(FileText(HivePath()).find("[HKEY_CURRENT_USER]\r\n\"AtRoot\"=dword:00000003\r\n"),
            std::string::npos);
}

TEST_F(RegistryTest, SubkeysKeepTheirCreationOrderAndGoWithEverythingBelow) {
  {
    TRegistry reg(THive::LocalMachine, Folder);
    for (std::u16string_view key :
         {u"\\Root\\b", u"\\Root\\a\\x\\y", u"\\Root\\C", u"\\Root\\A\\z"})
      ASSERT_TRUE(reg.OpenKey(key, true));
  }
  TRegistry reg(THive::LocalMachine, Folder);
  ASSERT_TRUE(reg.OpenKey(u"Root", false));
  EXPECT_EQ(reg.GetKeyNames(), (std::vector<std::u16string>{u"b", u"a", u"C"}));
  EXPECT_TRUE(reg.HasSubKeys());
  ASSERT_TRUE(reg.OpenKey(u"a", false));
  EXPECT_EQ(reg.GetKeyNames(), (std::vector<std::u16string>{u"x", u"z"}));
  ASSERT_TRUE(reg.OpenKey(u"\\Root\\b", false));
  EXPECT_FALSE(reg.HasSubKeys());

  EXPECT_TRUE(reg.DeleteKey(u"\\ROOT\\A"));
  EXPECT_FALSE(reg.KeyExists(u"\\Root\\a\\x\\y"));
  EXPECT_FALSE(reg.DeleteKey(u"\\Root\\a"));
  ASSERT_TRUE(reg.OpenKey(u"\\Root", false));
  EXPECT_EQ(reg.GetKeyNames(), (std::vector<std::u16string>{u"b", u"C"}));
  EXPECT_TRUE(reg.DeleteKey(u"C"));  // relative to the open key
  EXPECT_EQ(reg.GetKeyNames(), std::vector<std::u16string>{u"b"});
  EXPECT_THROW(reg.DeleteKey(u"\\"), TRegistryError);
}

TEST_F(RegistryTest, ReadingAValueAsTheWrongTypeIsAnError) {
  TRegistry reg(THive::CurrentUser, Folder);
  ASSERT_TRUE(reg.OpenKey(u"Software\\Types", true));
  reg.WriteString(u"Text", u"5");
  reg.WriteInteger(u"Number", -7);
  reg.WriteValue(u"Short", {TRegDataType::Integer, "\x01"});
  reg.WriteValue(u"Expand", MakeStringValue(u"%X%", TRegDataType::ExpandString));
  reg.WriteValue(u"Bin", {TRegDataType::Binary, "\x35\x00"s});
  reg.WriteValue(u"Cut", MakeStringValue(u"before\0after"s));

  EXPECT_EQ(reg.ReadInteger(u"number"), -7);
  EXPECT_EQ(reg.ReadString(u"Missing"), u"");
  EXPECT_EQ(reg.ReadString(u"Expand"), u"%X%");
  EXPECT_EQ(reg.ReadString(u"Cut"), u"before");
  EXPECT_EQ(reg.GetDataType(u"Expand"), TRegDataType::ExpandString);
  EXPECT_EQ(reg.GetDataType(u"Missing"), std::nullopt);

  struct TCase {
    const char* Read;
    std::u16string Name;
    std::string Message;
  } cases[] = {
      {"integer", u"Text",
       "\"Text\" of HKEY_CURRENT_USER\\Software\\Types is REG_SZ, not REG_DWORD"},
      {"integer", u"Missing", "\"Missing\" of HKEY_CURRENT_USER\\Software\\Types does not exist"},
      {"integer", u"Short", "REG_DWORD of 1 bytes instead of 4"},
      {"integer", u"Bin", "is REG_BINARY, not REG_DWORD"},
      {"string", u"Number",
       "\"Number\" of HKEY_CURRENT_USER\\Software\\Types is REG_DWORD, not REG_SZ"},
      {"string", u"Bin", "is REG_BINARY, not REG_SZ"},
      {"integer", u"", "The default value of HKEY_CURRENT_USER\\Software\\Types does not exist"},
  };
  for (const TCase& c : cases) {
    try {
      if (std::string(c.Read) == "integer") {
        reg.ReadInteger(c.Name);
      } else {
        reg.ReadString(c.Name);
      }
      ADD_FAILURE() << c.Message;
    } catch (const TRegistryError& e) {
      EXPECT_NE(std::string(e.what()).find(c.Message), std::string::npos) << e.what();
      EXPECT_STREQ(e.KindName(), "TRegistryError");
    }
  }

  // A key opened read-only refuses writes and keeps its values.
  ASSERT_TRUE(reg.OpenKeyReadOnly(u"\\Software\\Types"));
  EXPECT_THROW(reg.WriteString(u"Text", u"6"), TRegistryError);
  EXPECT_THROW(reg.DeleteValue(u"Text"), TRegistryError);
  EXPECT_EQ(reg.ReadString(u"Text"), u"5");
}

TEST_F(RegistryTest, ADamagedHiveNamesItsFileAndLineAndIsNeverWritten) {
  const std::string header = "Windows Registry Editor Version 5.00\r\n\r\n";
  const std::string key = "[HKEY_CURRENT_USER\\A]\r\n";
  std::string deep = "[HKEY_CURRENT_USER";
  for (int i = 0; i < 600; ++i)
    deep += "\\a";
  struct TCase {
    std::string Text;
    int Line;
    std::string Detail;
  } cases[] = {
      {header + "\"Orphan\"=\"x\"\r\n", 3, "a value comes before the first key"},
      {header + key + "\"N\"=dword:xyz\r\n", 4, "dword: and 1 to 8 hexadecimal digits"},
      {header + key + "\"N\"=dword:123456789\r\n", 4, "dword:"},
      {header + key + "\"B\"=hex:01,zz\r\n", 4, "\"zz\" in the data of the value \"B\""},
      {header + key + "\"B\"=hex:01,\\\r\n  02,,03\r\n", 5, "empty byte"},
      {header + key + "\"B\"=hex:01,\\\r\n  02,1ff\r\n", 5, "\"1ff\""},
      {header + key + "\"B\"=hex(q):01\r\n", 4, "hex(n)"},
      {"Hello\r\n" + key, 1, "the first line must be"},
      {header + key + "\"Name\"=\"unclosed\r\n", 4, "no closing quote"},
      {header + key + "\"Name=\"x\"\r\n", 4, "no \"=\""},
      {header + key + "\"Name\"=\"x\" junk\r\n", 4, "follows the text"},
      {header + key + "\"Name\"=word:1\r\n", 4, "neither text in quotes"},
      {header + "[HKEY_LOCAL_MACHINE\\X]\r\n", 3, "belongs in HKEY_LOCAL_MACHINE"},
      {header + "[HKEY_USERS\\X]\r\n", 3, "\"HKEY_USERS\" is not one of"},
      {header + "[HKEY_CURRENT_USER\\A\\\\B]\r\n", 3, "empty name"},
      {header + "[HKEY_CURRENT_USER\\A\r\n", 3, "must end with \"]\""},
      {header + "[-HKEY_CURRENT_USER]\r\n", 3, "whole root key"},
      {header + "[-HKEY_CURRENT_USER\\A]\r\n\"x\"=\"y\"\r\n", 4, "under a deleted key"},
      {header + key + "garbage line\r\n", 4, "\"garbage line\" is neither a key"},
      {header + deep + "]\r\n", 3, "nested more than 512 levels deep"},
      {"\x01\x02garbage\r\n", 1, "the first line must be"},
  };
  const fs::path hive = HivePath();
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Detail);
    fs::remove_all(Folder);
    fs::create_directories(Folder);
    const std::string bytes = EncodeUtf16LEWithBom(DecodeUtf8(c.Text));
    WriteBytes(hive, bytes);

    TRegistry reg(THive::CurrentUser, Folder);
    try {
      reg.KeyExists(u"A");
      ADD_FAILURE() << "read without an error";
    } catch (const TRegistryFormatError& e) {
      EXPECT_EQ(e.Line(), c.Line);
      EXPECT_EQ(e.FileName(), hive);
      const std::string message = e.what();
      EXPECT_NE(message.find("\"" + hive.string() + "\" is damaged at line " +
                             std::to_string(c.Line) + ": "),
                std::string::npos)
          << message;
      EXPECT_NE(message.find(c.Detail), std::string::npos) << message;
      EXPECT_STREQ(e.KindName(), "TRegistryFormatError");
    }
    EXPECT_THROW(reg.WriteString(u"New", u"x"), TRegistryFormatError);
    EXPECT_THROW(reg.OpenKey(u"New", true), TRegistryFormatError);
    EXPECT_THROW(reg.DeleteKey(u"A"), TRegistryFormatError);

    // An import that also touches a sound hive changes neither.
    const fs::path import = Dir.Path / "import.reg";
    WriteBytes(import, header + "[HKEY_LOCAL_MACHINE\\Ok]\r\n\"v\"=\"1\"\r\n" + key);
    EXPECT_THROW(ImportRegFile(import, Folder), TRegistryFormatError);

    EXPECT_EQ(ReadBytes(hive), bytes);
    EXPECT_FALSE(fs::exists(HivePath(THive::LocalMachine)));
    // Only the hive and the lock file: no temporary file was left.
    EXPECT_EQ(FilesInFolder(), 2u);
  }
}

TEST_F(RegistryTest, FileSystemFailuresAreReportedAndChangeNothing) {
  // A folder where the hive file should be.
  fs::create_directories(HivePath());
  TRegistry reg(THive::CurrentUser, Folder);
  try {
    reg.KeyExists(u"A");
    ADD_FAILURE() << "no error";
  } catch (const TRegistryError& e) {
    EXPECT_EQ(e.ErrorCode(), EISDIR);
    EXPECT_NE(std::string(e.what()).find(HivePath().string()), std::string::npos) << e.what();
  }
  EXPECT_THROW(reg.WriteString(u"v", u"x"), TRegistryError);
  EXPECT_TRUE(fs::is_directory(HivePath()));

  // A folder where the lock file should be: reads go on, writes are refused.
  fs::remove_all(Folder);
  fs::create_directories(Folder / "registry.lock");
  TRegistry other(THive::LocalMachine, Folder);
  EXPECT_FALSE(other.KeyExists(u"A"));
  EXPECT_FALSE(other.OpenKey(u"A", true));
  try {
    other.CreateKey(u"A");
    ADD_FAILURE() << "no error";
  } catch (const TRegistryError& e) {
    EXPECT_NE(std::string(e.what()).find("registry lock file"), std::string::npos) << e.what();
    EXPECT_NE(e.ErrorCode(), 0);
  }
  EXPECT_THROW(other.WriteInteger(u"v", 1), TRegistryError);
  EXPECT_EQ(FilesInFolder(), 1u);

  // A file where the store's folder should be.
  fs::remove_all(Folder);
  WriteBytes(Folder, "not a folder");
  TRegistry third(THive::ClassesRoot, Folder);
  EXPECT_FALSE(third.OpenKey(u".ple", true));
  try {
    third.WriteString(u"v", u"x");
    ADD_FAILURE() << "no error";
  } catch (const TRegistryError& e) {
    EXPECT_NE(std::string(e.what()).find("Cannot create the registry folder"), std::string::npos)
        << e.what();
  }
  EXPECT_EQ(ReadBytes(Folder), "not a folder");
}

TEST_F(RegistryTest, TheShellFolderKeyAnswersWithTheDocumentsFolder) {
  const std::u16string key =
      u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders\\";
  const std::string home = Home.string();
  struct TCase {
    std::optional<std::string> UserDirs;
    std::string Expected;
  } cases[] = {
      {std::nullopt, home + "/Documents"},
      {"XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n", home + "/Dokumente"},
      {"# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Desk\"\n"
       "XDG_DOCUMENTS_DIR=\"/data/docs\"\n",
       "/data/docs"},
      {"XDG_DOCUMENTS_DIR=\"relative/docs\"\n", home + "/Documents"},
      {"XDG_DOCUMENTS_DIR=\"$HOME/A\"\nXDG_DOCUMENTS_DIR=\"${HOME}/B \\\"q\\\"\"\n",
       home + "/B \"q\""},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Expected);
    fs::remove(Config / "user-dirs.dirs");
    if (c.UserDirs) {
      fs::create_directories(Config);
      WriteBytes(Config / "user-dirs.dirs", *c.UserDirs);
    }
    TRegistry reg(THive::CurrentUser, Folder);
    ASSERT_TRUE(reg.OpenKeyReadOnly(key));
    EXPECT_EQ(reg.ReadString(u"Personal"), DecodeUtf8(c.Expected));
    EXPECT_EQ(reg.GetValueNames(), std::vector<std::u16string>{u"Personal"});
    ASSERT_TRUE(reg.OpenKey(u"\\" + key, false));
    EXPECT_TRUE(reg.ValueExists(u"PERSONAL"));
    EXPECT_TRUE(reg.KeyExists(u"\\Software\\Microsoft\\Windows"));
  }
  // Reading it wrote nothing; other hives have no such key.
  EXPECT_FALSE(fs::exists(Folder));
  EXPECT_FALSE(TRegistry(THive::LocalMachine, Folder).OpenKeyReadOnly(key));

  // Another value makes the key real while Personal still answers; a stored Personal wins.
  TRegistry reg(THive::CurrentUser, Folder);
  ASSERT_TRUE(reg.OpenKey(key, false));
  reg.WriteString(u"AppData", u"/somewhere");
  EXPECT_NE(FileText(HivePath()).find("Explorer\\Shell Folders]\r\n\"AppData\"=\"/somewhere\""),
            std::string::npos);
  EXPECT_EQ(reg.GetValueNames(), (std::vector<std::u16string>{u"AppData", u"Personal"}));
  EXPECT_EQ(reg.ReadString(u"Personal"), DecodeUtf8(home + "/B \"q\""));
  reg.WriteString(u"Personal", u"/mine");
  TRegistry fresh(THive::CurrentUser, Folder);
  ASSERT_TRUE(fresh.OpenKeyReadOnly(key));
  EXPECT_EQ(fresh.ReadString(u"Personal"), u"/mine");
  EXPECT_EQ(reg.GetValueNames(), (std::vector<std::u16string>{u"AppData", u"Personal"}));
}

TEST_F(RegistryTest, AKeyDeletedByAnotherWriterIsNotBroughtBack) {
  TRegistry first(THive::CurrentUser, Folder), second(THive::CurrentUser, Folder);
  ASSERT_TRUE(first.OpenKey(u"Gone", true));
  first.WriteString(u"v", u"x");
  ASSERT_TRUE(second.DeleteKey(u"Gone"));
  EXPECT_FALSE(first.ValueExists(u"v"));
  EXPECT_EQ(first.ReadString(u"v"), u"");
  try {
    first.WriteString(u"v", u"y");
    ADD_FAILURE() << "no error";
  } catch (const TRegistryError& e) {
    EXPECT_NE(std::string(e.what()).find("HKEY_CURRENT_USER\\Gone: the key was deleted"),
              std::string::npos)
        << e.what();
  }
  EXPECT_FALSE(second.KeyExists(u"Gone"));
}

TEST_F(RegistryTest, TheStoreFollowsXdgConfigHome) {
  EXPECT_EQ(DefaultRegistryFolder(), Config / "skribo" / "registry");
  ::setenv("XDG_CONFIG_HOME", "relative/config", 1);  // not absolute: ignored
  EXPECT_EQ(DefaultRegistryFolder(), Home / ".config" / "skribo" / "registry");
  ::unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(DefaultRegistryFolder(), Home / ".config" / "skribo" / "registry");

  // The folder appears with the first write, not before.
  TRegistry reg(THive::CurrentUser);
  EXPECT_EQ(reg.Folder(), Home / ".config" / "skribo" / "registry");
  EXPECT_FALSE(reg.OpenKey(u"Dravik", false));
  EXPECT_FALSE(fs::exists(reg.Folder()));
  ASSERT_TRUE(reg.OpenKey(u"Dravik", true));
  EXPECT_TRUE(fs::exists(reg.Folder() / "HKEY_CURRENT_USER.reg"));
  EXPECT_TRUE(fs::exists(reg.Folder() / "registry.lock"));
}

}  // namespace
}  // namespace skribo
