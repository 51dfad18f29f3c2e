// Where the host add-on keeps its settings in the registry.
#pragma once

#include <string>
#include <string_view>

#include "platform/Registry.h"

namespace skribo {

// Under the current user: one sub-key per user of the host add-on, and the general settings.
// Under the local machine: the installation.
inline constexpr std::u16string_view HostKey = u"\\Software\\Dravik\\Velmora2";

inline std::u16string HostUserPreferencesKey(std::u16string_view user) {
  return std::u16string(HostKey) + u"\\" + std::u16string(user) + u"\\Preferences";
}

// Closes the registry's open key when the scope ends, whichever way it ends.
class TKeyCloser {
 public:
  explicit TKeyCloser(TRegistry& registry) : Registry(registry) {}
  ~TKeyCloser() { Registry.CloseKey(); }
  TKeyCloser(const TKeyCloser&) = delete;
  TKeyCloser& operator=(const TKeyCloser&) = delete;

 private:
  TRegistry& Registry;
};

}  // namespace skribo
