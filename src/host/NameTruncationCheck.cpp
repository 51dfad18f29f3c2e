// The check that switches off the host add-on's truncation of long contact names.
#include <exception>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "common/TextCodec.h"
#include "common/u_ResourceString.h"
#include "host/HostKeys.h"
#include "host/uMisc.h"
#include "platform/IniFile.h"
#include "prefs/OptionValues.h"
#include "prefs/OptionsIni.h"

namespace skribo {

namespace {

constexpr std::u16string_view LogNameShort = u"LogNameShort";

std::u16string Join(const std::vector<std::u16string>& names) {
  std::u16string out;
  for (const std::u16string& name : names) {
    if (!out.empty()) out += u", ";
    out += u"\"" + name + u"\"";
  }
  return out;
}

void AppendParagraph(std::u16string& report, std::u16string_view paragraph) {
  if (paragraph.empty()) return;
  if (!report.empty()) report += u"\r\n\r\n";
  report += paragraph;
}

// Truncation is on for a user whose value is exactly 1; a missing value, one of another type or a
// key that cannot be opened counts as off.
bool IsTruncating(TRegistry& reg, const std::u16string& user) {
  try {
    if (!reg.OpenKey(HostUserPreferencesKey(user), true)) return false;
    TKeyCloser closer(reg);
    return reg.ReadInteger(LogNameShort) == 1;
  } catch (const TRegistryError&) {
    return false;
  }
}

// Writes 0 for every user; returns what could not be written.
std::u16string SwitchOff(TRegistry& reg, const std::vector<std::u16string>& users) {
  std::vector<std::u16string> failed;
  std::u16string reason;
  for (const std::u16string& user : users) {
    try {
      if (!reg.OpenKey(HostUserPreferencesKey(user), true)) {
        failed.push_back(user);
        continue;
      }
      TKeyCloser closer(reg);
      reg.WriteInteger(LogNameShort, 0);
    } catch (const TRegistryError& e) {
      failed.push_back(user);
      if (reason.empty()) reason = DecodeUtf8(e.what());
    }
  }
  if (failed.empty()) return {};
  const bool one = failed.size() == 1;
  std::u16string report =
      u"Skribo could not disable the \"truncate long contact names\" option of Velmora for " +
      std::u16string(one ? u"the user " : u"the users ") + Join(failed) + u".";
  if (!reason.empty()) report += u"\r\n" + reason;
  report += u"\r\nDisable the option in Velmora for " +
            std::u16string(one ? u"this user" : u"these users") +
            u", or clear \"Disable \"truncate long contact names\" in Velmora\" in Skribo's "
            u"preferences to stop this check.";
  return report;
}

// Stores a remembered answer; returns what went wrong.
std::u16string StoreAnswer(const std::u16string& iniFileName, int8_t value) {
  try {
    TIniFile ini{std::filesystem::path(EncodeUtf8(iniFileName))};
    WriteInteger(ini, PreferencesSection, u"DontShowWarning", value);
    ini.UpdateFile();
    return {};
  } catch (const std::exception& e) {
    return u"Skribo could not remember your answer in \"" + iniFileName + u"\".\r\n" +
           DecodeUtf8(e.what());
  }
}

}  // namespace

TCheckQuestion HostNameTruncationQuestion() {
  TCheckQuestion q;
  q.Caption = std::u16string(ApplicationTitle);
  q.Message =
      u"One or more of the Velmora users have enabled the \"truncate long contact names\" options "
      u"for the log. This can cause Skribo not to recognize the chat participants correctly."
      u"\r\n\r\n"
      u"Would you like Skribo to disable this option for all the users? (Already existing logs "
      u"won't be altered).";
  q.DialogType = TMsgDlgType::mtWarning;
  q.Buttons = mbYes | mbNo;
  q.DefaultResult = mrYes;
  q.HelpContext = 0;
  q.DontAsk = false;
  q.CheckCaption = u"Don't ask me this again, remember my answer";
  return q;
}

std::u16string CheckHostNameTruncation(TRecOptions& options, const std::u16string& iniFileName,
                                       TQuestionDialog& dialog) {
  if (!options.DisableVelmoraLongContactNames) return {};

  std::u16string report;
  try {
    TRegistry reg(THive::CurrentUser);
    std::vector<std::u16string> users;
    if (!reg.OpenKey(HostKey, false)) return {};
    {
      TKeyCloser closer(reg);
      users = reg.GetKeyNames();
    }

    bool truncating = false;
    for (const std::u16string& user : users) {
      if (IsTruncating(reg, user)) {
        truncating = true;
        break;
      }
    }
    if (!truncating) return {};

    if (options.DontShowWarning == 0) {
      const TCheckAnswer answer = dialog.AskWithCheck(HostNameTruncationQuestion());
      // A ticked box with the dialog closed some other way remembers nothing.
      std::optional<int8_t> remembered;
      if (!answer.DontAsk)
        remembered = 0;
      else if (answer.Result == mrYes)
        remembered = 1;
      else if (answer.Result == mrNo)
        remembered = 2;
      if (remembered) {
        options.DontShowWarning = *remembered;
        AppendParagraph(report, StoreAnswer(iniFileName, *remembered));
      }
      if (answer.Result != mrYes) return report;
    } else if (options.DontShowWarning != 1) {
      return {};
    }
    AppendParagraph(report, SwitchOff(reg, users));
  } catch (const TRegistryError& e) {
    AppendParagraph(report,
                    u"Skribo could not check whether Velmora truncates long contact names.\r\n" +
                        DecodeUtf8(e.what()));
  }
  return report;
}

}  // namespace skribo
