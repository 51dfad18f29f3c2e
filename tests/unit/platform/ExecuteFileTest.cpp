// ExecuteFile against a real program (the probe, which reports how it was started) and a fake
// xdg-open (the probe again, under that name, first on PATH).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "common/TextCodec.h"
#include "platform/ProcessStart.h"
#include "support/TestFiles.h"

namespace skribo {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

struct TProbeReport {
  long Pid = 0, Sid = 0;
  std::string Cwd;
  std::vector<std::string> Args;
  std::vector<int> Fds;
};

std::string Unhex(const std::string& hex) {
  std::string out;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) {
    out += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  }
  return out;
}

// True when the calling process has no child at all, running or zombie.
bool HasNoChildren() {
  int status = 0;
  return ::waitpid(-1, &status, WNOHANG) == -1 && errno == ECHILD;
}

std::u16string U16(const fs::path& path) {
  return Utf8ToUtf16(path.string());
}

class ExecuteFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const char* path = std::getenv("PATH")) SavedPath = path;
    ReportPath = Temp.Path / "report";
    ::setenv("SKRIBO_PROBE_OUT", ReportPath.c_str(), 1);
    ::unsetenv("SKRIBO_PROBE_HOLD");
    fs::create_directory(Temp.Path / "bin");
  }
  void TearDown() override {
    ::setenv("PATH", SavedPath.c_str(), 1);
    ::unsetenv("SKRIBO_PROBE_OUT");
    ::unsetenv("SKRIBO_PROBE_HOLD");
  }

  fs::path InstallProbe(const fs::path& where) {
    fs::create_directories(where.parent_path());
    fs::copy_file(SKRIBO_EXEC_PROBE, where, fs::copy_options::overwrite_existing);
    fs::permissions(where, fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    return where;
  }

  // Puts the folder bin of the test first on PATH, with a fake xdg-open in it when asked.
  void UseFakeBin(bool withXdgOpen) {
    if (withXdgOpen) InstallProbe(Temp.Path / "bin" / "xdg-open");
    ::setenv("PATH", ((Temp.Path / "bin").string() + ":" + SavedPath).c_str(), 1);
  }

  std::optional<TProbeReport> WaitForReport() {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!fs::exists(ReportPath)) {
      if (std::chrono::steady_clock::now() > deadline) return std::nullopt;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    TProbeReport report;
    std::istringstream lines(test::ReadBytes(ReportPath));
    std::string line;
    while (std::getline(lines, line)) {
      const size_t blank = line.find(' ');
      const std::string key = line.substr(0, blank), value = line.substr(blank + 1);
      if (key == "pid") report.Pid = std::stol(value);
      if (key == "sid") report.Sid = std::stol(value);
      if (key == "cwd") report.Cwd = Unhex(value);
      if (key == "arg") report.Args.push_back(Unhex(value));
      if (key == "fd") report.Fds.push_back(std::stoi(value));
    }
    return report;
  }

  test::TTempDir Temp;
  fs::path ReportPath;
  std::string SavedPath;
};

// The second-instance start: the program's own path and the chosen log in double quotes with
// its quotes doubled.
TEST_F(ExecuteFileTest, PathWithBlanksAndQuotesArrivesAsOneArgument) {
  const fs::path program = InstallProbe(Temp.Path / "Velmora \"Skribo\" dir" / "skribo probe");
  const std::u16string log = U16(Temp.Path) + u"/Chat with \"Bob\" – Grüße.txt";
  std::u16string parameters = u"\"";
  for (char16_t c : log)
    parameters += c == u'"' ? u"\"\"" : std::u16string(1, c);
  parameters += u"\"";

  EXPECT_GT(ExecuteFile(u"Open", U16(program), parameters, u"", 1), 32);
  auto report = WaitForReport();
  ASSERT_TRUE(report);
  EXPECT_EQ(report->Args, std::vector<std::string>{Utf16ToUtf8(log)});
  EXPECT_EQ(report->Cwd, fs::current_path().string());
}

TEST_F(ExecuteFileTest, SplitsParametersAndRunsInTheDirectory) {
  const fs::path work = Temp.Path / "work dir";
  InstallProbe(work / "probe");
  const std::u16string parameters = QuoteCommandLineArgument(u"C:\\Log dir\\") +
                                    u" plain \"two words\" " + QuoteCommandLineArgument(u"");

  // A relative name is looked up in the directory, which becomes the program's current folder.
  EXPECT_GT(ExecuteFile(u"", u"probe", parameters, U16(work), 1), 32);
  auto report = WaitForReport();
  ASSERT_TRUE(report);
  EXPECT_EQ(report->Args, (std::vector<std::string>{"C:\\Log dir\\", "plain", "two words", ""}));
  EXPECT_EQ(report->Cwd, work.string());
}

TEST_F(ExecuteFileTest, StartsDetachedWithoutInheritedDescriptors) {
  const fs::path program = InstallProbe(Temp.Path / "probe");
  const fs::path release = Temp.Path / "release";
  ::setenv("SKRIBO_PROBE_HOLD", release.c_str(), 1);
  const int leaked = ::open("/dev/null", O_RDONLY);  // no O_CLOEXEC on purpose
  ASSERT_GE(leaked, 3);

  EXPECT_GT(ExecuteFile(u"open", U16(program), u"x", u"", 1), 32);
  // Returned while the program still waits for its release, and the program is not our child.
  EXPECT_FALSE(fs::exists(ReportPath));
  EXPECT_TRUE(HasNoChildren());
  ::close(leaked);

  test::WriteBytes(release, "");
  auto report = WaitForReport();
  ASSERT_TRUE(report);
  EXPECT_EQ(report->Args, std::vector<std::string>{"x"});
  EXPECT_NE(report->Sid, static_cast<long>(::getsid(0)));
  for (int fd : report->Fds)
    EXPECT_LT(fd, 3) << "descriptor " << fd << " was inherited";
  EXPECT_TRUE(HasNoChildren());
}

