// Value types, value bytes and root key names.
#include <array>

#include "common/CaseFold.h"
#include "platform/Registry.h"
#include "platform/RegistryTree.h"

namespace skribo {

namespace {

void AppendUtf16LE(std::string& out, std::u16string_view text) {
  for (char16_t c : text) {
    out.push_back(static_cast<char>(c & 0xFF));
    out.push_back(static_cast<char>(c >> 8));
  }
}

void AppendLittleEndian(std::string& out, uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i)
    out.push_back(static_cast<char>(value >> (8 * i) & 0xFF));
}

}  // namespace

std::string RegDataTypeName(TRegDataType type) {
  static constexpr std::array<const char*, 12> Names = {"REG_NONE",
                                                        "REG_SZ",
                                                        "REG_EXPAND_SZ",
                                                        "REG_BINARY",
                                                        "REG_DWORD",
                                                        "REG_DWORD_BIG_ENDIAN",
                                                        "REG_LINK",
                                                        "REG_MULTI_SZ",
                                                        "REG_RESOURCE_LIST",
                                                        "REG_FULL_RESOURCE_DESCRIPTOR",
                                                        "REG_RESOURCE_REQUIREMENTS_LIST",
                                                        "REG_QWORD"};
  uint32_t n = static_cast<uint32_t>(type);
  return n < Names.size() ? Names[n] : "REG_UNKNOWN";
}

TRegValue MakeStringValue(std::u16string_view text, TRegDataType type) {
  TRegValue value{type, {}};
  AppendUtf16LE(value.Data, text);
  AppendUtf16LE(value.Data, std::u16string_view(u"\0", 1));
  return value;
}

TRegValue MakeMultiStringValue(const std::vector<std::u16string>& strings) {
  TRegValue value{TRegDataType::MultiString, {}};
  for (const std::u16string& s : strings) {
    AppendUtf16LE(value.Data, s);
    AppendUtf16LE(value.Data, std::u16string_view(u"\0", 1));
  }
  AppendUtf16LE(value.Data, std::u16string_view(u"\0", 1));
  return value;
}

TRegValue MakeIntegerValue(uint32_t n) {
  TRegValue value{TRegDataType::Integer, {}};
  AppendLittleEndian(value.Data, n, 4);
  return value;
}

TRegValue MakeQwordValue(uint64_t n) {
  TRegValue value{TRegDataType::Qword, {}};
  AppendLittleEndian(value.Data, n, 8);
  return value;
}

std::u16string_view RootKeyName(THive root) {
  switch (root) {
    case THive::CurrentUser:
      return u"HKEY_CURRENT_USER";
    case THive::LocalMachine:
      return u"HKEY_LOCAL_MACHINE";
    case THive::ClassesRoot:
      return u"HKEY_CLASSES_ROOT";
  }
  return u"";
}

std::optional<THive> ParseRootKeyName(std::u16string_view name) {
  struct TAlias {
    std::u16string_view Long, Short;
    THive Hive;
  };
  static constexpr TAlias Aliases[] = {
      {u"hkey_current_user", u"hkcu", THive::CurrentUser},
      {u"hkey_local_machine", u"hklm", THive::LocalMachine},
      {u"hkey_classes_root", u"hkcr", THive::ClassesRoot},
  };
  std::u16string folded = FoldRegName(name);
  for (const TAlias& alias : Aliases) {
    if (folded == alias.Long || folded == alias.Short) return alias.Hive;
  }
  return std::nullopt;
}

}  // namespace skribo
