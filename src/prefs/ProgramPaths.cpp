#include "prefs/ProgramPaths.h"

#include <filesystem>
#include <system_error>

#include "common/TextCodec.h"

namespace skribo {

TProgramPaths TProgramPaths::ForExecutable(const std::u16string& exeFileName) {
  TProgramPaths paths;
  paths.ExeFileName = exeFileName;
  const size_t slash = exeFileName.rfind(u'/');
  const size_t nameStart = slash == std::u16string::npos ? 0 : slash + 1;
  const size_t dot = exeFileName.rfind(u'.');
  paths.IniFileName = dot == std::u16string::npos || dot < nameStart
                          ? exeFileName + u".ini"
                          : exeFileName.substr(0, dot) + u".ini";
  return paths;
}

TProgramPaths TProgramPaths::OfRunningProgram() {
  std::error_code ec;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ForExecutable(ec ? u"skribo" : DecodeUtf8(exe.string()));
}

std::u16string TProgramPaths::ExeFolder() const {
  const size_t slash = ExeFileName.rfind(u'/');
  return slash == std::u16string::npos ? u"./" : ExeFileName.substr(0, slash + 1);
}

std::u16string TProgramPaths::ShellExtensionFileName() const {
  return ExeFolder() + u"SkriboExt.dll";
}

}  // namespace skribo
