#include "common/TextCodec.h"

#include <array>

namespace skribo {

namespace {

// Windows-1252 bytes 0x80..0x9F; the five undefined bytes stand for themselves.
constexpr std::array<char16_t, 32> Cp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool IsHighSurrogate(char16_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

void AppendCodePoint(std::u16string& out, char32_t cp) {
  if (cp < 0x10000) {
    out.push_back(static_cast<char16_t>(cp));
  } else {
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
  }
}

}  // namespace

TTextEncoding DetectEncoding(std::string_view bytes, size_t* markLength) {
  auto starts = [&](std::string_view mark) { return bytes.substr(0, mark.size()) == mark; };
  TTextEncoding encoding = TTextEncoding::Ansi;
  size_t length = 0;
  if (starts("\xFF\xFE")) {
    encoding = TTextEncoding::Utf16LE;
    length = 2;
  } else if (starts("\xFE\xFF")) {
    encoding = TTextEncoding::Utf16BE;
    length = 2;
  } else if (starts("\xEF\xBB\xBF")) {
    encoding = TTextEncoding::Utf8;
    length = 3;
  }
  if (markLength) *markLength = length;
  return encoding;
}

std::u16string DecodeText(std::string_view bytes) {
  size_t mark = 0;
  switch (DetectEncoding(bytes, &mark)) {
    case TTextEncoding::Utf16LE:
      return DecodeUtf16(bytes.substr(mark), false);
    case TTextEncoding::Utf16BE:
      return DecodeUtf16(bytes.substr(mark), true);
    case TTextEncoding::Utf8:
      return DecodeUtf8(bytes.substr(mark));
    case TTextEncoding::Ansi:
      break;
  }
  return DecodeWindows1252(bytes);
}

std::u16string DecodeWindows1252(std::string_view bytes) {
  std::u16string out;
  out.resize(bytes.size());
  for (size_t i = 0; i < bytes.size(); ++i)
    out[i] = FromWindows1252(static_cast<uint8_t>(bytes[i]));
  return out;
}

std::u16string DecodeUtf16(std::string_view bytes, bool bigEndian) {
  std::u16string out;
  out.resize(bytes.size() / 2);
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  for (size_t i = 0; i < out.size(); ++i) {
    unsigned a = p[2 * i], b = p[2 * i + 1];
    out[i] = static_cast<char16_t>(bigEndian ? (a << 8 | b) : (b << 8 | a));
  }
  return out;
}

// Ill-formed input gives one U+FFFD per maximal subpart of a sequence, as Unicode recommends.
std::u16string DecodeUtf8(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const size_t n = bytes.size();
  size_t i = 0;
  while (i < n) {
    unsigned c = p[i];
    if (c < 0x80) {
      out.push_back(static_cast<char16_t>(c));
      ++i;
      continue;
    }
    int need;
    char32_t cp;
    unsigned lo = 0x80, hi = 0xBF;  // bounds of the second byte
    if (c >= 0xC2 && c <= 0xDF) {
      need = 1;
      cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      need = 2;
      cp = c & 0x0F;
      if (c == 0xE0) lo = 0xA0;
      if (c == 0xED) hi = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      need = 3;
      cp = c & 0x07;
      if (c == 0xF0) lo = 0x90;
      if (c == 0xF4) hi = 0x8F;
    } else {
      out.push_back(0xFFFD);
      ++i;
      continue;
    }
    size_t j = i + 1;
    bool ok = true;
    for (int k = 0; k < need; ++k, ++j) {
      unsigned lower = k == 0 ? lo : 0x80, upper = k == 0 ? hi : 0xBF;
      if (j >= n || p[j] < lower || p[j] > upper) {
        ok = false;
        break;
      }
      cp = cp << 6 | (p[j] & 0x3F);
    }
    if (ok) {
      AppendCodePoint(out, cp);
    } else {
      out.push_back(0xFFFD);
    }
    i = j;
  }
  return out;
}

void AppendUtf8(std::string& out, std::u16string_view text) {
  const size_t n = text.size();
  // Size the output exactly first, so that a large text is written in place without regrowing.
  size_t bytes = n;
  for (size_t i = 0; i < n; ++i) {
    const char16_t c = text[i];
    if (c < 0x80) continue;
    if (IsHighSurrogate(c) && i + 1 < n && IsLowSurrogate(text[i + 1])) {
      bytes += 2;  // four bytes for two units
      ++i;
    } else {
      bytes += c < 0x800 ? 1 : 2;
    }
  }
  const size_t start = out.size();
  out.resize(start + bytes);
  char* p = out.data() + start;
  for (size_t i = 0; i < n; ++i) {
    char32_t c = text[i];
    if (c < 0x80) {
      *p++ = static_cast<char>(c);
      continue;
    }
    if (IsHighSurrogate(text[i]) && i + 1 < n && IsLowSurrogate(text[i + 1])) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (IsHighSurrogate(text[i]) || IsLowSurrogate(text[i])) {
      c = 0xFFFD;
    }
    if (c < 0x800) {
      *p++ = static_cast<char>(0xC0 | c >> 6);
    } else if (c < 0x10000) {
      *p++ = static_cast<char>(0xE0 | c >> 12);
      *p++ = static_cast<char>(0x80 | (c >> 6 & 0x3F));
    } else {
      *p++ = static_cast<char>(0xF0 | c >> 18);
      *p++ = static_cast<char>(0x80 | (c >> 12 & 0x3F));
      *p++ = static_cast<char>(0x80 | (c >> 6 & 0x3F));
    }
    *p++ = static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::string EncodeUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 4);
  AppendUtf8(out, text);
  return out;
}

std::string EncodeUtf16LEWithBom(std::u16string_view text) {
  std::string out;
  out.reserve(2 + 2 * text.size());
  out += "\xFF\xFE";
  for (char16_t c : text) {
    out.push_back(static_cast<char>(c & 0xFF));
    out.push_back(static_cast<char>(c >> 8));
  }
  return out;
}

char16_t FromWindows1252(uint8_t b) {
  return b >= 0x80 && b <= 0x9F ? Cp1252High[b - 0x80] : static_cast<char16_t>(b);
}

uint8_t ToWindows1252(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<uint8_t>(c);
  for (size_t i = 0; i < Cp1252High.size(); ++i)
    if (Cp1252High[i] == c) return static_cast<uint8_t>(0x80 + i);
  return '?';
}

}  // namespace skribo
