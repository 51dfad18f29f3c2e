// The regedit text format: a file read as a list of changes, a key tree written as text.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Registry.h"
#include "platform/RegistryTree.h"

namespace skribo {

// Registry keys nest at most this deep; deeper paths are refused, so no walk over a tree read
// from a file can exhaust the stack.
constexpr size_t MaxKeyDepth = 512;

struct TRegKeyRef {
  THive Hive;
  std::vector<std::u16string> Names;
};

enum class TRegOpKind { CreateKey, DeleteKey, SetValue, DeleteValue };

struct TRegOp {
  TRegOpKind Kind;
  std::shared_ptr<const TRegKeyRef> Key;
  std::u16string Name;  // of a value
  TRegValue Value;
};

// What a file is read as decides the wording of its errors: a damaged hive is left alone, a file
// to import is refused.
enum class TRegSource { Hive, Import };

// The byte-order mark decides; without one the bytes are UTF-8 when they are valid UTF-8,
// UTF-16LE when they look like it, else Windows-1252.
std::u16string DecodeRegFileBytes(std::string_view bytes);

// The changes a file makes, in file order. A hive file may be empty and may only name keys of
// onlyRoot. Throws TRegistryFormatError naming the file and line.
std::vector<TRegOp> ParseRegText(std::u16string_view text, const std::filesystem::path& fileName,
                                 TRegSource source, std::optional<THive> onlyRoot);

// Applies the changes of one hive to its tree; true when the tree changed.
bool ApplyRegOps(TRegKeyNode& root, THive hive, const std::vector<TRegOp>& ops);

// The header, then the node and everything below it, each key as "[full path]", its values and an
// empty line, with CR LF line ends. The root of a hive gets no block of its own while it has no
// values.
std::u16string FormatRegText(THive hive, const std::vector<std::u16string>& path,
                             const TRegKeyNode& node);

}  // namespace skribo
