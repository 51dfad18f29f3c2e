// The question with a don't-ask-again box, as the logic sees it; the window's message dialog
// answers it, and tests answer it themselves.
#pragma once

#include <string>

namespace skribo {

// Modal results, numbered as the standard dialogs number them.
enum TModalResult : int {
  mrNone = 0,
  mrOk = 1,
  mrCancel = 2,
  mrAbort = 3,
  mrRetry = 4,
  mrIgnore = 5,
  mrYes = 6,
  mrNo = 7,
};

// The dialog type chooses the icon and the default caption.
enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

enum TMsgDlgButton : unsigned {
  mbYes = 1 << 0,
  mbNo = 1 << 1,
  mbOK = 1 << 2,
  mbCancel = 1 << 3,
  mbAbort = 1 << 4,
  mbRetry = 1 << 5,
  mbIgnore = 1 << 6,
};

struct TCheckQuestion {
  std::u16string Caption;
  std::u16string Message;
  TMsgDlgType DialogType = TMsgDlgType::mtWarning;
  unsigned Buttons = 0;  // TMsgDlgButton bits
  int DefaultResult = mrNone;
  int HelpContext = 0;
  // True on entry: nothing is shown and DefaultResult is the answer.
  bool DontAsk = false;
  std::u16string CheckCaption;

  bool operator==(const TCheckQuestion&) const = default;
};

struct TCheckAnswer {
  int Result = mrNone;   // the modal result the dialog closed with
  bool DontAsk = false;  // whether the box was ticked
};

class TQuestionDialog {
 public:
  virtual ~TQuestionDialog() = default;
  virtual TCheckAnswer AskWithCheck(const TCheckQuestion& question) = 0;
};

}  // namespace skribo
