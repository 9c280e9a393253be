#include "http/request_headers.h"

#include <array>

#include "http/text_pieces.h"

namespace lumenta {
namespace {

constexpr std::string_view kCrLf = "\r\n";

struct DefaultHeader {
  std::string_view searchKey;  // compared without regard to case with the whole block
  std::string_view line;
  bool postOnly;
};

// Browser-like defaults, in the order they are added. The Content-Type key has no blank after
// its colon, so a caller's "Content-Type:x" line suppresses it too; the others end in a blank.
constexpr std::array<DefaultHeader, 6> kDefaultHeaders = {{
    {"User-Agent: ",
     "User-Agent: Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0)", false},
    {"Accept: ", "Accept: text/html, application/xhtml+xml, */*", false},
    {"Accept-Encoding: ", "Accept-Encoding: identity", false},
    {"Accept-Language: ", "Accept-Language: zh-cn", false},
    {"Content-Type:", "Content-Type: application/x-www-form-urlencoded", true},
    {"Cache-Control: ", "Cache-Control: no-cache", false},
}};

inline char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

}  // namespace

Text CapitaliseFirst(std::string_view text) {
  Text out(AsText(text));
  if (!out.empty()) out[0] = UpperAscii(out[0]);
  return out;
}

Text NormaliseHeaderNames(std::string_view block) {
  Text out;
  for (const Text& line : SplitList(block, kCrLf)) {
    if (!Contains(line, ":")) continue;  // not a header line: dropped
    const Text name = TextBefore(line, ":");
    // Each "-"-separated part of the name gets a capital first character; a double-byte
    // character never starts a part, so bytes of 0x80 and above are stepped over whole.
    Text recased = line;
    bool partStart = true;
    for (size_t i = 0; i < name.size(); ++i) {
      const auto c = static_cast<unsigned char>(name[i]);
      if (c >= 0x80) {
        partStart = false;
        ++i;
        continue;
      }
      if (partStart) recased[i] = UpperAscii(recased[i]);
      partStart = c == '-';
    }
    out += recased;
    out += kCrLf;
  }
  if (!out.empty()) out.resize(out.size() - kCrLf.size());
  return out;
}

Text HeaderValue(std::string_view block, std::string_view name) {
  name = AsText(name);
  for (const Text& line : SplitList(block, kCrLf)) {
    if (line.compare(0, name.size(), name) == 0) {
      return TextAfterLast(line, Text(name) + ": ");
    }
  }
  return {};
}

Text BuildRequestHeaders(std::string_view extraHeaders, int method, std::string_view sendCookies,
                         bool completeHeaders, bool normaliseHeaderNames) {
  return BuildRequestHeaders(extraHeaders, VerbOfMethod(method), sendCookies, completeHeaders,
                             normaliseHeaderNames);
}

Text BuildRequestHeaders(std::string_view extraHeaders, HttpVerb verb, std::string_view sendCookies,
                         bool completeHeaders, bool normaliseHeaderNames) {
  extraHeaders = AsText(extraHeaders);
  sendCookies = AsText(sendCookies);
  Text block;
  if (!extraHeaders.empty()) {
    block.append(extraHeaders);
    block.append(kCrLf);
  }
  if (completeHeaders) {
    for (const DefaultHeader& row : kDefaultHeaders) {
      if (row.postOnly && verb != HttpVerb::kPost) continue;
      if (Contains(block, row.searchKey, /*ignoreCase=*/true)) continue;
      block.append(row.line);
      block.append(kCrLf);
    }
  }
  if (normaliseHeaderNames) block = NormaliseHeaderNames(block);

  // An explicit keep-alive line is taken out (WinHttp keeps connections alive by itself); only
  // lines that end in CR LF are removed, and only when the value is written in exactly this case.
  if (Contains(block, "Connection") && HeaderValue(block, "Connection") == "keep-alive") {
    block = ReplaceAll(block, "Connection: keep-alive\r\n", "");
  }

  if (!sendCookies.empty() && !Contains(block, "Cookie:", /*ignoreCase=*/true)) {
    block.append(kCrLf);
    if (!Contains(sendCookies, "Cookie:", /*ignoreCase=*/true)) block.append("Cookie: ");
    block.append(sendCookies);
    block.append(kCrLf);
  }
  return block;
}

}  // namespace lumenta
