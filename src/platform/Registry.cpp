// TRegistry: open keys, typed reads and writes, each change a locked read-modify-write.
#include "platform/Registry.h"

#include <algorithm>
#include <array>

#include "common/TextCodec.h"
#include "platform/RegFile.h"
#include "platform/RegistryStore.h"
#include "platform/RegistryTree.h"

namespace skribo {

namespace {

namespace fs = std::filesystem;

// The shell-folder key that answers "Personal" from the XDG documents folder, folded.
constexpr std::array<std::u16string_view, 6> ShellFoldersPath = {
    u"software", u"microsoft", u"windows", u"currentversion", u"explorer", u"shell folders"};
constexpr std::u16string_view ShellFoldersName = u"Shell Folders";
constexpr std::u16string_view PersonalValue = u"Personal";

// The path, or a leading part of it, of the shell-folder key.
bool IsOnShellFoldersPath(const std::vector<std::u16string>& path) {
  if (path.size() > ShellFoldersPath.size()) return false;
  for (size_t i = 0; i < path.size(); ++i) {
    if (FoldRegName(path[i]) != ShellFoldersPath[i]) return false;
  }
  return true;
}

bool IsShellFoldersKey(const std::vector<std::u16string>& path) {
  return path.size() == ShellFoldersPath.size() && IsOnShellFoldersPath(path);
}

// Adds the shell-folder key with its parents where the hive lacks them, for reading only.
void AddShellFolderKeys(TRegKeyNode& root) {
  static constexpr std::array<std::u16string_view, 6> Names = {
      u"Software", u"Microsoft", u"Windows", u"CurrentVersion", u"Explorer", ShellFoldersName};
  TRegKeyNode* node = &root;
  for (size_t i = 0; i < Names.size(); ++i)
    node = &node->ChildOrCreate(Names[i], ShellFoldersPath[i]);
}

// The key at path, created with its parents where missing; returns its names as stored.
std::vector<std::u16string> EnsureKey(TRegKeyNode& root, const std::vector<std::u16string>& path,
                                      bool& created) {
  std::vector<std::u16string> stored;
  TRegKeyNode* node = &root;
  for (const std::u16string& name : path) {
    TRegKeyNode* parent = node;
    const size_t before = parent->Children.size();
    node = &parent->ChildOrCreate(name, FoldRegName(name));
    if (parent->Children.size() != before) created = true;
    stored.push_back(node->Name);
  }
  return stored;
}

std::u16string DecodeUtf16LEUntilNul(const std::string& data) {
  std::u16string text;
  for (size_t i = 0; i + 1 < data.size(); i += 2) {
    char16_t c = static_cast<char16_t>(static_cast<uint8_t>(data[i]) |
                                       static_cast<uint8_t>(data[i + 1]) << 8);
    if (c == u'\0') break;
    text.push_back(c);
  }
  return text;
}

}  // namespace

struct TRegistry::TImpl {
  fs::path Folder;
  bool Open = false;
  bool ReadOnly = false;
  std::vector<std::u16string> OpenPath;  // names as stored

