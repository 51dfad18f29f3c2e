#include "cli/TTerminalProgress.h"

#include <algorithm>

#include "common/TextCodec.h"

namespace skribo {

namespace {
constexpr int BarCells = 30;
}

void TTerminalProgress::SetStatusText(const std::u16string& text) {
  Status = EncodeUtf8(text);
  DrawnCells = -1;
  Draw();
}

void TTerminalProgress::StepProgress(int delta) {
  SetProgressPosition(std::min(1000, Position + delta));
}

void TTerminalProgress::SetProgressPosition(int position) {
  Position = std::clamp(position, 0, 1000);
  Draw();
}

// Redraws only when the bar changes by a cell, so that a fast conversion writes little.
void TTerminalProgress::Draw() {
  if (!Show) return;
  const int cells = Position * BarCells / 1000;
  if (cells == DrawnCells) return;
  DrawnCells = cells;
  std::string bar(static_cast<size_t>(cells), '#');
  bar.resize(BarCells, '.');
  std::fprintf(stderr, "\r\033[K[%s] %3d%% %s", bar.c_str(), Position / 10, Status.c_str());
  std::fflush(stderr);
  Drawn = true;
}

void TTerminalProgress::Finish() {
  if (!Drawn) return;
  std::fputs("\r\033[K", stderr);
  std::fflush(stderr);
  Drawn = false;
}

}  // namespace skribo
