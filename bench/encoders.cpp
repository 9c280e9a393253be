// bench/encoders: the text encoders against the libraries a C++ programmer would reach for,
// measured side by side in one run, then the ratios.
//   - Base64Encode vs OpenSSL's EVP_EncodeBlock over 8 MiB of random bytes;
//   - the recognition body (RecognitionBody: "image=" + UrlEncode(Base64Encode(bytes)), safe set
//     kept, UTF-8 conversion on, made in one step) vs OpenSSL Base64 followed by
//     curl_easy_escape;
//   - UTF-8 to GBK (Utf8ToAnsi) of 4 MiB of Chinese text vs iconv;
//   - UrlEncode and TextBetweenAll at n and 2n bytes (linear growth expected).
#include <benchmark/benchmark.h>
#include <curl/curl.h>
#include <iconv.h>
#include <openssl/evp.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "base/text_encoders.h"
#include "bench/support/best_times.h"
#include "bench/support/figures.h"
#include "ocr/recognition_flow.h"

namespace {

using lumenta::ByteBuffer;
using lumenta::Text;

constexpr size_t kRandomBytes = 8u << 20;
constexpr size_t kChineseBytes = 4u << 20;

const std::string& RandomBytes() {
  static const std::string bytes = [] {
    std::mt19937_64 rng(20261209);
    std::string b(kRandomBytes, '\0');
    for (size_t i = 0; i < b.size(); i += 8) {
      const uint64_t v = rng();
      for (size_t k = 0; k < 8 && i + k < b.size(); ++k) b[i + k] = static_cast<char>(v >> (8 * k));
    }
    return b;
  }();
  return bytes;
}

// 4 MiB of UTF-8 Chinese text: common characters with some ASCII punctuation and line breaks.
const std::string& ChineseUtf8() {
  static const std::string text = [] {
    const std::string gbkLine =
        "\xCE\xC4\xD7\xD6\xCA\xB6\xB1\xF0\xA3\xBA\xBD\xAB\xCD\xBC\xC6\xAC\xD6\xD0\xB5\xC4"
        "\xCE\xC4\xD7\xD6\xD7\xAA\xBB\xBB\xCE\xAA\xBF\xC9\xB1\xE0\xBC\xAD\xB5\xC4\xCE\xC4"
        "\xB1\xBE 2026, OK.\r\n";
    const std::string utf8Line = lumenta::AnsiToUtf8(gbkLine).TakeString();
    std::string t;
    t.reserve(kChineseBytes + utf8Line.size());
    while (t.size() < kChineseBytes) t += utf8Line;
    t.resize(kChineseBytes - kChineseBytes % utf8Line.size());
    return t;
  }();
  return text;
}

void SetBytes(benchmark::State& state, size_t bytes) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

void BM_Base64Encode(benchmark::State& state) {
  const std::string& in = RandomBytes();
  for (auto _ : state) benchmark::DoNotOptimize(lumenta::Base64Encode(in));
  SetBytes(state, in.size());
}

void BM_OpenSSL_EVP_EncodeBlock(benchmark::State& state) {
  const std::string& in = RandomBytes();
  for (auto _ : state) {
    std::string out((in.size() + 2) / 3 * 4 + 1, '\0');
    EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                    reinterpret_cast<const unsigned char*>(in.data()), static_cast<int>(in.size()));
    out.pop_back();
    benchmark::DoNotOptimize(out);
  }
  SetBytes(state, in.size());
}

void BM_RecognitionBody(benchmark::State& state) {
  const std::string& in = RandomBytes();
  for (auto _ : state) {
    Text body = lumenta::RecognitionBody(in);
    benchmark::DoNotOptimize(body);
  }
  SetBytes(state, in.size());
}

void BM_OpenSSL_Base64_then_curl_easy_escape(benchmark::State& state) {
  const std::string& in = RandomBytes();
  CURL* curl = curl_easy_init();
  for (auto _ : state) {
    std::string b64((in.size() + 2) / 3 * 4 + 1, '\0');
    EVP_EncodeBlock(reinterpret_cast<unsigned char*>(b64.data()),
                    reinterpret_cast<const unsigned char*>(in.data()), static_cast<int>(in.size()));
    b64.pop_back();
    char* escaped = curl_easy_escape(curl, b64.data(), static_cast<int>(b64.size()));
    std::string body = std::string("image=") + escaped;
    curl_free(escaped);
    benchmark::DoNotOptimize(body);
  }
  curl_easy_cleanup(curl);
  SetBytes(state, in.size());
}

void BM_Utf8ToAnsi(benchmark::State& state) {
  const std::string& in = ChineseUtf8();
  for (auto _ : state) benchmark::DoNotOptimize(lumenta::Utf8ToAnsi(in));
  SetBytes(state, in.size());
}

void BM_iconv_UTF8_to_GBK(benchmark::State& state) {
  const std::string& in = ChineseUtf8();
  iconv_t cd = iconv_open("GBK", "UTF-8");
  for (auto _ : state) {
    std::string out(in.size(), '\0');
    char* ip = const_cast<char*>(in.data());
    size_t il = in.size();
    char* op = out.data();
    size_t ol = out.size();
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    iconv(cd, &ip, &il, &op, &ol);
    out.resize(out.size() - ol);
    benchmark::DoNotOptimize(out);
  }
  iconv_close(cd);
  SetBytes(state, in.size());
}

