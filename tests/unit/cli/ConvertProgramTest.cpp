// The converter as a built program: its command line, exit codes, messages and output files.
#include <gtest/gtest.h>

#include "TestPaths.h"
#include "oracle/Oracle.h"
#include "resources/EmbeddedResources.h"
#include "support/RunProgram.h"
#include "unit/host/SettingsSandbox.h"

namespace skribo {
namespace {

namespace fs = std::filesystem;
using test::RunProgram;

const std::string Fixtures = SKRIBO_FIXTURES_DIR;
const std::string Emoticons = Fixtures + "/emoticons.txt";

test::TProgramResult Convert(const std::vector<std::string>& args) {
  return RunProgram(SKRIBO_CONVERT_EXE, args);
}

// Without --language-file the converter asks the registry store for Velmora's language file: the
// runs see an empty store of their own, never the user's.
class TEmptySettings : public ::testing::Environment {
 public:
  void SetUp() override { Sandbox = std::make_unique<test::TSettingsSandbox>(); }
  void TearDown() override { Sandbox.reset(); }
  std::unique_ptr<test::TSettingsSandbox> Sandbox;
};
[[maybe_unused]] ::testing::Environment* const EmptySettings =
    ::testing::AddGlobalTestEnvironment(new TEmptySettings);

TEST(ConvertProgram, WritesThePageToStandardOutputOrAFile) {
  const std::string golden = test::ReadBytes(std::string(SKRIBO_GOLDEN_DIR) + "/bold-short.html");
  const std::string ini = Fixtures + "/bold-short.ini", log = Fixtures + "/bold-short.txt";
  test::TProgramResult r = Convert({"--ini", ini, log});
  EXPECT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(r.Out, golden);
  EXPECT_EQ(r.Err, "");  // standard error is no terminal here: no progress drawn

  test::TTempDir dir;
  const std::string out = (dir.Path / "page.html").string();
  test::WriteBytes(out, "old page");
  r = Convert({log, "-o", out, "--ini", ini});  // options after the log too
  EXPECT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(r.Out, "");
  EXPECT_EQ(test::ReadBytes(out), golden);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path), fs::directory_iterator()), 1);
}

TEST(ConvertProgram, LanguageFileGivesTheNameChangeWording) {
  test::TProgramResult r =
      Convert({"--language-file", Fixtures + "/language.ini", Fixtures + "/name-change.txt"});
  EXPECT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(r.Out, test::ReadBytes(std::string(SKRIBO_GOLDEN_DIR) + "/name-change.html"));
}

TEST(ConvertProgram, WithoutALanguageFileTheViewersOneIsUsed) {
  const std::string log = Fixtures + "/name-change.txt";
  const std::string golden = test::ReadBytes(std::string(SKRIBO_GOLDEN_DIR) + "/name-change.html");
  test::TProgramResult r = Convert({log});
  EXPECT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_NE(r.Out, golden);  // no wording, no name changes
  const std::string plain = r.Out;

  const std::u16string host = u"Software\\Dravik\\Velmora2";
  test::SetRegString(THive::CurrentUser, host, u"LanguageFile", u"language.ini");
  test::SetRegString(THive::LocalMachine, host, u"LocalizationDir", test::U(Fixtures));
  r = Convert({log});
  EXPECT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(r.Err, "");
  EXPECT_EQ(r.Out, golden);

  // A setting that cannot be used: the page as without a language file, and a warning.
  test::SetRegInteger(THive::CurrentUser, host, u"LanguageFile", 1);
  r = Convert({log});
  EXPECT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_NE(r.Err.find("skribo-convert: warning: "), std::string::npos) << r.Err;
  EXPECT_NE(r.Err.find("LanguageFile"), std::string::npos) << r.Err;
  EXPECT_EQ(r.Out, plain);
  TRegistry(THive::CurrentUser).DeleteKey(host);
  TRegistry(THive::LocalMachine).DeleteKey(host);
}

