// Reading a log file into lines, and the small text tests the walk over the lines relies on.
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <bit>
#include <cerrno>
#include <cstring>

#include "common/EntityTable.h"
#include "common/Misc.h"
#include "common/TextCodec.h"
#include "log/uLogProcess.h"
#include "platform/IniFile.h"

namespace skribo {

namespace {

[[noreturn]] void RaiseOpenError(const std::u16string& path, int error) {
  throw TFileOpenError("Cannot open file \"" + EncodeUtf8(path) + "\". " + std::strerror(error));
}

}  // namespace

TFileBytes& TFileBytes::operator=(TFileBytes&& other) noexcept {
  std::swap(Data, other.Data);
  std::swap(Size, other.Size);
  std::swap(Mapped, other.Mapped);
  return *this;
}

TFileBytes::~TFileBytes() {
  if (Mapped) {
    ::munmap(Data, Size);
  } else {
    delete[] Data;
  }
}

TFileBytes ReadLogFile(const std::u16string& path) {
  const std::string name = EncodeUtf8(path);
  int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) RaiseOpenError(path, errno);
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    int error = S_ISDIR(st.st_mode) ? EISDIR : errno ? errno : EINVAL;
    ::close(fd);
    RaiseOpenError(path, error);
  }
  TFileBytes file;
  // A mapping costs no copy; the pages come in at once rather than one fault at a time.
  if (st.st_size > 0) {
    void* map = ::mmap(nullptr, static_cast<size_t>(st.st_size), PROT_READ,
                       MAP_PRIVATE | MAP_POPULATE, fd, 0);
    if (map != MAP_FAILED) {
      ::close(fd);
      file.Data = static_cast<char*>(map);
      file.Size = static_cast<size_t>(st.st_size);
      file.Mapped = true;
      return file;
    }
  }
  // Files that cannot be mapped are read; one that grows meanwhile is read to its new end.
  size_t capacity = static_cast<size_t>(st.st_size) + 1;
  file.Data = new char[capacity];
  while (true) {
    if (file.Size == capacity) {
      char* larger = new char[capacity * 2];
      std::memcpy(larger, file.Data, file.Size);
      delete[] file.Data;
      file.Data = larger;
      capacity *= 2;
    }
    ssize_t n = ::read(fd, file.Data + file.Size, capacity - file.Size);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      int error = errno;
      ::close(fd);
      RaiseOpenError(path, error);
    }
    if (n == 0) break;
    file.Size += static_cast<size_t>(n);
  }
  ::close(fd);
  return file;
}

namespace {

// Splits 8-bit or UTF-16 text into lines as it decodes it, without the whole text in between.
// unitAt(k) reads unit k; copy(line, from, to) decodes units [from, to) into line.
template <typename TUnitAt, typename TCopy>
TLines SplitUnits(size_t count, TUnitAt unitAt, TCopy copy) {
  TLines lines;
  lines.reserve(count / 48 + 16);
  size_t start = 0, i = 0;
  while (i < count) {
    const char16_t c = unitAt(i);
    if (c > u'\r' && c != 0x2028) {
      ++i;
      continue;
    }
    if (c == 0) break;
    if (c != u'\r' && c != u'\n' && c != 0x2028) {
      ++i;
      continue;
    }
    copy(lines.emplace_back(), start, i);
    if (i < count && unitAt(i) == u'\r') ++i;
    if (i < count && unitAt(i) == u'\n') ++i;
    if (i < count && unitAt(i) == 0x2028) ++i;
    start = i;
  }
  if (start < i) copy(lines.emplace_back(), start, i);
  return lines;
}

}  // namespace

