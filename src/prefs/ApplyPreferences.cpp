#include "prefs/ApplyPreferences.h"

#include <string>

#include "common/TextCodec.h"
#include "host/HostKeys.h"
#include "host/PathNames.h"
#include "host/uMisc.h"
#include "platform/Registry.h"

namespace skribo {

namespace {

// Paths under HKEY_CLASSES_ROOT; the leading "\" keeps them off whatever key is open.
std::u16string ClassKey() {
  return u"\\CLSID\\" + std::u16string(ShellExtensionClassId);
}

std::u16string ShellExKey(const std::u16string& progId) {
  return u"\\" + progId + u"\\ShellEx";
}

std::u16string HandlersKey(const std::u16string& progId) {
  return ShellExKey(progId) + u"\\ContextMenuHandlers";
}

// The ProgID the extension's key names as its default value; empty when the key or the value
// is missing.
std::u16string ReadProgId(TRegistry& reg, std::u16string_view extension) {
  if (!reg.OpenKey(u"\\" + std::u16string(extension), false)) return {};
  TKeyCloser closer(reg);
  return reg.ReadString(u"");
}

// Only subkeys keep a key alive; its values do not.
bool DeleteIfEmpty(TRegistry& reg, const std::u16string& path) {
  if (!reg.OpenKey(path, false)) return false;
  bool empty;
  {
    TKeyCloser closer(reg);
    empty = !reg.HasSubKeys();
  }
  return empty && reg.DeleteKey(path);
}

// Removes the handler key of one file type, and the keys above it that it leaves empty; other
// programs' handlers stay.
void RemoveHandler(TRegistry& reg, std::u16string_view extension) {
  try {
    const std::u16string progId = ReadProgId(reg, extension);
    if (progId.empty()) return;
    reg.DeleteKey(HandlersKey(progId) + u"\\" + std::u16string(ShellExtensionClassId));
    if (DeleteIfEmpty(reg, HandlersKey(progId))) DeleteIfEmpty(reg, ShellExKey(progId));
  } catch (const TRegistryError&) {
    // What cannot be opened or deleted is left as it is.
  }
}

void RemoveRegistration(TRegistry& reg) {
  try {
    reg.DeleteKey(ClassKey());
  } catch (const TRegistryError&) {
  }
  RemoveHandler(reg, u".ple");
  RemoveHandler(reg, u".txt");
}

void OpenOrCreate(TRegistry& reg, const std::u16string& path) {
  if (!reg.OpenKey(path, true))
    throw TRegistryError("The key HKEY_CLASSES_ROOT" + EncodeUtf8(path) + " cannot be created");
}

void RegisterType(TRegistry& reg, std::u16string_view extension, std::u16string_view ownProgId) {
  std::u16string progId;
  OpenOrCreate(reg, u"\\" + std::u16string(extension));
  {
    TKeyCloser closer(reg);
    progId = reg.ReadString(u"");
    if (progId.empty()) {
      progId = ownProgId;
      reg.WriteString(u"", progId);
    }
  }
  OpenOrCreate(reg, HandlersKey(progId) + u"\\" + std::u16string(ShellExtensionClassId));
  reg.CloseKey();
}

void Register(TRegistry& reg, const TRecOptions& options, const std::u16string& extensionFile) {
  OpenOrCreate(reg, ClassKey());
  {
    TKeyCloser closer(reg);
    reg.WriteString(u"", u"Velmora Skribo context menu shell extension");
  }
  OpenOrCreate(reg, ClassKey() + u"\\InProcServer32");
  {
    TKeyCloser closer(reg);
    reg.WriteString(u"", extensionFile);
    reg.WriteString(u"ThreadingModel", u"Apartment");
  }
  OpenOrCreate(reg, ClassKey() + u"\\ShellEx\\MayChangeDefaultMenu");
  reg.CloseKey();
  if (options.AssociatePLE) RegisterType(reg, u".ple", u"Velmora.Encrypted");
  if (options.AssociateTXT) RegisterType(reg, u".txt", u"txtfile");
}

}  // namespace

void ApplyPreferences(TRecOptions& options, const TProgramPaths& paths, TPreferencesUi& ui) {
  ui.SetAlwaysOnTop(options.AlwaysOnTop);

  const std::u16string problem = CheckHostNameTruncation(options, paths.IniFileName, ui);
  if (!problem.empty()) ui.ShowError(problem);

  // Without the extension beside the executable the registry is neither cleaned nor written.
  const std::u16string extensionFile = paths.ShellExtensionFileName();
  if (!FileExists(extensionFile)) return;
  const bool registering = options.AssociateTXT || options.AssociatePLE;
  try {
    TRegistry reg(THive::ClassesRoot);
    // Every run rebuilds the registration from nothing, so a cleared flag loses its handler.
    RemoveRegistration(reg);
    if (registering) Register(reg, options, extensionFile);
  } catch (const TRegistryError& e) {
    // A clean-up that fails is not worth a word; a registration the user asked for is.
    if (registering)
      ui.ShowError(u"Skribo could not register its context menu for log files.\r\n" +
                   DecodeUtf8(e.what()) +
                   u"\r\nTo stop Skribo from trying again, clear the boxes that associate it with "
                   u"log files in the preferences.");
  }
}

}  // namespace skribo
