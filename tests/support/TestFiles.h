// Small file helpers for tests: reading fixtures, temporary folders.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace skribo::test {

inline std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

// A fresh folder under the system's temporary folder, removed with the object.
class TTempDir {
 public:
  TTempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "skribo-test-XXXXXX").string();
    Path = ::mkdtemp(pattern.data());
  }
  ~TTempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(Path, ignored);
  }
  std::filesystem::path Path;
};

}  // namespace skribo::test
