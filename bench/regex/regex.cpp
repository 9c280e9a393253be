// bench/regex: RegexObject (Create: compile, search every match, keep the results) against
// PCRE2 doing the same global search (compile, then match from the end of each match; the
// interpreter and the JIT), measured side by side in one run, then the ratios:
//   - the charset detection pattern over a 1 MiB HTML page (GBK text, meta tags, links);
//   - a lazy pattern with two groups over one 1 MiB line of "key=value;" pairs;
//   - both again at 2 MiB (linear growth expected).
#define PCRE2_CODE_UNIT_WIDTH 8
#include <benchmark/benchmark.h>
#include <pcre2.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "base/regex/regex_object.h"
#include "bench/support/best_times.h"
#include "bench/support/figures.h"

namespace {

constexpr const char* kDetection = "<meta.+?charset=[^\\w]?([-\\w]+)";
constexpr const char* kLazy = "(\\w+?)=(.*?);";

// An HTML page of `bytes` bytes: a head with its meta tags, then paragraphs of Chinese (GBK)
// and English text with links, on many lines.
std::string HtmlPage(size_t bytes) {
  std::string page =
      "<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n"
      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
      "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\n"
      "<title>\xCE\xC4\xD7\xD6\xCA\xB6\xB1\xF0</title>\n</head>\n<body>\n";
  const std::string paragraph =
      "<p class=\"text\">\xCE\xC4\xD7\xD6\xCA\xB6\xB1\xF0\xA3\xBA\xBD\xAB\xCD\xBC\xC6\xAC\xD6\xD0"
      "\xB5\xC4\xCE\xC4\xD7\xD6 text recognition turns a picture into text, "
      "<a href=\"https://example.com/ocr?id=42&amp;lang=zh\">more</a>.</p>\n"
      "<div><img src=\"picture.png\" alt=\"\xCD\xBC\xC6\xAC\"> <span>2026</span></div>\n";
  while (page.size() < bytes) page += paragraph;
  page.resize(bytes);
  return page;
}

// One line of `bytes` bytes: "k0=v0;k1=value1;..." pairs.
std::string PairLine(size_t bytes) {
  std::string line;
  for (size_t i = 0; line.size() < bytes; ++i) {
    line += "key" + std::to_string(i) + "=" + (i % 3 ? "value" : "a longer value, with words") +
            std::to_string(i % 97) + ";";
  }
  line.resize(bytes);
  return line;
}

const std::string& Subject(int which, size_t bytes) {
  static std::map<std::pair<int, size_t>, std::string> cache;
  auto& s = cache[{which, bytes}];
  if (s.empty()) s = which == 0 ? HtmlPage(bytes) : PairLine(bytes);
  return s;
}

const char* Pattern(int which) { return which == 0 ? kDetection : kLazy; }

void BM_RegexObject(benchmark::State& state) {
  const int which = static_cast<int>(state.range(0));
  const std::string& subject = Subject(which, static_cast<size_t>(state.range(1)));
  int matches = 0;
  for (auto _ : state) {
    lumenta::RegexObject r;
    if (!r.Create(Pattern(which), subject)) state.SkipWithError("pattern rejected");
    matches = r.MatchCount();
    benchmark::DoNotOptimize(matches);
  }
  state.counters["matches"] = matches;
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * subject.size()));
}

// PCRE2 with the options of RegexObject's defaults (case ignored, multi-line), on the bytes.
void Pcre2Search(benchmark::State& state, bool jit) {
  const int which = static_cast<int>(state.range(0));
  const std::string& subject = Subject(which, static_cast<size_t>(state.range(1)));
  int matches = 0;
  for (auto _ : state) {
    int error;
    PCRE2_SIZE offset;
    pcre2_code* code =
        pcre2_compile(reinterpret_cast<PCRE2_SPTR>(Pattern(which)), PCRE2_ZERO_TERMINATED,
                      PCRE2_CASELESS | PCRE2_MULTILINE, &error, &offset, nullptr);
    if (jit) pcre2_jit_compile(code, PCRE2_JIT_COMPLETE);
    pcre2_match_data* data = pcre2_match_data_create_from_pattern(code, nullptr);
    matches = 0;
    size_t from = 0;
    while (from <= subject.size() && pcre2_match(code, reinterpret_cast<PCRE2_SPTR>(subject.data()),
                                                 subject.size(), from, 0, data, nullptr) >= 0) {
      const PCRE2_SIZE* ov = pcre2_get_ovector_pointer(data);
      ++matches;
      from = ov[1] + (ov[1] == ov[0] ? 1 : 0);
    }
    pcre2_match_data_free(data);
    pcre2_code_free(code);
    benchmark::DoNotOptimize(matches);
  }
  state.counters["matches"] = matches;
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * subject.size()));
}

