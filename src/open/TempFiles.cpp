#include <filesystem>
#include <system_error>

#include "common/CaseFold.h"
#include "common/TextCodec.h"
#include "open/uOpenFile.h"

namespace skribo {

void CleanTempFiles(const std::u16string& folder) {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::path base(Utf16ToUtf8(folder));
  fs::directory_iterator it(base, error);
  if (error) return;
  const std::u16string foldedFolder = SimpleFoldText(folder);
  for (; it != fs::directory_iterator(); it.increment(error)) {
    if (error) return;
    const fs::path& path = it->path();
    const std::u16string name = Utf8ToUtf16(path.filename().string());
    // The same tests as for a listing that might be stale or wider than the folder: the file
    // must still be a file, end in ".tmp" exactly, and lie in this very folder.
    const fs::file_status status = fs::status(path, error);
    if (error || !fs::exists(status) || fs::is_directory(status)) continue;
    if (ExtractFileExt(name) != u".tmp") continue;
    std::u16string parent = Utf8ToUtf16(path.parent_path().string());
    if (parent.empty() || parent.back() != u'/') parent += u'/';
    if (SimpleFoldText(parent) != foldedFolder) continue;
    fs::remove(path, error);
  }
}

}  // namespace skribo
