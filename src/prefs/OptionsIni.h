// The options in section "preferences" of the program's INI file.
#pragma once

#include <string_view>

#include "platform/IniFile.h"
#include "prefs/uPreferences.h"

namespace skribo {

inline constexpr std::u16string_view PreferencesSection = u"preferences";

// Fills every field kept in the INI file, each from its default when its key is absent or does not
// parse. Password and the four association flags are not kept there and stay as they are; so does
// OpenGoTo for a stored value other than 0 and 1.
void ReadOptionsFromIni(const TIniFile& ini, TRecOptions& options);

// Writes every key of the section in its fixed order, Password always empty. Keys that already
// exist keep their place; other sections and keys stay as they are.
void WriteOptionsToIni(TIniFile& ini, const TRecOptions& options);

}  // namespace skribo
