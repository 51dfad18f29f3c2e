#include "prefs/AlwaysOnTopToggle.h"

#include <chrono>
#include <utility>

#include "prefs/ApplyPreferences.h"
#include "prefs/OptionsPersistence.h"

namespace skribo {

uint32_t SteadyTickCount() {
  using namespace std::chrono;
  return static_cast<uint32_t>(
      duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

TAlwaysOnTopToggle::TAlwaysOnTopToggle(TTickSource tickCount) : TickCount(std::move(tickCount)) {}

bool TAlwaysOnTopToggle::Toggle(TRecOptions& options, const TProgramPaths& paths,
                                TPreferencesUi& ui) {
  // Unsigned arithmetic keeps the difference right across the counter's wrap-around.
  if (static_cast<uint32_t>(TickCount() - LastTopToggleTick) < DebounceMs) return false;
  options.AlwaysOnTop = !options.AlwaysOnTop;
  ApplyPreferences(options, paths, ui);
  SaveOptions(paths.IniFileName, options, ui);
  LastTopToggleTick = TickCount();
  return true;
}

}  // namespace skribo
