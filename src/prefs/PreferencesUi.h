// What applying and saving the options need from the windows: an error box, the main window's
// topmost state and the truncation check's question.
#pragma once

#include <string>

#include "host/TQuestionDialog.h"

namespace skribo {

class TErrorBox {
 public:
  virtual ~TErrorBox() = default;
  // A modal message box with the error icon and the application's title as caption.
  virtual void ShowError(const std::u16string& text) = 0;
};

// The main window as ApplyPreferences reaches it.
class TPreferencesUi : public TErrorBox, public TQuestionDialog {
 public:
  // Above all windows that are not topmost, or back among them.
  virtual void SetAlwaysOnTop(bool onTop) = 0;
};

}  // namespace skribo