TLines SplitLogBytes(std::string_view bytes) {
  size_t mark = 0;
  const TTextEncoding encoding = DetectEncoding(bytes, &mark);
  bytes.remove_prefix(mark);
  const char* data = bytes.data();
  const auto* p = reinterpret_cast<const unsigned char*>(data);
  switch (encoding) {
    case TTextEncoding::Utf16LE:
      if constexpr (std::endian::native == std::endian::little) {
        return SplitUnits(
            bytes.size() / 2,
            [data](size_t k) {
              char16_t c;
              std::memcpy(&c, data + 2 * k, 2);
              return c;
            },
            [data](std::u16string& line, size_t from, size_t to) {
              line.resize(to - from);
              std::memcpy(line.data(), data + 2 * from, 2 * (to - from));
            });
      }
      [[fallthrough]];
    case TTextEncoding::Utf16BE: {
      const bool big = encoding == TTextEncoding::Utf16BE;
      auto unitAt = [p, big](size_t k) {
        return static_cast<char16_t>(big ? p[2 * k] << 8 | p[2 * k + 1]
                                         : p[2 * k] | p[2 * k + 1] << 8);
      };
      return SplitUnits(bytes.size() / 2, unitAt,
                        [unitAt](std::u16string& line, size_t from, size_t to) {
                          line.resize(to - from);
                          for (size_t k = from; k < to; ++k)
                            line[k - from] = unitAt(k);
                        });
    }
    case TTextEncoding::Utf8:
      return SplitLogText(DecodeUtf8(bytes));
    case TTextEncoding::Ansi:
      break;
  }
  auto unitAt = [p](size_t k) { return FromWindows1252(p[k]); };
  return SplitUnits(bytes.size(), unitAt, [unitAt](std::u16string& line, size_t from, size_t to) {
    line.resize(to - from);
    for (size_t k = from; k < to; ++k)
      line[k - from] = unitAt(k);
  });
}

TLines SplitLogText(std::u16string_view text) {
  size_t nul = text.find(u'\0');
  if (nul != std::u16string_view::npos) text = text.substr(0, nul);
  return SplitTextLines(text);
}

TLines LoadLogLines(const std::u16string& path) {
  const TFileBytes file = ReadLogFile(path);
  return SplitLogBytes(file.View());
}

bool IsLogText(const TLines& lines) {
  return !lines.empty() && !lines.front().empty() && lines.front().front() == u'.';
}

// Only a blank makes a continuation line; the joined part loses controls and blanks at its ends.
void JoinContinuationLines(TLines& lines) {
  size_t kept = 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    std::u16string& line = lines[i];
    if (!line.empty() && line.front() == u' ' && kept > 0) {
      lines[kept - 1].append(u" ").append(TrimControls(line));
      continue;
    }
    if (kept != i) lines[kept] = std::move(line);
    ++kept;
  }
  lines.resize(kept);
}

namespace {

void AppendEncodedEntities(std::u16string& out, std::u16string_view text) {
  size_t from = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    if (c > 255 || (c != u'&' && c != u'"' && c != u'<' && c != u'>' && c < 160)) continue;
    out.append(text.substr(from, i - from)).append(EntityReferenceOf(c));
    from = i + 1;
  }
  out.append(text.substr(from));
}

}  // namespace

// One sweep gives what the table's replace passes give: references never overlap, and only
// "&" could start a new one, which is encoded first and decoded last.
std::u16string EncodeEntities(std::u16string_view text) {
  size_t size = text.size();
  for (char16_t c : text)
    if (c <= 255) size += EntityReferenceOf(c).size() - (EntityReferenceOf(c).empty() ? 0 : 1);
  std::u16string out;
  out.reserve(size);
  AppendEncodedEntities(out, text);
  return out;
}

std::u16string DecodeEntities(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  size_t from = 0;
  for (size_t i = text.find(u'&'); i != std::u16string_view::npos; i = text.find(u'&', i)) {
    int e = MatchEntityAt(text, i);
    if (e < 0) {
      ++i;
      continue;
    }
    out.append(text.substr(from, i - from)).push_back(EntityTable[e].Char);
    i += EntityTable[e].Reference.size();
    from = i;
  }
  out.append(text.substr(from));
  return out;
}

size_t ParticipantNameEnd(std::u16string_view line) {
  size_t p = LastPos(u"(", line);
  return p == 0 ? line.size() : p - 1;
}

bool HasTimestamp(std::u16string_view line) {
  return !line.empty() && line.front() == u'[' && line.find(u']') != std::u16string_view::npos;
}

std::u16string ExtractFileName(std::u16string_view path) {
  size_t slash = path.rfind(u'/');
  return std::u16string(slash == std::u16string_view::npos ? path : path.substr(slash + 1));
}

std::u16string ReadHostLanguageString(const std::u16string& languageFile,
                                      const std::u16string& key) {
  if (languageFile.empty()) return {};
  try {
    const TIniFile ini{std::filesystem::path(EncodeUtf8(languageFile))};
    return std::u16string(TrimBlanks(ini.ReadString(u"Logging", key, u"")));
  } catch (const TIniFileError&) {
    return {};  // an unreadable language file is no language file
  }
}

}  // namespace skribo
