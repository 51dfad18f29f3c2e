// Each fixture log shows one behaviour; its page is compared byte for byte with a reviewed golden
// page, from the product's path and from the literal model alike.
#include <gtest/gtest.h>

#include <cstdlib>

#include "TestPaths.h"
#include "common/TextCodec.h"
#include "log/uLogProcess.h"
#include "oracle/Oracle.h"
#include "platform/IniFile.h"
#include "prefs/OptionsIni.h"
#include "support/FakePipelineHost.h"
#include "support/TestFiles.h"

namespace skribo {
namespace {

namespace fs = std::filesystem;

struct TGoldenCase {
  const char* Log;
  const char* Golden;
  const char* Ini = nullptr;
  const char* Language = nullptr;
};

const TGoldenCase GoldenCases[] = {
    {"encoding-utf8.txt", "encodings.html"},
    {"encoding-utf16le.txt", "encodings.html"},
    {"encoding-utf16be.txt", "encodings.html"},
    {"encoding-ansi.txt", "encodings.html"},
    {"continuation.txt", "continuation.html"},
    {"conversations.txt", "conversations.html"},
    {"ann-anna.txt", "ann-anna.html"},
    {"name-change.txt", "name-change.html", nullptr, "language.ini"},
    {"name-change.txt", "name-change-no-language.html"},
    {"name-change-brackets.txt", "name-change-brackets.html", nullptr, "language-brackets.ini"},
    {"bold-short.txt", "bold-short.html", "bold-short.ini"},
    {"hidden-timestamps.txt", "hidden-timestamps.html", "hidden-timestamps.ini"},
    {"emoticons.txt", "emoticons.html"},
    {"links.txt", "links.html"},
    {"entities.txt", "entities.html"},
    {"many-participants.txt", "many-participants.html"},
    {"participant-lines.txt", "participant-lines.html"},
    {"line-breaks.txt", "line-breaks.html"},
    {"style-options.txt", "style-options.html", "style-options.ini"},
};

TRecOptions OptionsFor(const TGoldenCase& c) {
  if (!c.Ini) return DefaultOptions();
  TRecOptions options;  // a fresh record, as the program starts with
  ReadOptionsFromIni(TIniFile(fs::path(SKRIBO_FIXTURES_DIR) / c.Ini), options);
  return options;
}

std::u16string LanguageFileFor(const TGoldenCase& c) {
  return c.Language ? DecodeUtf8((fs::path(SKRIBO_FIXTURES_DIR) / c.Language).string()) : u"";
}

class GoldenPage : public testing::TestWithParam<TGoldenCase> {};

TEST_P(GoldenPage, ProductAndModelGiveTheReviewedPage) {
  const TGoldenCase& c = GetParam();
  const fs::path log = fs::path(SKRIBO_FIXTURES_DIR) / c.Log;
  const fs::path golden = fs::path(SKRIBO_GOLDEN_DIR) / c.Golden;
  const TRecOptions options = OptionsFor(c);

  test::TFakePipelineHost host;
  TLogProcessor processor(host, options);
  processor.SetLanguageFile(LanguageFileFor(c));
  processor.State.CurrentLogPath = DecodeUtf8(log.string());
  const std::string page =
      BuildPageUtf8(options, processor.ConvertLogToHtml(DecodeUtf8(log.string())));
  ASSERT_TRUE(host.Warnings.empty());

  oracle::TOracleInput input;
  input.FileBytes = test::ReadBytes(log);
  input.Options = options;
  input.NameChangePattern = ReadHostLanguageString(LanguageFileFor(c), u"NameChange");
  const std::string modelPage = oracle::OracleBuildPage(input);

  if (std::getenv("SKRIBO_UPDATE_GOLDEN")) test::WriteBytes(golden, page);
  const std::string expected = test::ReadBytes(golden);
  ASSERT_FALSE(expected.empty()) << golden;
  EXPECT_EQ(page, expected) << c.Log;
  EXPECT_EQ(modelPage, expected) << c.Log;
}

INSTANTIATE_TEST_SUITE_P(Fixtures, GoldenPage, testing::ValuesIn(GoldenCases),
                         [](const testing::TestParamInfo<TGoldenCase>& info) {
                           std::string name = info.param.Golden;
                           name = name.substr(0, name.find('.')) + "_" + std::to_string(info.index);
                           for (char& ch : name)
                             if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
                           return name;
                         });

}  // namespace
}  // namespace skribo
