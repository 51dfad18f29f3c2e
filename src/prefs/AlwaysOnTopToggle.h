// The main window's always-on-top hotkey: flip the option, apply it, save it, and ignore a press
// that follows the previous toggle too closely.
#pragma once

#include <cstdint>
#include <functional>

#include "prefs/PreferencesUi.h"
#include "prefs/ProgramPaths.h"
#include "prefs/uPreferences.h"

namespace skribo {

// Milliseconds of a steady clock, wrapping at 2^32 like the system's tick counter.
uint32_t SteadyTickCount();

class TAlwaysOnTopToggle {
 public:
  using TTickSource = std::function<uint32_t()>;

  // Presses within this many milliseconds of the end of the previous toggle are ignored.
  static constexpr uint32_t DebounceMs = 250;

  explicit TAlwaysOnTopToggle(TTickSource tickCount = SteadyTickCount);

  // Runs the toggle unless the press came too soon; true when it ran.
  bool Toggle(TRecOptions& options, const TProgramPaths& paths, TPreferencesUi& ui);

  // The tick read after the last toggle had saved the options; 0 at start.
  uint32_t LastTopToggleTick = 0;

 private:
  TTickSource TickCount;
};

}  // namespace skribo
