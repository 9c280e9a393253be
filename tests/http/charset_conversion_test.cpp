// Conversion of a response body from a named character set to GBK: one known text per set,
// the aliases and spellings of the names, byte-order marks, GB18030's four-byte sequences and
// unknown names. The same table runs natively (iconv) and under Wine (the system's code pages).
#include "http/charset_conversion.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "http/gb18030.h"

namespace lumenta::charset {
namespace {

using namespace std::string_literals;

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

struct SetCase {
  const char* name;
  std::string body;
  std::string gbk;  // "?" where GBK has no such character
};

// Each body is a short text in its set with a character GBK holds (so a wrong table shows) and,
// where the set has one, a character GBK lacks.
const std::vector<SetCase>& SetCases() {
  static const std::vector<SetCase> cases = {
      {"utf-8", "\xE4\xB8\xAD\xE6\x96\x87 caf\xC3\xA9",
       "\xD6\xD0\xCE\xC4 caf\xA8\xA6"},                  // 中文 café
      {"big5", "\xA4\xA4\xA4\xE5", "\xD6\xD0\xCE\xC4"},  // 中文
      {"shift_jis", "\x93\xFA\x96{\x8C\xEA\x82\xA0", "\xC8\xD5\xB1\xBE\xD5Z\xA4\xA2"},  // 日本語あ
      {"euc-jp", "\xC6\xFC\xCB\xDC\xB8\xEC\xA4\xA2", "\xC8\xD5\xB1\xBE\xD5Z\xA4\xA2"},  // 日本語あ
      {"euc-kr", "\xF1\xE9 \xC7\xD1", "\xD6\xD0 ?"},                                    // 中 한
      {"iso-8859-1", "caf\xE9 \x93x\x94", "caf\xA8\xA6 \xA1\xB0x\xA1\xB1"},  // café “x”
      {"iso-8859-2",
       "\xA3\xF3"
       "d\xBC \xE9",
       "?\xA8\xAE"
       "d? \xA8\xA6"},                                                              // Łódź é
      {"iso-8859-3", "\xE8 \xF8", "\xA8\xA8 ?"},                                    // è ĝ
      {"iso-8859-4", "\xE0 \xBA", "\xA8\xA1 \xA8\xA5"},                             // ā ē
      {"iso-8859-5", "\xBC\xD8\xE0", "\xA7\xAE\xA7\xDA\xA7\xE2"},                   // Мир
      {"iso-8859-6", "a\xC7", "a?"},                                                // aا
      {"iso-8859-7", "\xD9\xEC\xDD\xE3\xE1", "\xA6\xB8\xA6\xCC?\xA6\xC3\xA6\xC1"},  // Ωμέγα
      {"iso-8859-8", "a\xE0", "a?"},                                                // aא
      {"iso-8859-9", "\xF0\xFC", "?\xA8\xB9"},                                      // ğü
      {"iso-8859-10", "\xE0 \xBF", "\xA8\xA1 ?"},                                   // ā ŋ
      {"iso-8859-11", "\xA1\x80", "?\x80"},                                         // ก€
      {"iso-8859-13", "\xE2", "\xA8\xA1"},                                          // ā
      {"iso-8859-14", "\xE0 \xA8", "\xA8\xA4 ?"},                                   // à Ẁ
      {"iso-8859-15", "\xA4\xE9", "\x80\xA8\xA6"},                                  // €é
      {"windows-1250", "\xE9\x80", "\xA8\xA6\x80"},                                 // é€
      {"windows-1251", "\xCC\xE8\xF0", "\xA7\xAE\xA7\xDA\xA7\xE2"},                 // Мир
      {"windows-1252", "\x93\xE9\x94", "\xA1\xB0\xA8\xA6\xA1\xB1"},                 // “é”
      {"windows-1253", "\xD9", "\xA6\xB8"},                                         // Ω
      {"windows-1254", "\xFC", "\xA8\xB9"},                                         // ü
      {"windows-1255", "\xE0\x80", "?\x80"},                                        // א€
      {"windows-1256", "\xE9", "\xA8\xA6"},                                         // é
      {"windows-1257", "\xE2", "\xA8\xA1"},                                         // ā
      {"windows-1258", "\xE9", "\xA8\xA6"},                                         // é
      {"koi8-r", "\xED\xC9\xD2", "\xA7\xAE\xA7\xDA\xA7\xE2"},                       // Мир
      {"koi8-u", "\xB3\xA6", "\xA7\xA7?"},                                          // Ёі
      {"utf-16le", "-Na\x00"s,
       "\xD6\xD0"
       "a"},  // 中a
      {"utf-16be",
       "N-\x00"
       "a"s,
       "\xD6\xD0"
       "a"},                                            // 中a
      {"GBK", "\xD6\xD0\xCE\xC4", "\xD6\xD0\xCE\xC4"},  // 中文 through the converter
      {"gb2312", "\xD6\xD0", "\xD6\xD0"},
      {"gb18030", "\xD6\xD0\xCE\xC4\x81\x30\x81\x30", "\xD6\xD0\xCE\xC4?"},  // 中文 U+0080
  };
  return cases;
}

TEST(CharsetConversion, EveryNamedSetConvertsItsKnownTextToGbk) {
  for (const SetCase& c : SetCases()) {
    EXPECT_EQ(Hex(ConvertToGbk(c.body, c.name)), Hex(c.gbk)) << c.name;
  }
}

TEST(CharsetConversion, NamesAreMatchedWithoutRegardToCaseAndAliasesNameTheSameSet) {
  const std::string body = "\xE4\xB8\xAD";  // 中 in UTF-8
  for (const char* name : {"UTF-8", "Utf-8", "utf8", "UNICODE-1-1-UTF-8", "x-unicode20utf8"}) {
    EXPECT_EQ(Hex(ConvertToGbk(body, name)), Hex("\xD6\xD0")) << name;
  }
  const std::vector<std::pair<std::vector<const char*>, std::string>> groups = {
      {{"big5", "Big5", "BIG5-HKSCS", "cn-big5", "x-x-big5"}, "\xA4\xA4"},
      {{"shift_jis", "Shift-JIS", "SJIS", "x-sjis", "ms_kanji", "Windows-31J"}, "\x93\xFA"},
      {{"euc-jp", "EUC-JP", "x-euc-jp"}, "\xC6\xFC"},
      {{"euc-kr", "KS_C_5601-1987", "korean", "ksc5601"}, "\xF1\xE9"},
      {{"gbk", "GB2312", "x-gbk", "chinese", "cp936", "csGB2312"}, "\xD6\xD0"},
  };
  for (const auto& [names, bytes] : groups) {
    const std::string expected = ConvertToGbk(bytes, names[0]);
    ASSERT_FALSE(expected.empty()) << names[0];
    for (const char* name : names) EXPECT_EQ(Hex(ConvertToGbk(bytes, name)), Hex(expected)) << name;
  }
  // Latin names as browsers read them.
  EXPECT_EQ(Hex(ConvertToGbk("\x93\xE9\x94", "latin1")), Hex("\xA1\xB0\xA8\xA6\xA1\xB1"));
  EXPECT_EQ(Hex(ConvertToGbk("\xE9", "ISO_8859-1")), Hex("\xA8\xA6"));
  EXPECT_EQ(Hex(ConvertToGbk("\xE9", "US-ASCII")), Hex("\xA8\xA6"));
  EXPECT_EQ(Hex(ConvertToGbk("\xBC\xD8\xE0", "cyrillic")), Hex("\xA7\xAE\xA7\xDA\xA7\xE2"));
  EXPECT_EQ(Hex(ConvertToGbk("\xD9", "Greek")), Hex("\xA6\xB8"));
  EXPECT_EQ(Hex(ConvertToGbk("\xE0", "latin6")), Hex("\xA8\xA1"));
  EXPECT_EQ(Hex(ConvertToGbk("\xED\xC9\xD2", "KOI8")), Hex("\xA7\xAE\xA7\xDA\xA7\xE2"));
}

TEST(CharsetConversion, AnUnknownNameGivesEmptyText) {
  for (const char* name : {"x-unknown", "iso-8859-12", "utf-7", "utf-8x", "", "gbk2"}) {
    EXPECT_EQ(ConvertToGbk("abc", name), "") << name;
  }
}

TEST(CharsetConversion, AByteOrderMarkOfTheSetIsDropped) {
  EXPECT_EQ(ConvertToGbk("\xEF\xBB\xBF"
                         "a\xE4\xB8\xAD",
                         "utf-8"),
            "a\xD6\xD0");
  EXPECT_EQ(ConvertToGbk("\xFF\xFE"
                         "a\0"s,
                         "utf-16le"),
            "a");
  EXPECT_EQ(ConvertToGbk("\xFE\xFF\0a"s, "utf-16be"), "a");
  // Plain "utf-16" (and "unicode") is little-endian unless the mark says otherwise.
  EXPECT_EQ(ConvertToGbk("a\0"s, "utf-16"), "a");
  EXPECT_EQ(ConvertToGbk("\xFE\xFF\0a\x4E\x2D"s, "unicode"), "a\xD6\xD0");
  EXPECT_EQ(ConvertToGbk("\xFF\xFE"
                         "a\0"s,
                         "UTF-16"),
            "a");
}

TEST(CharsetConversion, TheTextEndsAtTheFirstZeroCharacter) {
  EXPECT_EQ(ConvertToGbk("ab\0cd"s, "utf-8"), "ab");
  EXPECT_EQ(ConvertToGbk("a\0b\0\0\0c\0"s, "utf-16le"), "ab");
  EXPECT_EQ(ConvertToGbk("a\0"s
                         "b",
                         "utf-16le"),
            "a?");  // half a unit at the end
  EXPECT_EQ(ConvertToGbk("\xD6\xD0\0\xCE\xC4"s, "gb18030"), "\xD6\xD0");
  EXPECT_EQ(ConvertToGbk("\xE0\0\xE0"s, "iso-8859-10"), "\xA8\xA1");
  EXPECT_EQ(ConvertToGbk("", "utf-8"), "");
}

TEST(Gb18030, FourByteSequencesReadAsTheirCodePoints) {
  struct Case {
    std::string bytes;
    std::u16string units;
  };
  const std::vector<Case> cases = {
      {"\x81\x30\x81\x30", u"\x0080"},  // the first four-byte sequence
      {"\x81\x30\x84\x36", u"\x00A5"},  // a later run
      {"\x81\x30\xD3\x30", u"\x0452"},
      {"\x81\x39\xA3\x35", u"\x2FFF"},
      {"\x82\x35\x87\x38", u"\x4DB5"},
      {"\x84\x31\xA2\x34", u"\xFFE6"},
      {"\x84\x31\xA4\x39", u"\xFFFF"},        // the last one of the BMP
      {"\x81\x35\xF4\x37", u"\xE7C7"},        // the character moved in the 2005 edition
      {"\x90\x30\x81\x30", u"\xD800\xDC00"},  // U+10000
      {"\xE3\x32\x9A\x35", u"\xDBFF\xDFFF"},  // U+10FFFF
      {"\x84\x31\xA5\x30", u"\xFFFD"},        // past the BMP runs, before U+10000
      {"\xD6\xD0"
       "a\x81\x30"
       "a",
       u"\x4E2D"
       u"a\xFFFD"
       u"0a"},                  // a broken sequence
      {"\xA9\x5C", u"\x2010"},  // a two-byte character
  };
  for (const Case& c : cases) EXPECT_EQ(Gb18030ToUtf16(c.bytes), c.units) << Hex(c.bytes);
}

}  // namespace
}  // namespace lumenta::charset
