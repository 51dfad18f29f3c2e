// The walk over a log's lines: header boxes, participants and each line's style element.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "log/uLogProcess.h"

namespace skribo {

// The host add-on's name-change wording, taken apart once per load.
struct TNameChangePattern {
  std::u16string Pattern;              // entity-encoded like the lines it is matched against
  std::vector<std::u16string> Pieces;  // the fixed texts between the "%s" places
};

TNameChangePattern MakeNameChangePattern(std::u16string_view rawPattern);

// Attribution, name changes, bold and shortened names and hidden timestamps of one line.
class TLineStep {
 public:
  TLineStep(const TRecOptions& options, std::function<const TNameChangePattern&()> pattern)
      : Options(options), Pattern(std::move(pattern)) {}

  void Run(size_t i, std::u16string& line, size_t namePosition,
           std::vector<std::u16string>& participants, TLineClasses& classes) const;

 private:
  bool RunNameChange(size_t i, const std::u16string& line, size_t namePosition,
                     std::vector<std::u16string>& participants, TLineClasses& classes) const;
  void ApplyNameOptions(std::u16string& line, size_t namePosition,
                        const std::u16string& name) const;

  const TRecOptions& Options;
  std::function<const TNameChangePattern&()> Pattern;
};

}  // namespace skribo
