// Importing .reg files into the store and exporting keys from it.
#include <array>
#include <cerrno>

#include "common/TextCodec.h"
#include "platform/RegFile.h"
#include "platform/Registry.h"
#include "platform/RegistryStore.h"

namespace skribo {

namespace fs = std::filesystem;

void ImportRegFile(const fs::path& file, const fs::path& folder) {
  std::string bytes;
  if (!ReadRegFileBytes(file, bytes, nullptr, "the file")) {
    throw TRegistryError("Cannot import \"" + file.string() + "\": there is no such file", ENOENT);
  }
  const std::vector<TRegOp> ops =
      ParseRegText(DecodeRegFileBytes(bytes), file, TRegSource::Import, std::nullopt);

  constexpr std::array<THive, 3> Hives = {THive::CurrentUser, THive::LocalMachine,
                                          THive::ClassesRoot};
  TStoreLock lock(folder);
  RemoveStaleTemporaryFiles(folder);
  // Every hive the file touches is read before any is written, so a damaged hive stops the
  // import before anything changed.
  std::array<std::unique_ptr<TRegKeyNode>, 3> roots;
  std::array<bool, 3> changed{};
  for (size_t i = 0; i < Hives.size(); ++i) {
    bool touched = false;
    for (const TRegOp& op : ops)
      touched |= op.Key->Hive == Hives[i];
    if (!touched) continue;
    roots[i] = LoadHive(folder, Hives[i]);
    changed[i] = ApplyRegOps(*roots[i], Hives[i], ops);
  }
  for (size_t i = 0; i < Hives.size(); ++i) {
    if (changed[i]) SaveHive(folder, Hives[i], *roots[i]);
  }
}

bool ExportRegFile(THive root, std::u16string_view keyPath, const fs::path& file,
                   const fs::path& folder) {
  std::optional<std::vector<std::u16string>> names = SplitKeyPath(keyPath);
  if (!names) return false;
  std::unique_ptr<TRegKeyNode> hive = LoadHive(folder, root);
  const TRegKeyNode* node = hive.get();
  std::vector<std::u16string> stored;
  for (const std::u16string& name : *names) {
    if (!(node = node->FindChild(FoldRegName(name)))) return false;
    stored.push_back(node->Name);
  }
  ReplaceFileAtomically(file, EncodeUtf16LEWithBom(FormatRegText(root, stored, *node)), "the file");
  return true;
}

}  // namespace skribo
