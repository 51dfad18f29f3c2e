// skribo-genlog SEED MEGABYTES OUT: writes a realistic generated log (UTF-16LE) for benchmarks.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/LogGenerator.h"
#include "support/TestFiles.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: skribo-genlog SEED MEGABYTES OUT\n");
    return 1;
  }
  skribo::test::TLogGenOptions options;
  options.TargetBytes = static_cast<size_t>(std::atof(argv[2]) * 1024 * 1024);
  options.RealisticOnly = true;
  options.Encoding = skribo::test::TLogEncoding::Utf16LE;
  const std::string log =
      skribo::test::GenerateLog(static_cast<uint32_t>(std::atoi(argv[1])), options);
  skribo::test::WriteBytes(argv[3], log);
  std::printf("%s: %zu bytes\n", argv[3], log.size());
  return 0;
}
