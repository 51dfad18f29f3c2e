// The running program's own files: the executable, the options file, the shell extension.
#pragma once

#include <string>

namespace skribo {

struct TProgramPaths {
  std::u16string ExeFileName;  // full path of the executable
  std::u16string IniFileName;  // the options and window-placement file

  // The INI file is the executable's path with its extension replaced by ".ini" (added when the
  // file name has none).
  static TProgramPaths ForExecutable(const std::u16string& exeFileName);
  // The executable this process runs, from /proc/self/exe.
  static TProgramPaths OfRunningProgram();

  // The executable's folder with a trailing "/".
  std::u16string ExeFolder() const;
  // "SkriboExt.dll" in the executable's folder: when it exists, the shell registration is kept.
  std::u16string ShellExtensionFileName() const;
};

}  // namespace skribo
