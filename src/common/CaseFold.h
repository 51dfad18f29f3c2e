// Unicode simple case folding (the C and S mappings), per code point.
#pragma once

#include <string>

namespace skribo {

char32_t SimpleFold(char32_t c);

// Folding of one UTF-16 unit that is not a surrogate; surrogates come back unchanged.
char16_t SimpleFoldUnit(char16_t c);

}  // namespace skribo