  // The hive as last read, with the shell-folder keys added, and the file it was read from.
  mutable std::unique_ptr<TRegKeyNode> View;
  mutable TFileStamp ViewStamp;
};

TRegistry::TRegistry(THive root, fs::path folder) : Root_(root), Impl(std::make_unique<TImpl>()) {
  Impl->Folder = std::move(folder);
}

TRegistry::~TRegistry() = default;

const fs::path& TRegistry::Folder() const noexcept {
  return Impl->Folder;
}

fs::path TRegistry::HiveFile() const {
  return HiveFilePath(Impl->Folder, Root_);
}

namespace {

// Reads the hive again only when its file was replaced since the last read.
const TRegKeyNode& CurrentView(const fs::path& folder, THive hive,
                               std::unique_ptr<TRegKeyNode>& view, TFileStamp& viewStamp) {
  if (!view || !(StampOf(HiveFilePath(folder, hive)) == viewStamp)) {
    view.reset();
    TFileStamp stamp;
    std::unique_ptr<TRegKeyNode> fresh = LoadHive(folder, hive, &stamp);
    if (hive == THive::CurrentUser) AddShellFolderKeys(*fresh);
    view = std::move(fresh);
    viewStamp = stamp;
  }
  return *view;
}

std::string FullKeyName(THive hive, const std::vector<std::u16string>& path) {
  std::u16string name(RootKeyName(hive));
  for (const std::u16string& part : path)
    name += u"\\" + part;
  return EncodeUtf8(name);
}

std::string ValueDescription(THive hive, const std::vector<std::u16string>& path,
                             std::u16string_view name) {
  std::string value =
      name.empty() ? "The default value" : "The registry value \"" + EncodeUtf8(name) + "\"";
  return value + " of " + FullKeyName(hive, path);
}

// Resolves a path given to OpenKey, KeyExists or DeleteKey; nullopt for one that cannot name a key.
std::optional<std::vector<std::u16string>> ResolvePath(bool open,
                                                       const std::vector<std::u16string>& openPath,
                                                       std::u16string_view path) {
  const bool absolute = !open || (!path.empty() && path.front() == u'\\');
  std::optional<std::vector<std::u16string>> names = SplitKeyPath(path);
  if (!names) return std::nullopt;
  if (!absolute) names->insert(names->begin(), openPath.begin(), openPath.end());
  if (names->size() > MaxKeyDepth) return std::nullopt;
  if (!std::all_of(names->begin(), names->end(), IsStorableName)) return std::nullopt;
  return names;
}

}  // namespace

bool TRegistry::OpenKey(std::u16string_view path, bool canCreate) {
  std::optional<std::vector<std::u16string>> names = ResolvePath(Impl->Open, Impl->OpenPath, path);
  if (!names) return false;
  const TRegKeyNode& view = CurrentView(Impl->Folder, Root_, Impl->View, Impl->ViewStamp);
  std::vector<std::u16string> stored;
  const TRegKeyNode* node = &view;
  for (const std::u16string& name : *names) {
    if (!(node = node->FindChild(FoldRegName(name)))) break;
    stored.push_back(node->Name);
  }
  if (!node) {
    if (!canCreate) return false;
    try {
      stored = CreateKeyAt(*names);
    } catch (const TRegistryFormatError&) {
      throw;  // a damaged hive must be reported, not taken for a refusal
    } catch (const TRegistryError&) {
      return false;
    }
  }
  Impl->Open = true;
  Impl->ReadOnly = false;
  Impl->OpenPath = std::move(stored);
  return true;
}

std::vector<std::u16string> TRegistry::CreateKeyAt(const std::vector<std::u16string>& names) {
  std::vector<std::u16string> stored;
  ChangeHive(Impl->Folder, Root_, [&](TRegKeyNode& root) {
    bool created = false;
    stored = EnsureKey(root, names, created);
    return created;
  });
  return stored;
}

void TRegistry::CreateKey(std::u16string_view path) {
  std::optional<std::vector<std::u16string>> names = ResolvePath(Impl->Open, Impl->OpenPath, path);
  if (!names) {
    throw TRegistryError("Cannot create the key \"" + EncodeUtf8(path) + "\" under " +
                         EncodeUtf8(RootKeyName(Root_)) +
                         ": a key name cannot be empty or hold a line break or NUL");
  }
  CreateKeyAt(*names);
}

bool TRegistry::OpenKeyReadOnly(std::u16string_view path) {
  if (!OpenKey(path, false)) return false;
  Impl->ReadOnly = true;
  return true;
}

void TRegistry::CloseKey() {
  Impl->Open = false;
  Impl->ReadOnly = false;
  Impl->OpenPath.clear();
}

bool TRegistry::KeyIsOpen() const noexcept {
  return Impl->Open;
}

std::u16string TRegistry::CurrentPath() const {
  return JoinKeyPath(Impl->OpenPath);
}

bool TRegistry::KeyExists(std::u16string_view path) const {
  std::optional<std::vector<std::u16string>> names = ResolvePath(Impl->Open, Impl->OpenPath, path);
  if (!names) return false;
  return FindKey(CurrentView(Impl->Folder, Root_, Impl->View, Impl->ViewStamp), *names) != nullptr;
}

bool TRegistry::DeleteKey(std::u16string_view path) {
  std::optional<std::vector<std::u16string>> names = ResolvePath(Impl->Open, Impl->OpenPath, path);
  if (!names) return false;
  if (names->empty()) {
    throw TRegistryError("The root key " + EncodeUtf8(RootKeyName(Root_)) + " cannot be deleted");
  }
  return ChangeHive(Impl->Folder, Root_, [&](TRegKeyNode& root) {
    std::vector<std::u16string> parentPath(names->begin(), names->end() - 1);
    TRegKeyNode* parent = FindKey(root, parentPath);
    return parent && parent->RemoveChild(FoldRegName(names->back()));
  });
}

std::optional<TRegValue> TRegistry::ReadValue(std::u16string_view name) const {
  const TRegKeyNode& view = CurrentView(Impl->Folder, Root_, Impl->View, Impl->ViewStamp);
  const TRegKeyNode* key = FindKey(view, Impl->OpenPath);
  if (!key) return std::nullopt;
  const std::u16string folded = FoldRegName(name);
  if (const TRegValueEntry* entry = key->FindValue(folded)) return entry->Value;
  if (Root_ == THive::CurrentUser && IsShellFoldersKey(Impl->OpenPath) &&
      folded == FoldRegName(PersonalValue)) {
    return MakeStringValue(XdgDocumentsFolder());
  }
  return std::nullopt;
}

bool TRegistry::ValueExists(std::u16string_view name) const {
  return ReadValue(name).has_value();
}

std::optional<TRegDataType> TRegistry::GetDataType(std::u16string_view name) const {
  std::optional<TRegValue> value = ReadValue(name);
  if (!value) return std::nullopt;
  return value->Type;
}

std::u16string TRegistry::ReadString(std::u16string_view name) const {
  std::optional<TRegValue> value = ReadValue(name);
  if (!value) return {};
  if (value->Type != TRegDataType::String && value->Type != TRegDataType::ExpandString) {
    throw TRegistryError(ValueDescription(Root_, Impl->OpenPath, name) + " is " +
                         RegDataTypeName(value->Type) + ", not REG_SZ");
  }
  return DecodeUtf16LEUntilNul(value->Data);
}

int32_t TRegistry::ReadInteger(std::u16string_view name) const {
  std::optional<TRegValue> value = ReadValue(name);
  if (!value) {
    throw TRegistryError(ValueDescription(Root_, Impl->OpenPath, name) + " does not exist");
  }
  if (value->Type != TRegDataType::Integer) {
    throw TRegistryError(ValueDescription(Root_, Impl->OpenPath, name) + " is " +
                         RegDataTypeName(value->Type) + ", not REG_DWORD");
  }
  if (value->Data.size() != 4) {
    throw TRegistryError(ValueDescription(Root_, Impl->OpenPath, name) + " is a REG_DWORD of " +
                         std::to_string(value->Data.size()) + " bytes instead of 4");
  }
  uint32_t n = 0;
  for (int i = 3; i >= 0; --i)
    n = n << 8 | static_cast<uint8_t>(value->Data[static_cast<size_t>(i)]);
  return static_cast<int32_t>(n);
}

void TRegistry::WriteValue(std::u16string_view name, const TRegValue& value) {
  if (Impl->ReadOnly) {
    throw TRegistryError("Cannot write " + ValueDescription(Root_, Impl->OpenPath, name) +
                         ": the key was opened read-only");
  }
  if (!IsStorableName(name)) {
    throw TRegistryError("Cannot write " + ValueDescription(Root_, Impl->OpenPath, name) +
                         ": a value name cannot hold a line break or NUL");
  }
  ChangeHive(Impl->Folder, Root_, [&](TRegKeyNode& root) {
    TRegKeyNode* key = FindKey(root, Impl->OpenPath);
    bool created = false;
    if (!key && Root_ == THive::CurrentUser && IsOnShellFoldersPath(Impl->OpenPath)) {
      // The shell-folder key may exist for reading only; a write makes it real.
      EnsureKey(root, Impl->OpenPath, created);
      key = FindKey(root, Impl->OpenPath);
    }
    if (!key) {
      throw TRegistryError("Cannot write " + ValueDescription(Root_, Impl->OpenPath, name) +
                           ": the key was deleted after it was opened");
    }
    return key->SetValue(name, value) || created;
  });
}

void TRegistry::WriteString(std::u16string_view name, std::u16string_view value) {
  WriteValue(name, MakeStringValue(value));
}

void TRegistry::WriteInteger(std::u16string_view name, int32_t value) {
  WriteValue(name, MakeIntegerValue(static_cast<uint32_t>(value)));
}

bool TRegistry::DeleteValue(std::u16string_view name) {
  if (Impl->ReadOnly) {
    throw TRegistryError("Cannot delete " + ValueDescription(Root_, Impl->OpenPath, name) +
                         ": the key was opened read-only");
  }
  return ChangeHive(Impl->Folder, Root_, [&](TRegKeyNode& root) {
    TRegKeyNode* key = FindKey(root, Impl->OpenPath);
    return key && key->RemoveValue(FoldRegName(name));
  });
}

std::vector<std::u16string> TRegistry::GetKeyNames() const {
  const TRegKeyNode& view = CurrentView(Impl->Folder, Root_, Impl->View, Impl->ViewStamp);
  std::vector<std::u16string> names;
  if (const TRegKeyNode* key = FindKey(view, Impl->OpenPath)) {
    for (const auto& child : key->Children)
      names.push_back(child->Name);
  }
  return names;
}

std::vector<std::u16string> TRegistry::GetValueNames() const {
  const TRegKeyNode& view = CurrentView(Impl->Folder, Root_, Impl->View, Impl->ViewStamp);
  std::vector<std::u16string> names;
  const TRegKeyNode* key = FindKey(view, Impl->OpenPath);
  if (!key) return names;
  for (const TRegValueEntry& entry : key->Values)
    names.push_back(entry.Name);
  if (Root_ == THive::CurrentUser && IsShellFoldersKey(Impl->OpenPath) &&
      !key->FindValue(FoldRegName(PersonalValue))) {
    names.emplace_back(PersonalValue);
  }
  return names;
}

bool TRegistry::HasSubKeys() const {
  const TRegKeyNode& view = CurrentView(Impl->Folder, Root_, Impl->View, Impl->ViewStamp);
  const TRegKeyNode* key = FindKey(view, Impl->OpenPath);
  return key && !key->Children.empty();
}

}  // namespace skribo
