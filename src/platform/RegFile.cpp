#include "platform/RegFile.h"

#include <algorithm>
#include <cstdint>

#include "common/TextCodec.h"

namespace skribo {

namespace {

namespace fs = std::filesystem;

constexpr std::u16string_view Version5Header = u"Windows Registry Editor Version 5.00";
constexpr std::u16string_view Version4Header = u"REGEDIT4";

struct TLine {
  std::u16string_view Text;
  int Number;
};

// Only CR and LF end a line here: a U+2028 inside a quoted value is part of the value.
std::vector<TLine> SplitRegLines(std::u16string_view text) {
  std::vector<TLine> lines;
  int number = 1;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'\r' && text[i] != u'\n') continue;
    lines.push_back({text.substr(start, i - start), number++});
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back({text.substr(start), number});
  return lines;
}

bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\t';
}

std::u16string_view Trim(std::u16string_view s) {
  while (!s.empty() && IsBlank(s.front()))
    s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back()))
    s.remove_suffix(1);
  return s;
}

bool StartsWithIgnoringCase(std::u16string_view s, std::u16string_view prefix) {
  if (s.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    char16_t c = s[i];
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    if (c != prefix[i]) return false;
  }
  return true;
}

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// 1 to maxDigits hexadecimal digits.
std::optional<uint32_t> ParseHex(std::u16string_view s, size_t maxDigits) {
  if (s.empty() || s.size() > maxDigits) return std::nullopt;
  uint32_t value = 0;
  for (char16_t c : s) {
    int d = HexDigit(c);
    if (d < 0) return std::nullopt;
    value = value << 4 | static_cast<uint32_t>(d);
  }
  return value;
}

std::string Utf8(std::u16string_view s) {
  return EncodeUtf8(s);
}

// Shortens what a message quotes from a line.
std::string Excerpt(std::u16string_view s) {
  constexpr size_t Limit = 60;
  if (s.size() <= Limit) return Utf8(s);
  return Utf8(s.substr(0, Limit)) + "...";
}

std::string ValueLabel(std::u16string_view name) {
  return name.empty() ? "the default value" : "the value \"" + Utf8(name) + "\"";
}

class TParser {
 public:
  TParser(std::u16string_view text, const fs::path& fileName, TRegSource source,
          std::optional<THive> onlyRoot)
      : Lines(SplitRegLines(text)), FileName(fileName), Source(source), OnlyRoot(onlyRoot) {}

  std::vector<TRegOp> Run() {
    size_t i = 0;
    while (i < Lines.size() && Trim(Lines[i].Text).empty())
      ++i;
    if (i == Lines.size()) {
      if (Source == TRegSource::Hive) return {};
      Fail(Lines.empty() ? 1 : Lines.back().Number, "the file is empty");
    }
    std::u16string_view header = Trim(Lines[i].Text);
    if (header == Version4Header) {
      Regedit4 = true;
    } else if (header != Version5Header) {
      Fail(Lines[i].Number,
           "the first line must be \"Windows Registry Editor Version 5.00\" or \"REGEDIT4\", not "
           "\"" +
               Excerpt(header) + "\"");
    }
    for (++i; i < Lines.size(); ++i) {
      std::u16string_view line = Trim(Lines[i].Text);
      if (line.empty() || line.front() == u';') continue;
      if (line.front() == u'[') {
        ParseKeyLine(line, Lines[i].Number);
      } else if (line.front() == u'"' || line.front() == u'@') {
        ParseValueLine(i);
      } else {
        Fail(Lines[i].Number, "\"" + Excerpt(line) + "\" is neither a key in brackets nor a value");
      }
    }
    return std::move(Ops);
  }

 private:
  [[noreturn]] void Fail(int line, const std::string& detail) const {
    std::string where = "\"" + FileName.string() + "\"";
    std::string message =
        Source == TRegSource::Hive
            ? "The registry file " + where + " is damaged at line " + std::to_string(line) + ": " +
                  detail + ". It is left as it is until it is repaired or removed."
            : "The file " + where + " cannot be imported: line " + std::to_string(line) + ": " +
                  detail + ". Nothing was imported.";
    throw TRegistryFormatError(message, FileName, line);
  }

