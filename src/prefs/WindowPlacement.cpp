#include "prefs/WindowPlacement.h"

#include <exception>
#include <filesystem>
#include <optional>
#include <vector>

#include "common/Misc.h"
#include "common/TextCodec.h"
#include "platform/IniFile.h"
#include "prefs/OptionValues.h"

namespace skribo {

namespace {

std::u16string PositionKey(const TFormGeometry& form) {
  const TSize screen = form.PrimaryScreenSize();
  return u"WinPos" + FormatInteger(screen.Width) + u"x" + FormatInteger(screen.Height);
}

std::u16string JoinNumbers(std::initializer_list<int> numbers) {
  std::u16string out;
  for (int n : numbers) {
    if (!out.empty()) out += u';';
    out += FormatInteger(n);
  }
  return out;
}

// Exactly count integers separated by ";"; anything else is not a position this program wrote.
std::optional<std::vector<int>> SplitNumbers(std::u16string_view value, size_t count) {
  std::vector<int> numbers;
  for (const std::u16string& piece : SplitByText(value, u";")) {
    std::optional<int32_t> n = ParseInteger(TrimBlanks(piece));
    if (!n) return std::nullopt;
    numbers.push_back(*n);
  }
  if (numbers.size() != count) return std::nullopt;
  return numbers;
}

std::filesystem::path ToPath(const std::u16string& fileName) {
  return std::filesystem::path(EncodeUtf8(fileName));
}

}  // namespace

void SaveWindowPlacement(const TFormGeometry* form, const std::u16string& iniPath,
                         const std::u16string& section, unsigned aspects) {
  if (!form || iniPath.empty() || section.empty() || aspects == 0) return;
  try {
    TIniFile ini(ToPath(iniPath));
    if (aspects & paState) WriteBool(ini, section, u"WinState", form->IsMaximized());
    if (aspects & paPosition) {
      const std::u16string key = PositionKey(*form);
      const TRect r = form->NormalRect();
      const TPoint p = form->MaximizedPosition();
      ini.WriteString(section, key, JoinNumbers({r.Left, r.Top, r.Right, r.Bottom}));
      ini.WriteString(section, key + u"Max", JoinNumbers({p.X, p.Y}));
    }
    if (aspects & paActiveControl)
      ini.WriteString(section, u"ActiveControl", form->ActiveControlName());
    ini.UpdateFile();
  } catch (const std::exception&) {
    // Closing goes on; the placement is simply not kept.
  }
}

void RestoreWindowPlacement(TFormGeometry* form, const std::u16string& iniPath,
                            const std::u16string& section, unsigned aspects) {
  if (!form || iniPath.empty() || section.empty() || aspects == 0) return;
  TIniFile ini;
  try {
    ini = TIniFile(ToPath(iniPath));
  } catch (const std::exception&) {
    return;  // a file that cannot be read holds no placement
  }
  if (aspects & paPosition) {
    const std::u16string key = PositionKey(*form);
    if (auto r = SplitNumbers(ini.ReadString(section, key, u""), 4))
      form->SetNormalRect({(*r)[0], (*r)[1], (*r)[2], (*r)[3]});
    if (auto p = SplitNumbers(ini.ReadString(section, key + u"Max", u""), 2))
      form->SetMaximizedPosition({(*p)[0], (*p)[1]});
  }
  if (aspects & paState) form->SetMaximized(ReadBool(ini, section, u"WinState", false));
  if (aspects & paActiveControl) {
    const std::u16string name = ini.ReadString(section, u"ActiveControl", u"");
    if (!name.empty()) form->SetActiveControl(name);
  }
}

}  // namespace skribo
