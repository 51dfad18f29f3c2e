// Spreads a stage's share of the progress bar over many small steps.
#pragma once

#include "log/uLogProcess.h"

namespace skribo {

// Steps below one unit cost no message pumping until they add up to one.
class TProgressAccumulator {
 public:
  explicit TProgressAccumulator(TLogProcessor& processor) : Processor(processor) {}

  // False when the load is to stop.
  bool Add(long double share) {
    Value += share;
    if (Value < 1) return true;
    const int whole = static_cast<int>(Value);
    Value -= whole;
    return Processor.ReportProgress(whole);
  }

 private:
  TLogProcessor& Processor;
  long double Value = 0;
};

}  // namespace skribo
