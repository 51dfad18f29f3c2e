// Stage texts and a progress bar on standard error, for conversions run from a terminal.
#pragma once

#include <cstdio>
#include <string>

#include "log/TPipelineHost.h"

namespace skribo {

class TTerminalProgress : public TPipelineHost {
 public:
  // Draws nothing unless show is set (standard error is a terminal).
  explicit TTerminalProgress(bool show) : Show(show) {}
  ~TTerminalProgress() override { Finish(); }

  void SetStatusText(const std::u16string& text) override;
  void ProcessMessages() override {}
  void StepProgress(int delta) override;
  void SetProgressPosition(int position) override;
  void ClearView() override {}
  void ShowWarning(const std::u16string& text) override { Warning = text; }

  // Clears the progress line.
  void Finish();

  std::u16string Warning;

 private:
  void Draw();

  bool Show;
  bool Drawn = false;
  std::string Status;
  int Position = 0;
  int DrawnCells = -1;
};

}  // namespace skribo