void BM_UrlEncode(benchmark::State& state) {
  const std::string text = lumenta::Base64Encode(RandomBytes().substr(0, state.range(0) / 4 * 3));
  for (auto _ : state) benchmark::DoNotOptimize(lumenta::UrlEncode(text, true, true));
  SetBytes(state, text.size());
}

void BM_TextBetweenAll(benchmark::State& state) {
  std::string text;
  while (text.size() < static_cast<size_t>(state.range(0))) text += "{\"words\":\"line of text\"},";
  text.resize(static_cast<size_t>(state.range(0)));
  std::vector<Text> list;
  for (auto _ : state)
    benchmark::DoNotOptimize(lumenta::TextBetweenAll(text, "{\"words\":\"", "\"}", list));
  SetBytes(state, text.size());
}

BENCHMARK(BM_Base64Encode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenSSL_EVP_EncodeBlock)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecognitionBody)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenSSL_Base64_then_curl_easy_escape)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Utf8ToAnsi)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_iconv_UTF8_to_GBK)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UrlEncode)->Arg(4 << 20)->Arg(8 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextBetweenAll)->Arg(4 << 20)->Arg(8 << 20)->Unit(benchmark::kMillisecond);

void PrintRatio(const char* what, double ours, double reference, const char* target) {
  if (ours <= 0 || reference <= 0) return;
  std::printf("%-58s %9.2f ms  vs %9.2f ms   ratio %5.2fx   (target: %s)\n", what, ours * 1e3,
              reference * 1e3, reference / ours, target);
}

// A speed comparison: our best time beside the reference's, ratio reference / ours.
void PrintSpeedFigure(const char* id, const char* what, double ours, const char* reference,
                      double theirs, const char* target, double atLeast) {
  if (ours <= 0 || theirs <= 0) return;
  lumenta::bench::Figure f{.id = id,
                           .what = what,
                           .value = ours * 1e3,
                           .reference = reference,
                           .referenceValue = theirs * 1e3,
                           .ratio = theirs / ours,
                           .ratioMeaning = "reference / ours",
                           .target = target};
  if (atLeast > 0) f.met = f.ratio >= atLeast;
  lumenta::bench::PrintFigure("encoders", f);
}

// Linear growth: the best time at 2n beside the one at n, at most 2.2 times as long.
void PrintGrowthFigure(const char* id, const char* what, double atN, double atTwoN) {
  if (atN <= 0 || atTwoN <= 0) return;
  std::printf("%-58s %5.2f\n", what, atTwoN / atN);
  lumenta::bench::PrintGrowthFigure("encoders", id, std::string(what) + ", time at 8 MiB",
                                    "the same at 4 MiB", atN, atTwoN);
}

}  // namespace

int main(int argc, char** argv) {
  lumenta::bench::BestTimeReporter reporter;
  lumenta::bench::RunBenchmarks(argc, argv, reporter);
  const auto s = [&](const char* n) { return reporter.Seconds(n); };
  std::printf(
      "\nRatios of the best times (reference time / our time; above 1 means we are faster):\n");
  PrintRatio("Base64Encode vs EVP_EncodeBlock (8 MiB)", s("BM_Base64Encode"),
             s("BM_OpenSSL_EVP_EncodeBlock"), ">= 1");
  PrintRatio("recognition body vs OpenSSL base64 + curl_easy_escape", s("BM_RecognitionBody"),
             s("BM_OpenSSL_Base64_then_curl_easy_escape"), ">= 5");
  PrintRatio("Utf8ToAnsi vs iconv UTF-8 -> GBK (4 MiB Chinese)", s("BM_Utf8ToAnsi"),
             s("BM_iconv_UTF8_to_GBK"), "reported");
  PrintSpeedFigure("base64", "Base64Encode, 8 MiB of random bytes", s("BM_Base64Encode"),
                   "OpenSSL EVP_EncodeBlock", s("BM_OpenSSL_EVP_EncodeBlock"),
                   "at least as fast as OpenSSL", 1.0);
  PrintSpeedFigure("recognition_body", "recognition body (Base64, then URL-encoded), 8 MiB",
                   s("BM_RecognitionBody"), "OpenSSL Base64 then curl_easy_escape",
                   s("BM_OpenSSL_Base64_then_curl_easy_escape"), "at least 5 times faster", 5.0);
  PrintSpeedFigure("utf8_to_gbk", "Utf8ToAnsi, 4 MiB of Chinese text", s("BM_Utf8ToAnsi"),
                   "iconv UTF-8 to GBK", s("BM_iconv_UTF8_to_GBK"), "", 0);
  std::printf("\nGrowth (time at 2n / time at n; linear is 2.0, target <= 2.2):\n");
  PrintGrowthFigure("urlencode_growth", "UrlEncode 4 MiB -> 8 MiB", s("BM_UrlEncode/4194304"),
                    s("BM_UrlEncode/8388608"));
  PrintGrowthFigure("textbetweenall_growth", "TextBetweenAll 4 MiB -> 8 MiB",
                    s("BM_TextBetweenAll/4194304"), s("BM_TextBetweenAll/8388608"));
  benchmark::Shutdown();
  return 0;
}
