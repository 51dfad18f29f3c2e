// Making the options take effect outside the record: always on top, the host add-on's
// truncation check and the shell extension's registration.
#pragma once

#include <string_view>

#include "prefs/PreferencesUi.h"
#include "prefs/ProgramPaths.h"
#include "prefs/uPreferences.h"

namespace skribo {

inline constexpr std::u16string_view ShellExtensionClassId =
    u"{34DA3EA6-FCDD-475E-BE2F-7D5CBD9D18B4}";

// Puts the main window on top or back, runs the truncation check (which may ask and change
// options.DontShowWarning), then, when the shell extension lies beside the executable, removes
// its registration under HKEY_CLASSES_ROOT and registers it again for the file types whose flag
// is set. What could not be done (a registry write refused, a switch of the host add-on left on)
// is shown through ui and the rest goes on.
void ApplyPreferences(TRecOptions& options, const TProgramPaths& paths, TPreferencesUi& ui);

}  // namespace skribo
