// The in-memory tree of one hive: keys with their values, names matched by simple case folding.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Registry.h"

namespace skribo {

// Folds per code point, so that letters outside the BMP match too; unpaired surrogates stay.
std::u16string FoldRegName(std::u16string_view name);

struct TRegValueEntry {
  std::u16string Name;
  std::u16string Folded;
  TRegValue Value;
};

struct TRegKeyNode {
  std::u16string Name;
  std::u16string Folded;
  std::vector<TRegValueEntry> Values;
  std::vector<std::unique_ptr<TRegKeyNode>> Children;  // in creation order

  TRegKeyNode* FindChild(std::u16string_view folded) const;
  // The child of that name, created at the end when missing.
  TRegKeyNode& ChildOrCreate(std::u16string_view name, std::u16string_view folded);
  bool RemoveChild(std::u16string_view folded);

  const TRegValueEntry* FindValue(std::u16string_view folded) const;
  // An existing value keeps its place and the spelling of its name; false when nothing changed.
  bool SetValue(std::u16string_view name, const TRegValue& value);
  bool RemoveValue(std::u16string_view folded);

  std::unique_ptr<TRegKeyNode> Clone() const;
};

// A key path split at "\": one leading and one trailing "\" are allowed; an empty name between
// two separators makes the path invalid (nullopt). The empty path is the root.
std::optional<std::vector<std::u16string>> SplitKeyPath(std::u16string_view path);

// Whether a key name or value name can be stored in a hive file: no line break and no NUL.
bool IsStorableName(std::u16string_view name);

TRegKeyNode* FindKey(const TRegKeyNode& root, const std::vector<std::u16string>& path);

std::u16string JoinKeyPath(const std::vector<std::u16string>& path);

}  // namespace skribo
