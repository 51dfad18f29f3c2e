#include "platform/RegistryTree.h"

#include <algorithm>

#include "common/CaseFold.h"

namespace skribo {

namespace {

bool IsHighSurrogate(char16_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

}  // namespace

std::u16string FoldRegName(std::u16string_view name) {
  std::u16string out;
  out.reserve(name.size());
  for (size_t i = 0; i < name.size(); ++i) {
    char16_t c = name[i];
    if (IsHighSurrogate(c) && i + 1 < name.size() && IsLowSurrogate(name[i + 1])) {
      char32_t cp = 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) +
                    (static_cast<char32_t>(name[i + 1]) - 0xDC00);
      char32_t f = SimpleFold(cp);
      if (f >= 0x10000) {
        f -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (f >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (f & 0x3FF)));
      } else {
        out.push_back(static_cast<char16_t>(f));
      }
      ++i;
    } else {
      out.push_back(SimpleFoldUnit(c));
    }
  }
  return out;
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
