#include "platform/RegistryTree.h"

#include <algorithm>

#include "common/CaseFold.h"

namespace skribo {

std::u16string FoldRegName(std::u16string_view name) {
  return SimpleFoldText(name);
}

TRegKeyNode* TRegKeyNode::FindChild(std::u16string_view folded) const {
  for (const auto& child : Children) {
    if (child->Folded == folded) return child.get();
  }
  return nullptr;
}

TRegKeyNode& TRegKeyNode::ChildOrCreate(std::u16string_view name, std::u16string_view folded) {
  if (TRegKeyNode* found = FindChild(folded)) return *found;
  auto child = std::make_unique<TRegKeyNode>();
  child->Name = name;
  child->Folded = folded;
  Children.push_back(std::move(child));
  return *Children.back();
}

bool TRegKeyNode::RemoveChild(std::u16string_view folded) {
  auto it = std::find_if(Children.begin(), Children.end(),
                         [&](const auto& child) { return child->Folded == folded; });
  if (it == Children.end()) return false;
  Children.erase(it);
  return true;
}

const TRegValueEntry* TRegKeyNode::FindValue(std::u16string_view folded) const {
  for (const TRegValueEntry& entry : Values) {
    if (entry.Folded == folded) return &entry;
  }
  return nullptr;
}

bool TRegKeyNode::SetValue(std::u16string_view name, const TRegValue& value) {
  std::u16string folded = FoldRegName(name);
  for (TRegValueEntry& entry : Values) {
    if (entry.Folded == folded) {
      if (entry.Value == value) return false;
      entry.Value = value;
      return true;
    }
  }
  Values.push_back({std::u16string(name), std::move(folded), value});
  return true;
}

bool TRegKeyNode::RemoveValue(std::u16string_view folded) {
  auto it = std::find_if(Values.begin(), Values.end(),
                         [&](const TRegValueEntry& entry) { return entry.Folded == folded; });
  if (it == Values.end()) return false;
  Values.erase(it);
  return true;
}

std::unique_ptr<TRegKeyNode> TRegKeyNode::Clone() const {
  auto copy = std::make_unique<TRegKeyNode>();
  copy->Name = Name;
  copy->Folded = Folded;
  copy->Values = Values;
  copy->Children.reserve(Children.size());
  for (const auto& child : Children)
    copy->Children.push_back(child->Clone());
  return copy;
}

std::optional<std::vector<std::u16string>> SplitKeyPath(std::u16string_view path) {
  if (!path.empty() && path.front() == u'\\') path.remove_prefix(1);
  if (!path.empty() && path.back() == u'\\') path.remove_suffix(1);
  std::vector<std::u16string> names;
  if (path.empty()) return names;
  for (;;) {
    size_t slash = path.find(u'\\');
    std::u16string_view name = path.substr(0, slash);
    if (name.empty()) return std::nullopt;
    names.emplace_back(name);
    if (slash == std::u16string_view::npos) break;
    path.remove_prefix(slash + 1);
  }
  return names;
}

bool IsStorableName(std::u16string_view name) {
  return std::none_of(name.begin(), name.end(),
                      [](char16_t c) { return c == u'\r' || c == u'\n' || c == u'\0'; });
}

TRegKeyNode* FindKey(const TRegKeyNode& root, const std::vector<std::u16string>& path) {
  const TRegKeyNode* node = &root;
  for (const std::u16string& name : path) {
    node = node->FindChild(FoldRegName(name));
    if (!node) return nullptr;
  }
  return const_cast<TRegKeyNode*>(node);
}

std::u16string JoinKeyPath(const std::vector<std::u16string>& path) {
  std::u16string out;
  for (const std::u16string& name : path) {
    if (!out.empty()) out += u'\\';
    out += name;
  }
  return out;
}

}  // namespace skribo
