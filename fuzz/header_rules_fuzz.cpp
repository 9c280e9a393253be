// The request header and cookie rules on arbitrary GBK-ish input: no crash, and the properties
// the web request relies on.
#include <unordered_set>

#include "fuzz/fuzz_input.h"
#include "http/cookies.h"
#include "http/request_headers.h"
#include "http/text_pieces.h"

using namespace lumenta;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const int method = data[0] & 3;
  const bool complete = data[0] & 4;
  const bool normalise = data[0] & 8;
  auto parts = fuzz::SplitInput(data + 1, size - 1, 4);
  const Text extra(AsText(parts[0]));
  const Text sendCookies(AsText(parts[1]));

  const Text block = BuildRequestHeaders(extra, method, sendCookies, complete, normalise);
  // Cookies to send always reach the block, in a line of the caller's or in one of their own.
  fuzz::Require(sendCookies.empty() || Contains(block, "Cookie:", true));

  // Re-casing names changes the case of letters only, and doing it twice changes nothing more.
  const Text normalised = NormaliseHeaderNames(extra);
  fuzz::Require(NormaliseHeaderNames(normalised) == normalised);
  fuzz::Require(normalised.size() <= extra.size());
  for (const Text& line : SplitList(normalised, "\r\n")) fuzz::Require(Contains(line, ":"));

  const Text trimmed = TrimBlanks(parts[2]);
  fuzz::Require(TrimBlanks(trimmed) == trimmed);
  fuzz::Require(AsText(parts[2]).find(trimmed) != std::string_view::npos);

  // Collecting only ever appends to what the variable held.
  Text received = "held=1; ";
  for (const Text& line : SplitList(parts[2], "\r\n")) CollectResponseCookies(line, received);
  fuzz::Require(received.rfind("held=1; ", 0) == 0);
  FinishResponseCookies(received);
  fuzz::Require(received.rfind("held=1", 0) == 0);

  // A merge never keeps a deleted cookie and never repeats an entry.
  Text old(AsText(parts[3]));
  const Text merged = MergeCookies(old, received);
  fuzz::Require(old == merged);
  std::unordered_set<Text> seen;
  for (const Text& entry : SplitList(merged, "; ")) {
    fuzz::Require(seen.insert(entry).second);
    fuzz::Require(entry.size() < 8 || entry.substr(entry.size() - 8) != "=deleted");
  }
  return 0;
}
