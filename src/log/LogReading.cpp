// Reading a log file into lines, and the small text tests the walk over the lines relies on.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

std::string ReadLogFile(const std::u16string& path) {
  const std::string name = EncodeUtf8(path);
  int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) RaiseOpenError(path, errno);
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    int error = S_ISDIR(st.st_mode) ? EISDIR : errno ? errno : EINVAL;
    ::close(fd);
    RaiseOpenError(path, error);
  }
  std::string bytes;
  bytes.resize(static_cast<size_t>(st.st_size));
  size_t done = 0;
  while (true) {
    if (done == bytes.size()) bytes.resize(bytes.size() + 65536);  // the file grew meanwhile
    ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      int error = errno;
      ::close(fd);
      RaiseOpenError(path, error);
    }
    if (n == 0) break;
    done += static_cast<size_t>(n);
  }
  ::close(fd);
  bytes.resize(done);
  return bytes;
}

TLines SplitLogText(std::u16string_view text) {
  size_t nul = text.find(u'\0');
  if (nul != std::u16string_view::npos) text = text.substr(0, nul);
  return SplitTextLines(text);
}

TLines LoadLogLines(const std::u16string& path) {
  std::u16string text = DecodeText(ReadLogFile(path));
  return SplitLogText(text);
}

std::u16string TextOfLines(const TLines& lines) {
  std::u16string text;
  size_t size = 0;
  for (const std::u16string& line : lines)
    size += line.size() + 2;
  text.reserve(size);
  for (const std::u16string& line : lines)
    text.append(line).append(u"\r\n");
  return text;
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

// One sweep gives what the table's replace passes give: references never overlap, and only
// "&" could start a new one, which is encoded first and decoded last.
std::u16string EncodeEntities(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
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
