#include "tools/ocrd/options.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace lumenta::ocrd {
namespace {

bool ParseInt(const std::string& text, int low, int high, int& value) {
  int parsed = 0;
  const char* end = text.data() + text.size();
  const auto [at, error] = std::from_chars(text.data(), end, parsed);
  if (error != std::errc() || at != end || text.empty() || parsed < low || parsed > high) {
    return false;
  }
  value = parsed;
  return true;
}

}  // namespace

bool ParseByteCount(const std::string& text, std::size_t& bytes) {
  if (text.empty()) return false;
  std::string digits = text;
  unsigned shift = 0;
  switch (digits.back()) {
    case 'k':
    case 'K':
      shift = 10;
      break;
    case 'm':
    case 'M':
      shift = 20;
      break;
    case 'g':
    case 'G':
      shift = 30;
      break;
    default:
      break;
  }
  if (shift) digits.pop_back();
  unsigned long long value = 0;
  const char* end = digits.data() + digits.size();
  const auto [at, error] = std::from_chars(digits.data(), end, value);
  if (error != std::errc() || at != end || digits.empty() || value == 0) return false;
  if (value > (std::numeric_limits<std::size_t>::max() >> shift)) return false;
  bytes = static_cast<std::size_t>(value) << shift;
  return true;
}

std::string UsageText() {
  return "usage: ocrd [options]\n"
         "  --port N              port to listen on; 0 (the default) picks a free one\n"
         "  --bind ADDRESS        address to listen on (default 127.0.0.1)\n"
         "  --client-id ID        the only API key accepted (also OCRD_CLIENT_ID)\n"
         "  --client-secret KEY   the only secret key accepted (also OCRD_CLIENT_SECRET)\n"
         "  --tls-cert FILE       serve HTTPS with this PEM certificate (chain)...\n"
         "  --tls-key FILE        ...and this PEM private key\n"
         "  --body-limit BYTES    largest request body, e.g. 32M (default 32M)\n"
         "  --threads N           connections served at once (default 16)\n"
         "  --engine NAME         ppocr (PP-OCRv4 on ONNX Runtime, the default) or tesseract\n"
         "  --engines N           engines working at once (default: 2 for ppocr, one per\n"
         "                        processor for tesseract)\n"
         "  --engine-threads N    ppocr: threads the engines share (default: one per processor)\n"
         "  --models DIR          ppocr: the models folder (default: models beside ocrd)\n"
         "  --onnxruntime FILE    ppocr: the ONNX Runtime library (default: beside ocrd)\n"
         "  --angle-classifier on|off\n"
         "                        ppocr: turn upside-down lines upright first (default off)\n"
         "  --detection-side N    ppocr: longest side the text detector sees, 320 to 4096\n"
         "                        (default 1280)\n"
         "  --languages LANGS     tesseract: its languages (default chi_sim+eng)\n"
         "  --tessdata DIR        tesseract: its language data folder\n"
         "  --psm N               tesseract: page segmentation mode, 3 to 13 (default 4:\n"
         "                        one column of lines; 3: automatic layout with columns)\n"
         "Prints \"ocrd listening on URL\" when ready; SIGINT or SIGTERM stops it.\n";
}

int EngineCount(const Options& options, unsigned processors) {
  if (options.engines > 0) return options.engines;
  if (options.engine == EngineKind::kPpocr) return 2;
  return static_cast<int>(std::max(1u, processors));
}

int EngineThreads(const Options& options, unsigned processors) {
  if (options.engineThreads > 0) return options.engineThreads;
  return static_cast<int>(std::max(1u, processors));
}

CommandLine ParseCommandLine(const std::vector<std::string>& arguments,
                             const std::string& environmentId,
                             const std::string& environmentSecret) {
  Options options;
  options.clientId = environmentId;
  options.clientSecret = environmentSecret;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& name = arguments[i];
    if (name == "--help" || name == "-h") return ShowUsage{};
    if (i + 1 >= arguments.size()) {
      return BadCommandLine{name.rfind("--", 0) == 0 ? name + " needs a value"
                                                     : "unknown argument " + name};
    }
    const std::string& value = arguments[++i];
    if (name == "--port") {
      if (!ParseInt(value, 0, 65535, options.port)) {
        return BadCommandLine{"--port takes a number from 0 to 65535"};
      }
    } else if (name == "--bind") {
      if (value.empty()) return BadCommandLine{"--bind needs an address"};
      options.bindAddress = value;
    } else if (name == "--client-id") {
      options.clientId = value;
    } else if (name == "--client-secret") {
      options.clientSecret = value;
    } else if (name == "--tls-cert") {
      options.tlsCertificate = value;
    } else if (name == "--tls-key") {
      options.tlsKey = value;
    } else if (name == "--body-limit") {
      if (!ParseByteCount(value, options.bodyLimit)) {
        return BadCommandLine{"--body-limit takes a byte count such as 1048576, 64K or 32M"};
      }
    } else if (name == "--threads") {
      if (!ParseInt(value, 1, 1024, options.threads)) {
        return BadCommandLine{"--threads takes a number from 1 to 1024"};
      }
    } else if (name == "--engine") {
      if (value == "ppocr") {
        options.engine = EngineKind::kPpocr;
      } else if (value == "tesseract") {
        options.engine = EngineKind::kTesseract;
      } else {
        return BadCommandLine{"--engine takes ppocr or tesseract"};
      }
    } else if (name == "--engines") {
      if (!ParseInt(value, 1, 256, options.engines)) {
        return BadCommandLine{"--engines takes a number from 1 to 256"};
      }
    } else if (name == "--engine-threads") {
      if (!ParseInt(value, 1, 256, options.engineThreads)) {
        return BadCommandLine{"--engine-threads takes a number from 1 to 256"};
      }
    } else if (name == "--models") {
      if (value.empty()) return BadCommandLine{"--models needs a folder"};
      options.models = value;
    } else if (name == "--onnxruntime") {
      if (value.empty()) return BadCommandLine{"--onnxruntime needs a file"};
      options.onnxRuntime = value;
    } else if (name == "--angle-classifier") {
      if (value != "on" && value != "off") {
        return BadCommandLine{"--angle-classifier takes on or off"};
      }
      options.angleClassifier = value == "on";
    } else if (name == "--detection-side") {
      if (!ParseInt(value, 320, 4096, options.detectionSide)) {
        return BadCommandLine{"--detection-side takes a number from 320 to 4096"};
      }
    } else if (name == "--languages") {
      if (value.empty()) return BadCommandLine{"--languages needs a value such as chi_sim+eng"};
      options.languages = value;
    } else if (name == "--tessdata") {
      options.tessdata = value;
    } else if (name == "--psm") {
      if (!ParseInt(value, 3, 13, options.pageSegmentation)) {
        return BadCommandLine{"--psm takes a page segmentation mode from 3 to 13"};
      }
    } else {
      return BadCommandLine{"unknown option " + name};
    }
  }
  if (options.clientId.empty() != options.clientSecret.empty()) {
    return BadCommandLine{"give both --client-id and --client-secret, or neither"};
  }
  if (options.tlsCertificate.empty() != options.tlsKey.empty()) {
    return BadCommandLine{"give both --tls-cert and --tls-key, or neither"};
  }
  return options;
}

}  // namespace lumenta::ocrd
