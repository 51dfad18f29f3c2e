#include "platform/IniFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "common/CaseFold.h"
#include "common/Misc.h"
#include "common/TextCodec.h"
#include "platform/FileIo.h"

namespace skribo {

namespace {

namespace fs = std::filesystem;

constexpr char16_t LineSeparator = u'\u2028';

bool IsLineBreak(char16_t c) {
  return c == u'\r' || c == u'\n' || c == LineSeparator;
}

std::u16string FoldName(std::u16string_view name) {
  return SimpleFoldText(name);
}

std::string SystemText(int errorCode) {
  return std::strerror(errorCode);
}

std::string Quoted(const fs::path& p) {
  return "\"" + p.string() + "\"";
}

[[noreturn]] void ThrowReadError(const fs::path& file, int errorCode) {
  throw TIniFileReadError("Cannot read the INI file " + Quoted(file) + ": " + SystemText(errorCode),
                          errorCode, file);
}

[[noreturn]] void ThrowWriteError(const fs::path& file, const std::string& step, int errorCode) {
  throw TIniFileWriteError(
      "Cannot save the INI file " + Quoted(file) + ": " + step + ": " + SystemText(errorCode),
      errorCode, file);
}

// Appends the whole file to bytes; false when there is no such file.
bool ReadWholeFile(const fs::path& file, std::string& bytes) {
  // O_NONBLOCK keeps a FIFO at this path from hanging the program.
  int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    int e = errno;
    if (e == ENOENT || e == ENOTDIR) return false;
    ThrowReadError(file, e);
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    int e = S_ISDIR(st.st_mode) ? EISDIR : errno;
    ::close(fd);
    ThrowReadError(file, e);
  }
  const int e = ReadToEnd(fd, bytes);
  ::close(fd);
  if (e != 0) ThrowReadError(file, e);
  return true;
}

void CheckNoLineBreak(std::u16string_view s, const char* what) {
  for (char16_t c : s) {
    if (IsLineBreak(c) || c == u'\0') {
      throw std::invalid_argument(std::string("An INI ") + what +
                                  " cannot hold a line break or a NUL character");
    }
  }
}

void CheckKey(std::u16string_view key) {
  CheckNoLineBreak(key, "key");
  if (key.find(u'=') != std::u16string_view::npos) {
    throw std::invalid_argument("An INI key cannot hold \"=\"");
  }
  std::u16string_view trimmed = TrimBlanks(key);
  if (!trimmed.empty() && (trimmed.front() == u';' || trimmed.front() == u'[')) {
    throw std::invalid_argument("An INI key cannot start with \";\" or \"[\"");
  }
}

void WriteAll(int fd, std::string_view bytes, const fs::path& target, const fs::path& temp) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      int e = errno;
      ::close(fd);
      ::unlink(temp.c_str());
      ThrowWriteError(target, "writing the temporary file " + Quoted(temp) + " failed", e);
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
}

// Writes the new contents beside the target and renames them over it: the target is either the
// old file or the new one, never a mixture.
void ReplaceFile(fs::path target, std::string_view bytes) {
  // Saving through a symbolic link replaces the file it points at, not the link.
  std::error_code ec;
  if (fs::is_symlink(target, ec)) {
    fs::path resolved = fs::weakly_canonical(target, ec);
    if (!ec) target = resolved;
  }
  const fs::path temp = TIniFile::TemporaryPathFor(target);
  int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0666);
  if (fd < 0) {
    ThrowWriteError(target, "creating the temporary file " + Quoted(temp) + " failed", errno);
  }
  // The saved file keeps the permissions the user gave the old one.
  struct stat st {};
  if (::stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
    ::fchmod(fd, st.st_mode & 07777);
  }
  WriteAll(fd, bytes, target, temp);
  if (::fsync(fd) != 0) {
    int e = errno;
    ::close(fd);
    ::unlink(temp.c_str());
    ThrowWriteError(target, "flushing the temporary file " + Quoted(temp) + " failed", e);
  }
  if (::close(fd) != 0) {
    int e = errno;
    ::unlink(temp.c_str());
    ThrowWriteError(target, "closing the temporary file " + Quoted(temp) + " failed", e);
  }
  if (::rename(temp.c_str(), target.c_str()) != 0) {
    int e = errno;
    ::unlink(temp.c_str());
    ThrowWriteError(target, "replacing it with the temporary file " + Quoted(temp) + " failed", e);
  }
  // Make the rename itself durable; a failure here leaves a complete file either way.
  fs::path folder = target.parent_path();
  int dirFd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd >= 0) {
    ::fsync(dirFd);
    ::close(dirFd);
  }
}

}  // namespace

TIniFileError::TIniFileError(const std::string& message, int errorCode,
                             std::filesystem::path fileName)
    : std::runtime_error(message), ErrorCode_(errorCode), FileName_(std::move(fileName)) {}

TIniFile::TIniFile(std::filesystem::path fileName) : FileName_(std::move(fileName)) {
  std::string bytes;
  if (ReadWholeFile(FileName_, bytes)) Parse(DecodeText(bytes));
}

TIniFile TIniFile::FromBytes(std::string_view bytes) {
  return FromText(DecodeText(bytes));
}

TIniFile TIniFile::FromText(std::u16string_view text) {
  TIniFile ini;
  ini.Parse(text);
  return ini;
}

