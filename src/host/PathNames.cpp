#include "host/PathNames.h"

#include <filesystem>
#include <system_error>

#include "common/TextCodec.h"

namespace skribo {

namespace fs = std::filesystem;

std::u16string IncludeTrailingPathDelimiter(std::u16string path) {
  if (path.empty() || path.back() != u'/') path += u'/';
  return path;
}

bool FileExists(const std::u16string& path) {
  if (path.empty()) return false;
  std::error_code ec;
  fs::file_status status = fs::status(fs::path(EncodeUtf8(path)), ec);
  return !ec && fs::exists(status) && !fs::is_directory(status);
}

bool DirectoryExists(const std::u16string& path) {
  if (path.empty()) return false;
  std::error_code ec;
  return fs::is_directory(fs::path(EncodeUtf8(path)), ec);
}

}  // namespace skribo
