#include "http/charset_names.h"

#include <string>

namespace lumenta::charset {
namespace {

struct Label {
  const char* name;
  Decoder decoder;
  unsigned codePage;
};

constexpr Decoder kCp = Decoder::kCodePage;

// Code pages are ones that both Windows and Wine convert: EUC-JP is 20932 (51932 is not a
// conversion code page on Windows), and the ISO 8859 parts without a Windows code page
// (10, 14) have their own tables.
constexpr Label kLabels[] = {
    // Unicode
    {"utf-8", kCp, 65001}, {"utf8", kCp, 65001}, {"unicode-1-1-utf-8", kCp, 65001},
    {"unicode11utf8", kCp, 65001}, {"unicode20utf8", kCp, 65001}, {"x-unicode20utf8", kCp, 65001},
    {"utf-16le", Decoder::kUtf16Le, 0}, {"utf-16be", Decoder::kUtf16Be, 0},
    {"unicodefffe", Decoder::kUtf16Be, 0}, {"utf-16", Decoder::kUtf16, 0},
    {"unicode", Decoder::kUtf16, 0}, {"unicodefeff", Decoder::kUtf16, 0},
    {"ucs-2", Decoder::kUtf16, 0}, {"csunicode", Decoder::kUtf16, 0},
    {"iso-10646-ucs-2", Decoder::kUtf16, 0},
    // Chinese
    {"gbk", kCp, 936}, {"gb2312", kCp, 936}, {"x-gbk", kCp, 936}, {"chinese", kCp, 936},
    {"csgb2312", kCp, 936}, {"csiso58gb231280", kCp, 936}, {"gb_2312", kCp, 936},
    {"gb_2312-80", kCp, 936}, {"iso-ir-58", kCp, 936}, {"cp936", kCp, 936},
    {"windows-936", kCp, 936}, {"ms936", kCp, 936},
    {"gb18030", Decoder::kGb18030, 0},
    {"big5", kCp, 950}, {"big5-hkscs", kCp, 950}, {"cn-big5", kCp, 950}, {"csbig5", kCp, 950},
    {"x-x-big5", kCp, 950}, {"cp950", kCp, 950},
    // Japanese
    {"shift_jis", kCp, 932}, {"shift-jis", kCp, 932}, {"sjis", kCp, 932}, {"x-sjis", kCp, 932},
    {"ms_kanji", kCp, 932}, {"csshiftjis", kCp, 932}, {"windows-31j", kCp, 932},
    {"ms932", kCp, 932}, {"cp932", kCp, 932},
    {"euc-jp", kCp, 20932}, {"x-euc-jp", kCp, 20932}, {"cseucpkdfmtjapanese", kCp, 20932},
    // Korean
    {"euc-kr", kCp, 949}, {"cseuckr", kCp, 949}, {"csksc56011987", kCp, 949},
    {"iso-ir-149", kCp, 949}, {"korean", kCp, 949}, {"ks_c_5601-1987", kCp, 949},
    {"ks_c_5601-1989", kCp, 949}, {"ksc5601", kCp, 949}, {"ksc_5601", kCp, 949},
    {"windows-949", kCp, 949}, {"cp949", kCp, 949},
    // Cyrillic
    {"koi8-r", kCp, 20866}, {"koi8_r", kCp, 20866}, {"koi8", kCp, 20866}, {"koi", kCp, 20866},
    {"cskoi8r", kCp, 20866}, {"koi8-u", kCp, 21866}, {"koi8-ru", kCp, 21866},
    {"ibm866", kCp, 866}, {"cp866", kCp, 866}, {"866", kCp, 866}, {"csibm866", kCp, 866},
    // ISO 8859
    {"iso-8859-1", kCp, 1252}, {"iso8859-1", kCp, 1252}, {"iso88591", kCp, 1252},
    {"iso_8859-1", kCp, 1252}, {"latin1", kCp, 1252}, {"l1", kCp, 1252},
    {"csisolatin1", kCp, 1252}, {"iso-ir-100", kCp, 1252}, {"ibm819", kCp, 1252},
    {"cp819", kCp, 1252}, {"us-ascii", kCp, 1252}, {"ascii", kCp, 1252},
    {"ansi_x3.4-1968", kCp, 1252},
    {"iso-8859-2", kCp, 28592}, {"iso8859-2", kCp, 28592}, {"iso88592", kCp, 28592},
    {"iso_8859-2", kCp, 28592}, {"latin2", kCp, 28592}, {"l2", kCp, 28592},
    {"csisolatin2", kCp, 28592}, {"iso-ir-101", kCp, 28592},
    {"iso-8859-3", kCp, 28593}, {"iso8859-3", kCp, 28593}, {"iso88593", kCp, 28593},
    {"iso_8859-3", kCp, 28593}, {"latin3", kCp, 28593}, {"l3", kCp, 28593},
    {"csisolatin3", kCp, 28593}, {"iso-ir-109", kCp, 28593},
    {"iso-8859-4", kCp, 28594}, {"iso8859-4", kCp, 28594}, {"iso88594", kCp, 28594},
    {"iso_8859-4", kCp, 28594}, {"latin4", kCp, 28594}, {"l4", kCp, 28594},
    {"csisolatin4", kCp, 28594}, {"iso-ir-110", kCp, 28594},
    {"iso-8859-5", kCp, 28595}, {"iso8859-5", kCp, 28595}, {"iso88595", kCp, 28595},
    {"iso_8859-5", kCp, 28595}, {"cyrillic", kCp, 28595}, {"csisolatincyrillic", kCp, 28595},
    {"iso-ir-144", kCp, 28595},
    {"iso-8859-6", kCp, 28596}, {"iso8859-6", kCp, 28596}, {"iso88596", kCp, 28596},
    {"iso_8859-6", kCp, 28596}, {"arabic", kCp, 28596}, {"asmo-708", kCp, 28596},
    {"csiso88596e", kCp, 28596}, {"csiso88596i", kCp, 28596}, {"csisolatinarabic", kCp, 28596},
    {"ecma-114", kCp, 28596}, {"iso-8859-6-e", kCp, 28596}, {"iso-8859-6-i", kCp, 28596},
    {"iso-ir-127", kCp, 28596},
    {"iso-8859-7", kCp, 28597}, {"iso8859-7", kCp, 28597}, {"iso88597", kCp, 28597},
    {"iso_8859-7", kCp, 28597}, {"greek", kCp, 28597}, {"greek8", kCp, 28597},
    {"csisolatingreek", kCp, 28597}, {"ecma-118", kCp, 28597}, {"elot_928", kCp, 28597},
    {"iso-ir-126", kCp, 28597}, {"sun_eu_greek", kCp, 28597},
    {"iso-8859-8", kCp, 28598}, {"iso8859-8", kCp, 28598}, {"iso88598", kCp, 28598},
    {"iso_8859-8", kCp, 28598}, {"hebrew", kCp, 28598}, {"csiso88598e", kCp, 28598},
    {"csisolatinhebrew", kCp, 28598}, {"iso-8859-8-e", kCp, 28598}, {"iso-ir-138", kCp, 28598},
    {"visual", kCp, 28598}, {"iso-8859-8-i", kCp, 28598}, {"csiso88598i", kCp, 28598},
    {"logical", kCp, 28598},
    {"iso-8859-9", kCp, 1254}, {"iso8859-9", kCp, 1254}, {"iso88599", kCp, 1254},
    {"iso_8859-9", kCp, 1254}, {"latin5", kCp, 1254}, {"l5", kCp, 1254},
    {"csisolatin5", kCp, 1254}, {"iso-ir-148", kCp, 1254},
    {"iso-8859-10", Decoder::kIso8859_10, 0}, {"iso8859-10", Decoder::kIso8859_10, 0},
    {"iso885910", Decoder::kIso8859_10, 0}, {"latin6", Decoder::kIso8859_10, 0},
    {"l6", Decoder::kIso8859_10, 0}, {"csisolatin6", Decoder::kIso8859_10, 0},
    {"iso-ir-157", Decoder::kIso8859_10, 0},
    {"iso-8859-11", kCp, 874}, {"iso8859-11", kCp, 874}, {"iso885911", kCp, 874},
    {"tis-620", kCp, 874}, {"windows-874", kCp, 874}, {"dos-874", kCp, 874},
    {"iso-8859-13", kCp, 28603}, {"iso8859-13", kCp, 28603}, {"iso885913", kCp, 28603},
    {"iso-8859-14", Decoder::kIso8859_14, 0}, {"iso8859-14", Decoder::kIso8859_14, 0},
    {"iso885914", Decoder::kIso8859_14, 0},
    {"iso-8859-15", kCp, 28605}, {"iso8859-15", kCp, 28605}, {"iso885915", kCp, 28605},
    {"iso_8859-15", kCp, 28605}, {"latin9", kCp, 28605}, {"l9", kCp, 28605},
    {"csisolatin9", kCp, 28605},
    // Windows
    {"windows-1250", kCp, 1250}, {"cp1250", kCp, 1250}, {"x-cp1250", kCp, 1250},
    {"windows-1251", kCp, 1251}, {"cp1251", kCp, 1251}, {"x-cp1251", kCp, 1251},
    {"windows-1252", kCp, 1252}, {"cp1252", kCp, 1252}, {"x-cp1252", kCp, 1252},
    {"windows-1253", kCp, 1253}, {"cp1253", kCp, 1253}, {"x-cp1253", kCp, 1253},
    {"windows-1254", kCp, 1254}, {"cp1254", kCp, 1254}, {"x-cp1254", kCp, 1254},
    {"windows-1255", kCp, 1255}, {"cp1255", kCp, 1255}, {"x-cp1255", kCp, 1255},
    {"windows-1256", kCp, 1256}, {"cp1256", kCp, 1256}, {"x-cp1256", kCp, 1256},
    {"windows-1257", kCp, 1257}, {"cp1257", kCp, 1257}, {"x-cp1257", kCp, 1257},
    {"windows-1258", kCp, 1258}, {"cp1258", kCp, 1258}, {"x-cp1258", kCp, 1258},
};

}  // namespace

std::optional<Charset> FindCharset(std::string_view name) {
  std::string lower(name);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  for (const Label& label : kLabels) {
    if (lower == label.name) return Charset{label.decoder, label.codePage};
  }
  return std::nullopt;
}

}  // namespace lumenta::charset
