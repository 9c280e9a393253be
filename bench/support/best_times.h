#pragma once
// Google Benchmark runs for the native benchmark programs: every benchmark repeated five times
// (unless the command line says otherwise) in random interleaved order, and the best time per
// iteration of each kept, the figure least disturbed by whatever else the shared machine is
// doing at that moment. The programs then print their ratios from these best times.
#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace lumenta::bench {

class BestTimeReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const auto& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
      const double seconds =
          run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
      const std::string name = run.run_name.str();
      const auto it = seconds_.find(name);
      if (it == seconds_.end() || seconds < it->second) seconds_[name] = seconds;
    }
    ConsoleReporter::ReportRuns(runs);
  }

  // The best time of benchmark `name` (as Google Benchmark names the run, arguments included)
  // in seconds; 0 when it did not run.
  double Seconds(const std::string& name) const {
    const auto it = seconds_.find(name);
    return it == seconds_.end() ? 0 : it->second;
  }

 private:
  std::map<std::string, double> seconds_;
};

// Initialises Google Benchmark with the defaults above (flags given on the command line win)
// and runs the benchmarks the command line selects, reporting to `reporter`.
inline void RunBenchmarks(int argc, char** argv, BestTimeReporter& reporter) {
  std::vector<char*> args(argv, argv + argc);
  static std::string repetitions = "--benchmark_repetitions=5";
  static std::string interleave = "--benchmark_enable_random_interleaving=true";
  static std::string aggregates = "--benchmark_report_aggregates_only=false";
  args.insert(args.begin() + 1, {repetitions.data(), interleave.data(), aggregates.data()});
  int count = static_cast<int>(args.size());
  args.push_back(nullptr);
  benchmark::Initialize(&count, args.data());
  benchmark::RunSpecifiedBenchmarks(&reporter);
}

}  // namespace lumenta::bench
