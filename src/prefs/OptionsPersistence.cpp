#include "prefs/OptionsPersistence.h"

#include <cstring>
#include <filesystem>
#include <stdexcept>

#include "common/TextCodec.h"
#include "host/HostKeys.h"
#include "platform/IniFile.h"
#include "platform/Registry.h"
#include "prefs/ApplyPreferences.h"
#include "prefs/OptionValues.h"
#include "prefs/OptionsIni.h"

namespace skribo {

namespace {

constexpr std::u16string_view AssociateTXT = u"AssociateTXT";
constexpr std::u16string_view AssociateTXTAsDefault = u"AssociateTXTAsDefault";
constexpr std::u16string_view AssociatePLE = u"AssociatePLE";
constexpr std::u16string_view AssociatePLEAsDefault = u"AssociatePLEAsDefault";

std::filesystem::path ToPath(const std::u16string& fileName) {
  return std::filesystem::path(EncodeUtf8(fileName));
}

// A flag is set by a non-zero DWORD; a missing value or one of another type leaves it false.
bool ReadFlag(const TRegistry& reg, std::u16string_view name) {
  try {
    return reg.GetDataType(name) == TRegDataType::Integer && reg.ReadInteger(name) != 0;
  } catch (const TRegistryError&) {
    return false;
  }
}

// Publishes the executable's path and reads the flags. A key that cannot be opened or written
// leaves the flags false without a word: without the right to write there, nothing is lost.
void LoadProgramKey(const TProgramPaths& paths, TRecOptions& options) {
  options.AssociateTXT = options.AssociateTXTAsDefault = false;
  options.AssociatePLE = options.AssociatePLEAsDefault = false;
  try {
    TRegistry reg(THive::LocalMachine);
    if (!reg.OpenKey(ProgramKey, true)) return;
    TKeyCloser closer(reg);
    try {
      reg.WriteString(u"Path", paths.ExeFileName);
    } catch (const TRegistryError&) {
    }
    options.AssociateTXT = ReadFlag(reg, AssociateTXT);
    options.AssociateTXTAsDefault = ReadFlag(reg, AssociateTXTAsDefault);
    options.AssociatePLE = ReadFlag(reg, AssociatePLE);
    options.AssociatePLEAsDefault = ReadFlag(reg, AssociatePLEAsDefault);
  } catch (const TRegistryError&) {
  }
}

template <class TError>
std::u16string ErrorText(const TError& e) {
  const int code = e.ErrorCode();
  return DecodeUtf8(std::strerror(code)) + u" (" + FormatInteger(code) + u")\r\n" +
         DecodeUtf8(e.what()) + u" (" + DecodeUtf8(e.KindName()) + u")";
}

}  // namespace

std::u16string SaveErrorText(const std::exception& error) {
  std::u16string details;
  if (auto* ini = dynamic_cast<const TIniFileError*>(&error))
    details = ErrorText(*ini);
  else if (auto* reg = dynamic_cast<const TRegistryError*>(&error))
    details = ErrorText(*reg);
  else
    details = DecodeUtf8(std::strerror(0)) + u" (0)\r\n" + DecodeUtf8(error.what()) + u" (" +
              (dynamic_cast<const std::invalid_argument*>(&error) ? u"std::invalid_argument"
                                                                  : u"std::exception") +
              u")";
  return u"There was an error while saving the preferences.\r\n" + details;
}

void LoadOptions(const TProgramPaths& paths, TRecOptions& options, TPreferencesUi& ui) {
  TIniFile ini;
  try {
    ini = TIniFile(ToPath(paths.IniFileName));
  } catch (const TIniFileError& e) {
    ui.ShowError(u"The preferences could not be read, so the defaults are used.\r\n" +
                 DecodeUtf8(e.what()));
  }
  ReadOptionsFromIni(ini, options);
  LoadProgramKey(paths, options);
  ApplyPreferences(options, paths, ui);
}

void SaveOptions(const std::u16string& iniFileName, const TRecOptions& options, TErrorBox& errors) {
  try {
    TRegistry reg(THive::LocalMachine);
    if (reg.OpenKey(ProgramKey, true)) {
      TKeyCloser closer(reg);
      reg.WriteInteger(AssociateTXT, options.AssociateTXT ? 1 : 0);
      reg.WriteInteger(AssociateTXTAsDefault, options.AssociateTXTAsDefault ? 1 : 0);
      reg.WriteInteger(AssociatePLE, options.AssociatePLE ? 1 : 0);
      reg.WriteInteger(AssociatePLEAsDefault, options.AssociatePLEAsDefault ? 1 : 0);
    }
    TIniFile ini(ToPath(iniFileName));
    WriteOptionsToIni(ini, options);
    ini.UpdateFile();
  } catch (const std::exception& e) {
    errors.ShowError(SaveErrorText(e));
  }
}

}  // namespace skribo
