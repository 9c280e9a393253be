#pragma once
// Cookies of a web request: the entries the server sets, collected line by line from the
// response headers, and their merging with the cookies that were sent. Cookie texts are entries
// ("name=value") separated by "; ".
#include <string_view>
#include <vector>

#include "base/text.h"

namespace lumenta {

// The name of a cookie entry: the entry up to its first "=", trimmed; the whole entry, trimmed,
// when it has no "=".
[[nodiscard]] Text CookieName(std::string_view entry);

// True when an entry of `list` has exactly the cookie name `name` (case included).
[[nodiscard]] bool HasCookieNamed(const std::vector<Text>& list, std::string_view name);

// The items of `text` split at `separator`, each kept at its first appearance only, joined with
// the separator again.
[[nodiscard]] Text RemoveDuplicates(std::string_view text, std::string_view separator);

// One response header line: a "Set-Cookie: " line adds its name=value entry (without the
// attributes after the first ";") and the separator "; " to `receivedCookies`, after whatever the
// variable held. Other lines change nothing.
void CollectResponseCookies(std::string_view line, Text& receivedCookies);

// The closing step after the last header line: removes the trailing "; ".
void FinishResponseCookies(Text& receivedCookies);

// Merges the cookies that were sent (`oldCookies`) with those the response set (`newCookies`):
// the new entries come first, sent entries whose names the response did not mention follow,
// entries marked "=deleted" disappear and repeats are removed. The result is stored into
// `oldCookies` and returned.
Text MergeCookies(Text& oldCookies, std::string_view newCookies);

}  // namespace lumenta