TEST_F(ExecuteFileTest, FindsABareProgramNameOnPath) {
  InstallProbe(Temp.Path / "bin" / "skribo-exec-probe");
  UseFakeBin(false);
  EXPECT_GT(ExecuteFile(u"open", u"skribo-exec-probe", u"a  b", u"", 1), 32);
  auto report = WaitForReport();
  ASSERT_TRUE(report);
  EXPECT_EQ(report->Args, (std::vector<std::string>{"a", "b"}));
}

// Failures of the check before the start and of execve in the child come back as codes.
TEST_F(ExecuteFileTest, ReportsFailuresAsCodes) {
  const fs::path program = InstallProbe(Temp.Path / "probe");
  const fs::path garbage = Temp.Path / "garbage";
  test::WriteBytes(garbage, "\x01\x02 not a program\n");
  fs::permissions(garbage, fs::perms::owner_all);
  const fs::path noInterpreter = Temp.Path / "script";
  test::WriteBytes(noInterpreter, "#!/nonexistent/interpreter\n");
  fs::permissions(noInterpreter, fs::perms::owner_all);
  test::WriteBytes(Temp.Path / "plain.txt", "text");
  UseFakeBin(true);

  struct TCase {
    std::u16string Operation, FileName, Directory;
    int Expected;
  };
  const TCase cases[] = {
      {u"open", U16(Temp.Path / "missing"), u"", kExecFileNotFound},
      {u"open", u"missing", U16(Temp.Path), kExecFileNotFound},
      {u"open", u"skribo-no-such-program-anywhere", u"", kExecFileNotFound},
      {u"open", U16(Temp.Path / "no folder" / "probe"), u"", kExecPathNotFound},
      {u"open", U16(Temp.Path / "plain.txt" / "probe"), u"", kExecPathNotFound},
      {u"open", U16(program), U16(Temp.Path / "no folder"), kExecPathNotFound},
      {u"open", U16(program), U16(Temp.Path / "plain.txt"), kExecPathNotFound},
      {u"open", U16(garbage), u"", kExecBadFormat},
      {u"open", U16(noInterpreter), u"", kExecFileNotFound},
      {u"open", u"", u"", kExecFileNotFound},
      {u"print", U16(program), u"", kExecNoAssociation},
      {u"edit", U16(Temp.Path / "plain.txt"), u"", kExecNoAssociation},
  };
  for (const TCase& c : cases) {
    EXPECT_EQ(ExecuteFile(c.Operation, c.FileName, u"", c.Directory, 1), c.Expected)
        << Utf16ToUtf8(c.Operation) << " " << Utf16ToUtf8(c.FileName) << " in "
        << Utf16ToUtf8(c.Directory);
  }
  EXPECT_TRUE(HasNoChildren());
  EXPECT_FALSE(fs::exists(ReportPath)) << "a failing start ran something";
}

// A plain file without execute permission is a document, even if it is a program.
TEST_F(ExecuteFileTest, HandsDocumentsToXdgOpen) {
  UseFakeBin(true);
  const fs::path docs = Temp.Path / "my docs";
  fs::create_directory(docs);
  const fs::path document = docs / "alice {decrypted}.tmp";
  fs::copy_file(SKRIBO_EXEC_PROBE, document);
  fs::permissions(document, fs::perms::owner_read | fs::perms::owner_write);

  EXPECT_GT(ExecuteFile(u"OPEN", u"alice {decrypted}.tmp", u"ignored \"params\"", U16(docs), 1),
            32);
  auto report = WaitForReport();
  ASSERT_TRUE(report);
  EXPECT_EQ(report->Args, std::vector<std::string>{document.string()});
}

TEST_F(ExecuteFileTest, HandsUrlsAndFoldersToXdgOpen) {
  UseFakeBin(true);
  for (const std::string& target :
       {"https://example.com/a b?q=\"1\""s, "mailto:bob@example.com"s, Temp.Path.string()}) {
    fs::remove(ReportPath);
    EXPECT_GT(ExecuteFile(u"open", Utf8ToUtf16(target), u"", u"", 1), 32) << target;
    auto report = WaitForReport();
    ASSERT_TRUE(report) << target;
    EXPECT_EQ(report->Args, std::vector<std::string>{target});
  }
  EXPECT_TRUE(HasNoChildren());
}

TEST_F(ExecuteFileTest, NoXdgOpenMeansNoAssociation) {
  test::WriteBytes(Temp.Path / "notes.txt", "text");
  ::setenv("PATH", (Temp.Path / "bin").c_str(), 1);
  EXPECT_EQ(ExecuteFile(u"open", U16(Temp.Path / "notes.txt"), u"", u"", 1), kExecNoAssociation);
  EXPECT_EQ(ExecuteFile(u"open", u"https://example.com", u"", u"", 1), kExecNoAssociation);
}

}  // namespace
}  // namespace skribo
