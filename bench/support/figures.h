#pragma once
// The machine-readable side of a benchmark program's report: one line per figure, "@figure "
// followed by a JSON object, and "@note " lines with measured facts that explain a figure.
// scripts/bench collects them into docs/PERFORMANCE.md; the human-readable report the program
// prints around them stays as it is. Plain C++ without Windows headers: the native programs
// and the ones that run under Wine print the same lines.
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace lumenta::bench {

struct Figure {
  std::string id;    // stable key within the program, e.g. "base64"
  std::string what;  // what was measured, for a reader
  double value = 0;  // our figure, in `unit`
  std::string unit = "ms";
  std::string reference;      // what it is compared with, measured in the same run
  double referenceValue = 0;  // in `unit`
  double ratio = 0;           // the comparison as the target states it
  std::string ratioMeaning;   // how `ratio` is formed, e.g. "reference / ours"
  std::string target;         // the target of the earlier work, as text; empty: none
  std::optional<bool> met;    // whether the target was met; empty when there is none
};

// `text` as a JSON string, quotes included.
inline std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

inline std::string JsonNumber(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.6g", value);
  return text;
}

// Prints the figure's line; `program` names the benchmark program ("encoders", "capture").
inline void PrintFigure(std::string_view program, const Figure& f) {
  std::string line =
      "@figure {\"program\":" + JsonString(program) + ",\"id\":" + JsonString(f.id) +
      ",\"what\":" + JsonString(f.what) + ",\"value\":" + JsonNumber(f.value) +
      ",\"unit\":" + JsonString(f.unit) + ",\"reference\":" + JsonString(f.reference) +
      ",\"reference_value\":" + JsonNumber(f.referenceValue) + ",\"ratio\":" + JsonNumber(f.ratio) +
      ",\"ratio_meaning\":" + JsonString(f.ratioMeaning) + ",\"target\":" + JsonString(f.target) +
      ",\"met\":" + (f.met ? (*f.met ? "true" : "false") : "null") + "}\n";
  std::fputs(line.c_str(), stdout);
  std::fflush(stdout);
}

// Prints how a time grows when the input doubles: `atTwoN` (seconds) beside `atN`, against
// a linear target (at most `limit` times as long). Returns whether the target was met.
inline bool PrintGrowthFigure(std::string_view program, std::string id, std::string what,
                              std::string reference, double atN, double atTwoN,
                              std::string target = "linear: at most 2.2", double limit = 2.2) {
  const double ratio = atTwoN / atN;
  PrintFigure(program, {.id = std::move(id),
                        .what = std::move(what),
                        .value = atTwoN * 1e3,
                        .reference = std::move(reference),
                        .referenceValue = atN * 1e3,
                        .ratio = ratio,
                        .ratioMeaning = "time at 2n / time at n",
                        .target = std::move(target),
                        .met = ratio <= limit});
  return ratio <= limit;
}

// Prints a measured fact that explains figure `id` of `program` (where the time goes, what
// bounds it from below).
inline void PrintNote(std::string_view program, std::string_view id, std::string_view text) {
  const std::string line = "@note {\"program\":" + JsonString(program) +
                           ",\"id\":" + JsonString(id) + ",\"text\":" + JsonString(text) + "}\n";
  std::fputs(line.c_str(), stdout);
  std::fflush(stdout);
}

}  // namespace lumenta::bench
