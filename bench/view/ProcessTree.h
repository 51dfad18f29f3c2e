// The processor time and memory of this process and all its descendants, which for a program
// with a log view are the WebEngine browser, renderer and helper processes.
#pragma once

namespace skribo {

struct TProcessFigures {
  double CpuSeconds = 0;
  double RssMiB = 0, PeakMiB = 0;
  int Processes = 0;
};

// Sums /proc figures over the tree rooted at this process: user and system time, resident size
// and each process's own peak resident size.
TProcessFigures MeasureProcessTree();

}  // namespace skribo
