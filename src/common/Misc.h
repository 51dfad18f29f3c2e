// General text routines: searching, replacing, splitting, and turning addresses into links.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace skribo {

enum TReplaceFlag : unsigned {
  rfReplaceAll = 1,
  rfIgnoreCase = 2,
};

// 1-based position of the first occurrence of sub in s, 0 when absent; an empty sub never occurs.
size_t Pos(std::u16string_view sub, std::u16string_view s);
// 1-based position of the last occurrence, 0 when absent or empty.
size_t LastPos(std::u16string_view sub, std::u16string_view s);

// Occurrences are found left to right and do not overlap; replaced text is not searched again.
// Ignoring case compares by simple case folding per code point.
std::u16string ReplaceText(std::u16string_view s, std::u16string_view oldText,
                           std::u16string_view newText, unsigned flags);

std::vector<std::u16string> SplitByText(std::u16string_view s, std::u16string_view separator);
std::vector<std::u16string> ExtractPatternValues(std::u16string_view pattern,
                                                 std::u16string_view text,
                                                 std::u16string_view separator);

// Splits a text at CR, LF and U+2028: at a break one CR, then one LF, then one U+2028 are taken,
// so CR LF is one break and LF CR two; a text ending in a break has no empty last line.
std::vector<std::u16string> SplitTextLines(std::u16string_view text);

// Trims code units up to U+0020 at both ends.
std::u16string_view TrimControls(std::u16string_view s);
// Trims U+0020 only.
std::u16string_view TrimBlanks(std::u16string_view s);

bool IsLinkEdgeChar(char16_t c);
bool IsEmailAddress(std::u16string_view word);
// The tokens of a line: blanks, edge punctuation and words; together they are the line.
std::vector<std::u16string_view> SplitLinkTokens(std::u16string_view line);
// Links the addresses of one line in place.
void ConvertLinksInLine(std::u16string& line, std::u16string_view target);
std::u16string ConvertLinks(std::u16string_view text, std::u16string_view target);

}  // namespace skribo
