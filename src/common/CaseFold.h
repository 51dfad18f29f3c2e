// Unicode simple case folding (the C and S mappings), per code point.
#pragma once

#include <string>

namespace skribo {

char32_t SimpleFold(char32_t c);

// Folding of one UTF-16 unit that is not a surrogate; surrogates come back unchanged.
char16_t SimpleFoldUnit(char16_t c);

// A text folded per code point, so that names compare without regard to case; unpaired
// surrogates stay as they are.
std::u16string SimpleFoldText(std::u16string_view text);

}  // namespace skribo
