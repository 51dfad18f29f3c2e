// The HTML named entities that log text is encoded with: "&", the double quote, "<", ">" and
// the code points 160 to 255.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace skribo {

struct TEntity {
  char16_t Char;
  std::u16string_view Reference;  // "&amp;" and the like
};

constexpr int EntityCount = 100;
extern const std::array<TEntity, EntityCount> EntityTable;

// The reference that encodes c, or an empty view when c is not encoded.
std::u16string_view EntityReferenceOf(char16_t c);

// The index into EntityTable of the reference that starts at pos, or -1.
int MatchEntityAt(std::u16string_view text, size_t pos);

// The index of the reference that ends with the ';' at pos, or -1.
int MatchEntityEndingAt(std::u16string_view text, size_t pos);

}  // namespace skribo