void BM_PCRE2_interpreter(benchmark::State& state) { Pcre2Search(state, false); }
void BM_PCRE2_JIT(benchmark::State& state) { Pcre2Search(state, true); }

constexpr int64_t kMiB = 1 << 20;

void Sizes(benchmark::internal::Benchmark* b) {
  for (int64_t which : {0, 1}) {
    for (int64_t bytes : {kMiB, 2 * kMiB}) b->Args({which, bytes});
  }
  b->ArgNames({"pattern", "bytes"})->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_RegexObject)->Apply(Sizes);
BENCHMARK(BM_PCRE2_interpreter)->Apply(Sizes);
BENCHMARK(BM_PCRE2_JIT)->Apply(Sizes);

std::string Name(const char* bench, int which, int64_t bytes) {
  return std::string(bench) + "/pattern:" + std::to_string(which) +
         "/bytes:" + std::to_string(bytes);
}

}  // namespace

int main(int argc, char** argv) {
  lumenta::bench::BestTimeReporter reporter;
  lumenta::bench::RunBenchmarks(argc, argv, reporter);
  const char* what[] = {"charset detection over a 1 MiB HTML page",
                        "lazy key=value pattern over a 1 MiB line"};
  const char* ids[] = {"detection", "lazy"};
  std::printf(
      "\nRatios of the best times at 1 MiB (reference / ours; above 1 means we are faster):\n");
  for (int which : {0, 1}) {
    const double ours = reporter.Seconds(Name("BM_RegexObject", which, kMiB));
    for (const char* ref : {"BM_PCRE2_interpreter", "BM_PCRE2_JIT"}) {
      const double theirs = reporter.Seconds(Name(ref, which, kMiB));
      if (ours > 0 && theirs > 0) {
        std::printf("%-44s %8.2f ms  vs %-20s %8.2f ms   ratio %5.2f\n", what[which], ours * 1e3,
                    ref + 3, theirs * 1e3, theirs / ours);
        const bool jit = std::string(ref) == "BM_PCRE2_JIT";
        lumenta::bench::PrintFigure(
            "regex", {.id = std::string(ids[which]) + (jit ? "_vs_pcre2_jit" : "_vs_pcre2"),
                      .what = std::string("RegexObject, ") + what[which],
                      .value = ours * 1e3,
                      .reference = jit ? "PCRE2 with its JIT" : "PCRE2 interpreter",
                      .referenceValue = theirs * 1e3,
                      .ratio = theirs / ours,
                      .ratioMeaning = "reference / ours"});
      }
    }
  }
  std::printf("\nGrowth of the best times (2 MiB / 1 MiB; linear is 2.0):\n");
  for (int which : {0, 1}) {
    for (const char* bench : {"BM_RegexObject", "BM_PCRE2_interpreter"}) {
      const double t1 = reporter.Seconds(Name(bench, which, kMiB));
      const double t2 = reporter.Seconds(Name(bench, which, 2 * kMiB));
      if (t1 <= 0) continue;
      std::printf("%-22s %-44s %5.2f\n", bench + 3, what[which], t2 / t1);
      if (std::string(bench) != "BM_RegexObject") continue;
      lumenta::bench::PrintGrowthFigure(
          "regex", std::string(ids[which]) + "_growth",
          std::string("RegexObject, ") + what[which] + ", time at 2 MiB", "the same at 1 MiB", t1,
          t2);
    }
  }
  benchmark::Shutdown();
  return 0;
}
