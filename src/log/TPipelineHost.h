// What a log load needs from the window that shows it.
#pragma once

#include <string>

namespace skribo {

class TPipelineHost {
 public:
  virtual ~TPipelineHost() = default;

  // Shows a stage text; an empty text clears the display.
  virtual void SetStatusText(const std::u16string& text) = 0;
  // Handles pending user input and repaints; Escape may request a cancel from here.
  virtual void ProcessMessages() = 0;
  // Moves the progress bar by delta, clamped at its maximum of 1000.
  virtual void StepProgress(int delta) = 0;
  virtual void SetProgressPosition(int position) = 0;
  // Empties the log view (a cancelled load leaves nothing on view).
  virtual void ClearView() = 0;
  // A modal warning box captioned with the application title.
  virtual void ShowWarning(const std::u16string& text) = 0;
};

}  // namespace skribo
