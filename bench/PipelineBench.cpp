// Speed of the log-to-page path against the literal model, in MB of input file per second.
// SKRIBO_BENCH_MB sets the size of the generated log (default 20).
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdlib>

#include "log/uLogProcess.h"
#include "oracle/Oracle.h"
#include "support/FakePipelineHost.h"
#include "support/LogGenerator.h"

namespace {

using namespace skribo;

const std::string& Log() {
  static const std::string log = [] {
    test::TLogGenOptions options;
    const char* mb = std::getenv("SKRIBO_BENCH_MB");
    options.TargetBytes = static_cast<size_t>((mb ? std::atof(mb) : 20.0) * 1024 * 1024);
    options.RealisticOnly = true;
    options.Encoding = test::TLogEncoding::Utf16LE;
    return test::GenerateLog(20261211, options);
  }();
  return log;
}

double PeakRssMB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_ProductPath(benchmark::State& state) {
  const std::string& log = Log();
  const TRecOptions& options = DefaultOptions();
  for (auto _ : state) {
    test::TFakePipelineHost host;
    TLogProcessor processor(host, options);
    const std::string page = BuildPageUtf8(options, processor.ConvertLogBytesToHtml(log));
    benchmark::DoNotOptimize(page.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * log.size()));
  state.counters["input_MB"] = static_cast<double>(log.size()) / (1024 * 1024);
  state.counters["peak_rss_MB"] = PeakRssMB();
}

void BM_LiteralModel(benchmark::State& state) {
  const std::string& log = Log();
  oracle::TOracleInput input;
  input.FileBytes = log;
  input.Options = DefaultOptions();
  for (auto _ : state) {
    const std::string page = oracle::OracleBuildPage(input);
    benchmark::DoNotOptimize(page.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * log.size()));
  state.counters["peak_rss_MB"] = PeakRssMB();
}

BENCHMARK(BM_ProductPath)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_LiteralModel)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
