#include "common/CaseFold.h"

#include <unicode/uchar.h>

#include <array>
#include <memory>

namespace skribo {

namespace {

// The folding of every BMP unit, built once: matching calls this for every character of a log.
const std::array<char16_t, 0x10000>& BmpFoldTable() {
  static const std::unique_ptr<std::array<char16_t, 0x10000>> table = [] {
    auto t = std::make_unique<std::array<char16_t, 0x10000>>();
    for (char32_t c = 0; c < 0x10000; ++c) {
      UChar32 f = (c >= 0xD800 && c <= 0xDFFF)
                      ? static_cast<UChar32>(c)
                      : u_foldCase(static_cast<UChar32>(c), U_FOLD_CASE_DEFAULT);
      // Simple folding keeps the plane; guard anyway so a unit never turns into half a pair.
      (*t)[c] = f < 0x10000 ? static_cast<char16_t>(f) : static_cast<char16_t>(c);
    }
    return t;
  }();
  return *table;
}

}  // namespace

char16_t SimpleFoldUnit(char16_t c) {
  return BmpFoldTable()[c];
}

char32_t SimpleFold(char32_t c) {
  if (c < 0x10000) return SimpleFoldUnit(static_cast<char16_t>(c));
  if (c > 0x10FFFF) return c;
  return static_cast<char32_t>(u_foldCase(static_cast<UChar32>(c), U_FOLD_CASE_DEFAULT));
}

}  // namespace skribo
