// Generated logs, options and name-change wordings: the product's page must equal the literal
// model's page byte for byte.
#include <gtest/gtest.h>

#include <cstdlib>

#include "common/TextCodec.h"
#include "log/uLogProcess.h"
#include "oracle/Oracle.h"
#include "support/FakePipelineHost.h"
#include "support/LogGenerator.h"
#include "support/TestFiles.h"

namespace skribo {
namespace {

int SeedCount() {
  const char* value = std::getenv("SKRIBO_RANDOM_SEEDS");
  return value ? std::atoi(value) : 400;
}

std::string FirstDifference(const std::string& a, const std::string& b) {
  size_t i = 0;
  while (i < a.size() && i < b.size() && a[i] == b[i])
    ++i;
  size_t from = i > 200 ? i - 200 : 0;
  return "at byte " + std::to_string(i) + "\nproduct: " + a.substr(from, 400) +
         "\nmodel:   " + b.substr(from, 400);
}

TEST(RandomCompare, ProductPageEqualsTheLiteralModel) {
  test::TTempDir dir;
  const std::u16string names[] = {u"skribo", u"skribo", u"skribo", u"viewer", u"a:)", u"x&y;"};
  for (int seed = 1; seed <= SeedCount(); ++seed) {
    test::TLogGenOptions gen;
    gen.TargetBytes = 2000 + static_cast<size_t>(seed % 7) * 4000;
    gen.LongLines = seed % 50 == 0;
    gen.NameChangePattern = test::RandomNameChangePattern(static_cast<uint32_t>(seed));
    if (std::getenv("SKRIBO_TRACE")) fprintf(stderr, "seed %d\n", seed);
    const std::string log = test::GenerateLog(static_cast<uint32_t>(seed), gen);
    const TRecOptions options = test::RandomOptions(static_cast<uint32_t>(seed));
    const std::u16string programName = names[seed % 6];

    const std::filesystem::path language = dir.Path / "language.ini";
    test::WriteBytes(language, EncodeUtf16LEWithBom(u"[Logging]\r\nNameChange=" +
                                                    gen.NameChangePattern + u"\r\n"));
    const std::u16string languageFile = DecodeUtf8(language.string());

    test::TFakePipelineHost host;
    TLogProcessor processor(host, options);
    processor.SetLanguageFile(languageFile);
    processor.SetProgramFileName(programName);
    const std::u16string body = processor.ConvertLogBytesToHtml(log);
    const std::string page = body.empty() ? std::string() : BuildPageUtf8(options, body);

    oracle::TOracleInput input;
    input.FileBytes = log;
    input.Options = options;
    input.NameChangePattern = ReadHostLanguageString(languageFile, u"NameChange");
    input.ProgramFileName = programName;
    const std::string expected = oracle::OracleBuildPage(input);

    EXPECT_EQ(host.Warnings.empty(), !expected.empty()) << "seed " << seed;
    if (page != expected) {
      const std::string kept = "/tmp/skribo-mismatch-" + std::to_string(seed) + ".txt";
      test::WriteBytes(kept, log);
      ADD_FAILURE() << "seed " << seed << " (log kept in " << kept << ") "
                    << FirstDifference(page, expected);
    }
  }
}

}  // namespace
}  // namespace skribo

namespace skribo {
namespace {

std::string Border() {
  return "." + std::string(68, '-') + ".\r\n";
}

// Inputs no real log has: each must convert as the model says, without crashing or hanging.
std::string HostileLog(size_t run) {
  std::string log = Border();
  for (int k = 0; k < 400; ++k)
    log += "|    P" + std::to_string(k) + " (p@x)\r\n";
  log += "|    " + std::string(300, '(') + "\r\n|    ...\r\n|\r\n" + Border();
  for (int k = 399; k >= 0; k -= 7)
    log += "[1] P" + std::to_string(k) + ": hi P1 :)\r\n";
  log += "[00:00:00] A: ";
  for (size_t i = 0; i < run / 11; ++i)
    log += "(a)www.x.y ";
  for (char c : std::string("(&@ :"))
    log += "\r\n* " + std::string(run, c);
  return log + "\r\n";
}

TEST(RandomCompare, HostileInputsConvertLikeTheModel) {
  const std::string inputs[] = {
      HostileLog(20000),
      std::string(4096, '\0'),
      "\xEF\xBB\xBF.\xC3\x28\xE2\x82\xF0\x9F\x98\r\n\xFF\xFE\xED\xA0\x80 :)",
      std::string("\xFE\xFF\x00.\xD8\x00\x00:\x00)\x00", 11),
  };
  for (const std::string& log : inputs) {
    test::TFakePipelineHost host;
    const TRecOptions& options = DefaultOptions();
    TLogProcessor processor(host, options);
    const std::u16string body = processor.ConvertLogBytesToHtml(log);
    oracle::TOracleInput input;
    input.FileBytes = log;
    EXPECT_EQ(body.empty() ? std::string() : BuildPageUtf8(options, body),
              oracle::OracleBuildPage(input))
        << log.size();
  }
}

// Lines of a megabyte are too slow for the model's literal passes; the product takes them in
// stride and keeps every line.
TEST(RandomCompare, MegabyteLinesConvert) {
  const std::string log = HostileLog(1 << 20);
  test::TFakePipelineHost host;
  TLogProcessor processor(host, DefaultOptions());
  const std::u16string body = processor.ConvertLogBytesToHtml(log);
  size_t blocks = 0;
  for (size_t p = body.find(u"<div class="); p != std::u16string::npos;
       p = body.find(u"<div class=", p + 1))
    ++blocks;
  EXPECT_EQ(blocks, 2u + 400 + 3 + 58 + 1 + 5);
  EXPECT_NE(body.find(u"&amp;&amp;&amp;"), std::u16string::npos);
}

}  // namespace
}  // namespace skribo
