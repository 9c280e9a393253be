// The encoder table runs natively (iconv-built tables) and under Wine (the system's own code
// pages): both builds must give the same bytes for every row.
#include "base/text_encoders.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "base/pending_events.h"

namespace lumenta {
namespace {

using namespace std::string_literals;

// GBK bytes of a few characters used below (sources are UTF-8, texts are GBK).
const std::string kZhong = "\xD6\xD0";                 // 中
const std::string kZhongWen = "\xD6\xD0\xCE\xC4";      // 中文
const std::string kLao = "\xB0\x41";                   // a GBK character whose second byte is "A"
const std::string kPlaceholder = "#\xD2\xFD\xBA\xC5";  // #引号

struct EncoderCase {
  const char* name;
  std::function<std::string()> run;
  std::string expected;
};

// The bytes of a conversion whose result is raw bytes, for the table's common column.
std::string Bytes(ByteBuffer bytes) { return std::move(bytes).TakeString(); }

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

std::string Join(const std::vector<Text>& list) {
  std::string out = std::to_string(list.size()) + ":";
  for (const auto& item : list) out += "<" + item + ">";
  return out;
}

std::string All(std::string_view text, std::string_view left, std::string_view right,
                int lengthLimit = 0, std::string_view prefix = {}, std::string_view suffix = {},
                bool includeLeft = false, bool includeRight = false, bool ignoreCase = false) {
  std::vector<Text> list{"stale"};
  const int count = TextBetweenAll(text, left, right, list, ignoreCase, lengthLimit, prefix, suffix,
                                   includeLeft, includeRight);
  EXPECT_EQ(count, static_cast<int>(list.size()));
  return Join(list);
}

const std::vector<EncoderCase>& Cases() {
  static const std::vector<EncoderCase> cases = {
      // Base64
      {"base64 of three letters", [] { return Base64Encode("abc"); }, "YWJj"},
      {"base64 of two letters pads once", [] { return Base64Encode("ab"); }, "YWI="},
      {"base64 of one letter pads twice", [] { return Base64Encode("a"); }, "YQ=="},
      {"base64 of nothing is empty", [] { return Base64Encode(""); }, ""},
      {"base64 keeps zero bytes", [] { return Base64Encode("\0\0\0\0"s); }, "AAAAAA=="},
      {"base64 uses + and /", [] { return Base64Encode("\xFB\xFF\xBF"); }, "+/+/"},
      // UrlEncode
      {"url encode with both flags", [] { return UrlEncode("a b+/=", true, true); },
       "a+b%2B%2F%3D"},
      {"url encode without keep escapes letters", [] { return UrlEncode("a b+/=", false, true); },
       "%61+%62%2B%2F%3D"},
      {"url encode keeps the seven marks", [] { return UrlEncode("'()*-._", true); }, "'()*-._"},
      {"url encode escapes ! and ~", [] { return UrlEncode("!~", true); }, "%21%7E"},
      {"url encode of GBK converted to UTF-8", [] { return UrlEncode(kZhong, true, true); },
       "%E4%B8%AD"},
      {"url encode of GBK kept as GBK", [] { return UrlEncode(kZhong, true, false); }, "%D6%D0"},
      {"url encode stops at a zero byte", [] { return UrlEncode("a\0b"s, true); }, "a"},
      // UrlDecode
      {"url decode of plus and escapes", [] { return UrlDecode("a+b%41%4a"); }, "a bAJ"},
      {"url decode keeps a lone percent", [] { return UrlDecode("100%"); }, "100%"},
      {"url decode consumes a bad second digit", [] { return UrlDecode("%4G1"); },
       "\x04"
       "1"},
      {"url decode of one digit at the end", [] { return UrlDecode("x%4"); }, "x\x04"},
      {"url decode keeps percent before a non-digit", [] { return UrlDecode("%zz"); }, "%zz"},
      {"url decode from UTF-8 gives GBK", [] { return UrlDecode("%E4%B8%AD", true); }, kZhong},
      {"url decode ends at a decoded zero byte", [] { return UrlDecode("ab%00cd"); }, "ab"},
      {"url decode from UTF-8 ends at a decoded zero",
       [] { return UrlDecode("%E4%B8%AD%00x", true); }, kZhong},
      {"url decode of nothing", [] { return UrlDecode(""); }, ""},
      // FindText
      {"find text from the start", [] { return std::to_string(FindText("abcb", "b")); }, "2"},
      {"find text from a start position", [] { return std::to_string(FindText("abcb", "b", 3)); },
       "4"},
      {"find text with ignore case",
       [] { return std::to_string(FindText("xAbC", "abc", 1, true)); }, "2"},
      {"find text is case-sensitive by default",
       [] { return std::to_string(FindText("ABC", "abc")); }, "-1"},
      {"find text never matches on a second byte",
       [] { return std::to_string(FindText(kLao, "A")); }, "-1"},
      {"find text matches after a double-byte character",
       [] { return std::to_string(FindText(kLao + "A", "A")); }, "3"},
      {"find text does not fold second bytes",
       [] { return std::to_string(FindText("\x81\x61", "\x81\x41", 1, true)); }, "-1"},
      {"find text past the end", [] { return std::to_string(FindText("abc", "c", 9)); }, "-1"},
      {"find text of a longer needle", [] { return std::to_string(FindText("ab", "abc")); }, "-1"},
      // FindInText: FindText on texts already cut at their first zero byte
      {"find in text from a start position",
       [] { return std::to_string(FindInText("abcb", "b", 3)); }, "4"},
      {"find in text with ignore case",
       [] { return std::to_string(FindInText("xAbC", "abc", 1, true)); }, "2"},
      {"find in text never matches on a second byte",
       [] { return std::to_string(FindInText("\x81\r\n", "\r\n")); }, "-1"},
      {"find in text matches after a double-byte character",
       [] { return std::to_string(FindInText(kLao + "\r\n", "\r\n")); }, "3"},
      // TextBetween
      {"text between needs the right marker after the left",
       [] { return TextBetween("x=1;y=2", "y=", ";"); }, ""},
      {"text between takes the first pair", [] { return TextBetween("a[b]c[d]", "[", "]"); }, "b"},
      {"text between of adjacent markers is empty", [] { return TextBetween("a[]", "[", "]"); },
       ""},
      {"text between with the quote placeholder",
       [] { return TextBetween("x\"ab\"", kPlaceholder + "a", kPlaceholder); }, "b"},
      {"text between ignoring case", [] { return TextBetween("KEY=1;", "key=", ";", 0, true); },
       "1"},
      {"text between from a start position", [] { return TextBetween("[a][b]", "[", "]", 3); },
       "b"},
      {"text between keeps GBK text", [] { return TextBetween("<" + kZhongWen + ">", "<", ">"); },
       kZhongWen},
      // TextBetweenAll
      {"text between all finds every item", [] { return All("[a][b][c]", "[", "]"); },
       "3:<a><b><c>"},
      {"text between all with a length limit of 1", [] { return All("[a][b][c]", "[", "]", 1); },
       "0:"},
      {"text between all with a length limit of 2", [] { return All("[a][bc]", "[", "]", 2); },
       "1:<a>"},
      {"text between all restarts after the left marker", [] { return All("[[a]]", "[", "]"); },
       "2:<[a><a>"},
      {"text between all with prefix, suffix and both markers",
       [] { return All("[a]", "[", "]", 0, "<", ">", true, true); }, "1:<[<a>]>"},
      {"text between all does not replace the placeholder",
       [] { return All("\"a\"", kPlaceholder, kPlaceholder); }, "0:"},
      {"text between all of nothing", [] { return All("", "[", "]"); }, "0:"},
      {"text between all with an empty left marker finds nothing",
       [] { return All("[a]", "", "]"); }, "0:"},
      {"text between all with an empty right marker gives empty items",
       [] { return All("[a[b", "[", ""); }, "2:<><>"},
      // Code pages
      {"GBK to UTF-8", [] { return Bytes(AnsiToUtf8(kZhongWen)); }, "\xE4\xB8\xAD\xE6\x96\x87"},
      {"UTF-8 to GBK", [] { return Utf8ToAnsi("\xE4\xB8\xAD\xE6\x96\x87"); }, kZhongWen},
      {"the GBK byte 0x80 is the euro sign", [] { return Bytes(AnsiToUtf8("\x80")); },
       "\xE2\x82\xAC"},
      {"the euro sign is the GBK byte 0x80", [] { return Utf8ToAnsi("\xE2\x82\xAC"); }, "\x80"},
      {"a character GBK cannot hold becomes ?", [] { return Utf8ToAnsi("a\xE0\xB8\x81z"); }, "a?z"},
      {"a character outside the BMP becomes ??", [] { return Utf8ToAnsi("\xF0\x9F\x98\x80"); },
       "??"},
      {"a lone lead byte at the end reads ?", [] { return Bytes(AnsiToUtf8("a\x81")); }, "a?"},
      {"the full-width space", [] { return Bytes(AnsiToUtf8("\xA1\xA1")); }, "\xE3\x80\x80"},
      {"code page to UTF-16 adds one zero character",
       [] { return Bytes(CodePageToUtf16("A" + kZhong, 936)); }, "A\0\x2D\x4E\0\0"s},
      {"code page to UTF-16 of nothing is empty", [] { return Bytes(CodePageToUtf16("", 936)); },
       ""},
      {"code page to UTF-16 stops at a zero byte",
       [] { return Bytes(CodePageToUtf16("ab\0cd"s, 65001)); }, "a\0b\0\0\0"s},
      {"UTF-16 to code page has no terminator",
       [] { return Bytes(Utf16ToCodePage("A\0B\0"s, 65001)); }, "AB"},
      {"UTF-16 to code page stops at a zero character",
       [] { return Bytes(Utf16ToCodePage("A\0\0\0B\0"s, 936)); }, "A"},
      {"UTF-16 to code page of nothing", [] { return Bytes(Utf16ToCodePage(""s, 936)); }, ""},
      {"an odd last UTF-16 byte pairs with zero",
       [] { return Bytes(Utf16ToCodePage("A\0B"s, 936)); }, "AB"},
      {"GBK to UTF-16 and back", [] { return Utf16ToAnsi(AnsiToUtf16(kZhongWen + "x").view()); },
       kZhongWen + "x"},
      {"a bad UTF-8 continuation gives ? and keeps the next byte",
       [] { return Utf8ToAnsi("\xC3("); }, "?("},
      {"a truncated UTF-8 sequence gives ?", [] { return Utf8ToAnsi("a\xE4\xB8"); }, "a?"},
  };
  return cases;
}

TEST(TextEncoders, EveryCaseOfTheTableGivesItsBytes) {
  for (const auto& c : Cases()) {
    const std::string actual = c.run();
    EXPECT_EQ(Hex(actual), Hex(c.expected)) << c.name;
  }
}

TEST(TextEncoders, TextBetweenAllRunsThePendingEventsPumpAfterEachItem) {
  static int calls;
  calls = 0;
  const PendingEventsPump previous = SetPendingEventsPump([] { ++calls; });
  std::vector<Text> list;
  EXPECT_EQ(TextBetweenAll("[a][b][c]", "[", "]", list), 3);
  SetPendingEventsPump(previous);
  EXPECT_EQ(calls, 3);
}

TEST(TextEncoders, AsLongTextEndsAtTheFirstZeroByteAsAsTextDoes) {
  // Zero bytes inside the first 16-byte block, on block edges, in the byte-wise tail, or none.
  for (const size_t length : {0u, 1u, 15u, 16u, 17u, 31u, 32u, 33u, 100u}) {
    for (size_t zero = 0; zero <= length; ++zero) {
      std::string bytes(length, 'x');
      if (zero < length) bytes[zero] = '\0';
      if (zero + 3 < length) bytes[zero + 3] = '\0';  // a later zero byte changes nothing
      const std::string_view text = AsLongText(bytes);
      EXPECT_EQ(text.data(), bytes.data());
      EXPECT_EQ(text.size(), AsText(bytes).size()) << length << " bytes, zero at " << zero;
    }
  }
}

TEST(TextEncoders, Base64AndUrlEncodingRoundTripEveryByteValue) {
  std::string all;
  for (int i = 255; i >= 0; --i) all.push_back(static_cast<char>(i));
  const Text b64 = Base64Encode(all);
  ASSERT_EQ(b64.size(), 344u);
  // "image=" + UrlEncode(Base64(bytes)) decodes back to the Base64 text.
  EXPECT_EQ(UrlDecode(UrlEncode(b64, true, true)), b64);
  // Every byte but zero survives an encode/decode round trip without UTF-8 conversion.
  EXPECT_EQ(UrlDecode(UrlEncode(all.substr(0, 255))), all.substr(0, 255));
}

}  // namespace
}  // namespace lumenta
