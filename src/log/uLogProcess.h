// Turning a log file into the page that shows it.
#pragma once

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "log/TPipelineHost.h"
#include "prefs/uPreferences.h"

namespace skribo {

// A text is held as its lines; the text of a list is every line followed by CR LF.
using TLines = std::vector<std::u16string>;

// One character per line: the line's style element as an upper-case hexadecimal digit.
using TLineClasses = std::string;

// The state of the latest load, shared with the window that drives it.
struct TLoadState {
  std::u16string CurrentLogPath;
  bool LoadInProgress = false;
  bool CancelLoad = false;
  int32_t LastLoadTime = -1;
};

// Raised when a log file exists but cannot be read.
class TFileOpenError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The bytes of a file, mapped into memory where the system allows it.
class TFileBytes {
 public:
  TFileBytes() = default;
  TFileBytes(TFileBytes&& other) noexcept { *this = std::move(other); }
  TFileBytes& operator=(TFileBytes&& other) noexcept;
  ~TFileBytes();

  std::string_view View() const { return {Data, Size}; }

 private:
  friend TFileBytes ReadLogFile(const std::u16string& path);
  char* Data = nullptr;
  size_t Size = 0;
  bool Mapped = false;
};

TLines LoadLogLines(const std::u16string& path);
// The whole content of a file; raises TFileOpenError when it cannot be read.
TFileBytes ReadLogFile(const std::u16string& path);
// Decodes a file's bytes by their byte-order mark and splits them into lines.
TLines SplitLogBytes(std::string_view bytes);
// Splits a decoded text into lines; the first NUL ends the text.
TLines SplitLogText(std::u16string_view text);
bool IsLogText(const TLines& lines);

void JoinContinuationLines(TLines& lines);
std::u16string EncodeEntities(std::u16string_view text);
std::u16string DecodeEntities(std::u16string_view text);

// Position (1-based) of the character before the last "(", or the length without one.
size_t ParticipantNameEnd(std::u16string_view line);
bool HasTimestamp(std::u16string_view line);

// The value of Key in section "Logging" of the host add-on's language file, trimmed of blanks;
// empty when the file or the key is missing.
std::u16string ReadHostLanguageString(const std::u16string& languageFile,
                                      const std::u16string& key);

// The image tag of emoticon n (1 to 79) for a program file name.
std::u16string EmoticonImageTag(int n, std::u16string_view programFileName);

std::u16string BuildStyleSheet(const TRecOptions& options);
std::u16string BuildDocumentTail();
// The whole page in UTF-8: the style sheet, the body and the tail.
std::string BuildPageUtf8(const TRecOptions& options, std::u16string_view body);

// The text after the last "/" of a path.
std::u16string ExtractFileName(std::u16string_view path);

class TLogProcessor {
 public:
  TLogProcessor(TPipelineHost& host, const TRecOptions& options);

  // The host add-on's language file, source of the name-change pattern; empty for none.
  void SetLanguageFile(std::u16string path) { LanguageFile = std::move(path); }
  void SetProgramFileName(std::u16string name) { ProgramFileName = std::move(name); }

  // The page body, one block line per log line; empty when the file is not a log or the load
  // was cancelled. Raises TFileOpenError for a file that cannot be read.
  std::u16string ConvertLogToHtml(const std::u16string& path);
  // The same for the bytes of a log file.
  std::u16string ConvertLogBytesToHtml(std::string_view fileBytes);
  // Hands the body to sink in pieces of whole block lines instead of returning it, so that a
  // large page need not be held whole; false when there is no body.
  using TBodySink = std::function<void(std::u16string_view)>;
  bool ConvertLogToHtml(const std::u16string& path, const TBodySink& sink);
  // The whole page in UTF-8 in pieces of whole lines: the style sheet comes with the first
  // piece, the tail is the last. Nothing is handed over when there is no body.
  using TPageSink = std::function<void(std::string_view)>;
  bool ConvertLogToPageUtf8(const std::u16string& path, const TPageSink& sink);

  // Pumps messages, steps the bar; false (and the view emptied) once a cancel was requested.
  bool ReportProgress(int delta);
  void SetStatusText(const std::u16string& stageFormat);

  TLoadState State;

 private:
  bool ConvertLinesToHtml(TLines lines, const TBodySink& sink);
  TLines PreprocessLog(TLines lines);
  TLineClasses DetectLogFormat(TLines& lines);
  bool ReplaceEmoticons(TLines& lines);
  void ConvertLinks(TLines& lines, std::u16string_view target);

  TPipelineHost& Host;
  const TRecOptions& Options;
  std::u16string LanguageFile;
  std::u16string ProgramFileName = u"skribo";
};

}  // namespace skribo
