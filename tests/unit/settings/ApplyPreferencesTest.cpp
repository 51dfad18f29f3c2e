// Applying the options: always on top, the truncation check, the shell extension's registration.
#include "prefs/ApplyPreferences.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/Registry.h"
#include "unit/host/SettingsSandbox.h"
#include "unit/settings/FakePreferencesUi.h"

namespace skribo {
namespace {

namespace fs = std::filesystem;
using test::U;

constexpr auto CR = THive::ClassesRoot;
const std::u16string Clsid = u"{34DA3EA6-FCDD-475E-BE2F-7D5CBD9D18B4}";
const std::u16string ClassKey = u"CLSID\\" + Clsid;
const std::u16string OtherHandler = u"{11111111-2222-3333-4444-555555555555}";

std::u16string HandlerKey(std::u16string_view progId, std::u16string_view clsid) {
  return std::u16string(progId) + u"\\ShellEx\\ContextMenuHandlers\\" + std::u16string(clsid);
}

// Every key below path with its values, one per line, for comparing whole trees.
void DumpKey(TRegistry& reg, const std::u16string& path, std::string& out) {
  if (!reg.OpenKeyReadOnly(path)) return;
  out += EncodeUtf8(path) + "\n";
  std::vector<std::u16string> children = reg.GetKeyNames();
  for (const std::u16string& name : reg.GetValueNames())
    out += "  " + EncodeUtf8(name) + "=" + test::RegValueState(reg.Root(), path, name) + "\n";
  reg.CloseKey();
  for (const std::u16string& child : children)
    DumpKey(reg, path.empty() ? child : path + u"\\" + child, out);
}

std::string Dump(THive hive) {
  TRegistry reg(hive);
  std::string out;
  DumpKey(reg, u"", out);
  return out;
}

bool KeyExists(std::u16string_view path) {
  return TRegistry(CR).KeyExists(u"\\" + std::u16string(path));
}

class ApplyPreferencesTest : public ::testing::Test {
 protected:
  void SetUp() override { test::WriteBytes(Sandbox.Program / "SkriboExt.dll", "MZ"); }

  void Apply(bool txt, bool ple) {
    Options.AssociateTXT = txt;
    Options.AssociatePLE = ple;
    ApplyPreferences(Options, Paths, Ui);
  }

