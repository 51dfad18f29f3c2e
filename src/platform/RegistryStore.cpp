#include "platform/RegistryStore.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "common/TextCodec.h"
#include "platform/FileIo.h"
#include "platform/RegFile.h"

namespace skribo {

namespace {

namespace fs = std::filesystem;

constexpr const char* LockFileName = "registry.lock";

std::string Quoted(const fs::path& p) {
  return "\"" + p.string() + "\"";
}

std::string SystemText(int errorCode) {
  return std::strerror(errorCode);
}

bool SameTime(const timespec& a, const timespec& b) {
  return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

TFileStamp StampFromStat(const struct stat& st) {
  TFileStamp stamp;
  stamp.Exists = true;
  stamp.Device = st.st_dev;
  stamp.Inode = st.st_ino;
  stamp.Size = st.st_size;
  stamp.Modified = st.st_mtim;
  stamp.Changed = st.st_ctim;
  return stamp;
}

std::string HomeFolder() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir && *pw->pw_dir) {
    return pw->pw_dir;
  }
  throw TRegistryError("Cannot find the home folder: HOME is not set and the user has none");
}

// XDG_CONFIG_HOME counts only as an absolute path, as the XDG rules say.
fs::path ConfigHome() {
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && config[0] == '/') {
    return config;
  }
  return fs::path(HomeFolder()) / ".config";
}

// The value of one shell assignment from user-dirs.dirs: "text" with \-escapes, or bare text.
std::string ShellWord(std::string_view s) {
  std::string out;
  if (s.empty() || s.front() != '"') {
    size_t end = s.find_first_of(" \t#");
    return std::string(s.substr(0, end));
  }
  for (size_t i = 1; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 1 < s.size()) {
      out.push_back(s[++i]);
    } else if (s[i] == '"') {
      break;
    } else {
      out.push_back(s[i]);
    }
  }
  return out;
}

}  // namespace

bool TFileStamp::operator==(const TFileStamp& other) const noexcept {
  if (Unknown || other.Unknown) return false;
  if (!Exists || !other.Exists) return Exists == other.Exists;
  return Device == other.Device && Inode == other.Inode && Size == other.Size &&
         SameTime(Modified, other.Modified) && SameTime(Changed, other.Changed);
}

TFileStamp StampOf(const fs::path& file) {
  struct stat st {};
  if (::stat(file.c_str(), &st) == 0) return StampFromStat(st);
  TFileStamp stamp;
  stamp.Unknown = errno != ENOENT && errno != ENOTDIR;
  return stamp;
}

fs::path HiveFilePath(const fs::path& folder, THive hive) {
  return folder / (EncodeUtf8(RootKeyName(hive)) + ".reg");
}

bool ReadRegFileBytes(const fs::path& file, std::string& bytes, TFileStamp* stamp,
                      const std::string& what) {
  auto fail = [&](int e, const std::string& reason) -> bool {
    throw TRegistryError("Cannot read " + what + " " + Quoted(file) + ": " + reason, e);
  };
  // O_NONBLOCK keeps a FIFO at this path from hanging the program.
  int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    int e = errno;
    if (e == ENOENT || e == ENOTDIR) {
      if (stamp) *stamp = TFileStamp{};
      return false;
    }
    return fail(e, SystemText(e));
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    int e = errno;
    ::close(fd);
    return fail(e, SystemText(e));
  }
  if (!S_ISREG(st.st_mode)) {
    ::close(fd);
    return S_ISDIR(st.st_mode) ? fail(EISDIR, SystemText(EISDIR))
                               : fail(EINVAL, "it is not a regular file");
  }
  if (stamp) *stamp = StampFromStat(st);
  bytes.clear();
  bytes.reserve(static_cast<size_t>(st.st_size));
  const int e = ReadToEnd(fd, bytes);
  ::close(fd);
  if (e != 0) return fail(e, SystemText(e));
  return true;
}

std::unique_ptr<TRegKeyNode> LoadHive(const fs::path& folder, THive hive, TFileStamp* stamp) {
  auto root = std::make_unique<TRegKeyNode>();
  const fs::path file = HiveFilePath(folder, hive);
  std::string bytes;
  if (ReadRegFileBytes(file, bytes, stamp)) {
    ApplyRegOps(*root, hive, ParseRegText(DecodeRegFileBytes(bytes), file, TRegSource::Hive, hive));
  }
  return root;
}

TStoreLock::TStoreLock(const fs::path& folder) {
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec) {
    throw TRegistryError(
        "Cannot create the registry folder " + Quoted(folder) + ": " + ec.message(), ec.value());
  }
  const fs::path lockFile = folder / LockFileName;
  Fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (Fd < 0) {
    int e = errno;
    throw TRegistryError(
        "Cannot open the registry lock file " + Quoted(lockFile) + ": " + SystemText(e), e);
  }
  while (::flock(Fd, LOCK_EX) != 0) {
    if (errno == EINTR) continue;
    int e = errno;
    ::close(Fd);
    throw TRegistryError(
        "Cannot lock the registry lock file " + Quoted(lockFile) + ": " + SystemText(e), e);
  }
}