TEST(ConvertProgram, BadCommandLinesAndFilesAreRefusedWithAMessage) {
  test::TTempDir dir;
  const std::string encrypted = (dir.Path / "secret.PLE").string();
  test::WriteBytes(encrypted, ".");
  const std::string missing = (dir.Path / "missing.txt").string();
  struct TCase {
    std::vector<std::string> Args;
    int ExitCode;
    std::string Message;
  } cases[] = {
      {{}, 1, "no log file given"},
      {{Emoticons, Emoticons}, 1, "more than one log file given"},
      {{"--bogus", Emoticons}, 1, "unknown option --bogus"},
      {{Emoticons, "-o"}, 1, "option -o needs a value"},
      {{"--exe-name", "a", "--exe-name", "b", Emoticons}, 1, "given more than once"},
      {{"--exe-name", "a/b", Emoticons}, 1, "--exe-name"},
      {{missing}, 1, "cannot open log \"" + missing + "\": No such file or directory"},
      {{dir.Path.string()}, 1, "Is a directory"},
      {{"--ini", missing, Emoticons}, 1, "cannot open INI file"},
      {{"--language-file", missing, Emoticons}, 1, "cannot open language file"},
      {{encrypted}, 1, "encrypted logs are opened in the viewer"},
      {{Fixtures + "/not-a-log.txt"},
       2,
       "The specified file is not a valid Velmora log file or has a wrong format.\n"},
      {{Fixtures + "/empty.txt"}, 2, "not a valid Velmora log file"},
  };
  for (const TCase& c : cases) {
    test::TProgramResult r = Convert(c.Args);
    EXPECT_EQ(r.ExitCode, c.ExitCode) << c.Message;
    EXPECT_NE(r.Err.find(c.Message), std::string::npos) << r.Err;
    EXPECT_EQ(r.Out, "") << c.Message;
  }
  test::TProgramResult help = Convert({"--help"});
  EXPECT_EQ(help.ExitCode, 0);
  EXPECT_EQ(help.Out.rfind("Usage: skribo-convert [--ini FILE]", 0), 0u);
}

TEST(ConvertProgram, AFailedRunLeavesTheOutputAsItWas) {
  test::TTempDir dir;
  const std::string out = (dir.Path / "page.html").string();
  test::WriteBytes(out, "old page");
  EXPECT_EQ(Convert({"-o", out, Fixtures + "/not-a-log.txt"}).ExitCode, 2);
  EXPECT_EQ(test::ReadBytes(out), "old page");

  // A folder where the page should go: refused, and no temporary file is left behind.
  fs::create_directory(dir.Path / "taken");
  test::TProgramResult r = Convert({"-o", (dir.Path / "taken").string(), Emoticons});
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_NE(r.Err.find("cannot write"), std::string::npos) << r.Err;
  EXPECT_TRUE(fs::is_directory(dir.Path / "taken"));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path), fs::directory_iterator()), 2);

  r = Convert({"-o", (dir.Path / "no-such-folder" / "page.html").string(), Emoticons});
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_NE(r.Err.find("cannot write"), std::string::npos) << r.Err;
}

// Program names that hold emoticon codes or references make the image tags take part in the
// replacement; the page must still be the one the ordered passes give.
TEST(ConvertProgram, ProgramNameGoesIntoTheImageAddresses) {
  for (const std::string name : {"viewer", "a:)b", "(a)", "x&amp;y", "semi;)", "8-)"}) {
    test::TProgramResult r = Convert({"--exe-name", name, Emoticons});
    ASSERT_EQ(r.ExitCode, 0) << r.Err;
    oracle::TOracleInput input;
    input.FileBytes = test::ReadBytes(Emoticons);
    input.Options = DefaultOptions();
    input.ProgramFileName = std::u16string(name.begin(), name.end());
    EXPECT_EQ(r.Out, oracle::OracleBuildPage(input)) << name;
    EXPECT_NE(r.Out.find("<img src=\"res://" + name + "/GIF/"), std::string::npos) << name;
  }
}

std::string DecodeBase64(std::string_view text) {
  const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  unsigned value = 0;
  int bits = 0;
  for (char c : text) {
    if (c == '=') break;
    value = value << 6 | static_cast<unsigned>(alphabet.find(c));
    bits += 6;
    if (bits >= 8) {
      bits -= 8;
      out.push_back(static_cast<char>(value >> bits & 0xFF));
    }
  }
  return out;
}

TEST(ConvertProgram, StandalonePagesCarryTheImagesThemselves) {
  test::TProgramResult plain = Convert({Emoticons});
  test::TProgramResult standalone = Convert({"--standalone", Emoticons});
  ASSERT_EQ(standalone.ExitCode, 0) << standalone.Err;
  EXPECT_EQ(standalone.Out.find("res://"), std::string::npos);

  // Each data address holds exactly one of the images; putting the addresses back gives the
  // plain page, so nothing else differs.
  const std::string head = "src=\"data:image/gif;base64,";
  std::string restored = standalone.Out;
  size_t images = 0;
  for (size_t p; (p = restored.find(head)) != std::string::npos; ++images) {
    const size_t from = p + head.size(), end = restored.find('"', from);
    const std::string gif = DecodeBase64(std::string_view(restored).substr(from, end - from));
    int image = 0;
    for (int n = 1; n <= 79 && !image; ++n)
      if (EmoticonGif(n) == gif) image = n;
    ASSERT_NE(image, 0);
    restored.replace(p, end - p, "src=\"res://skribo/GIF/" + std::to_string(image));
  }
  EXPECT_GT(images, 30u);
  EXPECT_EQ(restored, plain.Out);
}

}  // namespace
}  // namespace skribo
