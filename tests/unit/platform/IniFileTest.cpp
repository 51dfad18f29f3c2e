#include "platform/IniFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace skribo {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

std::string Utf16Bytes(std::u16string_view text, bool bigEndian) {
  std::string out;
  for (char16_t c : text) {
    char lo = static_cast<char>(c & 0xFF), hi = static_cast<char>(c >> 8);
    out += bigEndian ? hi : lo;
    out += bigEndian ? lo : hi;
  }
  return out;
}

class IniFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "skribo-ini-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    Dir = pattern;
  }
  void TearDown() override { fs::remove_all(Dir); }

  fs::path WriteFile(const std::string& name, const std::string& bytes) {
    fs::path p = Dir / name;
    std::ofstream(p, std::ios::binary) << bytes;
    return p;
  }
  static std::string ReadBytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  // Everything in the folder besides the names given.
  std::vector<std::string> OtherEntries(std::initializer_list<std::string> expected) {
    std::vector<std::string> others;
    for (const auto& e : fs::directory_iterator(Dir)) {
      std::string name = e.path().filename().string();
      if (std::find(expected.begin(), expected.end(), name) == expected.end()) {
        others.push_back(name);
      }
    }
    return others;
  }

  fs::path Dir;
};

TEST_F(IniFileTest, ReadsEachEncodingByItsByteOrderMark) {
  const std::u16string text = u"[Sec]\r\nKey=Caf\u00E9 \u20AC\r\n";
  struct TCase {
    const char* Name;
    std::string Bytes;
    std::u16string Expected;
  } cases[] = {
      {"UTF-16LE", "\xFF\xFE" + Utf16Bytes(text, false), u"Caf\u00E9 \u20AC"},
      {"UTF-16BE", "\xFE\xFF" + Utf16Bytes(text, true), u"Caf\u00E9 \u20AC"},
      {"UTF-8", "\xEF\xBB\xBF[Sec]\r\nKey=Caf\xC3\xA9 \xE2\x82\xAC\r\n", u"Caf\u00E9 \u20AC"},
      {"Windows-1252", "[Sec]\r\nKey=Caf\xE9 \x80\r\n", u"Caf\u00E9 \u20AC"},
      // Without its mark UTF-8 is read byte by byte as Windows-1252.
      {"UTF-8 without mark", "[Sec]\r\nKey=Caf\xC3\xA9\r\n", u"Caf\u00C3\u00A9"},
  };
  for (const TCase& c : cases) {
    TIniFile ini(WriteFile("enc.ini", c.Bytes));
    EXPECT_EQ(ini.ReadString(u"Sec", u"Key", u"absent"), c.Expected) << c.Name;
  }
}

// Parsing is shown through ToText(), the normalised form that UpdateFile() writes.
TEST(IniFileSyntax, ParsesLinesSectionsAndKeys) {
  struct TCase {
    const char* Name;
    std::u16string Input;
    std::u16string Expected;
  } cases[] = {
      {"every break character ends a line", u"[s]\ra=1\nb=2\u2028c=3\r\n\u2028d=4\n\re=5",
       u"[s]\r\na=1\r\nb=2\r\nc=3\r\nd=4\r\ne=5\r\n\r\n"},
      {"a NUL ends the text", u"[s]\r\na=1\0 2\r\nb=2"s, u"[s]\r\na=1\r\n\r\n"},
      {"only U+0020 is trimmed", u"  [ s ]  \r\n  k  =  v  \r\n\tt=1\t\r\n",
       u"[s]\r\nk=v\r\n\tt=1\t\r\n\r\n"},
      {"comments, blank and other lines", u"[s]\r\n;c=1\r\n   ;d=2\r\n\r\n  \r\njunk\r\n[x\r\ne=3",
       u"[s]\r\ne=3\r\n\r\n"},
      {"lines before the first section", u"a=1\r\n;x\r\n[s]\r\nb=2", u"[s]\r\nb=2\r\n\r\n"},
      {"the first = splits, quotes stay", u"[s]\r\na = b = c\r\n=v\r\nq=\"x y\"\r\nn=",
       u"[s]\r\na=b = c\r\n=v\r\nq=\"x y\"\r\nn=\r\n\r\n"},
      {"a repeated section continues the first", u"[a]\r\nx=1\r\n[b]\r\ny=2\r\n[A]\r\nz=3",
       u"[a]\r\nx=1\r\nz=3\r\n\r\n[b]\r\ny=2\r\n\r\n"},
      {"brackets win over =", u"[a=b]\r\nk=v\r\n[]\r\nm=n",
       u"[a=b]\r\nk=v\r\n\r\n[]\r\nm=n\r\n\r\n"},
      {"a lone bracket is not a section", u"[s]\r\n[\r\n]\r\nk=v", u"[s]\r\nk=v\r\n\r\n"},
      {"empty text", u"", u""},
  };
  for (const TCase& c : cases) {
    EXPECT_EQ(TIniFile::FromText(c.Input).ToText(), c.Expected) << c.Name;
  }
}