  test::TSettingsSandbox Sandbox;
  TProgramPaths Paths = TProgramPaths::ForExecutable(U(Sandbox.Program / "skribo"));
  TRecOptions Options = DefaultOptions();
  test::TFakePreferencesUi Ui;
};

TEST_F(ApplyPreferencesTest, RegistersForTheFlaggedTypes) {
  // ".txt" already names a ProgID; ".ple" the system has never seen.
  test::SetRegString(CR, u".txt", u"", u"Notes.Text");
  Apply(true, true);
  EXPECT_TRUE(Ui.Errors.empty());
  EXPECT_EQ(test::RegValueState(CR, ClassKey, u""),
            "sz:Velmora Skribo context menu shell extension");
  EXPECT_EQ(test::RegValueState(CR, ClassKey + u"\\InProcServer32", u""),
            "sz:" + (Sandbox.Program / "SkriboExt.dll").string());
  EXPECT_EQ(test::RegValueState(CR, ClassKey + u"\\InProcServer32", u"ThreadingModel"),
            "sz:Apartment");
  EXPECT_TRUE(KeyExists(ClassKey + u"\\ShellEx\\MayChangeDefaultMenu"));
  EXPECT_EQ(test::RegValueState(CR, u".ple", u""), "sz:Velmora.Encrypted");
  EXPECT_TRUE(KeyExists(HandlerKey(u"Velmora.Encrypted", Clsid)));
  EXPECT_EQ(test::RegValueState(CR, u".txt", u""), "sz:Notes.Text");
  EXPECT_TRUE(KeyExists(HandlerKey(u"Notes.Text", Clsid)));
  EXPECT_FALSE(KeyExists(HandlerKey(u"txtfile", Clsid)));

  // One flag only: the other type is neither created nor given a handler.
  Apply(false, true);
  EXPECT_TRUE(KeyExists(HandlerKey(u"Velmora.Encrypted", Clsid)));
  EXPECT_FALSE(KeyExists(u"Notes.Text\\ShellEx"));
  TRegistry(CR).DeleteKey(u".txt");
  Apply(true, false);
  EXPECT_EQ(test::RegValueState(CR, u".txt", u""), "sz:txtfile");
  EXPECT_TRUE(KeyExists(HandlerKey(u"txtfile", Clsid)));
  EXPECT_FALSE(KeyExists(u"Velmora.Encrypted\\ShellEx"));
}

TEST_F(ApplyPreferencesTest, BothFlagsClearRemoveOnlyOurKeys) {
  test::SetRegString(CR, HandlerKey(u"txtfile", OtherHandler), u"", u"another program");
  test::CreateRegKey(CR, u"Velmora.Encrypted\\shell\\open");
  Apply(true, true);
  // A value does not keep a key alive.
  test::SetRegString(CR, u"Velmora.Encrypted\\ShellEx", u"note", u"x");

  Apply(false, false);
  EXPECT_TRUE(Ui.Errors.empty());
  EXPECT_FALSE(KeyExists(ClassKey));
  EXPECT_TRUE(KeyExists(u"CLSID"));
  EXPECT_FALSE(KeyExists(HandlerKey(u"txtfile", Clsid)));
  EXPECT_EQ(test::RegValueState(CR, HandlerKey(u"txtfile", OtherHandler), u""),
            "sz:another program");
  EXPECT_FALSE(KeyExists(u"Velmora.Encrypted\\ShellEx"));
  EXPECT_TRUE(KeyExists(u"Velmora.Encrypted\\shell\\open"));
  // The ProgIDs the program set stay as the types' defaults.
  EXPECT_EQ(test::RegValueState(CR, u".ple", u""), "sz:Velmora.Encrypted");
  EXPECT_EQ(test::RegValueState(CR, u".txt", u""), "sz:txtfile");
}

TEST_F(ApplyPreferencesTest, TwiceIsOnce) {
  test::SetRegString(CR, HandlerKey(u"txtfile", OtherHandler), u"", u"another program");
  for (auto [txt, ple] : {std::pair{true, true}, {true, false}, {false, false}}) {
    Apply(txt, ple);
    const std::string once = Dump(CR);
    const std::string bytes = test::ReadBytes(Sandbox.HiveFile(CR));
    Apply(txt, ple);
    EXPECT_EQ(Dump(CR), once);
    EXPECT_EQ(test::ReadBytes(Sandbox.HiveFile(CR)), bytes);
  }
}

TEST_F(ApplyPreferencesTest, WithoutTheExtensionTheRegistryIsLeftAlone) {
  Apply(true, true);
  const std::string bytes = test::ReadBytes(Sandbox.HiveFile(CR));
  fs::remove(Sandbox.Program / "SkriboExt.dll");
  Apply(false, false);
  Apply(true, true);
  EXPECT_EQ(test::ReadBytes(Sandbox.HiveFile(CR)), bytes);
  // A folder of that name is no extension either.
  fs::create_directories(Sandbox.Program / "SkriboExt.dll");
  Apply(false, false);
  EXPECT_EQ(test::ReadBytes(Sandbox.HiveFile(CR)), bytes);
  EXPECT_EQ(Ui.TopmostCalls.size(), 4u);  // the window is still placed every time
}

TEST_F(ApplyPreferencesTest, TopmostStateFirstOnEveryRun) {
  for (bool onTop : {false, false, true, false}) {
    Options.AlwaysOnTop = onTop;
    ApplyPreferences(Options, Paths, Ui);
    EXPECT_EQ(Ui.TopmostCalls.back(), onTop);
  }
  EXPECT_EQ(Ui.TopmostCalls.size(), 4u);
}

TEST_F(ApplyPreferencesTest, RunsTheTruncationCheckAndShowsWhatItCouldNotDo) {
  test::SetRegInteger(THive::CurrentUser, u"Software\\Dravik\\Velmora2\\anna\\Preferences",
                      u"LogNameShort", 1);
  fs::create_directories(EncodeUtf8(Paths.IniFileName));  // the answer cannot be stored
  Ui.Dialog.Answer = {mrNo, true};
  ApplyPreferences(Options, Paths, Ui);
  EXPECT_EQ(Ui.Calls, (std::vector<std::string>{"normal", "ask", "error"}));
  EXPECT_EQ(Options.DontShowWarning, 2);
  ASSERT_EQ(Ui.Errors.size(), 1u);
  EXPECT_NE(Ui.Errors[0].find(u"could not remember your answer"), std::u16string::npos);
}

TEST_F(ApplyPreferencesTest, ARefusedRegistrationIsShownAndTheRestGoesOn) {
  const std::string broken = Sandbox.BreakHive(CR);
  EXPECT_NO_THROW(Apply(true, false));
  ASSERT_EQ(Ui.Errors.size(), 1u);
  EXPECT_NE(Ui.Errors[0].find(u"could not register its context menu"), std::u16string::npos);
  EXPECT_NE(Ui.Errors[0].find(u"HKEY_CLASSES_ROOT.reg"), std::u16string::npos)
      << EncodeUtf8(Ui.Errors[0]);
  EXPECT_EQ(Ui.TopmostCalls, std::vector<bool>{false});
  EXPECT_EQ(test::ReadBytes(Sandbox.HiveFile(CR)), broken);
  // Nothing to register: nothing to report either, the failed clean-up is quiet.
  Ui.Errors.clear();
  Apply(false, false);
  EXPECT_TRUE(Ui.Errors.empty());
}

}  // namespace
}  // namespace skribo
