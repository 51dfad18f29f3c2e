// The check that switches off the host add-on's truncation of long contact names.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "host/uMisc.h"
#include "platform/IniFile.h"
#include "prefs/OptionsIni.h"
#include "unit/host/SettingsSandbox.h"

namespace skribo {
namespace {

namespace fs = std::filesystem;
using test::RegValueState;
using test::U;

constexpr auto CU = THive::CurrentUser;
const std::u16string Host = u"Software\\Dravik\\Velmora2";

std::u16string PrefsKey(std::u16string_view user) {
  return Host + u"\\" + std::u16string(user) + u"\\Preferences";
}

class NameTruncationCheckTest : public ::testing::Test {
 protected:
  // Users in the order the store lists them: a switch that is off, a "Preferences" key without
  // the value, one user who truncates, a user without a "Preferences" key, and a switch stored
  // as text.
  void SetUpUsers(int cleo = 1) {
    test::SetRegInteger(CU, PrefsKey(u"Anna"), u"LogNameShort", 0);
    test::CreateRegKey(CU, PrefsKey(u"Bert"));
    test::SetRegInteger(CU, PrefsKey(u"Cleo"), u"LogNameShort", cleo);
    test::CreateRegKey(CU, Host + u"\\Dora");
    test::SetRegString(CU, PrefsKey(u"Emil"), u"LogNameShort", u"1");
  }

  std::string States() {
    std::string out;
    for (const char16_t* user : {u"Anna", u"Bert", u"Cleo", u"Dora", u"Emil"})
      out += (out.empty() ? "" : ", ") + RegValueState(CU, PrefsKey(user), u"LogNameShort");
    return out;
  }

  // The remembered answer in the INI file, or "absent".
  std::string StoredAnswer() const {
    if (!fs::exists(IniFile)) return "absent";
    TIniFile ini(IniFile);
    return EncodeUtf8(ini.ReadString(PreferencesSection, u"DontShowWarning", u"absent"));
  }

  std::u16string Check() { return CheckHostNameTruncation(Options, U(IniFile), Dialog); }

