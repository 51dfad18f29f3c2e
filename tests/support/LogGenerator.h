// Random chat logs of the host add-on's format, deterministic per seed, for comparisons and
// benchmarks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "prefs/uPreferences.h"

namespace skribo::test {

enum class TLogEncoding { Random, Utf16LE, Utf16BE, Utf8, Windows1252 };

struct TLogGenOptions {
  // Approximate size of the file; the log ends with the conversation that reaches it.
  size_t TargetBytes = 16 * 1024;
  // Ordinary chat content only: no odd line breaks, NULs, lone surrogates, malformed header
  // boxes or files that are not logs.
  bool RealisticOnly = false;
  TLogEncoding Encoding = TLogEncoding::Random;
  // Now and then a line of many thousand characters (stress content only).
  bool LongLines = false;
  // The wording of name-change announcements; the first "%s" stands for the old name, the
  // second for the new one. Empty: no name changes are written.
  std::u16string NameChangePattern = u"%s is now known as %s";
};

// The bytes of a log file, the same for the same seed and options.
std::string GenerateLog(uint32_t seed, const TLogGenOptions& options);

// A name-change wording for the language file, picked by seed: the usual one, one with fixed text
// before the first name, ones with characters that need entities, one with a single place, none.
std::u16string RandomNameChangePattern(uint32_t seed);

// The defaults with the rendering options and the styles flipped at random.
TRecOptions RandomOptions(uint32_t seed);

}  // namespace skribo::test
