#include "platform/ProcessStart.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "common/TextCodec.h"

namespace skribo {

namespace {

namespace fs = std::filesystem;

bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\t';
}

bool EqualsAsciiNoCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char16_t x = a[i], y = b[i];
    if (x >= u'A' && x <= u'Z') x = static_cast<char16_t>(x - u'A' + u'a');
    if (y >= u'A' && y <= u'Z') y = static_cast<char16_t>(y - u'A' + u'a');
    if (x != y) return false;
  }
  return true;
}

bool IsAsciiAlpha(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// "scheme:..." with a scheme of two or more characters, as RFC 3986 spells schemes.
bool LooksLikeUrl(std::string_view name) {
  size_t colon = name.find(':');
  if (colon == std::string_view::npos || colon < 2 || !IsAsciiAlpha(name[0])) return false;
  for (size_t i = 1; i < colon; ++i) {
    char c = name[i];
    if (!IsAsciiAlpha(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.') {
      return false;
    }
  }
  return true;
}

bool IsExecutableFile(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

// The first executable file of that name in the folders of PATH, or an empty string. Empty
// entries (the current folder) are skipped, so that a program is never picked up from wherever
// the caller happens to stand.
std::string FindOnPath(const std::string& name) {
  const char* env = std::getenv("PATH");
  std::string_view folders = env != nullptr ? env : "/usr/local/bin:/usr/bin:/bin";
  while (!folders.empty()) {
    size_t end = folders.find(':');
    std::string_view folder = folders.substr(0, end);
    folders = end == std::string_view::npos ? std::string_view() : folders.substr(end + 1);
    if (folder.empty()) continue;
    std::error_code ec;
    fs::path candidate = fs::absolute(fs::path(folder) / name, ec);
    if (!ec && IsExecutableFile(candidate.string())) return candidate.string();
  }
  return {};
}

// The result code for a file that could not be examined.
int CodeForMissingFile(const fs::path& path, int error) {
  switch (error) {
    case ENOENT: {
      struct stat st;
      std::string parent = path.parent_path().string();
      return ::stat(parent.c_str(), &st) == 0 && S_ISDIR(st.st_mode) ? kExecFileNotFound
                                                                     : kExecPathNotFound;
    }
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
      return kExecPathNotFound;
    case EACCES:
    case EPERM:
      return kExecAccessDenied;
    case ENOMEM:
      return kExecOutOfMemory;
    default:
      return kExecOutOfResources;
  }
}

int CodeForExecError(int error) {
  switch (error) {
    case ENOENT:
      return kExecFileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
      return kExecPathNotFound;
    case EACCES:
    case EPERM:
      return kExecAccessDenied;
    case ENOEXEC:
    case ELIBBAD:
      return kExecBadFormat;
    case ETXTBSY:
      return kExecSharingViolation;
    case ENOMEM:
    case E2BIG:
      return kExecOutOfMemory;
    default:
      return kExecOutOfResources;
  }
}

// What the started process writes to its parent through the report pipe when it cannot run
// the program. Nothing arrives when execve succeeds: the pipe closes with the exec.
enum TStartStage : int { kStageDirectory = 1, kStageFork = 2, kStageExec = 3 };
struct TStartFailure {
  int Stage = 0;
  int Error = 0;
};

void Report(int fd, int stage, int error) noexcept {
  TStartFailure failure{stage, error};
  const char* p = reinterpret_cast<const char*>(&failure);
  size_t left = sizeof failure;
  while (left > 0) {
    ssize_t n = ::write(fd, p, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    p += n;
    left -= static_cast<size_t>(n);
  }
}

// Runs in the forked child, which may be a copy of a process with other threads: only
// async-signal-safe calls until execve. The child becomes a session leader and forks the real
// program off at once; its own exit hands the program to init, so the caller has nothing left
// to wait for and no zombie stays behind.
[[noreturn]] void RunDetachedChild(const char* program, char* const* argv, const char* directory,
                                   int reportFd, long maxFd) noexcept {
  ::setsid();
  pid_t grandchild = ::fork();
  if (grandchild < 0) {
    Report(reportFd, kStageFork, errno);
    ::_exit(127);
  }
  if (grandchild > 0) ::_exit(0);

  // Blocked and ignored signals survive execve; the program should start with the defaults.
  struct sigaction dfl = {};
  dfl.sa_handler = SIG_DFL;
  for (int sig = 1; sig < NSIG; ++sig)
    ::sigaction(sig, &dfl, nullptr);
  sigset_t none;
  ::sigemptyset(&none);
  ::sigprocmask(SIG_SETMASK, &none, nullptr);

  if (directory != nullptr && ::chdir(directory) != 0) {
    Report(reportFd, kStageDirectory, errno);
    ::_exit(127);
  }
  // The caller's descriptors (files, sockets, locks) must not live on in the program.
  if (::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC) != 0) {
    for (long fd = 3; fd < maxFd; ++fd)
      ::fcntl(static_cast<int>(fd), F_SETFD, FD_CLOEXEC);
  }
  ::execve(program, argv, environ);
  Report(reportFd, kStageExec, errno);
  ::_exit(127);
}

// Starts program (an absolute path) with args as its argv, detached; the result code tells
// whether the program is running.
int StartDetached(const std::string& program, const std::vector<std::string>& args,
                  const std::string& directory) {
  std::vector<char*> argv;
  for (const std::string& arg : args)
    argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  long maxFd = ::sysconf(_SC_OPEN_MAX);
  if (maxFd < 0 || maxFd > 65536) maxFd = 65536;

  int report[2];
  if (::pipe2(report, O_CLOEXEC) != 0) return kExecOutOfResources;
  pid_t child = ::fork();
  if (child < 0) {
    ::close(report[0]);
    ::close(report[1]);
    return kExecOutOfMemory;
  }
  if (child == 0) {
    ::close(report[0]);
    RunDetachedChild(program.c_str(), argv.data(), directory.empty() ? nullptr : directory.c_str(),
                     report[1], maxFd);
  }
  ::close(report[1]);

  TStartFailure failure;
  char* p = reinterpret_cast<char*>(&failure);
  size_t got = 0;
  while (got < sizeof failure) {
    ssize_t n = ::read(report[0], p + got, sizeof failure - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<size_t>(n);
  }
  ::close(report[0]);
  // The intermediate child exits right after its fork; reap it. ECHILD (SIGCHLD ignored by the
  // caller) means the system already did.
  while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
  }

  if (got == 0) return kExecSuccess;
  if (got < sizeof failure) return kExecOutOfResources;
  switch (failure.Stage) {
    case kStageDirectory:
      return failure.Error == EACCES || failure.Error == EPERM ? kExecAccessDenied
                                                               : kExecPathNotFound;
    case kStageFork:
      return kExecOutOfMemory;
    default:
      return CodeForExecError(failure.Error);
  }
}

int OpenWithDesktop(const std::string& target, const std::string& directory) {
  std::string opener = FindOnPath("xdg-open");
  if (opener.empty()) return kExecNoAssociation;
  return StartDetached(opener, {opener, target}, directory);
}

std::vector<std::string> ProgramArgs(const std::string& program, std::u16string_view parameters) {
  std::vector<std::string> args{program};
  for (const std::u16string& arg : SplitCommandLine(parameters))
    args.push_back(Utf16ToUtf8(arg));
  return args;
}

}  // namespace

std::vector<std::u16string> SplitCommandLine(std::u16string_view parameters) {
  parameters = parameters.substr(0, parameters.find(u'\0'));
  std::vector<std::u16string> args;
  const size_t n = parameters.size();
  size_t i = 0;
  for (;;) {
    while (i < n && IsBlank(parameters[i]))
      ++i;
    if (i >= n) break;
    std::u16string arg;
    bool inQuotes = false;
    while (i < n && (inQuotes || !IsBlank(parameters[i]))) {
      size_t slashes = 0;
      while (i < n && parameters[i] == u'\\') {
        ++slashes;
        ++i;
      }
      if (i < n && parameters[i] == u'"') {
        arg.append(slashes / 2, u'\\');
        if (slashes % 2 == 1) {
          arg += u'"';
          ++i;
        } else if (inQuotes && i + 1 < n && parameters[i + 1] == u'"') {
          arg += u'"';
          i += 2;
        } else {
          inQuotes = !inQuotes;
          ++i;
        }
      } else if (slashes > 0) {
        arg.append(slashes, u'\\');
      } else {
        arg += parameters[i++];
      }
    }
    args.push_back(std::move(arg));
  }
  return args;
}

std::u16string QuoteCommandLineArgument(std::u16string_view argument) {
  std::u16string out = u"\"";
  size_t slashes = 0;
  for (char16_t c : argument) {
    if (c == u'\\') {
      ++slashes;
      continue;
    }
    if (c == u'"') {
      out.append(slashes * 2, u'\\');
      out += u"\"\"";
    } else {
      out.append(slashes, u'\\');
      out += c;
    }
    slashes = 0;
  }
  out.append(slashes * 2, u'\\');
  out += u'"';
  return out;
}

int ExecuteFile(const std::u16string& operation, const std::u16string& fileName,
                const std::u16string& parameters, const std::u16string& directory,
                int /*showCmd*/) {
  if (!operation.empty() && !EqualsAsciiNoCase(operation, u"open")) return kExecNoAssociation;
  if (fileName.empty() || fileName.find(u'\0') != std::u16string::npos) return kExecFileNotFound;
  if (directory.find(u'\0') != std::u16string::npos) return kExecPathNotFound;
  const std::string name = Utf16ToUtf8(fileName), folder = Utf16ToUtf8(directory);

  // The child changes into the directory before execve, so the program's path must not depend
  // on the current folder.
  std::error_code ec;
  fs::path base = folder.empty() ? fs::current_path(ec) : fs::absolute(folder, ec);
  if (ec) return kExecPathNotFound;
  const fs::path path = base / name;
  const std::string native = path.string();

  struct stat st;
  if (::stat(native.c_str(), &st) != 0) {
    int error = errno;
    if (LooksLikeUrl(name)) return OpenWithDesktop(name, folder);
    if (name.find('/') == std::string::npos) {
      std::string program = FindOnPath(name);
      if (!program.empty()) return StartDetached(program, ProgramArgs(program, parameters), folder);
    }
    return CodeForMissingFile(path, error);
  }
  if (S_ISREG(st.st_mode) && ::access(native.c_str(), X_OK) == 0) {
    return StartDetached(native, ProgramArgs(native, parameters), folder);
  }
  return OpenWithDesktop(native, folder);
}

}  // namespace skribo
