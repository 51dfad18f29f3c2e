// Byte encodings of text: byte-order-mark detection, UTF-8, UTF-16 and Windows-1252.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace skribo {

enum class TTextEncoding { Ansi, Utf8, Utf16LE, Utf16BE };

// The encoding a byte-order mark names (Ansi without one) and the mark's length in bytes.
TTextEncoding DetectEncoding(std::string_view bytes, size_t* markLength = nullptr);

// Decodes a whole file's bytes by its byte-order mark; without one the bytes are Windows-1252.
// UTF-16 keeps unpaired surrogates and ignores an odd last byte; invalid UTF-8 gives U+FFFD
// per maximal ill-formed subsequence.
std::u16string DecodeText(std::string_view bytes);

std::u16string DecodeUtf8(std::string_view bytes);
std::u16string DecodeWindows1252(std::string_view bytes);
std::u16string DecodeUtf16(std::string_view bytes, bool bigEndian);

// UTF-8 without a byte-order mark; an unpaired surrogate becomes U+FFFD.
std::string EncodeUtf8(std::u16string_view text);
void AppendUtf8(std::string& out, std::u16string_view text);

// UTF-16LE with the byte-order mark FF FE.
std::string EncodeUtf16LEWithBom(std::u16string_view text);

// The Windows-1252 byte of a character, '?' for a character the code page cannot hold.
// The five bytes that Windows-1252 leaves undefined stand for the code points of the same value.
uint8_t ToWindows1252(char16_t c);
char16_t FromWindows1252(uint8_t b);

inline std::u16string Utf8ToUtf16(std::string_view s) {
  return DecodeUtf8(s);
}
inline std::string Utf16ToUtf8(std::u16string_view s) {
  return EncodeUtf8(s);
}

}  // namespace skribo
