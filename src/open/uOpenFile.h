// The one door through which a log file reaches the viewer.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "host/PathNames.h"

namespace skribo {

// What opening a log needs from the main window.
class TOpenLogHost {
 public:
  virtual ~TOpenLogHost() = default;
  // A modal error box captioned with the application title.
  virtual void ShowError(const std::u16string& text) = 0;
  virtual void SetStatusText(const std::u16string& text) = 0;
  // Shows a plain log; leaves the load time in lastLoadTime, or -1 when nothing was shown.
  virtual void ProcessLog(const std::u16string& path) = 0;
  // Obtains the plain text of an encrypted log and shows it, or reports why not.
  virtual void OpenEncryptedLog(const std::u16string& path) = 0;
};

// The extension of a path, dot included and lower-cased: the text from its last "." when no "/"
// follows that dot; empty otherwise.
std::u16string ExtractFileExt(std::u16string_view path);

// Checks the file, tells an encrypted log from a plain one by the extension ".ple", announces
// the load and, once it is over, shows its time or clears the status text. lastLoadTime is the
// load state's own field, which the host's ProcessLog sets.
void OpenLog(const std::u16string& path, int32_t& lastLoadTime, TOpenLogHost& host);

// Deletes every file "*.tmp" (any case) directly in folder, which ends with "/": the plain
// copies of encrypted logs. Nothing is reported; what cannot be deleted stays.
void CleanTempFiles(const std::u16string& folder);

}  // namespace skribo
