#include "http/cookies.h"

#include <unordered_set>

#include "base/text_encoders.h"
#include "http/text_pieces.h"

namespace lumenta {
namespace {

constexpr std::string_view kSeparator = "; ";
constexpr std::string_view kDeletionMarker = "=deleted";

bool EndsWith(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// Trimmed, and a final ";" gets its blank so that the text splits like any other cookie text.
Text PrepareForMerge(std::string_view cookies) {
  Text out = TrimBlanks(cookies);
  if (!out.empty() && out.back() == ';') out.push_back(' ');
  return out;
}

}  // namespace

Text CookieName(std::string_view entry) {
  entry = AsText(entry);
  if (!Contains(entry, "=")) return TrimBlanks(entry);
  return TrimBlanks(TextBefore(entry, "="));
}

bool HasCookieNamed(const std::vector<Text>& list, std::string_view name) {
  for (const Text& entry : list) {
    if (CookieName(entry) == AsText(name)) return true;
  }
  return false;
}

Text RemoveDuplicates(std::string_view text, std::string_view separator) {
  separator = AsText(separator);
  std::unordered_set<Text> seen;
  Text out;
  for (Text& item : SplitList(text, separator)) {
    if (!seen.insert(item).second) continue;
    out += item;
    out += separator;
  }
  if (!out.empty()) out.resize(out.size() - separator.size());
  return out;
}

void CollectResponseCookies(std::string_view line, Text& receivedCookies) {
  line = AsText(line);
  if (TextBefore(line, ": ") != "Set-Cookie") return;
  Text entry;
  if (Contains(line, ";")) {
    // Only the name and value before the first attribute remain.
    entry = TrimBlanks(TextBetween(line, "Set-Cookie:", ";"));
  } else {
    entry = TrimBlanks(ReplaceAll(line, "Set-Cookie:", "", /*ignoreCase=*/true));
  }
  receivedCookies += entry;
  receivedCookies += kSeparator;
}

void FinishResponseCookies(Text& receivedCookies) {
  if (EndsWith(receivedCookies, kSeparator)) {
    receivedCookies.resize(receivedCookies.size() - kSeparator.size());
  }
}

Text MergeCookies(Text& oldCookies, std::string_view newCookies) {
  // The new text is copied first: the caller may pass the old variable itself as new text.
  const Text preparedNew = PrepareForMerge(newCookies);
  oldCookies = PrepareForMerge(oldCookies);

  std::vector<Text> merged = SplitList(preparedNew, kSeparator);
  for (Text& entry : SplitList(oldCookies, kSeparator)) {
    // Tested against the list as extended so far: of several sent entries with one name, only
    // the first can join.
    if (!HasCookieNamed(merged, CookieName(entry))) merged.push_back(std::move(entry));
  }

  Text result;
  for (const Text& entry : merged) {
    if (EndsWith(entry, kDeletionMarker)) continue;
    result += entry;
    result += kSeparator;
  }
  if (!result.empty()) result.resize(result.size() - kSeparator.size());
  result = RemoveDuplicates(result, kSeparator);
  oldCookies = result;
  return result;
}

}  // namespace lumenta