TStoreLock::~TStoreLock() {
  ::close(Fd);  // closing the only descriptor releases the lock
}

void ReplaceFileAtomically(fs::path target, std::string_view bytes, const std::string& what) {
  // Writing through a symbolic link replaces the file it points at, not the link.
  std::error_code ec;
  if (fs::is_symlink(target, ec)) {
    fs::path resolved = fs::weakly_canonical(target, ec);
    if (!ec) target = resolved;
  }
  const fs::path temp = fs::path(target) += "." + std::to_string(::getpid()) + ".new";
  auto fail = [&](const std::string& step, int e, int fd) {
    if (fd >= 0) ::close(fd);
    ::unlink(temp.c_str());
    throw TRegistryError(
        "Cannot write " + what + " " + Quoted(target) + ": " + step + ": " + SystemText(e), e);
  };
  int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0666);
  if (fd < 0) {
    int e = errno;
    throw TRegistryError("Cannot write " + what + " " + Quoted(target) +
                             ": creating the temporary file " + Quoted(temp) +
                             " failed: " + SystemText(e),
                         e);
  }
  // The new file keeps the permissions the user gave the old one.
  struct stat st {};
  if (::stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode)) ::fchmod(fd, st.st_mode & 07777);
  while (!bytes.empty()) {
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      int e = errno;
      if (e == EINTR) continue;
      fail("writing the temporary file " + Quoted(temp) + " failed", e, fd);
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  if (::fsync(fd) != 0) {
    int e = errno;
    fail("flushing the temporary file " + Quoted(temp) + " failed", e, fd);
  }
  if (::close(fd) != 0) {
    int e = errno;
    fail("closing the temporary file " + Quoted(temp) + " failed", e, -1);
  }
  if (::rename(temp.c_str(), target.c_str()) != 0) {
    int e = errno;
    fail("replacing it with the temporary file " + Quoted(temp) + " failed", e, -1);
  }
  // Make the rename itself durable; a failure here leaves a whole file either way.
  fs::path folder = target.parent_path();
  int dirFd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd >= 0) {
    ::fsync(dirFd);
    ::close(dirFd);
  }
}

void SaveHive(const fs::path& folder, THive hive, const TRegKeyNode& root) {
  ReplaceFileAtomically(HiveFilePath(folder, hive),
                        EncodeUtf16LEWithBom(FormatRegText(hive, {}, root)), "the registry file");
}

void RemoveStaleTemporaryFiles(const fs::path& folder) {
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    for (THive hive : {THive::CurrentUser, THive::LocalMachine, THive::ClassesRoot}) {
      const std::string prefix = EncodeUtf8(RootKeyName(hive)) + ".reg.";
      if (name.size() <= prefix.size() + 4 || name.compare(0, prefix.size(), prefix) != 0 ||
          name.compare(name.size() - 4, 4, ".new") != 0) {
        continue;
      }
      std::string_view pid(name);
      pid = pid.substr(prefix.size(), pid.size() - prefix.size() - 4);
      if (pid.find_first_not_of("0123456789") == std::string_view::npos) {
        std::error_code ignored;
        fs::remove(it->path(), ignored);
      }
    }
  }
}

bool ChangeHive(const fs::path& folder, THive hive,
                const std::function<bool(TRegKeyNode&)>& change) {
  TStoreLock lock(folder);
  RemoveStaleTemporaryFiles(folder);
  std::unique_ptr<TRegKeyNode> root = LoadHive(folder, hive);
  bool changed = change(*root);
  if (changed) SaveHive(folder, hive, *root);
  return changed;
}

std::u16string XdgDocumentsFolder() {
  const std::string home = HomeFolder();
  std::string result = home + "/Documents";
  std::string bytes;
  try {
    if (!ReadRegFileBytes(ConfigHome() / "user-dirs.dirs", bytes)) bytes.clear();
  } catch (const TRegistryError&) {
    bytes.clear();  // an unreadable user-dirs.dirs counts as none, as for xdg-user-dir
  }
  std::string_view rest(bytes);
  while (!rest.empty()) {
    size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
      line.remove_prefix(1);
    constexpr std::string_view Key = "XDG_DOCUMENTS_DIR=";
    if (line.substr(0, Key.size()) != Key) continue;
    std::string value = ShellWord(line.substr(Key.size()));
    if (value.rfind("$HOME", 0) == 0 && (value.size() == 5 || value[5] == '/')) {
      result = home + value.substr(5);
    } else if (value.rfind("${HOME}", 0) == 0 && (value.size() == 7 || value[7] == '/')) {
      result = home + value.substr(7);
    } else if (!value.empty() && value.front() == '/') {
      result = value;
    }
  }
  return DecodeUtf8(result);
}

fs::path DefaultRegistryFolder() {
  return ConfigHome() / "skribo" / "registry";
}

}  // namespace skribo
