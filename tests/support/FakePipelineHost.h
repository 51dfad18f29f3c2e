// A window stand-in that records what a load shows and can cancel it at a chosen moment.
#pragma once

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "log/TPipelineHost.h"

namespace skribo::test {

class TFakePipelineHost : public TPipelineHost {
 public:
  struct TEvent {
    enum TKind { Status, Pump, Step, Position, Clear, Warning } Kind;
    std::u16string Text;
    int Value = 0;  // the bar's position after the event
  };

  void SetStatusText(const std::u16string& text) override {
    Events.push_back({TEvent::Status, text, Bar});
  }
  void ProcessMessages() override {
    ++Pumps;
    Events.push_back({TEvent::Pump, {}, Bar});
    if (OnPump) OnPump(*this);
  }
  void StepProgress(int delta) override {
    Bar = std::min(1000, Bar + delta);
    Events.push_back({TEvent::Step, {}, Bar});
  }
  void SetProgressPosition(int position) override {
    Bar = position;
    Events.push_back({TEvent::Position, {}, Bar});
  }
  void ClearView() override {
    ++Clears;
    Events.push_back({TEvent::Clear, {}, Bar});
  }
  void ShowWarning(const std::u16string& text) override {
    Warnings.push_back(text);
    Events.push_back({TEvent::Warning, text, Bar});
  }

  std::vector<std::u16string> StatusTexts() const {
    std::vector<std::u16string> texts;
    for (const TEvent& e : Events)
      if (e.Kind == TEvent::Status) texts.push_back(e.Text);
    return texts;
  }

  std::vector<TEvent> Events;
  std::vector<std::u16string> Warnings;
  std::function<void(TFakePipelineHost&)> OnPump;
  int Bar = 0;
  int Pumps = 0;
  int Clears = 0;
};

}  // namespace skribo::test
