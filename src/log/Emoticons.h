// The emoticon codes and their replacement by image tags.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace skribo {

constexpr int EmoticonImageCount = 79;
constexpr int EmoticonCodeCount = 90;

struct TEmoticonCode {
  int Image;                 // 1 to 79
  std::u16string_view Code;  // lower case, as it stands after entity encoding
};

// Every code in the order the codes are replaced: image 1's codes first, a row's first code
// before its second.
extern const std::array<TEmoticonCode, EmoticonCodeCount> EmoticonCodes;

// Replaces the codes of one line of the page body as the ordered replace-all passes over the
// whole body would: an earlier code wins over a later one wherever they overlap, matching
// ignores case, and no occurrence cuts an entity reference.
class TEmoticonReplacer {
 public:
  explicit TEmoticonReplacer(std::u16string_view programFileName);

  void ReplaceInLine(std::u16string& line);

 private:
  struct TCandidate {
    int Code;
    size_t Start;
    size_t Length;
  };

  void ReplaceByScan(std::u16string& line);
  void ReplaceByPasses(std::u16string& line) const;

  std::array<std::u16string, EmoticonImageCount + 1> Tags;
  // Tags that could themselves hold codes or references need the passes done one by one.
  bool TagsAreInert = true;
  std::vector<TCandidate> Candidates;
  std::vector<TCandidate> Accepted;
  std::vector<unsigned char> Taken;
};

}  // namespace skribo
