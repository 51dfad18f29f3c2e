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

std::u16string SimpleFoldText(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      char32_t f = SimpleFold(0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) +
                              (static_cast<char32_t>(text[i + 1]) - 0xDC00));
      if (f >= 0x10000) {
        f -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (f >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (f & 0x3FF)));
      } else {
        out.push_back(static_cast<char16_t>(f));
      }
      ++i;
    } else {
      out.push_back(SimpleFoldUnit(c));
    }
  }
  return out;
}

}  // namespace skribo
