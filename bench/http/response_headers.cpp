// bench/http/response_headers: what WebRequest does with a response header block once WinHttp
// has it (ReadResponseLines: cookies and redirect target; BodyFallsShortOfItsLength; the status
// text), for blocks of 10,000 and 20,000 Set-Cookie lines, the fault matrix's many-cookies
// answer and twice that. The time must grow linearly with the block: at most 2.2 times as long
// for twice the lines.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "bench/support/best_times.h"
#include "bench/support/figures.h"
#include "http/response_lines.h"

namespace {

std::string HeaderBlock(int cookies) {
  std::string block = "HTTP/1.1 200 OK\r\n";
  for (int i = 0; i < cookies; ++i) {
    block += "Set-Cookie: c" + std::to_string(i) + "=" + std::to_string(i) + "; path=/\r\n";
  }
  return block + "Content-Length: 96\r\nLocation: /next\r\n\r\n";
}

void BM_ReadResponseHeaders(benchmark::State& state) {
  const std::string block = HeaderBlock(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    lumenta::Text cookies, location;
    lumenta::ReadResponseLines(block, cookies, location);
    benchmark::DoNotOptimize(lumenta::BodyFallsShortOfItsLength(block, 96, false));
    benchmark::DoNotOptimize(lumenta::StatusFromResponseHeaders(block));
    benchmark::DoNotOptimize(cookies);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * block.size()));
}

BENCHMARK(BM_ReadResponseHeaders)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  lumenta::bench::BestTimeReporter reporter;
  lumenta::bench::RunBenchmarks(argc, argv, reporter);
  const double n = reporter.Seconds("BM_ReadResponseHeaders/10000");
  const double twoN = reporter.Seconds("BM_ReadResponseHeaders/20000");
  if (n > 0 && twoN > 0) {
    std::printf("\nGrowth of the best times (20,000 lines / 10,000; linear is 2.0): %.2f\n",
                twoN / n);
    lumenta::bench::PrintGrowthFigure("response_headers", "growth",
                                      "reading a header block of 20,000 Set-Cookie lines",
                                      "the same with 10,000 lines", n, twoN);
  }
  benchmark::Shutdown();
  return 0;
}