void TIniFile::Parse(std::u16string_view text) {
  size_t nul = text.find(u'\0');
  if (nul != std::u16string_view::npos) text = text.substr(0, nul);

  TSection* current = nullptr;
  for (const std::u16string& rawLine : SplitTextLines(text)) {
    std::u16string_view line = TrimBlanks(rawLine);
    if (line.empty() || line.front() == u';') continue;
    if (line.size() >= 2 && line.front() == u'[' && line.back() == u']') {
      std::u16string_view name = TrimBlanks(line.substr(1, line.size() - 2));
      std::u16string folded = FoldName(name);
      current = FindSection(folded);
      if (current == nullptr) {
        Sections_.push_back({std::u16string(name), std::move(folded), {}});
        current = &Sections_.back();
      }
      continue;
    }
    size_t eq = line.find(u'=');
    if (eq == std::u16string_view::npos || current == nullptr) continue;
    std::u16string_view key = TrimBlanks(line.substr(0, eq));
    std::u16string_view value = TrimBlanks(line.substr(eq + 1));
    current->Entries.push_back({std::u16string(key), FoldName(key), std::u16string(value)});
  }
}

const TIniFile::TSection* TIniFile::FindSection(std::u16string_view foldedName) const {
  auto it = std::find_if(Sections_.begin(), Sections_.end(),
                         [&](const TSection& s) { return s.FoldedName == foldedName; });
  return it == Sections_.end() ? nullptr : &*it;
}

TIniFile::TSection* TIniFile::FindSection(std::u16string_view foldedName) {
  return const_cast<TSection*>(std::as_const(*this).FindSection(foldedName));
}

namespace {

template <typename Section>
auto FindEntry(Section* section, std::u16string_view foldedKey) -> decltype(&section->Entries[0]) {
  if (section == nullptr) return nullptr;
  for (auto& entry : section->Entries) {
    if (entry.FoldedKey == foldedKey) return &entry;
  }
  return nullptr;
}

}  // namespace

bool TIniFile::SectionExists(std::u16string_view section) const {
  return FindSection(FoldName(section)) != nullptr;
}

bool TIniFile::ValueExists(std::u16string_view section, std::u16string_view key) const {
  return FindEntry(FindSection(FoldName(section)), FoldName(key)) != nullptr;
}

std::u16string TIniFile::ReadString(std::u16string_view section, std::u16string_view key,
                                    std::u16string_view defaultValue) const {
  const auto* entry = FindEntry(FindSection(FoldName(section)), FoldName(key));
  return std::u16string(entry != nullptr ? std::u16string_view(entry->Value) : defaultValue);
}

std::vector<std::u16string> TIniFile::ReadSections() const {
  std::vector<std::u16string> names;
  names.reserve(Sections_.size());
  for (const TSection& s : Sections_)
    names.push_back(s.Name);
  return names;
}

std::vector<std::u16string> TIniFile::ReadSection(std::u16string_view section) const {
  std::vector<std::u16string> keys;
  const TSection* s = FindSection(FoldName(section));
  if (s == nullptr) return keys;
  for (size_t i = 0; i < s->Entries.size(); ++i) {
    // A repeated key is listed where it first occurs.
    if (FindEntry(s, s->Entries[i].FoldedKey) == &s->Entries[i]) keys.push_back(s->Entries[i].Key);
  }
  return keys;
}

void TIniFile::WriteString(std::u16string_view section, std::u16string_view key,
                           std::u16string_view value) {
  CheckNoLineBreak(section, "section name");
  CheckKey(key);
  CheckNoLineBreak(value, "value");
  std::u16string foldedSection = FoldName(section);
  TSection* s = FindSection(foldedSection);
  if (s == nullptr) {
    Sections_.push_back({std::u16string(section), std::move(foldedSection), {}});
    s = &Sections_.back();
  }
  std::u16string foldedKey = FoldName(key);
  if (TEntry* entry = FindEntry(s, foldedKey)) {
    entry->Value = value;
  } else {
    s->Entries.push_back({std::u16string(key), std::move(foldedKey), std::u16string(value)});
  }
}

void TIniFile::EraseSection(std::u16string_view section) {
  std::u16string folded = FoldName(section);
  std::erase_if(Sections_, [&](const TSection& s) { return s.FoldedName == folded; });
}

void TIniFile::DeleteKey(std::u16string_view section, std::u16string_view key) {
  TSection* s = FindSection(FoldName(section));
  if (s == nullptr) return;
  // Every occurrence goes, so that a repeated key does not come back into view.
  std::u16string folded = FoldName(key);
  std::erase_if(s->Entries, [&](const TEntry& e) { return e.FoldedKey == folded; });
}

std::u16string TIniFile::ToText() const {
  std::u16string text;
  for (const TSection& s : Sections_) {
    text += u'[';
    text += s.Name;
    text += u"]\r\n";
    for (const TEntry& e : s.Entries) {
      text += e.Key;
      text += u'=';
      text += e.Value;
      text += u"\r\n";
    }
    text += u"\r\n";
  }
  return text;
}

std::string TIniFile::ToBytes() const {
  return EncodeUtf16LEWithBom(ToText());
}

void TIniFile::UpdateFile() const {
  if (FileName_.empty()) throw std::logic_error("This INI file has no file name to save to");
  ReplaceFile(FileName_, ToBytes());
}

std::filesystem::path TIniFile::TemporaryPathFor(const std::filesystem::path& target) {
  fs::path temp = target;
  temp += "." + std::to_string(::getpid()) + ".new";
  return temp;
}

}  // namespace skribo
