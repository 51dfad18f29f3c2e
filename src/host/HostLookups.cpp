// The lookups into the host add-on's registry settings and language file.
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <string>

#include "common/TextCodec.h"
#include "host/HostKeys.h"
#include "host/PathNames.h"
#include "host/uMisc.h"
#include "platform/IniFile.h"
#include "platform/Registry.h"

namespace skribo {

namespace {

namespace fs = std::filesystem;

constexpr std::u16string_view ShellFoldersKey =
    u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders\\";
constexpr std::u16string_view LanguageSection = u"Dialog.BasicSkribo";

std::u16string SettingProblem(const std::exception& e) {
  return u"A setting of Velmora in the registry cannot be used: " + DecodeUtf8(e.what());
}

// Runs one lookup; a setting that cannot be used makes it come back empty with the reason.
template <class TLookup>
std::u16string Guarded(std::u16string* problem, TLookup&& lookup) {
  if (problem) problem->clear();
  try {
    return lookup();
  } catch (const std::exception& e) {
    if (problem) *problem = SettingProblem(e);
    return {};
  }
}

std::u16string ReadKeyValue(TRegistry& reg, std::u16string_view key, std::u16string_view name) {
  if (!reg.OpenKeyReadOnly(key)) return {};
  TKeyCloser closer(reg);
  return reg.ReadString(name);
}

std::u16string ReadLanguageValue(const std::u16string& languageFile, std::u16string_view key) {
  if (languageFile.empty()) return {};
  try {
    const TIniFile ini{fs::path(EncodeUtf8(languageFile))};
    return ini.ReadString(LanguageSection, key, u"");
  } catch (const TIniFileError&) {
    return {};  // a language file that cannot be read holds nothing
  }
}

}  // namespace

std::u16string GetHostLogDirectory(std::u16string* problem) {
  std::u16string result = Guarded(problem, [] {
    TRegistry reg(THive::CurrentUser);
    const std::u16string name = ReadKeyValue(reg, HostKey, u"DefaultConfiguration");
    if (name.empty()) return std::u16string();
    std::u16string folder = ReadKeyValue(reg, HostUserPreferencesKey(name), u"LogDirectory");
    return DirectoryExists(folder) ? folder : std::u16string();
  });
  if (!result.empty()) return result;
  std::u16string personalProblem;
  result = GetPersonalFolder(&personalProblem);
  if (problem && problem->empty()) *problem = personalProblem;
  return result;
}

std::u16string GetPersonalFolder(std::u16string* problem) {
  return Guarded(problem, [] {
    TRegistry reg(THive::CurrentUser);
    // An empty value names no folder; "/" would name the root.
    const std::u16string folder = ReadKeyValue(reg, ShellFoldersKey, u"Personal");
    return folder.empty() ? folder : IncludeTrailingPathDelimiter(folder);
  });
}

std::u16string GetHostLanguageFile(std::u16string* problem) {
  return Guarded(problem, [] {
    TRegistry user(THive::CurrentUser);
    const std::u16string fileName = ReadKeyValue(user, HostKey, u"LanguageFile");
    if (fileName.empty()) return std::u16string();
    TRegistry machine(THive::LocalMachine);
    if (!machine.OpenKeyReadOnly(HostKey)) return std::u16string();
    TKeyCloser closer(machine);
    std::u16string path =
        IncludeTrailingPathDelimiter(machine.ReadString(u"LocalizationDir")) + fileName;
    return FileExists(path) ? path : std::u16string();
  });
}

std::u16string GetHostDialogTitle(const std::u16string& languageFile) {
  return ReadLanguageValue(languageFile, u"Title");
}

std::u16string GetHostDecryptSuffix(const std::u16string& languageFile) {
  return ReadLanguageValue(languageFile, u"DecyptFileSuffix");
}

std::u16string GetHostExecutable(std::u16string* problem) {
  return Guarded(problem, [] {
    TRegistry reg(THive::LocalMachine);
    if (!reg.OpenKeyReadOnly(HostKey)) return std::u16string();
    TKeyCloser closer(reg);
    const std::u16string fileName = reg.ReadString(u"FileNameExe");
    const std::u16string folder = reg.ReadString(u"BinDir");
    // The store holds no executable when it holds neither part.
    if (fileName.empty() && folder.empty()) return std::u16string();
    return IncludeTrailingPathDelimiter(folder) + fileName;
  });
}

std::u16string GetTempFolder() {
  const char* tmp = std::getenv("TMPDIR");
  return IncludeTrailingPathDelimiter(tmp && *tmp ? DecodeUtf8(tmp) : u"/tmp");
}

std::u16string GetDecryptedFileName(const std::u16string& logPath, std::u16string* problem) {
  size_t slash = logPath.rfind(u'/');
  std::u16string base = slash == std::u16string::npos ? logPath : logPath.substr(slash + 1);
  size_t dot = base.rfind(u'.');
  if (dot != std::u16string::npos) base.erase(dot);
  const std::u16string suffix = GetHostDecryptSuffix(GetHostLanguageFile(problem));
  return GetTempFolder() + base + u" {" + suffix + u"}.txt";
}

}  // namespace skribo
