// Loading and saving the options: the INI file and the program's registry key.
#pragma once

#include <exception>
#include <string>
#include <string_view>

#include "prefs/PreferencesUi.h"
#include "prefs/ProgramPaths.h"
#include "prefs/uPreferences.h"

namespace skribo {

// Under HKEY_LOCAL_MACHINE: the running executable's path and the four association flags, for
// the shell extension.
inline constexpr std::u16string_view ProgramKey = u"SOFTWARE\\Quenby Software\\Velmora Skribo";

// Fills options from paths.IniFileName and the program's key, writes the executable's path into
// the key (creating it), then applies the options. A file that exists but cannot be read leaves
// the defaults and is reported through ui; a key that cannot be opened leaves the flags false.
void LoadOptions(const TProgramPaths& paths, TRecOptions& options, TPreferencesUi& ui);

// Writes the association flags into the program's key and every option into the INI file,
// keeping the file's other sections and keys. Never throws: a failure is shown through errors,
// and what was written before it stays written.
void SaveOptions(const std::u16string& iniFileName, const TRecOptions& options, TErrorBox& errors);

// "There was an error while saving the preferences." with the system's text for the error's
// number, the number, the error's message and its kind.
std::u16string SaveErrorText(const std::exception& error);

}  // namespace skribo
