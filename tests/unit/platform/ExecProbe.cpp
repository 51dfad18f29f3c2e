// A tiny program that ExecuteFile tests start: it records how it was started in the file named by
// SKRIBO_PROBE_OUT. With SKRIBO_PROBE_HOLD set it first waits (up to a minute) until that file
// exists, so that a test can look at it while it is still running.
#include <dirent.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

namespace {

std::string Hex(const std::string& bytes) {
  static const char kDigits[] = "0123456789abcdef";
  std::string out;
  for (unsigned char c : bytes) {
    out += kDigits[c >> 4];
    out += kDigits[c & 15];
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  const char* out = std::getenv("SKRIBO_PROBE_OUT");
  if (out == nullptr) return 2;
  if (const char* hold = std::getenv("SKRIBO_PROBE_HOLD")) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (!std::filesystem::exists(hold) && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }

  std::string report;
  report += "pid " + std::to_string(::getpid()) + "\n";
  report += "sid " + std::to_string(::getsid(0)) + "\n";
  report += "cwd " + Hex(std::filesystem::current_path().string()) + "\n";
  for (int i = 1; i < argc; ++i)
    report += "arg " + Hex(argv[i]) + "\n";
  if (DIR* fds = ::opendir("/proc/self/fd")) {
    while (dirent* entry = ::readdir(fds)) {
      if (entry->d_name[0] == '.') continue;
      int fd = std::atoi(entry->d_name);
      if (fd != ::dirfd(fds)) report += "fd " + std::to_string(fd) + "\n";
    }
    ::closedir(fds);
  }

  // Written aside and renamed, so that the test never reads half a report.
  const std::string part = std::string(out) + ".part";
  {
    std::ofstream file(part, std::ios::binary | std::ios::trunc);
    file << report;
    if (!file) return 3;
  }
  return std::rename(part.c_str(), out) == 0 ? 0 : 4;
}
