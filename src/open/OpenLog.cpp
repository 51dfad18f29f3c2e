#include <string>

#include "common/CaseFold.h"
#include "common/Misc.h"
#include "common/TextCodec.h"
#include "common/u_ResourceString.h"
#include "host/PathNames.h"
#include "log/uLogProcess.h"
#include "open/uOpenFile.h"

namespace skribo {

namespace {

std::u16string WithFileName(std::u16string_view format, std::u16string_view path) {
  return ReplaceText(format, u"%s", ExtractFileName(path), 0);
}

}  // namespace

std::u16string ExtractFileExt(std::u16string_view path) {
  size_t last = path.find_last_of(u"./");
  if (last == std::u16string_view::npos || path[last] != u'.') return {};
  return SimpleFoldText(path.substr(last));
}

void OpenLog(const std::u16string& path, int32_t& lastLoadTime, TOpenLogHost& host) {
  lastLoadTime = -1;
  if (!FileExists(path)) {
    host.ShowError(std::u16string(SFileDoesNotExist));
    return;
  }
  if (ExtractFileExt(path) != u".ple") {
    host.SetStatusText(WithFileName(SLoadingLog, path));
    host.ProcessLog(path);
  } else {
    host.SetStatusText(WithFileName(SLoadingEncryptedLog, path));
    host.OpenEncryptedLog(path);
  }
  if (lastLoadTime > -1)
    host.SetStatusText(
        ReplaceText(SLogLoaded, u"%d", Utf8ToUtf16(std::to_string(lastLoadTime)), 0));
  else
    host.SetStatusText({});
}

}  // namespace skribo