TEST(IniFileSyntax, RepeatedKeyFirstWinsAndStaysInTheFile) {
  TIniFile ini = TIniFile::FromText(u"[s]\r\nk=1\r\nother=x\r\nK=2\r\n");
  EXPECT_EQ(ini.ReadString(u"s", u"k", u""), u"1");
  EXPECT_EQ(ini.ReadSection(u"s"), (std::vector<std::u16string>{u"k", u"other"}));
  EXPECT_EQ(ini.ToText(), u"[s]\r\nk=1\r\nother=x\r\nK=2\r\n\r\n");

  ini.WriteString(u"s", u"K", u"3");
  EXPECT_EQ(ini.ToText(), u"[s]\r\nk=3\r\nother=x\r\nK=2\r\n\r\n");
  // Deleting the key removes every occurrence, so the later one does not take its place.
  ini.DeleteKey(u"s", u"k");
  EXPECT_FALSE(ini.ValueExists(u"s", u"k"));
  EXPECT_EQ(ini.ToText(), u"[s]\r\nother=x\r\n\r\n");
}

TEST(IniFileNames, MatchBySimpleCaseFolding) {
  struct TCase {
    std::u16string Stored, Looked;
    bool Match;
  } cases[] = {
      {u"AlwaysOnTop", u"ALWAYSONTOP", true},
      {u"\u00C4rger", u"\u00E4RGER", true},
      {u"\u212A", u"k", true},               // Kelvin sign
      {u"\u017F", u"S", true},               // long s
      {u"\U00010400", u"\U00010428", true},  // Deseret, outside the BMP
      {u"Stra\u00DFe", u"STRASSE", false},   // no full folding
      {u"\u0130", u"i", false},              // dotted capital I has no simple folding
      {u"a b", u"ab", false},
  };
  for (const TCase& c : cases) {
    TIniFile ini = TIniFile::FromText(u"[" + c.Stored + u"]\r\n" + c.Stored + u"=v\r\n");
    EXPECT_EQ(ini.SectionExists(c.Looked), c.Match);
    EXPECT_EQ(ini.ValueExists(c.Looked, c.Looked), c.Match);
    EXPECT_EQ(ini.ReadString(c.Looked, c.Looked, u"-"), c.Match ? u"v" : u"-");
  }
}

TEST(IniFileNames, WritingKeepsTheStoredSpelling) {
  TIniFile ini = TIniFile::FromText(u"[Preferences]\r\nAlwaysOnTop=0\r\n");
  ini.WriteString(u"PREFERENCES", u"alwaysontop", u"1");
  ini.WriteString(u"preferences", u"NewKey", u"x");
  EXPECT_EQ(ini.ToText(), u"[Preferences]\r\nAlwaysOnTop=1\r\nNewKey=x\r\n\r\n");
  EXPECT_EQ(ini.ReadSections(), std::vector<std::u16string>{u"Preferences"});
}

TEST(IniFileEditing, EraseListAndRefuseWhatTheFormatCannotHold) {
  TIniFile ini = TIniFile::FromText(u"[a]\r\nx=1\r\ny=2\r\n[b]\r\nz=3\r\n[c]\r\n");
  EXPECT_EQ(ini.ReadSections(), (std::vector<std::u16string>{u"a", u"b", u"c"}));
  EXPECT_EQ(ini.ReadSection(u"A"), (std::vector<std::u16string>{u"x", u"y"}));
  EXPECT_TRUE(ini.ReadSection(u"missing").empty());
  ini.EraseSection(u"B");
  ini.DeleteKey(u"a", u"X");
  ini.DeleteKey(u"missing", u"x");
  EXPECT_EQ(ini.ToText(), u"[a]\r\ny=2\r\n\r\n[c]\r\n\r\n");

  const std::u16string before = ini.ToText();
  struct TBad {
    std::u16string Section, Key, Value;
  } bad[] = {
      {u"a", u"k", u"one\r\ntwo=2"}, {u"a", u"k", u"x\u2028y"}, {u"a", u"k", u"\0"s},
      {u"a", u"k=x", u"v"},          {u"a", u" ;k", u"v"},      {u"a", u"[k", u"v]"},
      {u"a\n", u"k", u"v"},
  };
  for (const TBad& b : bad) {
    EXPECT_THROW(ini.WriteString(b.Section, b.Key, b.Value), std::invalid_argument);
  }
  EXPECT_EQ(ini.ToText(), before);
  EXPECT_THROW(ini.UpdateFile(), std::logic_error);
}

