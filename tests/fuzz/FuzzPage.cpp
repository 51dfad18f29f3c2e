// Fuzzes the whole path from file bytes to page, and checks every page against the literal model.
// The first byte picks the rendering options; the rest is the log file.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "common/TextCodec.h"
#include "log/uLogProcess.h"
#include "oracle/Oracle.h"
#include "support/FakePipelineHost.h"
#include "support/TestFiles.h"

namespace {

const std::u16string Pattern = u"%s is now known as %s";

const std::u16string& LanguageFile() {
  static const std::u16string path = [] {
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() /
        ("skribo-fuzz-language-" + std::to_string(getpid()) + ".ini");
    skribo::test::WriteBytes(file,
                             skribo::EncodeUtf16LEWithBom(u"[Logging]\r\nNameChange=" + Pattern));
    return skribo::DecodeUtf8(file.string());
  }();
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace skribo;
  if (size == 0) return 0;
  const uint8_t flags = data[0];
  const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  TRecOptions options = DefaultOptions();
  options.ShowEmoticons = flags & 1;
  options.ConvertURLsToLinks = flags & 2;
  options.ShowContactNamesBold = flags & 4;
  options.DontShowTimestamp = flags & 8;
  options.ReTruncateLongContactNames = flags & 16;
  options.ReTruncateLongContactNamesChars = static_cast<int8_t>(1 + (flags >> 5) * 3);

  test::TFakePipelineHost host;
  TLogProcessor processor(host, options);
  processor.SetLanguageFile(LanguageFile());
  const std::u16string body = processor.ConvertLogBytesToHtml(bytes);
  const std::string page = body.empty() ? std::string() : BuildPageUtf8(options, body);

  oracle::TOracleInput input;
  input.FileBytes = bytes;
  input.Options = options;
  input.NameChangePattern = Pattern;
  if (page != oracle::OracleBuildPage(input)) {
    std::fprintf(stderr, "the page differs from the literal model's page\n");
    std::abort();
  }
  return 0;
}
