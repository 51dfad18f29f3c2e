// skribo-convert: turns a log into the page the viewer shows, without a window.
#include <fcntl.h>
#include <malloc.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "cli/TTerminalProgress.h"
#include "common/CaseFold.h"
#include "common/TextCodec.h"
#include "common/u_ResourceString.h"
#include "host/uMisc.h"
#include "log/Emoticons.h"
#include "log/uLogProcess.h"
#include "platform/IniFile.h"
#include "prefs/OptionsIni.h"
#include "resources/EmbeddedResources.h"

namespace skribo {

namespace {

constexpr const char* Usage =
    "Usage: skribo-convert [--ini FILE] [--language-file FILE] [--exe-name NAME] [--standalone]\n"
    "                      [-o OUT] LOG\n"
    "Writes the page that Velmora Skribo shows for the log LOG, as UTF-8, to OUT or to standard\n"
    "output.\n"
    "  --ini FILE            options from section \"preferences\" of FILE (default: the defaults)\n"
    "  --language-file FILE  the Velmora language file that gives the name-change wording\n"
    "                        (default: Velmora's current one, as the viewer finds it through the\n"
    "                        registry in $XDG_CONFIG_HOME/skribo/registry)\n"
    "  --exe-name NAME       program name in the emoticon image addresses (default: skribo)\n"
    "  --standalone          put the emoticon images into the page itself\n"
    "  -o OUT                write to OUT instead of standard output\n"
    "  --help                show this text\n"
    "Exit status: 0 done, 1 error, 2 the file is not a Velmora log.\n";

struct TArguments {
  std::optional<std::string> Ini, LanguageFile, ExeName, Out;
  bool Standalone = false;
  std::vector<std::string> Logs;
};

class TUsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

TArguments ParseArguments(int argc, char** argv, bool* help) {
  TArguments args;
  bool optionsEnded = false;
  std::vector<std::string> seen;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
      args.Logs.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (arg == "--help" || arg == "-h") {
      *help = true;
      return args;
    }
    if (std::find(seen.begin(), seen.end(), arg) != seen.end())
      throw TUsageError("option " + arg + " given more than once");
    seen.push_back(arg);
    if (arg == "--standalone") {
      args.Standalone = true;
      continue;
    }
    std::optional<std::string>* value = arg == "--ini"             ? &args.Ini
                                        : arg == "--language-file" ? &args.LanguageFile
                                        : arg == "--exe-name"      ? &args.ExeName
                                        : arg == "-o"              ? &args.Out
                                                                   : nullptr;
    if (!value) throw TUsageError("unknown option " + arg);
    if (i + 1 >= argc) throw TUsageError("option " + arg + " needs a value");
    *value = argv[++i];
  }
  if (args.Logs.size() != 1)
    throw TUsageError(args.Logs.empty() ? "no log file given" : "more than one log file given");
  return args;
}

void RequireFile(const std::string& path, const std::string& what) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0)
    throw TFailure("cannot open " + what + " \"" + path + "\": " + std::strerror(errno));
  if (S_ISDIR(st.st_mode))
    throw TFailure("cannot open " + what + " \"" + path + "\": " + std::strerror(EISDIR));
}

// The extension is the text from the last "." of the file name; ".ple" in any case is encrypted.
bool IsEncryptedLogPath(const std::u16string& path) {
  const std::u16string name = ExtractFileName(path);
  size_t dot = name.rfind(u'.');
  if (dot == std::u16string::npos) return false;
  std::u16string ext = name.substr(dot);
  for (char16_t& c : ext)
    c = SimpleFoldUnit(c);
  return ext == u".ple";
}

std::string Base64(std::string_view bytes) {
  static constexpr char Alphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  for (size_t i = 0; i < bytes.size(); i += 3) {
    unsigned v = static_cast<unsigned char>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) v |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    if (i + 2 < bytes.size()) v |= static_cast<unsigned char>(bytes[i + 2]);
    out.push_back(Alphabet[v >> 18 & 63]);
    out.push_back(Alphabet[v >> 12 & 63]);
    out.push_back(i + 1 < bytes.size() ? Alphabet[v >> 6 & 63] : '=');
    out.push_back(i + 2 < bytes.size() ? Alphabet[v & 63] : '=');
  }
  return out;
}

// Log text reaches the page entity-encoded, so every src=" in it is one of our image tags (whole,
// or cut in two by a link that took its first half).
std::string EmbedEmoticons(std::string_view page, const std::string& exeName) {
  const std::string head = "src=\"res://" + exeName + "/GIF/";
  std::vector<std::string> uris(EmoticonImageCount + 1);
  std::string out;
  out.reserve(page.size());
  size_t from = 0;
  for (size_t p; (p = page.find(head, from)) != std::string::npos;) {
    size_t digits = p + head.size(), end = digits;
    while (end < page.size() && end - digits < 3 && page[end] >= '0' && page[end] <= '9')
      ++end;
    int n = end > digits ? std::stoi(std::string(page.substr(digits, end - digits))) : 0;
    if (n < 1 || n > EmoticonImageCount || end >= page.size() || page[end] != '"') {
      out.append(page.substr(from, digits - from));
      from = digits;
      continue;
    }
    if (uris[n].empty()) uris[n] = "data:image/gif;base64," + Base64(EmoticonGif(n));
    out.append(page.substr(from, p - from)).append("src=\"").append(uris[n]);
    from = end;
  }
  out.append(page.substr(from));
  return out;
}

