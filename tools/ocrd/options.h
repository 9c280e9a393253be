#pragma once
// The command line of ocrd.
#include <cstddef>
#include <string>
#include <variant>
#include <vector>

namespace lumenta::ocrd {

struct Options {
  int port = 0;  // 0: any free port (the chosen one is printed at start)
  std::string bindAddress = "127.0.0.1";
  std::string clientId;  // both empty: every client id and secret is accepted
  std::string clientSecret;
  std::string tlsCertificate;  // both set: HTTPS
  std::string tlsKey;
  std::size_t bodyLimit = 32u << 20;  // bytes of request body
  int threads = 16;                   // connections served at once
  int engines = 0;                    // Tesseract instances; 0: one per processor
  std::string languages = "chi_sim+eng";
  std::string tessdata;  // empty: Tesseract's own default
  // Tesseract's page segmentation mode. 4, one column of lines of any size, reads screenshots
  // and pages line by line; the automatic layout (3) splits sparse lines into columns.
  int pageSegmentation = 4;
};

// What the command line asked for: a run with options, the usage text, or an error message.
struct ShowUsage {};
struct BadCommandLine {
  std::string message;
};
using CommandLine = std::variant<Options, ShowUsage, BadCommandLine>;

// Reads the arguments (without the program name). The keys may also come from the environment
// variables OCRD_CLIENT_ID and OCRD_CLIENT_SECRET (passed in `environmentId` / `environmentSecret`,
// empty when unset), so that they need not show in the process list; the command line wins.
[[nodiscard]] CommandLine ParseCommandLine(const std::vector<std::string>& arguments,
                                           const std::string& environmentId = {},
                                           const std::string& environmentSecret = {});

[[nodiscard]] std::string UsageText();

// "123", "64K", "32M", "1G" (powers of 1024). False for anything else or for 0.
[[nodiscard]] bool ParseByteCount(const std::string& text, std::size_t& bytes);

}  // namespace lumenta::ocrd
