// The program's INI files: read whole, changed in memory, written back whole by UpdateFile().
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace skribo {

// A file that exists but cannot be read, or a file that cannot be saved. ErrorCode() is the errno
// of the failing call; KindName() names the kind for error boxes.
class TIniFileError : public std::runtime_error {
 public:
  TIniFileError(const std::string& message, int errorCode, std::filesystem::path fileName);

  int ErrorCode() const noexcept { return ErrorCode_; }
  const std::filesystem::path& FileName() const noexcept { return FileName_; }
  virtual const char* KindName() const noexcept { return "TIniFileError"; }

 private:
  int ErrorCode_;
  std::filesystem::path FileName_;
};

class TIniFileReadError final : public TIniFileError {
 public:
  using TIniFileError::TIniFileError;
  const char* KindName() const noexcept override { return "TIniFileReadError"; }
};

class TIniFileWriteError final : public TIniFileError {
 public:
  using TIniFileError::TIniFileError;
  const char* KindName() const noexcept override { return "TIniFileWriteError"; }
};

// Sections and keys keep their order and the spelling they were first given; names match by
// simple case folding. Comments, blank lines and other lines that are neither a section nor a key
// are not kept. A repeated key is kept but only its first occurrence is seen; a repeated section
// header continues the first section of that name.
class TIniFile {
 public:
  // An empty file without a name; UpdateFile() refuses to run on it.
  TIniFile() = default;
  // Reads the whole file; a missing file reads as empty. Throws TIniFileReadError when the file
  // exists but cannot be read.
  explicit TIniFile(std::filesystem::path fileName);

  // The contents of a file, byte-order mark detection included, without a file behind it.
  static TIniFile FromBytes(std::string_view bytes);
  static TIniFile FromText(std::u16string_view text);

  const std::filesystem::path& FileName() const noexcept { return FileName_; }

  bool SectionExists(std::u16string_view section) const;
  bool ValueExists(std::u16string_view section, std::u16string_view key) const;
  std::u16string ReadString(std::u16string_view section, std::u16string_view key,
                            std::u16string_view defaultValue) const;
  // Section names in file order.
  std::vector<std::u16string> ReadSections() const;
  // Key names of one section in file order, each name once.
  std::vector<std::u16string> ReadSection(std::u16string_view section) const;

  // An existing key keeps its place; a new key goes to the end of its section, a new section to
  // the end of the file. Throws std::invalid_argument for a name or value the file format cannot
  // hold (a line break or NUL anywhere, "=" in a key, a key starting with ";" or "[").
  void WriteString(std::u16string_view section, std::u16string_view key, std::u16string_view value);
  void EraseSection(std::u16string_view section);
  void DeleteKey(std::u16string_view section, std::u16string_view key);

  // The text UpdateFile() writes: every section as "[name]", its "key=value" lines, an empty
  // line; CR LF after each line.
  std::u16string ToText() const;
  // ToText() as UTF-16LE with the byte-order mark FF FE.
  std::string ToBytes() const;

  // Replaces the file with ToBytes() through a temporary file in the same folder, so the old file
  // stays whole when anything fails. Throws TIniFileWriteError.
  void UpdateFile() const;

  // The temporary file UpdateFile() writes before renaming it over target; it depends only on
  // target and this process, so two running instances never share one.
  static std::filesystem::path TemporaryPathFor(const std::filesystem::path& target);

 private:
  struct TEntry {
    std::u16string Key;
    std::u16string FoldedKey;
    std::u16string Value;
  };
  struct TSection {
    std::u16string Name;
    std::u16string FoldedName;
    std::vector<TEntry> Entries;
  };

  void Parse(std::u16string_view text);
  const TSection* FindSection(std::u16string_view foldedName) const;
  TSection* FindSection(std::u16string_view foldedName);

  std::filesystem::path FileName_;
  std::vector<TSection> Sections_;
};

}  // namespace skribo