void WriteAll(int fd, std::string_view data, const std::string& what) {
  while (!data.empty()) {
    ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw TFailure("cannot write " + what + ": " + std::strerror(errno));
    data.remove_prefix(static_cast<size_t>(n));
  }
}

// Standard output, or a temporary file beside OUT that takes OUT's name only once the page is
// whole, so that OUT is never left half-written.
class TPageOutput {
 public:
  explicit TPageOutput(const std::optional<std::string>& path) {
    if (!path) return;
    Target = *path;
    const std::filesystem::path target(Target);
    const std::filesystem::path folder =
        target.parent_path().empty() ? std::filesystem::path(".") : target.parent_path();
    Temp = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    Fd = ::mkstemp(Temp.data());
    if (Fd < 0) throw TFailure("cannot write \"" + Target + "\": " + std::strerror(errno));
    Name = "\"" + Target + "\"";
  }
  ~TPageOutput() {
    if (Target.empty() || Committed) return;
    ::close(Fd);
    ::unlink(Temp.c_str());
  }
  TPageOutput(const TPageOutput&) = delete;
  TPageOutput& operator=(const TPageOutput&) = delete;

  void Write(std::string_view data) { WriteAll(Fd, data, Name); }

  void Commit() {
    if (Target.empty()) return;
    if (::fsync(Fd) != 0) throw TFailure("cannot write " + Name + ": " + std::strerror(errno));
    ::fchmod(Fd, 0644);
    ::close(Fd);
    Committed = true;
    if (::rename(Temp.c_str(), Target.c_str()) != 0) {
      int error = errno;
      ::unlink(Temp.c_str());
      throw TFailure("cannot write " + Name + ": " + std::strerror(error));
    }
  }

 private:
  std::string Target, Temp, Name = "standard output";
  int Fd = STDOUT_FILENO;
  bool Committed = false;
};

int Run(int argc, char** argv) {
  bool help = false;
  TArguments args = ParseArguments(argc, argv, &help);
  if (help) {
    std::fputs(Usage, stdout);
    return 0;
  }
  const std::string& log = args.Logs.front();
  const std::u16string logPath = DecodeUtf8(log);
  const std::string exeName = args.ExeName.value_or("skribo");
  if (exeName.empty() || exeName.find_first_of("/\r\n\t") != std::string::npos)
    throw TUsageError("--exe-name needs a file name without \"/\" or line breaks");

  TRecOptions options = DefaultOptions();
  if (args.Ini) {
    RequireFile(*args.Ini, "INI file");
    TRecOptions loaded;
    ReadOptionsFromIni(TIniFile(std::filesystem::path(*args.Ini)), loaded);
    options = loaded;
  }
  // Without a language file name changes go unrecognised, which is no reason to stop.
  std::u16string languageFile;
  if (args.LanguageFile) {
    RequireFile(*args.LanguageFile, "language file");
    languageFile = DecodeUtf8(*args.LanguageFile);
  } else {
    std::u16string problem;
    languageFile = GetHostLanguageFile(&problem);
    if (!problem.empty())
      std::fprintf(stderr, "skribo-convert: warning: %s\n", EncodeUtf8(problem).c_str());
  }
  RequireFile(log, "log");
  if (IsEncryptedLogPath(logPath))
    throw TFailure("\"" + log + "\" is an encrypted log; encrypted logs are opened in the viewer");

  TPageOutput output(args.Out);
  TTerminalProgress progress(::isatty(STDERR_FILENO) == 1);
  TLogProcessor processor(progress, options);
  processor.SetProgramFileName(DecodeUtf8(exeName));
  if (!languageFile.empty()) processor.SetLanguageFile(languageFile);
  processor.State.CurrentLogPath = logPath;

  // The page arrives in pieces of whole lines, and no image tag spans two lines.
  bool converted = processor.ConvertLogToPageUtf8(logPath, [&](std::string_view piece) {
    if (args.Standalone)
      output.Write(EmbedEmoticons(piece, exeName));
    else
      output.Write(piece);
  });
  progress.Finish();
  if (!converted) {
    std::fprintf(stderr, "%s\n", EncodeUtf8(progress.Warning).c_str());
    return 2;
  }
  output.Commit();
  return 0;
}

}  // namespace

}  // namespace skribo

int main(int argc, char** argv) {
  // One conversion allocates and frees many large blocks: keep freed memory for reuse instead of
  // handing it back to the system and faulting it in again.
  mallopt(M_MMAP_THRESHOLD, 1 << 30);
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
  mallopt(M_TOP_PAD, 64 << 20);
  try {
    return skribo::Run(argc, argv);
  } catch (const skribo::TUsageError& e) {
    std::fprintf(stderr, "skribo-convert: %s\nTry 'skribo-convert --help'.\n", e.what());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "skribo-convert: %s\n", e.what());
  }
  return 1;
}
