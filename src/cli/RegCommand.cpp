#include "cli/RegCommand.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <optional>
#include <stdexcept>

#include "common/TextCodec.h"
#include "platform/Registry.h"
#include "platform/RegistryTree.h"

namespace skribo {

namespace {

namespace fs = std::filesystem;

constexpr const char* Usage =
    "Usage: skribo-reg VERB ARGUMENTS\n"
    "  query KEY [/v NAME | /ve] [/s]\n"
    "  add KEY [/v NAME | /ve] [/t TYPE] [/d DATA] [/f]\n"
    "  delete KEY [/v NAME | /ve] [/f]\n"
    "  import FILE.reg\n"
    "  export KEY FILE.reg [/y]\n"
    "KEY starts with HKCU, HKLM or HKCR (or HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE,\n"
    "HKEY_CLASSES_ROOT), its parts separated by \\ (quote it for the shell).\n"
    "TYPE is REG_SZ (the default), REG_EXPAND_SZ, REG_MULTI_SZ (strings separated by \\0),\n"
    "REG_DWORD or REG_QWORD (decimal, or 0x and hexadecimal digits) or REG_BINARY\n"
    "(hexadecimal digits). query shows REG_DWORD and REG_QWORD data as 0x and hexadecimal\n"
    "digits. Nothing asks: overwriting a value and deleting need /f, overwriting a file /y.\n"
    "The store is the folder $XDG_CONFIG_HOME/skribo/registry (~/.config/skribo/registry).\n";

constexpr const char* Done = "The operation completed successfully.\n";

// A refusal with the message for standard error.
struct TCommandError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct TCommand {
  std::string Verb;
  std::vector<std::string> Positional;
  std::optional<std::string> ValueName;  // /v
  bool DefaultValue = false;             // /ve
  bool Recurse = false;                  // /s
  std::optional<std::string> Type;       // /t
  std::optional<std::string> Data;       // /d
  bool Force = false;                    // /f
  bool OverwriteFile = false;            // /y
};

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

// The switch an argument names ("v", "ve", ...), or "" when it is no switch.
std::string SwitchOf(const std::string& arg) {
  if (arg.size() < 2 || (arg[0] != '/' && arg[0] != '-')) return "";
  std::string name = Lower(arg.substr(1));
  for (const char* known : {"v", "ve", "s", "t", "d", "f", "y", "?", "help", "-help"}) {
    if (name == known) return name;
  }
  return "";
}

TCommand ParseCommand(const std::vector<std::string>& args) {
  TCommand c;
  c.Verb = Lower(args.front());
  const std::string allowed = c.Verb == "query"    ? "v ve s"
                              : c.Verb == "add"    ? "v ve t d f"
                              : c.Verb == "delete" ? "v ve f"
                              : c.Verb == "export" ? "y"
                                                   : "";
  if (c.Verb != "query" && c.Verb != "add" && c.Verb != "delete" && c.Verb != "import" &&
      c.Verb != "export") {
    throw TCommandError("unknown verb \"" + args.front() +
                        "\"; use query, add, delete, import or export");
  }
  std::vector<std::string> seen;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string name = SwitchOf(args[i]);
    if (name.empty()) {
      c.Positional.push_back(args[i]);
      continue;
    }
    if (("  " + allowed + " ").find(" " + name + " ") == std::string::npos) {
      throw TCommandError(args[i] + " is not an option of " + c.Verb);
    }
    if (std::find(seen.begin(), seen.end(), name) != seen.end()) {
      throw TCommandError(args[i] + " is given more than once");
    }
    seen.push_back(name);
    auto next = [&]() -> std::string {
      if (i + 1 >= args.size()) throw TCommandError(args[i] + " needs a value");
      return args[++i];
    };
    if (name == "v") c.ValueName = next();
    if (name == "t") c.Type = next();
    if (name == "d") c.Data = next();
    c.DefaultValue |= name == "ve";
    c.Recurse |= name == "s";
    c.Force |= name == "f";
    c.OverwriteFile |= name == "y";
  }
  if (c.ValueName && c.DefaultValue) throw TCommandError("give either /v NAME or /ve, not both");
  const size_t wanted = c.Verb == "export" ? 2 : 1;
  if (c.Positional.size() < wanted) {
    throw TCommandError(c.Verb == "import"   ? "import needs a file name"
                        : c.Verb == "export" ? "export needs a key and a file name"
                                             : c.Verb + " needs a key");
  }
  if (c.Positional.size() > wanted) {
    throw TCommandError("unexpected argument \"" + c.Positional[wanted] + "\"");
  }
  return c;
}

struct TKeyName {
  THive Hive;
  std::u16string Path;  // below the root, without a leading "\"
};

TKeyName ParseKeyName(const std::string& arg) {
  std::u16string text = DecodeUtf8(arg);
  size_t slash = text.find(u'\\');
  std::optional<THive> hive = ParseRootKeyName(std::u16string_view(text).substr(0, slash));
  if (!hive) {
    throw TCommandError("the key \"" + arg +
                        "\" must start with HKCU, HKLM or HKCR (or HKEY_CURRENT_USER, "
                        "HKEY_LOCAL_MACHINE, HKEY_CLASSES_ROOT)");
  }
  std::u16string path = slash == std::u16string::npos ? u"" : text.substr(slash + 1);
  while (!path.empty() && path.back() == u'\\')
    path.pop_back();
  if (path.find(u"\\\\") != std::u16string::npos || (!path.empty() && path.front() == u'\\')) {
    throw TCommandError("the key \"" + arg + "\" has an empty name between two \\");
  }
  return {*hive, path};
}

std::string FullName(THive hive, std::u16string_view path) {
  std::u16string name(RootKeyName(hive));
  if (!path.empty()) name += u"\\" + std::u16string(path);
  return EncodeUtf8(name);
}

std::u16string ChildPath(std::u16string_view parent, std::u16string_view child) {
  return parent.empty() ? std::u16string(child)
                        : std::u16string(parent) + u"\\" + std::u16string(child);
}

// Opens the key (given without a leading "\") for reading or says that there is none.
void OpenForReading(TRegistry& reg, const TKeyName& key) {
  if (!reg.OpenKeyReadOnly(u"\\" + key.Path)) {
    throw TCommandError("there is no key " + FullName(key.Hive, key.Path));
  }
}

std::string HexDigits(uint64_t n) {
  static constexpr char Digits[] = "0123456789abcdef";
  std::string s;
  do {
    s.insert(s.begin(), Digits[n & 0xF]);
    n >>= 4;
  } while (n != 0);
  return s;
}

std::vector<std::u16string> Utf16Units(const std::string& data) {
  std::vector<std::u16string> strings(1);
  for (size_t i = 0; i + 1 < data.size(); i += 2) {
    char16_t c = static_cast<char16_t>(static_cast<uint8_t>(data[i]) |
                                       static_cast<uint8_t>(data[i + 1]) << 8);
    if (c == u'\0') {
      strings.emplace_back();
    } else {
      strings.back().push_back(c);
    }
  }
  return strings;
}

uint64_t LittleEndian(const std::string& data) {
  uint64_t n = 0;
  for (size_t i = data.size(); i-- > 0;)
    n = n << 8 | static_cast<uint8_t>(data[i]);
  return n;
}

// The data as reg.exe shows it: text as it is, REG_MULTI_SZ joined with \0, numbers as 0x and
// hexadecimal digits, everything else as upper-case hexadecimal bytes.
std::string FormatData(const TRegValue& value) {
  const TRegDataType type = value.Type;
  if (type == TRegDataType::String || type == TRegDataType::ExpandString) {
    return EncodeUtf8(Utf16Units(value.Data).front());
  }
  if (type == TRegDataType::MultiString) {
    std::vector<std::u16string> strings = Utf16Units(value.Data);
    std::string out;
    for (size_t i = 0; i < strings.size() && !strings[i].empty(); ++i) {
      if (i > 0) out += "\\0";
      out += EncodeUtf8(strings[i]);
    }
    return out;
  }
  if ((type == TRegDataType::Integer && value.Data.size() == 4) ||
      (type == TRegDataType::Qword && value.Data.size() == 8)) {
    return "0x" + HexDigits(LittleEndian(value.Data));
  }
  static constexpr char Digits[] = "0123456789ABCDEF";
  std::string out;
  for (char b : value.Data) {
    out.push_back(Digits[static_cast<uint8_t>(b) >> 4]);
    out.push_back(Digits[static_cast<uint8_t>(b) & 0xF]);
  }
  return out;
}

void PrintValue(std::ostream& out, std::u16string_view name, const TRegValue& value) {
  out << "    " << (name.empty() ? "(Default)" : EncodeUtf8(name)) << "    "
      << RegDataTypeName(value.Type) << "    " << FormatData(value) << "\n";
}

// The name as the key stores it; name itself when the key has no such value.
std::u16string StoredValueName(const TRegistry& reg, const std::u16string& name) {
  const std::u16string folded = FoldRegName(name);
  for (const std::u16string& stored : reg.GetValueNames()) {
    if (FoldRegName(stored) == folded) return stored;
  }
  return name;
}

void PrintValues(std::ostream& out, const TRegistry& reg) {
  for (const std::u16string& name : reg.GetValueNames()) {
    if (std::optional<TRegValue> value = reg.ReadValue(name)) PrintValue(out, name, *value);
  }
}

// Prints the keys at and below path that hold the value, each as its name, the value and an
// empty line; returns how many did.
int QueryValueBelow(std::ostream& out, TRegistry& reg, THive hive, const std::u16string& path,
                    std::u16string_view name) {
  if (!reg.OpenKeyReadOnly(u"\\" + path)) return 0;
  int found = 0;
  if (std::optional<TRegValue> value = reg.ReadValue(name)) {
    out << FullName(hive, reg.CurrentPath()) << "\n";
    PrintValue(out, StoredValueName(reg, std::u16string(name)), *value);
    out << "\n";
    ++found;
  }
  const std::u16string stored = reg.CurrentPath();
  for (const std::u16string& child : reg.GetKeyNames())
    found += QueryValueBelow(out, reg, hive, ChildPath(stored, child), name);
  return found;
}

void QueryTree(std::ostream& out, TRegistry& reg, THive hive, const std::u16string& path) {
  if (!reg.OpenKeyReadOnly(u"\\" + path)) return;  // deleted meanwhile
  const std::u16string stored = reg.CurrentPath();
  out << FullName(hive, stored) << "\n";
  PrintValues(out, reg);
  out << "\n";
  for (const std::u16string& child : reg.GetKeyNames())
    QueryTree(out, reg, hive, ChildPath(stored, child));
}

void Query(const TCommand& c, std::ostream& out, const fs::path& folder) {
  const TKeyName key = ParseKeyName(c.Positional[0]);
  TRegistry reg(key.Hive, folder);
  OpenForReading(reg, key);
  const std::u16string stored = reg.CurrentPath();
  if (c.ValueName || c.DefaultValue) {
    const std::u16string name = c.ValueName ? DecodeUtf8(*c.ValueName) : u"";
    const std::string label =
        c.ValueName ? "value \"" + *c.ValueName + "\"" : std::string("default value");
    if (c.Recurse) {
      if (QueryValueBelow(out, reg, key.Hive, stored, name) == 0) {
        throw TCommandError("neither " + FullName(key.Hive, stored) + " nor a key below it has a " +
                            label);
      }
      return;
    }
    std::optional<TRegValue> value = reg.ReadValue(name);
    if (!value) throw TCommandError("the key " + FullName(key.Hive, stored) + " has no " + label);
    out << FullName(key.Hive, stored) << "\n";
    PrintValue(out, StoredValueName(reg, name), *value);
    return;
  }
  if (c.Recurse) {
    QueryTree(out, reg, key.Hive, stored);
    return;
  }
  out << FullName(key.Hive, stored) << "\n";
  PrintValues(out, reg);
  std::vector<std::u16string> children = reg.GetKeyNames();
  if (!children.empty()) out << "\n";
  for (const std::u16string& child : children)
    out << FullName(key.Hive, ChildPath(stored, child)) << "\n";
}

std::optional<uint64_t> ParseNumber(const std::string& s, uint64_t max) {
  const bool hex = s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X');
  const std::string digits = hex ? s.substr(2) : s;
  if (digits.empty()) return std::nullopt;
  uint64_t n = 0;
  for (char ch : digits) {
    int d = ch >= '0' && ch <= '9'          ? ch - '0'
            : hex && ch >= 'a' && ch <= 'f' ? ch - 'a' + 10
            : hex && ch >= 'A' && ch <= 'F' ? ch - 'A' + 10
                                            : -1;
    const uint64_t base = hex ? 16 : 10;
    if (d < 0 || n > (max - static_cast<uint64_t>(d)) / base) return std::nullopt;
    n = n * base + static_cast<uint64_t>(d);
  }
  return n;
}

TRegValue ValueFromCommand(const TCommand& c) {
  const std::string type = c.Type ? *c.Type : "REG_SZ";
  const std::string data = c.Data ? *c.Data : "";
  const std::string upper = [&] {
    std::string u = type;
    std::transform(u.begin(), u.end(), u.begin(),
                   [](unsigned char ch) { return static_cast<char>(std::toupper(ch)); });
    return u;
  }();
  if (upper == "REG_SZ") return MakeStringValue(DecodeUtf8(data));
  if (upper == "REG_EXPAND_SZ")
    return MakeStringValue(DecodeUtf8(data), TRegDataType::ExpandString);
  if (upper == "REG_MULTI_SZ") {
    std::vector<std::u16string> strings;
    for (size_t from = 0; !data.empty();) {
      size_t sep = data.find("\\0", from);
      strings.push_back(DecodeUtf8(data.substr(from, sep - from)));
      if (sep == std::string::npos) break;
      from = sep + 2;
    }
    return MakeMultiStringValue(strings);
  }
  if (upper == "REG_DWORD" || upper == "REG_QWORD") {
    const bool dword = upper == "REG_DWORD";
    std::optional<uint64_t> n = ParseNumber(data, dword ? 0xFFFFFFFFull : UINT64_MAX);
    if (!n) {
      throw TCommandError("\"" + data + "\" is no " + upper +
                          " data: give a decimal number or 0x and hexadecimal digits, at most " +
                          (dword ? "4294967295" : "18446744073709551615"));
    }
    return dword ? MakeIntegerValue(static_cast<uint32_t>(*n)) : MakeQwordValue(*n);
  }
  if (upper == "REG_BINARY") {
    TRegValue value{TRegDataType::Binary, {}};
    std::optional<uint64_t> byte;
    if (data.size() % 2 == 0) {
      for (size_t i = 0; i < data.size(); i += 2) {
        if (!(byte = ParseNumber("0x" + data.substr(i, 2), 0xFF))) break;
        value.Data.push_back(static_cast<char>(*byte));
      }
    }
    if (value.Data.size() * 2 != data.size()) {
      throw TCommandError("\"" + data +
                          "\" is no REG_BINARY data: give pairs of hexadecimal digits");
    }
    return value;
  }
  throw TCommandError("unknown type \"" + type +
                      "\"; use REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ, REG_DWORD, REG_QWORD or "
                      "REG_BINARY");
}

void Add(const TCommand& c, std::ostream& out, const fs::path& folder) {
  const TKeyName key = ParseKeyName(c.Positional[0]);
  const bool withValue = c.ValueName || c.DefaultValue;
  if (!withValue && (c.Type || c.Data)) {
    throw TCommandError("/t and /d need /v NAME, or /ve for the default value");
  }
  const std::optional<TRegValue> value =
      withValue ? std::optional<TRegValue>(ValueFromCommand(c)) : std::nullopt;
  TRegistry reg(key.Hive, folder);
  reg.CreateKey(u"\\" + key.Path);
  if (!reg.OpenKey(u"\\" + key.Path, false)) {
    throw TCommandError("the key " + FullName(key.Hive, key.Path) + " was deleted meanwhile");
  }
  if (value) {
    const std::u16string name = c.ValueName ? DecodeUtf8(*c.ValueName) : u"";
    if (!c.Force && reg.ValueExists(name)) {
      throw TCommandError(
          (c.ValueName ? "the value \"" + *c.ValueName + "\"" : std::string("the default value")) +
          " of " + FullName(key.Hive, reg.CurrentPath()) +
          " exists already; give /f to overwrite it");
    }
    reg.WriteValue(name, *value);
  }
  out << Done;
}

void Delete(const TCommand& c, std::ostream& out, const fs::path& folder) {
  const TKeyName key = ParseKeyName(c.Positional[0]);
  TRegistry reg(key.Hive, folder);
  OpenForReading(reg, key);
  const std::string full = FullName(key.Hive, reg.CurrentPath());
  if (c.ValueName || c.DefaultValue) {
    const std::u16string name = c.ValueName ? DecodeUtf8(*c.ValueName) : u"";
    const std::string label =
        c.ValueName ? "the value \"" + *c.ValueName + "\"" : std::string("the default value");
    if (!reg.ValueExists(name))
      throw TCommandError("the key " + full + " has no " + label.substr(4));
    if (!c.Force) throw TCommandError("deleting " + label + " of " + full + " needs /f");
    reg.CloseKey();
    if (!reg.OpenKey(u"\\" + key.Path, false) || !reg.DeleteValue(name)) {
      throw TCommandError(label + " of " + full +
                          " is not kept in the store and cannot be deleted");
    }
  } else {
    if (key.Path.empty()) throw TCommandError("the root key " + full + " cannot be deleted");
    if (!c.Force)
      throw TCommandError("deleting the key " + full + " and everything below it needs /f");
    reg.CloseKey();
    if (!reg.DeleteKey(u"\\" + key.Path)) {
      throw TCommandError("the key " + full + " is not kept in the store and cannot be deleted");
    }
  }
  out << Done;
}

void Export(const TCommand& c, std::ostream& out, const fs::path& folder) {
  const TKeyName key = ParseKeyName(c.Positional[0]);
  const fs::path file = c.Positional[1];
  std::error_code ec;
  if (!c.OverwriteFile && fs::exists(fs::symlink_status(file, ec))) {
    throw TCommandError("the file \"" + file.string() + "\" exists; give /y to overwrite it");
  }
  if (!ExportRegFile(key.Hive, key.Path, file, folder)) {
    throw TCommandError("there is no key " + FullName(key.Hive, key.Path));
  }
  out << Done;
}

}  // namespace

int RunRegCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                  const fs::path& folder) {
  if (args.empty()) {
    err << Usage;
    return 1;
  }
  const std::string first = SwitchOf(args.front());
  if (first == "?" || first == "help" || first == "-help") {
    out << Usage;
    return 0;
  }
  try {
    const TCommand c = ParseCommand(args);
    if (c.Verb == "query") Query(c, out, folder);
    if (c.Verb == "add") Add(c, out, folder);
    if (c.Verb == "delete") Delete(c, out, folder);
    if (c.Verb == "import") {
      ImportRegFile(c.Positional[0], folder);
      out << Done;
    }
    if (c.Verb == "export") Export(c, out, folder);
    return 0;
  } catch (const TCommandError& e) {
    std::string message = e.what();
    message[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(message[0])));
    err << "ERROR: " << message << ".\n";
  } catch (const TRegistryError& e) {
    err << "ERROR: " << e.what() << "\n";
  }
  return 1;
}

}  // namespace skribo