  void ParseKeyLine(std::u16string_view line, int number) {
    if (line.size() < 2 || line.back() != u']') Fail(number, "a key line must end with \"]\"");
    std::u16string_view inner = line.substr(1, line.size() - 2);
    bool deletion = !inner.empty() && inner.front() == u'-';
    if (deletion) inner.remove_prefix(1);
    size_t slash = inner.find(u'\\');
    std::u16string_view rootName = inner.substr(0, slash);
    std::optional<THive> root = ParseRootKeyName(rootName);
    if (!root) {
      Fail(number, "\"" + Excerpt(rootName) +
                       "\" is not one of HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE and "
                       "HKEY_CLASSES_ROOT");
    }
    if (OnlyRoot && *root != *OnlyRoot) {
      Fail(number, "the key \"" + Excerpt(inner) + "\" belongs in " + Utf8(RootKeyName(*root)) +
                       ", not in this hive");
    }
    std::u16string_view rest =
        slash == std::u16string_view::npos ? std::u16string_view() : inner.substr(slash);
    std::optional<std::vector<std::u16string>> names = SplitKeyPath(rest);
    if (!names || !std::all_of(names->begin(), names->end(), IsStorableName)) {
      Fail(number, "the key \"" + Excerpt(inner) + "\" has an empty name or a name with a NUL");
    }
    if (names->size() > MaxKeyDepth) {
      Fail(number, "the key is nested more than " + std::to_string(MaxKeyDepth) + " levels deep");
    }
    if (deletion && names->empty()) Fail(number, "a whole root key cannot be deleted");
    CurrentKey = std::make_shared<TRegKeyRef>(TRegKeyRef{*root, std::move(*names)});
    CurrentKeyDeleted = deletion;
    Ops.push_back({deletion ? TRegOpKind::DeleteKey : TRegOpKind::CreateKey, CurrentKey, {}, {}});
  }

  // Reads a quoted text starting at s[0] == '"'; returns the length taken, closing quote
  // included, or 0 when the quote is not closed. Only \\ and \" are escapes.
  static size_t ReadQuoted(std::u16string_view s, std::u16string& out) {
    for (size_t i = 1; i < s.size(); ++i) {
      char16_t c = s[i];
      if (c == u'\\' && i + 1 < s.size() && (s[i + 1] == u'\\' || s[i + 1] == u'"')) {
        out.push_back(s[++i]);
      } else if (c == u'"') {
        return i + 1;
      } else {
        out.push_back(c);
      }
    }
    return 0;
  }

  void ParseValueLine(size_t& index) {
    const int number = Lines[index].Number;
    std::u16string_view line = Trim(Lines[index].Text);
    if (!CurrentKey) Fail(number, "a value comes before the first key");
    std::u16string name;
    size_t taken = 1;
    if (line.front() == u'"') {
      taken = ReadQuoted(line, name);
      if (taken == 0) Fail(number, "the value name has no closing quote");
    }
    std::u16string_view rest = Trim(line.substr(taken));
    if (rest.empty() || rest.front() != u'=') Fail(number, ValueLabel(name) + " has no \"=\"");
    rest = Trim(rest.substr(1));
    if (CurrentKeyDeleted) Fail(number, ValueLabel(name) + " is given under a deleted key");
    if (!IsStorableName(name)) Fail(number, "a value name cannot hold a NUL");

    TRegOp op{TRegOpKind::SetValue, CurrentKey, name, {}};
    if (rest == u"-") {
      op.Kind = TRegOpKind::DeleteValue;
    } else if (!rest.empty() && rest.front() == u'"') {
      std::u16string text;
      size_t used = ReadQuoted(rest, text);
      if (used == 0) Fail(number, "the text of " + ValueLabel(name) + " has no closing quote");
      if (!Trim(rest.substr(used)).empty()) {
        Fail(number,
             "\"" + Excerpt(rest.substr(used)) + "\" follows the text of " + ValueLabel(name));
      }
      op.Value = MakeStringValue(text);
    } else if (StartsWithIgnoringCase(rest, u"dword:")) {
      std::optional<uint32_t> n = ParseHex(Trim(rest.substr(6)), 8);
      if (!n) {
        Fail(number, "the data of " + ValueLabel(name) +
                         " must be dword: and 1 to 8 hexadecimal digits, not \"" + Excerpt(rest) +
                         "\"");
      }
      op.Value = MakeIntegerValue(*n);
    } else if (StartsWithIgnoringCase(rest, u"hex")) {
      op.Value = ParseHexData(rest.substr(3), name, index);
    } else {
      Fail(number, "the data of " + ValueLabel(name) +
                       " is neither text in quotes, dword:, hex:, hex(n): nor -");
    }
    Ops.push_back(std::move(op));
  }

