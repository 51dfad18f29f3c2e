// A registry of keys and typed values kept in regedit export files, one file per hive, shared by
// every process of the program and the host add-on stand-in.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace skribo {

enum class THive { CurrentUser, LocalMachine, ClassesRoot };

// The registry's value types, numbered as regedit numbers them in "hex(n):". A value read from a
// file may carry any other number; it is kept as it is.
enum class TRegDataType : uint32_t {
  None = 0,
  String = 1,        // REG_SZ
  ExpandString = 2,  // REG_EXPAND_SZ
  Binary = 3,        // REG_BINARY
  Integer = 4,       // REG_DWORD
  MultiString = 7,   // REG_MULTI_SZ
  Qword = 11,        // REG_QWORD
};

// "REG_SZ", "REG_DWORD", ...; "REG_UNKNOWN" for a number without a name.
std::string RegDataTypeName(TRegDataType type);

// A value's bytes as the system keeps them: REG_SZ and REG_EXPAND_SZ as UTF-16LE with a
// terminating NUL, REG_DWORD as four bytes and REG_QWORD as eight, little-endian, REG_MULTI_SZ as
// NUL-terminated UTF-16LE strings followed by one more NUL.
struct TRegValue {
  TRegDataType Type = TRegDataType::None;
  std::string Data;
  bool operator==(const TRegValue&) const = default;
};

TRegValue MakeStringValue(std::u16string_view text, TRegDataType type = TRegDataType::String);
TRegValue MakeMultiStringValue(const std::vector<std::u16string>& strings);
TRegValue MakeIntegerValue(uint32_t value);
TRegValue MakeQwordValue(uint64_t value);

// Any failure of the store: a hive file that cannot be read, written or parsed, a value of the
// wrong type, a write that is refused. The message names the key or value or file (and line).
class TRegistryError : public std::runtime_error {
 public:
  TRegistryError(const std::string& message, int errorCode = 0)
      : std::runtime_error(message), ErrorCode_(errorCode) {}
  int ErrorCode() const noexcept { return ErrorCode_; }  // errno, 0 when not from the system
  virtual const char* KindName() const noexcept { return "TRegistryError"; }

 private:
  int ErrorCode_;
};

// A registry file whose text is not in the regedit format: a hive that a person edited into
// something unreadable, or a file given to import. A damaged hive is never written over.
class TRegistryFormatError : public TRegistryError {
 public:
  TRegistryFormatError(const std::string& message, std::filesystem::path fileName, int line)
      : TRegistryError(message), FileName_(std::move(fileName)), Line_(line) {}
  const std::filesystem::path& FileName() const noexcept { return FileName_; }
  int Line() const noexcept { return Line_; }  // 1-based
  const char* KindName() const noexcept override { return "TRegistryFormatError"; }

 private:
  std::filesystem::path FileName_;
  int Line_;
};

// "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_CLASSES_ROOT".
std::u16string_view RootKeyName(THive root);
// A root's long name or its short one (HKCU, HKLM, HKCR), in any case.
std::optional<THive> ParseRootKeyName(std::u16string_view name);

// The folder that holds the hive files: $XDG_CONFIG_HOME/skribo/registry, by default
// ~/.config/skribo/registry. It is created by the first write.
std::filesystem::path DefaultRegistryFolder();

// One open key at a time on one hive, in the manner of a registry object: open a key, read and
// write its values, close it. Key paths may start with "\" and are case-insensitive; the case
// first written is kept. Every change is a locked read-modify-write of the hive file with an
// atomic replace, so concurrent writers lose nothing and readers never see half a file.
//
// Every member that looks at the hive throws TRegistryError when its file exists but cannot be
// read, and TRegistryFormatError when its text is damaged; writes then change nothing.
//
// Under HKEY_CURRENT_USER the key "Software\Microsoft\Windows\CurrentVersion\Explorer\Shell
// Folders" always exists for reading, and its value "Personal" answers with the XDG documents
// folder while the hive holds no such value.
class TRegistry {
 public:
  explicit TRegistry(THive root, std::filesystem::path folder = DefaultRegistryFolder());
  ~TRegistry();
  TRegistry(const TRegistry&) = delete;
  TRegistry& operator=(const TRegistry&) = delete;

  THive Root() const noexcept { return Root_; }
  const std::filesystem::path& Folder() const noexcept;
  std::filesystem::path HiveFile() const;

  // False when the key does not exist (and canCreate is false) or cannot be created: a name
  // that cannot be stored (empty, or with a line break), or a hive file that cannot be written.
  // The path is relative to the open key when one is open and it has no leading "\".
  bool OpenKey(std::u16string_view path, bool canCreate);
  // Writes through a key opened this way raise TRegistryError.
  bool OpenKeyReadOnly(std::u16string_view path);
  void CloseKey();
  bool KeyIsOpen() const noexcept;
  // The open key's path as stored, without a leading "\"; empty for the root.
  std::u16string CurrentPath() const;

  // Relative to the open key when one is open and the path has no leading "\", else to the root.
  bool KeyExists(std::u16string_view path) const;
  // Creates the key with any missing parents, leaving the open key as it is; raises
  // TRegistryError saying why when it cannot.
  void CreateKey(std::u16string_view path);
  // Deletes the key with everything below it; false when there was no such key.
  bool DeleteKey(std::u16string_view path);

  // Of the open key (of the root when none is open). An empty name is the key's default value.
  // A key that another process deleted after it was opened has no values; writing to it raises
  // TRegistryError.
  bool ValueExists(std::u16string_view name) const;
  std::optional<TRegDataType> GetDataType(std::u16string_view name) const;
  // A missing value reads as an empty string; a value of another type than REG_SZ or
  // REG_EXPAND_SZ raises TRegistryError. The text ends at its first NUL.
  std::u16string ReadString(std::u16string_view name) const;
  // A missing value or one of another type raises TRegistryError.
  int32_t ReadInteger(std::u16string_view name) const;
  void WriteString(std::u16string_view name, std::u16string_view value);
  void WriteInteger(std::u16string_view name, int32_t value);
  bool DeleteValue(std::u16string_view name);

  // Any value with its type and bytes as stored.
  std::optional<TRegValue> ReadValue(std::u16string_view name) const;
  void WriteValue(std::u16string_view name, const TRegValue& value);

  // Subkey names of the open key in a stable order (the order they were created in).
  std::vector<std::u16string> GetKeyNames() const;
  // Value names in the order they were created in; "" for the default value.
  std::vector<std::u16string> GetValueNames() const;
  bool HasSubKeys() const;

 private:
  std::vector<std::u16string> CreateKeyAt(const std::vector<std::u16string>& names);

  struct TImpl;
  THive Root_;
  std::unique_ptr<TImpl> Impl;
};

// Applies a .reg file to the store: "Windows Registry Editor Version 5.00" (UTF-16LE or UTF-8)
// or "REGEDIT4", with "[-KEY]" and "\"Name\"=-" deletions. A file with an error changes nothing
// and raises TRegistryFormatError naming its line.
void ImportRegFile(const std::filesystem::path& file,
                   const std::filesystem::path& folder = DefaultRegistryFolder());

// Writes the key with everything below it to a file in the hive files' format (regedit 5.00,
// UTF-16LE with byte-order mark), replacing the file atomically. False when there is no such key.
bool ExportRegFile(THive root, std::u16string_view keyPath, const std::filesystem::path& file,
                   const std::filesystem::path& folder = DefaultRegistryFolder());

}  // namespace skribo
