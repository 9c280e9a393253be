// DecodeResponseText and TakeResponseText: raw GBK unless the first 1024 bytes hold a meta tag
// naming another character set, then the whole body converted to GBK.
#include "http/response_decoding.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/pending_events.h"

namespace lumenta {
namespace {

using namespace std::string_literals;

const std::string kZhongWenUtf8 = "\xE4\xB8\xAD\xE6\x96\x87";  // 中文
const std::string kZhongWenGbk = "\xD6\xD0\xCE\xC4";

std::string Hex(const std::string& bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : bytes) {
    out += digits[c >> 4];
    out += digits[c & 15];
    out += ' ';
  }
  return out;
}

// A page whose meta tag stands at byte `at`, followed by UTF-8 text.
std::string PageWithTagAt(size_t at, const std::string& tag) {
  return std::string(at, ' ') + tag + kZhongWenUtf8;
}

struct DecodeCase {
  const char* name;
  std::string body;
  std::string expected;
};

const std::vector<DecodeCase>& DecodeCases() {
  static const std::vector<DecodeCase> cases = {
      {"a JSON answer comes back byte for byte", "{\"words\":\"" + kZhongWenUtf8 + "\"}",
       "{\"words\":\"" + kZhongWenUtf8 + "\"}"},
      {"an empty body is empty text", "", ""},
      {"a page declaring UTF-8 is converted",
       "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">" +
           kZhongWenUtf8,
       "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">" +
           kZhongWenGbk},
      {"a quote before the name is allowed", "<meta charset=\"utf-8\">" + kZhongWenUtf8,
       "<meta charset=\"utf-8\">" + kZhongWenGbk},
      {"a single quote before the name is allowed", "<meta charset='UTF-8'>" + kZhongWenUtf8,
       "<meta charset='UTF-8'>" + kZhongWenGbk},
      {"META and Charset in capitals are found",
       "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; Charset=UTF-8\">" + kZhongWenUtf8,
       "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; Charset=UTF-8\">" + kZhongWenGbk},
      {"a tag across a line break is not found", "<meta\ncharset=utf-8>" + kZhongWenUtf8,
       "<meta\ncharset=utf-8>" + kZhongWenUtf8},
      {"a tag wholly inside the first 1024 bytes is found",
       PageWithTagAt(1024 - 20, "<meta charset=utf-8>"),
       std::string(1024 - 20, ' ') + "<meta charset=utf-8>" + kZhongWenGbk},
      {"a tag beginning at byte 1024 has no effect", PageWithTagAt(1024, "<meta charset=utf-8>"),
       PageWithTagAt(1024, "<meta charset=utf-8>")},
      {"charset=gbk leaves the bytes raw", "<meta charset=gbk>" + kZhongWenGbk + "\x81",
       "<meta charset=gbk>" + kZhongWenGbk + "\x81"},
      {"charset=gb2312 leaves the bytes raw", "<meta charset=gb2312>" + kZhongWenGbk + "\x81",
       "<meta charset=gb2312>" + kZhongWenGbk + "\x81"},
      // The stray lead byte at the end shows the conversion: it becomes "?".
      {"GBK in capitals goes through the converter", "<meta charset=GBK>" + kZhongWenGbk + "\x81",
       "<meta charset=GBK>" + kZhongWenGbk + "?"},
      {"an unknown name gives empty text", "<meta charset=x-klingon>" + kZhongWenUtf8, ""},
      {"a zero byte ends the raw text", "ab\0cd"s, "ab"},
      {"a zero byte near the start of a long body ends the raw text",
       "ab\0"s + std::string(100, 'x'), "ab"},
      {"a zero byte before the tag hides it", "x\0<meta charset=utf-8>"s + kZhongWenUtf8, "x"},
      {"a converted text also ends at a zero character",
       "<meta charset=utf-8>" + kZhongWenUtf8 + "\0tail"s, "<meta charset=utf-8>" + kZhongWenGbk},
      // The whole body is converted, zero bytes and all: read as UTF-16, the tag's own bytes
      // become CJK characters ("<m" is U+6D3C) and the text after the zeros comes through.
      {"the whole body is converted, past its zero bytes",
       "<meta charset=utf-16le>x"
       "\x2D\x4E\x87\x65"s,
       "\xCD\xDD\xAC\x8F?\xB5\xB5\xC4\xB5\x94\xB2?\xAC\x9D??\xBE\xB4\xC0\xF9" + kZhongWenGbk},
  };
  return cases;
}

TEST(ResponseDecoding, EveryCaseGivesItsText) {
  for (const DecodeCase& c : DecodeCases()) {
    EXPECT_EQ(Hex(DecodeResponseText(c.body)), Hex(c.expected)) << c.name;
  }
}

TEST(ResponseDecoding, TakingTheBodysBufferGivesTheSameText) {
  for (const DecodeCase& c : DecodeCases()) {
    EXPECT_EQ(Hex(TakeResponseText(ByteBuffer(c.body))), Hex(c.expected)) << c.name;
  }
}

TEST(ResponseDecoding, PendingEventsRunOnceAfterTheSearchWhateverItFound) {
  static int calls;
  const PendingEventsPump previous = SetPendingEventsPump([] { ++calls; });
  for (const std::string& body : {"{}"s, "<meta charset=utf-8>x"s, "<meta charset=gbk>"s, ""s}) {
    calls = 0;
    (void)DecodeResponseText(body);
    EXPECT_EQ(calls, 1) << body;
    calls = 0;
    (void)TakeResponseText(ByteBuffer(body));
    EXPECT_EQ(calls, 1) << body;
  }
  SetPendingEventsPump(previous);
}

}  // namespace
}  // namespace lumenta
