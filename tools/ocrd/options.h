#pragma once
// The command line of ocrd.
#include <cstddef>
#include <string>
#include <variant>
#include <vector>

namespace lumenta::ocrd {

enum class EngineKind { kPpocr, kTesseract };

struct Options {
  int port = 0;  // 0: any free port (the chosen one is printed at start)
  std::string bindAddress = "127.0.0.1";
  std::string clientId;  // both empty: every client id and secret is accepted
  std::string clientSecret;
  std::string tlsCertificate;  // both set: HTTPS
  std::string tlsKey;
  std::size_t bodyLimit = 32u << 20;  // bytes of request body
  int threads = 16;                   // connections served at once
  EngineKind engine = EngineKind::kPpocr;
  int engines = 0;          // engines (workers); 0: the engine's default (see EngineCount)
  int engineThreads = 0;    // PP-OCR: threads the models share; 0: one per processor
  std::string models;       // PP-OCR: the models folder; empty: "models" beside the program
  std::string onnxRuntime;  // PP-OCR: the ONNX Runtime library; empty: the one beside the program
  bool angleClassifier = false;  // PP-OCR: turn upside-down lines upright first
  int detectionSide = 1280;      // PP-OCR: longest side the text detector sees
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

// Workers to run: as asked, else for PP-OCR two (they share the models and one pool of threads),
// for Tesseract one per processor.
[[nodiscard]] int EngineCount(const Options& options, unsigned processors);

// Threads of the PP-OCR models' pool: as asked, else one per processor.
[[nodiscard]] int EngineThreads(const Options& options, unsigned processors);

// "123", "64K", "32M", "1G" (powers of 1024). False for anything else or for 0.
[[nodiscard]] bool ParseByteCount(const std::string& text, std::size_t& bytes);

}  // namespace lumenta::ocrd
