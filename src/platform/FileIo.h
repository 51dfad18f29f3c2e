// Small POSIX file helpers shared by the stores.
#pragma once

#include <unistd.h>

#include <cerrno>
#include <string>

namespace skribo {

// Appends everything left to read from fd to bytes; 0, or the errno of the failed read.
inline int ReadToEnd(int fd, std::string& bytes) {
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n > 0) {
      bytes.append(buffer, static_cast<size_t>(n));
    } else if (n == 0) {
      return 0;
    } else if (errno != EINTR) {
      return errno;
    }
  }
}

}  // namespace skribo
