// Fetches a 64 MiB and a 128 MiB body from the loopback server through WebRequest, and the same
// URL with the Linux curl command (which Wine starts as a Linux process) and with a bare WinHttp
// read loop (the platform's own pace: no header rules, no text, one buffer sized in advance), in
// interleaved rounds; prints the best times, WebRequest against both, and 128 MiB against
// 64 MiB, which must stay at most 2.2 (the body grows in one buffer, never by quadratic copying).
//   LUMENTA_HTTP_SERVERS=<state dir> web_request.exe [ROUNDS]
#include <windows.h>
#include <winhttp.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/support/figures.h"
#include "http/web_request.h"
#include "tests/http/test_servers_win.h"

namespace {

using lumenta::testing_support::AnswerScript;
using lumenta::testing_support::LoopbackServers;

constexpr size_t kMiB = size_t{1} << 20;
constexpr double kLargestGrowth = 2.2;

// The best round: on a shared machine the other rounds measure the neighbours as well.
double Best(const std::vector<double>& values) {
  return *std::min_element(values.begin(), values.end());
}

// One fetch through WebRequest, in seconds; negative when the body did not arrive whole.
double FetchWithWebRequest(const std::string& url, size_t size) {
  lumenta::Text status;
  const auto start = std::chrono::steady_clock::now();
  const lumenta::Text body = lumenta::WebRequest({.url = url, .statusText = &status});
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  if (status != "200 OK" || body.size() != size) {
    std::fprintf(stderr, "WebRequest: %s, %zu bytes\n", status.c_str(), body.size());
    return -1;
  }
  return took.count();
}

// One fetch with the fewest WinHttp calls that can do it, in seconds.
double FetchWithBareWinHttp(int port, size_t size) {
  const auto start = std::chrono::steady_clock::now();
  HINTERNET session = WinHttpOpen(nullptr, WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME,
                                  WINHTTP_NO_PROXY_BYPASS, 0);
  HINTERNET connection = WinHttpConnect(session, L"localhost", static_cast<INTERNET_PORT>(port), 0);
  HINTERNET request = WinHttpOpenRequest(connection, L"GET", L"/bench", nullptr, WINHTTP_NO_REFERER,
                                         WINHTTP_DEFAULT_ACCEPT_TYPES, 0);
  std::string body(size, '\0');
  size_t received = 0;
  if (WinHttpSendRequest(request, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0,
                         0) &&
      WinHttpReceiveResponse(request, nullptr)) {
    DWORD available = 0;
    while (WinHttpQueryDataAvailable(request, &available) && available > 0 &&
           received + available <= size) {
      DWORD read = 0;
      if (!WinHttpReadData(request, body.data() + received, available, &read) || read == 0) break;
      received += read;
    }
  }
  WinHttpCloseHandle(request);
  WinHttpCloseHandle(connection);
  WinHttpCloseHandle(session);
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  if (received != size) {
    std::fprintf(stderr, "bare WinHttp: %zu bytes\n", received);
    return -1;
  }
  return took.count();
}

// One fetch by curl, in seconds as curl measured it itself. Wine runs curl as a Linux process
// whose end it cannot wait for, so curl writes its figures into a file this program watches.
double FetchWithCurl(const std::string& url, size_t size) {
  wchar_t directory[MAX_PATH];
  GetTempPathW(MAX_PATH, directory);
  wchar_t path[MAX_PATH];
  GetTempFileNameW(directory, L"crl", 0, path);
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE out = CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                           CREATE_ALWAYS, 0, nullptr);
  std::wstring command =
      L"/usr/bin/curl -s -o /dev/null -w \"%{time_total} %{size_download} "
      L"done\" " +
      std::wstring(url.begin(), url.end());
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = out;
  startup.hStdError = out;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION process{};
  const BOOL started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                      nullptr, &startup, &process);
  CloseHandle(out);
  if (!started) {
    std::fprintf(stderr, "curl did not start (error %lu)\n", GetLastError());
    DeleteFileW(path);
    return -1;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  std::string report;
  for (int waited = 0; waited < 120000 && report.find("done") == std::string::npos; waited += 5) {
    Sleep(5);
    HANDLE in = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
    char buffer[256] = {};
    DWORD read = 0;
    ReadFile(in, buffer, sizeof buffer - 1, &read, nullptr);
    CloseHandle(in);
    report.assign(buffer, read);
  }
  DeleteFileW(path);
  double seconds = -1;
  unsigned long long bytes = 0;
  if (std::sscanf(report.c_str(), "%lf %llu", &seconds, &bytes) != 2 || bytes != size) {
    std::fprintf(stderr, "curl: \"%s\"\n", report.c_str());
    return -1;
  }
  return seconds;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  LoopbackServers& servers = LoopbackServers::Get();
  if (!servers.ready()) {
    std::fprintf(stderr, "no loopback server: run scripts/bench-web-request\n");
    return 2;
  }
  const std::string url = servers.Url("http", "/bench");
  std::vector<double> web64, curl64, bare64, web128;
  for (int round = 0; round < rounds; ++round) {
    servers.Reset();
    servers.DefaultAnswer(AnswerScript().GeneratedText(64 * kMiB));
    curl64.push_back(FetchWithCurl(url, 64 * kMiB));
    web64.push_back(FetchWithWebRequest(url, 64 * kMiB));
    bare64.push_back(FetchWithBareWinHttp(servers.Port("http"), 64 * kMiB));
    servers.DefaultAnswer(AnswerScript().GeneratedText(128 * kMiB));
    web128.push_back(FetchWithWebRequest(url, 128 * kMiB));
    std::printf(
        "round %d: WebRequest 64 MiB %.0f ms, curl %.0f ms, bare WinHttp %.0f ms, "
        "WebRequest 128 MiB %.0f ms\n",
        round + 1, web64.back() * 1e3, curl64.back() * 1e3, bare64.back() * 1e3,
        web128.back() * 1e3);
    std::fflush(stdout);
  }
  for (const auto* times : {&web64, &curl64, &bare64, &web128}) {
    if (std::any_of(times->begin(), times->end(), [](double t) { return t < 0; })) return 1;
  }
  const double w64 = Best(web64), c64 = Best(curl64), b64 = Best(bare64), w128 = Best(web128);
  std::printf("best of %d interleaved rounds, body from the loopback server\n", rounds);
  std::printf("  WebRequest  64 MiB  %8.1f ms  %7.1f MiB/s\n", w64 * 1e3, 64 / w64);
  std::printf("  curl        64 MiB  %8.1f ms  %7.1f MiB/s\n", c64 * 1e3, 64 / c64);
  std::printf("  bare WinHttp 64 MiB %8.1f ms  %7.1f MiB/s\n", b64 * 1e3, 64 / b64);
  std::printf("  WebRequest 128 MiB  %8.1f ms  %7.1f MiB/s\n", w128 * 1e3, 128 / w128);
  std::printf("  WebRequest / curl (64 MiB)          %6.2f\n", w64 / c64);
  std::printf("  WebRequest / bare WinHttp (64 MiB)  %6.2f\n", w64 / b64);
  const double growth = w128 / w64;
  std::printf("  WebRequest 128 MiB / 64 MiB         %6.2f  (at most %.1f: %s)\n", growth,
              kLargestGrowth, growth <= kLargestGrowth ? "ok" : "TOO SLOW");
  using lumenta::bench::PrintFigure;
  PrintFigure("web_request", {.id = "vs_curl",
                              .what = "WebRequest, a 64 MiB body from the loopback server",
                              .value = w64 * 1e3,
                              .reference = "the curl command (a Linux process)",
                              .referenceValue = c64 * 1e3,
                              .ratio = c64 / w64,
                              .ratioMeaning = "reference / ours",
                              .target = "printed beside curl"});
  PrintFigure("web_request", {.id = "vs_bare_winhttp",
                              .what = "WebRequest, a 64 MiB body from the loopback server",
                              .value = w64 * 1e3,
                              .reference = "a bare WinHttp read loop into one buffer",
                              .referenceValue = b64 * 1e3,
                              .ratio = w64 / b64,
                              .ratioMeaning = "ours / reference",
                              .target = "at most 1.15 times the bare loop",
                              .met = w64 <= 1.15 * b64});
  const bool linear = lumenta::bench::PrintGrowthFigure(
      "web_request", "growth", "WebRequest, a 128 MiB body", "the same with 64 MiB", w64, w128,
      "at most 2.2 (no quadratic appends)", kLargestGrowth);
  return linear ? 0 : 1;
}