TEST_F(IniFileTest, WritesTheWholeFileWithNewEntriesInPlace) {
  fs::path path = WriteFile("opts.ini",
                            "\xEF\xBB\xBF; comment\r\n[position]\r\nWinState=0\r\n"
                            "[preferences]\r\nAlwaysOnTop=0\r\nLanguage=English\r\n"
                            "[Other]\r\nx=y\r\n");
  TIniFile ini(path);
  ini.WriteString(u"preferences", u"Language", u"Fran\u00E7ais \U0001F600");
  ini.WriteString(u"preferences", u"NewKey", u"1");
  ini.WriteString(u"Added", u"k", u"v");
  ini.UpdateFile();

  const std::string bytes = ReadBytes(path);
  // The mark and the first characters, spelled out byte by byte.
  EXPECT_EQ(bytes.substr(0, 8), std::string("\xFF\xFE[\0p\0o\0", 8));
  EXPECT_EQ(bytes, "\xFF\xFE" + Utf16Bytes(u"[position]\r\nWinState=0\r\n\r\n"
                                           u"[preferences]\r\nAlwaysOnTop=0\r\n"
                                           u"Language=Fran\u00E7ais \U0001F600\r\nNewKey=1\r\n\r\n"
                                           u"[Other]\r\nx=y\r\n\r\n"
                                           u"[Added]\r\nk=v\r\n\r\n",
                                           false));
  EXPECT_EQ(TIniFile(path).ToText(), ini.ToText());
  EXPECT_TRUE(OtherEntries({"opts.ini"}).empty());
}

TEST_F(IniFileTest, MissingFileReadsAsEmptyAndIsCreatedOnUpdate) {
  fs::path path = Dir / "new.ini";
  TIniFile ini(path);
  EXPECT_TRUE(ini.ReadSections().empty());
  EXPECT_EQ(ini.ReadString(u"s", u"k", u"def"), u"def");
  EXPECT_FALSE(fs::exists(path));
  ini.UpdateFile();
  EXPECT_EQ(ReadBytes(path), "\xFF\xFE");

  EXPECT_TRUE(TIniFile(Dir / "no-such-folder" / "x.ini").ReadSections().empty());
}

TEST_F(IniFileTest, UnreadableFileThrowsNamingTheFile) {
  fs::create_directory(Dir / "folder.ini");
  try {
    TIniFile ini(Dir / "folder.ini");
    FAIL() << "a folder read as an INI file";
  } catch (const TIniFileReadError& e) {
    EXPECT_EQ(e.ErrorCode(), EISDIR);
    EXPECT_NE(std::string(e.what()).find((Dir / "folder.ini").string()), std::string::npos);
    EXPECT_STREQ(e.KindName(), "TIniFileReadError");
  }
}

TEST_F(IniFileTest, FailedWriteLeavesTheOldFileWhole) {
  const std::string old = "[s]\r\nk=old\r\n";
  const fs::path path = Dir / "a.ini";
  struct TCase {
    const char* Name;
    bool OldFileExists;
    // Puts an obstacle in the way after the file has been read.
    std::function<void()> Inject;
    int ErrorCode;
  } cases[] = {
      {"folder at the temporary path", true,
       [&] { fs::create_directory(TIniFile::TemporaryPathFor(path)); }, EISDIR},
      {"folder at the target path", false,
       [&] {
         fs::create_directory(path);
         WriteFile("a.ini/inside", "kept");
       },
       EISDIR},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    fs::remove_all(Dir);
    fs::create_directory(Dir);
    if (c.OldFileExists) WriteFile("a.ini", old);
    TIniFile ini(path);
    ini.WriteString(u"s", u"k", u"new");
    c.Inject();
    try {
      ini.UpdateFile();
      ADD_FAILURE() << "the save did not fail";
    } catch (const TIniFileWriteError& e) {
      EXPECT_EQ(e.ErrorCode(), c.ErrorCode);
      EXPECT_EQ(e.FileName(), path);
      EXPECT_NE(std::string(e.what()).find(path.string()), std::string::npos) << e.what();
      EXPECT_STREQ(e.KindName(), "TIniFileWriteError");
    }
    if (c.OldFileExists) {
      EXPECT_EQ(ReadBytes(path), old);
    } else {
      EXPECT_EQ(ReadBytes(path / "inside"), "kept");
    }
    // Nothing but the file and the obstacle is left behind.
    fs::path temp = TIniFile::TemporaryPathFor(path);
    EXPECT_EQ(fs::exists(temp), fs::is_directory(temp));
    EXPECT_TRUE(OtherEntries({"a.ini", temp.filename().string()}).empty());
  }

  TIniFile inMissingFolder(Dir / "missing" / "b.ini");
  try {
    inMissingFolder.UpdateFile();
    ADD_FAILURE() << "saved into a missing folder";
  } catch (const TIniFileWriteError& e) {
    EXPECT_EQ(e.ErrorCode(), ENOENT);
  }
}

TEST_F(IniFileTest, SavingKeepsPermissionsAndSymbolicLinks) {
  fs::create_directory(Dir / "real");
  fs::path real = WriteFile("real/opts.ini", "[s]\r\nk=1\r\n");
  fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  fs::path link = Dir / "link.ini";
  fs::create_symlink(real, link);

  TIniFile ini(link);
  EXPECT_EQ(ini.ReadString(u"s", u"k", u""), u"1");
  ini.WriteString(u"s", u"k", u"2");
  ini.UpdateFile();

  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(TIniFile(real).ReadString(u"s", u"k", u""), u"2");
  EXPECT_EQ(fs::status(real).permissions() & fs::perms::mask,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

}  // namespace
}  // namespace skribo
