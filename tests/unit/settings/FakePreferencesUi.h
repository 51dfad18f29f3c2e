// The main window as applying and saving the options see it, recording what they do to it.
#pragma once

#include <string>
#include <vector>

#include "prefs/PreferencesUi.h"
#include "unit/host/SettingsSandbox.h"

namespace skribo::test {

class TFakePreferencesUi : public TPreferencesUi {
 public:
  void ShowError(const std::u16string& text) override {
    Errors.push_back(text);
    Calls.push_back("error");
  }
  void SetAlwaysOnTop(bool onTop) override {
    TopmostCalls.push_back(onTop);
    Calls.push_back(onTop ? "top" : "normal");
  }
  TCheckAnswer AskWithCheck(const TCheckQuestion& question) override {
    Calls.push_back("ask");
    return Dialog.AskWithCheck(question);
  }

  std::vector<std::u16string> Errors;
  std::vector<bool> TopmostCalls;
  std::vector<std::string> Calls;  // in order
  TFakeQuestionDialog Dialog;
};

}  // namespace skribo::test