  // After "hex": either ":" or "(n):", then comma-separated bytes, continued over lines that
  // end in "\".
  TRegValue ParseHexData(std::u16string_view rest, const std::u16string& name, size_t& index) {
    const int number = Lines[index].Number;
    TRegValue value{TRegDataType::Binary, {}};
    if (!rest.empty() && rest.front() == u'(') {
      size_t close = rest.find(u')');
      std::optional<uint32_t> type = close == std::u16string_view::npos
                                         ? std::nullopt
                                         : ParseHex(rest.substr(1, close - 1), 8);
      if (!type)
        Fail(number, "the type of " + ValueLabel(name) + " must be hex(n) with n in hexadecimal");
      value.Type = static_cast<TRegDataType>(*type);
      rest.remove_prefix(close + 1);
    }
    if (rest.empty() || rest.front() != u':')
      Fail(number, ValueLabel(name) + " lacks \":\" after hex");
    rest.remove_prefix(1);

    int byteLine = number;
    for (;;) {
      std::u16string_view part = Trim(rest);
      bool continued = !part.empty() && part.back() == u'\\';
      if (continued) part.remove_suffix(1);
      while (!part.empty()) {
        size_t comma = part.find(u',');
        std::u16string_view token = Trim(part.substr(0, comma));
        bool last = comma == std::u16string_view::npos;
        if (token.empty()) {
          // A comma before the line break or at the very end is tolerated; two in a row are not.
          if (!last && !Trim(part.substr(comma + 1)).empty()) {
            Fail(byteLine, "the data of " + ValueLabel(name) + " has an empty byte");
          }
        } else {
          std::optional<uint32_t> byte = ParseHex(token, 2);
          if (!byte) {
            Fail(byteLine, "\"" + Excerpt(token) + "\" in the data of " + ValueLabel(name) +
                               " is not a hexadecimal byte");
          }
          value.Data.push_back(static_cast<char>(*byte));
        }
        if (last) break;
        part.remove_prefix(comma + 1);
      }
      if (!continued || index + 1 >= Lines.size()) break;
      ++index;
      rest = Lines[index].Text;
      byteLine = Lines[index].Number;
    }
    if (Regedit4) WidenAnsiText(value);
    return value;
  }

  // REGEDIT4 files hold the bytes of text values in the ANSI code page.
  static void WidenAnsiText(TRegValue& value) {
    if (value.Type != TRegDataType::String && value.Type != TRegDataType::ExpandString &&
        value.Type != TRegDataType::MultiString) {
      return;
    }
    std::string wide;
    wide.reserve(value.Data.size() * 2);
    for (char b : value.Data) {
      char16_t c = FromWindows1252(static_cast<uint8_t>(b));
      wide.push_back(static_cast<char>(c & 0xFF));
      wide.push_back(static_cast<char>(c >> 8));
    }
    value.Data = std::move(wide);
  }

  std::vector<TLine> Lines;
  const fs::path& FileName;
  TRegSource Source;
  std::optional<THive> OnlyRoot;
  bool Regedit4 = false;
  std::shared_ptr<const TRegKeyRef> CurrentKey;
  bool CurrentKeyDeleted = false;
  std::vector<TRegOp> Ops;
};

void AppendEscaped(std::u16string& out, std::u16string_view s) {
  for (char16_t c : s) {
    if (c == u'\\' || c == u'"') out.push_back(u'\\');
    out.push_back(c);
  }
}

// The text of a REG_SZ that the quoted form holds exactly: whole UTF-16 units, one NUL at the
// end, and no NUL or line break before it.
std::optional<std::u16string> PlainText(const TRegValue& value) {
  const std::string& d = value.Data;
  if (d.size() < 2 || d.size() % 2 != 0) return std::nullopt;
  std::u16string text;
  text.reserve(d.size() / 2);
  for (size_t i = 0; i + 1 < d.size(); i += 2) {
    text.push_back(
        static_cast<char16_t>(static_cast<uint8_t>(d[i]) | static_cast<uint8_t>(d[i + 1]) << 8));
  }
  if (text.back() != u'\0') return std::nullopt;
  text.pop_back();
  if (!IsStorableName(text)) return std::nullopt;
  return text;
}

void AppendHex(std::u16string& out, uint32_t value, int minDigits) {
  static constexpr char16_t Digits[] = u"0123456789abcdef";
  std::u16string digits;
  do {
    digits.insert(digits.begin(), Digits[value & 0xF]);
    value >>= 4;
  } while (value != 0);
  while (digits.size() < static_cast<size_t>(minDigits))
    digits.insert(digits.begin(), u'0');
  out += digits;
}

// "xx," per byte, lines broken with "\" before they pass 80 characters, as regedit does.
void AppendHexBytes(std::u16string& out, size_t lineStart, std::string_view bytes) {
  constexpr size_t Width = 80;
  size_t onLine = 0;
  for (size_t i = 0; i < bytes.size(); ++i) {
    bool last = i + 1 == bytes.size();
    size_t pieceLength = last ? 2 : 3;
    if (onLine > 0 && out.size() - lineStart + pieceLength + (last ? 0 : 1) > Width) {
      out += u"\\\r\n  ";
      lineStart = out.size() - 2;
      onLine = 0;
    }
    AppendHex(out, static_cast<uint8_t>(bytes[i]), 2);
    if (!last) out.push_back(u',');
    ++onLine;
  }
}

