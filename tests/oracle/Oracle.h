// A deliberately slow, literal model of the log-to-page conversion, kept to check the product's
// faster path byte for byte. Every pass works on whole texts and lists of lines, as written.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "prefs/uPreferences.h"

namespace skribo::oracle {

using TLines = std::vector<std::u16string>;

struct TOracleInput {
  std::string FileBytes;
  TRecOptions Options = DefaultOptions();
  // The raw "NameChange" value as read from the language file, already trimmed of U+0020;
  // empty = none.
  std::u16string NameChangePattern;
  std::u16string ProgramFileName = u"skribo";
};

// The page body (every block line + CR LF); empty when the text is not a log.
std::u16string OracleConvertLogToHtml(const TOracleInput& in);

// Style sheet + body + tail, as UTF-8 bytes (an unpaired surrogate becomes U+FFFD); empty when
// the text is not a log.
std::string OracleBuildPage(const TOracleInput& in);

// Splits at CR, LF and U+2028; one CR, then one LF, then one U+2028 make a single break.
TLines SplitLines(const std::u16string& text);
// Every line followed by CR LF, the last one included.
std::u16string JoinLines(const TLines& lines);
// File bytes to lines: decode by byte-order mark, end the text at the first U+0000, split.
TLines LoadLogLines(const std::string& fileBytes);
bool IsLogText(const std::u16string& text);

enum TReplaceFlags : unsigned { rfReplaceAll = 1, rfIgnoreCase = 2 };

// Occurrences are found left to right without overlap; replaced text is not searched again.
// An empty Old never occurs.
std::u16string ReplaceText(const std::u16string& s, const std::u16string& oldText,
                           const std::u16string& newText, unsigned flags);
// As above, but an occurrence [start, end) that Accept refuses stays, and the search goes on at
// the next position.
using TOccurrenceFilter = std::function<bool(size_t start, size_t end)>;
std::u16string ReplaceText(const std::u16string& s, const std::u16string& oldText,
                           const std::u16string& newText, unsigned flags,
                           const TOccurrenceFilter& accept);
// 1-based position of the first occurrence, 0 when there is none (or Sub is empty).
size_t Pos(const std::u16string& sub, const std::u16string& s);
// 1-based position of the last occurrence, 0 when there is none (or Sub is empty).
size_t LastPos(const std::u16string& sub, const std::u16string& s);

struct TEntity {
  char16_t Char;
  const char16_t* Reference;
};
// The 100 rows: & " < > and then code points 160 to 255.
const std::vector<TEntity>& EntityTable();
std::u16string EncodeEntities(const std::u16string& text);
std::u16string DecodeEntities(const std::u16string& text);

std::vector<std::u16string> SplitByText(const std::u16string& s, const std::u16string& separator);
std::vector<std::u16string> ExtractPatternValues(const std::u16string& pattern,
                                                 const std::u16string& text,
                                                 const std::u16string& separator);

std::u16string JoinContinuationLines(const std::u16string& text);
size_t ParticipantNameEnd(const std::u16string& line);
bool HasTimestamp(const std::u16string& line);

// Classifies every line (one hexadecimal digit each) and rewrites lines as the options say.
std::string DetectLogFormat(TLines& lines, const TRecOptions& options,
                            const std::u16string& nameChangePattern);

// Row n (1-based) holds one or two codes, written as they stand after entity encoding.
const std::vector<std::vector<std::u16string>>& EmoticonTable();
std::u16string EmoticonImageTag(int n, const std::u16string& programFileName);
std::u16string ReplaceEmoticons(const std::u16string& text, const std::u16string& programFileName);

bool IsLinkEdgeChar(char16_t c);
bool IsEmailAddress(const std::u16string& w);
std::vector<std::u16string> SplitLinkTokens(const std::u16string& line);
std::u16string ConvertLinks(const std::u16string& text, const std::u16string& target);

// "#RRGGBB" for a stored colour; system colours come from the classic Windows defaults.
std::u16string ColorToHtml(uint32_t color);
std::u16string BuildStyleSheet(const TRecOptions& options);
std::u16string BuildDocumentTail();

}  // namespace skribo::oracle
