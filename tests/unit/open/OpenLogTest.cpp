// Opening a log: the extension rule, the status texts around a load, the temporary copies.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "common/TextCodec.h"
#include "open/uOpenFile.h"
#include "support/TestFiles.h"

namespace skribo {
namespace {

namespace fs = std::filesystem;

std::u16string U(const fs::path& p) {
  return Utf8ToUtf16(p.string());
}

TEST(ExtractFileExtTest, LastDotOfTheFileNameLowerCased) {
  struct TCase {
    std::u16string_view Path, Ext;
  } cases[] = {
      {u"/logs/LOG.PLE", u".ple"},
      {u"/logs/Log.Ple", u".ple"},
      {u"/logs/log.ple.txt", u".txt"},
      {u"/logs/log.log", u".log"},
      {u"/logs/log", u""},
      {u"/logs/a.b/log", u""},
      {u"log.", u"."},
      {u"", u""},
      {u"/logs/c:log.ple", u".ple"},
      {u"/logs/x.\u00C4B", u".\u00E4b"},
      {u"/logs/.ple", u".ple"},
      {u"/logs/a.b/", u""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ExtractFileExt(c.Path), c.Ext) << Utf16ToUtf8(c.Path);
}

// Records what OpenLog asks of the window; ProcessLog succeeds with a given time or fails.
class TRecordingHost : public TOpenLogHost {
 public:
  explicit TRecordingHost(int32_t& lastLoadTime) : LastLoadTime(lastLoadTime) {}
  void ShowError(const std::u16string& text) override { Calls.push_back(u"error: " + text); }
  void SetStatusText(const std::u16string& text) override { Calls.push_back(u"status: " + text); }
  void ProcessLog(const std::u16string& path) override {
    EXPECT_EQ(LastLoadTime, -1) << "a load starts with the time reset";
    Calls.push_back(u"process: " + path);
    LastLoadTime = ResultTime;
  }
  void OpenEncryptedLog(const std::u16string& path) override {
    Calls.push_back(u"encrypted: " + path);
    LastLoadTime = ResultTime;
  }
  int32_t& LastLoadTime;
  int32_t ResultTime = -1;
  std::vector<std::u16string> Calls;
};

class OpenLogTest : public ::testing::Test {
 protected:
  std::u16string Make(const std::string& name) {
    fs::create_directories((Dir.Path / name).parent_path());
    test::WriteBytes(Dir.Path / name, ".\r\n");
    return U(Dir.Path / name);
  }
  test::TTempDir Dir;
  int32_t LastLoadTime = 1234;
  TRecordingHost Host{LastLoadTime};
};

TEST_F(OpenLogTest, PlainLogShowsLoadingThenTheTime) {
  const std::u16string path = Make("a.b/log");
  Host.ResultTime = 0;
  OpenLog(path, LastLoadTime, Host);
  EXPECT_EQ(Host.Calls,
            (std::vector<std::u16string>{u"status: Loading log \"log\"...", u"process: " + path,
                                         u"status: Log loaded in 0ms"}));
}

TEST_F(OpenLogTest, EncryptedByExtensionInAnyCase) {
  for (const char* name : {"LOG.PLE", "Log.Ple"}) {
    Host.Calls.clear();
    const std::u16string path = Make(name);
    Host.ResultTime = 75;
    OpenLog(path, LastLoadTime, Host);
    EXPECT_EQ(Host.Calls, (std::vector<std::u16string>{
                              u"status: Loading encrypted log \"" + Utf8ToUtf16(name) + u"\"...",
                              u"encrypted: " + path, u"status: Log loaded in 75ms"}));
  }
}

TEST_F(OpenLogTest, FailedOrCancelledLoadClearsTheStatus) {
  const std::u16string path = Make("log.ple.txt");
  Host.ResultTime = -1;
  OpenLog(path, LastLoadTime, Host);
  ASSERT_EQ(Host.Calls.size(), 3u);
  EXPECT_EQ(Host.Calls[1], u"process: " + path);
  EXPECT_EQ(Host.Calls[2], u"status: ");
  EXPECT_EQ(LastLoadTime, -1);
}

TEST_F(OpenLogTest, MissingFileOrFolderOnlyShowsTheError) {
  fs::create_directories(Dir.Path / "folder.txt");
  for (const std::u16string& path :
       {U(Dir.Path / "missing.txt"), U(Dir.Path / "folder.txt"), std::u16string()}) {
    Host.Calls.clear();
    LastLoadTime = 40;
    OpenLog(path, LastLoadTime, Host);
    EXPECT_EQ(Host.Calls,
              (std::vector<std::u16string>{u"error: The specified file does not exist."}));
    EXPECT_EQ(LastLoadTime, -1) << "a reload must stay inert after a missing file";
  }
}

TEST(CleanTempFilesTest, DeletesOnlyTmpFilesDirectlyInTheFolder) {
  test::TTempDir dir;
  const fs::path& d = dir.Path;
  fs::create_directories(d / "sub");
  fs::create_directories(d / "folder.tmp");
  for (const char* name : {"a.tmp", "B.TMP", "c.Tmp", "a.tmpx", "a.tmp.txt", "tmp", "sub/c.tmp"})
    test::WriteBytes(d / name, "x");
  fs::create_symlink(d / "sub/c.tmp", d / "link.tmp");
  CleanTempFiles(U(d) + u"/");
  std::vector<std::string> left;
  for (const auto& entry : fs::recursive_directory_iterator(d))
    left.push_back(fs::relative(entry.path(), d).string());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"a.tmp.txt", "a.tmpx", "folder.tmp", "sub", "sub/c.tmp",
                                            "tmp"}));
}

}  // namespace
}  // namespace skribo