  test::TSettingsSandbox Sandbox;
  fs::path IniFile = Sandbox.Program / "skribo.ini";
  TRecOptions Options = DefaultOptions();
  test::TFakeQuestionDialog Dialog;
};

// Detection opens, and creates, the keys only up to the first user who truncates: Dora keeps
// having none.
constexpr const char* Detected = "dword:0, no value, dword:1, no key, sz:1";
constexpr const char* AllOff = "dword:0, dword:0, dword:0, dword:0, dword:0";

TEST_F(NameTruncationCheckTest, AnswersAndRememberedAnswers) {
  struct TCase {
    const char* Name;
    int8_t DontShowWarning;
    TCheckAnswer Answer;
    bool Asked;
    const char* States;
    int8_t Option;  // DontShowWarning afterwards
    const char* Stored;
  } cases[] = {
      {"yes, box clear", 0, {mrYes, false}, true, AllOff, 0, "0"},
      {"yes, box ticked", 0, {mrYes, true}, true, AllOff, 1, "1"},
      {"no, box clear", 0, {mrNo, false}, true, Detected, 0, "0"},
      {"no, box ticked", 0, {mrNo, true}, true, Detected, 2, "2"},
      {"closed, box ticked", 0, {mrCancel, true}, true, Detected, 0, "absent"},
      {"closed, box clear", 0, {mrCancel, false}, true, Detected, 0, "0"},
      {"remembered yes", 1, {}, false, AllOff, 1, "absent"},
      {"remembered no", 2, {}, false, Detected, 2, "absent"},
      {"unknown remembered value", 5, {}, false, Detected, 5, "absent"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TRegistry(CU).DeleteKey(Host);
    fs::remove(IniFile);
    SetUpUsers();
    Options.DontShowWarning = c.DontShowWarning;
    Dialog.Answer = c.Answer;
    Dialog.Asked.clear();

    EXPECT_EQ(Check(), u"");
    ASSERT_EQ(Dialog.Asked.size(), c.Asked ? 1u : 0u);
    if (c.Asked) {
      EXPECT_EQ(Dialog.Asked[0], HostNameTruncationQuestion());
    }
    EXPECT_EQ(States(), c.States);
    EXPECT_EQ(Options.DontShowWarning, c.Option);
    EXPECT_EQ(StoredAnswer(), c.Stored);
  }
}

TEST_F(NameTruncationCheckTest, TheQuestionAsWorded) {
  const TCheckQuestion q = HostNameTruncationQuestion();
  EXPECT_EQ(q.Caption, u"Velmora Skribo");
  EXPECT_EQ(q.Message,
            u"One or more of the Velmora users have enabled the \"truncate long contact names\" "
            u"options for the log. This can cause Skribo not to recognize the chat participants "
            u"correctly.\r\n\r\nWould you like Skribo to disable this option for all the users? "
            u"(Already existing logs won't be altered).");
  EXPECT_EQ(q.DialogType, TMsgDlgType::mtWarning);
  EXPECT_EQ(q.Buttons, unsigned{mbYes | mbNo});
  EXPECT_EQ(q.DefaultResult, mrYes);
  EXPECT_EQ(q.HelpContext, 0);
  EXPECT_FALSE(q.DontAsk);
  EXPECT_EQ(q.CheckCaption, u"Don't ask me this again, remember my answer");
}

TEST_F(NameTruncationCheckTest, NothingToDo) {
  // The check switched off: no registry access at all.
  SetUpUsers();
  const std::string hive = test::ReadBytes(Sandbox.HiveFile(CU));
  Options.DisableVelmoraLongContactNames = false;
  EXPECT_EQ(Check(), u"");
  EXPECT_EQ(test::ReadBytes(Sandbox.HiveFile(CU)), hive);
  Options.DisableVelmoraLongContactNames = true;

  // Nobody has exactly 1: a 2 does not count, nor does a 1 stored as text.
  TRegistry(CU).DeleteKey(Host);
  SetUpUsers(2);
  EXPECT_EQ(Check(), u"");
  EXPECT_TRUE(Dialog.Asked.empty());
  EXPECT_EQ(States(), "dword:0, no value, dword:2, no value, sz:1");  // every key opened, made
  EXPECT_EQ(StoredAnswer(), "absent");

  // No host add-on at all.
  TRegistry(CU).DeleteKey(Host);
  EXPECT_EQ(Check(), u"");
  EXPECT_TRUE(Dialog.Asked.empty());
  EXPECT_FALSE(TRegistry(CU).KeyExists(Host));
}

TEST_F(NameTruncationCheckTest, LaterCallsFollowTheRememberedAnswer) {
  SetUpUsers();
  Dialog.Answer = {mrNo, false};
  Check();
  Check();
  EXPECT_EQ(Dialog.Asked.size(), 2u);  // asked again while nothing is remembered

  Dialog.Answer = {mrYes, true};
  Check();
  EXPECT_EQ(Dialog.Asked.size(), 3u);
  EXPECT_EQ(States(), AllOff);
  // A user who starts truncating later is switched off without a question.
  test::SetRegInteger(CU, PrefsKey(u"Bert"), u"LogNameShort", 1);
  Check();
  EXPECT_EQ(Dialog.Asked.size(), 3u);
  EXPECT_EQ(States(), AllOff);
}

TEST_F(NameTruncationCheckTest, KeepsTheRestOfTheIniFile) {
  SetUpUsers();
  test::WriteBytes(IniFile,
                   "[position]\r\nWinState=1\r\n\r\n[preferences]\r\nDontShowWarning=0\r\n"
                   "Language=Deutsch\r\n");
  Dialog.Answer = {mrNo, true};
  Check();
  const TIniFile ini(IniFile);
  EXPECT_EQ(ini.ReadSections(), (std::vector<std::u16string>{u"position", u"preferences"}));
  EXPECT_EQ(ini.ReadString(u"position", u"WinState", u""), u"1");
  EXPECT_EQ(ini.ReadString(u"preferences", u"DontShowWarning", u""), u"2");
  EXPECT_EQ(ini.ReadString(u"preferences", u"Language", u""), u"Deutsch");
}

// The answer still counts for this run when it cannot be stored, and the user learns why it will
// be asked again.
TEST_F(NameTruncationCheckTest, AnAnswerThatCannotBeStoredIsReported) {
  SetUpUsers();
  fs::create_directories(IniFile);  // a folder where the INI file should be
  Dialog.Answer = {mrYes, true};
  const std::u16string report = Check();
  EXPECT_EQ(Options.DontShowWarning, 1);
  EXPECT_EQ(States(), AllOff);
  EXPECT_NE(report.find(u"could not remember your answer in \"" + U(IniFile) + u"\""),
            std::u16string::npos)
      << EncodeUtf8(report);
  EXPECT_TRUE(fs::is_directory(IniFile));
}

// Every user is tried; the ones left truncating are named, with the store's reason.
TEST_F(NameTruncationCheckTest, ASwitchOffThatCannotBeWrittenIsReported) {
  SetUpUsers();
  const fs::path lock = Sandbox.HiveFile(CU).parent_path() / "registry.lock";
  fs::remove(lock);
  fs::create_directories(lock);  // a folder where the store's lock file should be
  Options.DontShowWarning = 1;
  std::u16string report;
  EXPECT_NO_THROW(report = Check());
  EXPECT_NE(report.find(u"the users \"Anna\", \"Bert\", \"Cleo\", \"Dora\", \"Emil\"."),
            std::u16string::npos)
      << EncodeUtf8(report);
  EXPECT_NE(report.find(u"registry.lock"), std::u16string::npos) << EncodeUtf8(report);
  EXPECT_EQ(States(), Detected);
}

TEST_F(NameTruncationCheckTest, AnUnreadableHiveIsReportedAndKept) {
  const std::string broken = Sandbox.BreakHive(CU);
  std::u16string report;
  EXPECT_NO_THROW(report = Check());
  EXPECT_NE(report.find(u"could not check whether Velmora truncates"), std::u16string::npos)
      << EncodeUtf8(report);
  EXPECT_TRUE(Dialog.Asked.empty());
  EXPECT_EQ(test::ReadBytes(Sandbox.HiveFile(CU)), broken);
}

}  // namespace
}  // namespace skribo