void AppendValue(std::u16string& out, const TRegValueEntry& entry) {
  const size_t lineStart = out.size();
  if (entry.Name.empty()) {
    out += u"@=";
  } else {
    out.push_back(u'"');
    AppendEscaped(out, entry.Name);
    out += u"\"=";
  }
  const TRegValue& value = entry.Value;
  std::optional<std::u16string> text;
  if (value.Type == TRegDataType::String && (text = PlainText(value))) {
    out.push_back(u'"');
    AppendEscaped(out, *text);
    out.push_back(u'"');
  } else if (value.Type == TRegDataType::Integer && value.Data.size() == 4) {
    uint32_t n = 0;
    for (int i = 3; i >= 0; --i)
      n = n << 8 | static_cast<uint8_t>(value.Data[static_cast<size_t>(i)]);
    out += u"dword:";
    AppendHex(out, n, 8);
  } else {
    if (value.Type == TRegDataType::Binary) {
      out += u"hex:";
    } else {
      out += u"hex(";
      AppendHex(out, static_cast<uint32_t>(value.Type), 1);
      out += u"):";
    }
    AppendHexBytes(out, lineStart, value.Data);
  }
  out += u"\r\n";
}

void AppendKey(std::u16string& out, std::u16string& fullName, const TRegKeyNode& node,
               bool isHiveRoot) {
  if (!isHiveRoot || !node.Values.empty()) {
    out += u"[" + fullName + u"]\r\n";
    for (const TRegValueEntry& entry : node.Values)
      AppendValue(out, entry);
    out += u"\r\n";
  }
  for (const auto& child : node.Children) {
    const size_t length = fullName.size();
    fullName += u'\\';
    fullName += child->Name;
    AppendKey(out, fullName, *child, false);
    fullName.resize(length);
  }
}

}  // namespace

std::u16string DecodeRegFileBytes(std::string_view bytes) {
  if (DetectEncoding(bytes) != TTextEncoding::Ansi) return DecodeText(bytes);
  if (bytes.size() >= 2 && bytes[0] != '\0' && bytes[1] == '\0') return DecodeUtf16(bytes, false);
  std::u16string text = DecodeUtf8(bytes);
  if (EncodeUtf8(text) == bytes) return text;
  return DecodeWindows1252(bytes);
}

std::vector<TRegOp> ParseRegText(std::u16string_view text, const fs::path& fileName,
                                 TRegSource source, std::optional<THive> onlyRoot) {
  return TParser(text, fileName, source, onlyRoot).Run();
}

bool ApplyRegOps(TRegKeyNode& root, THive hive, const std::vector<TRegOp>& ops) {
  bool changed = false;
  const TRegKeyRef* cachedRef = nullptr;
  TRegKeyNode* cachedNode = nullptr;
  auto walk = [&](const TRegKeyRef& ref) -> TRegKeyNode& {
    if (&ref == cachedRef) return *cachedNode;
    TRegKeyNode* node = &root;
    for (const std::u16string& name : ref.Names) {
      size_t before = node->Children.size();
      node = &node->ChildOrCreate(name, FoldRegName(name));
      if (before != node->Children.size()) changed = true;
    }
    cachedRef = &ref;
    cachedNode = node;
    return *node;
  };
  for (const TRegOp& op : ops) {
    if (op.Key->Hive != hive) continue;
    switch (op.Kind) {
      case TRegOpKind::CreateKey:
        walk(*op.Key);
        break;
      case TRegOpKind::DeleteKey: {
        std::vector<std::u16string> parentPath(op.Key->Names.begin(), op.Key->Names.end() - 1);
        if (TRegKeyNode* parent = FindKey(root, parentPath)) {
          changed |= parent->RemoveChild(FoldRegName(op.Key->Names.back()));
        }
        cachedRef = nullptr;
        break;
      }
      case TRegOpKind::SetValue:
        changed |= walk(*op.Key).SetValue(op.Name, op.Value);
        break;
      case TRegOpKind::DeleteValue:
        changed |= walk(*op.Key).RemoveValue(FoldRegName(op.Name));
        break;
    }
  }
  return changed;
}

std::u16string FormatRegText(THive hive, const std::vector<std::u16string>& path,
                             const TRegKeyNode& node) {
  std::u16string out(Version5Header);
  out += u"\r\n\r\n";
  std::u16string fullName(RootKeyName(hive));
  for (const std::u16string& name : path) {
    fullName += u'\\';
    fullName += name;
  }
  AppendKey(out, fullName, node, path.empty());
  return out;
}

}  // namespace skribo
