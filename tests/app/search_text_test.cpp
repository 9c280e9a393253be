// The document search's text and path: which blanks are trimmed, and where the document is.
#include "app/search_text.h"

#include <gtest/gtest.h>

namespace lumenta::app {
namespace {

struct TrimCase {
  const char* what;
  std::string text;
  std::string trimmed;
};

TEST(TrimSearchText, RemovesLeadingAndTrailingSpacesAndFullWidthSpacesOnly) {
  const TrimCase cases[] = {
      {"nothing", "", ""},
      {"only ASCII spaces", "   ", ""},
      {"only full-width spaces", "\xA1\xA1\xA1\xA1", ""},
      {"both kinds around a word", " \xA1\xA1 abc\xA1\xA1  ", "abc"},
      {"spaces inside stay",
       "  a b\xA1\xA1"
       "c  ",
       "a b\xA1\xA1"
       "c"},
      {"tabs stay", "\tabc\t", "\tabc\t"},
      {"line breaks stay", " \r\nline one\r\nline two\r\n ", "\r\nline one\r\nline two\r\n"},
      {"Chinese text", "\xA1\xA1\xCA\xB6\xB1\xF0 ", "\xCA\xB6\xB1\xF0"},
      // 啊 is B0 A1: its second byte and the next A1 are no full-width space.
      {"a character ending in A1 before a lone A1", "\xB0\xA1\xA1", "\xB0\xA1\xA1"},
      {"a character ending in A1 before a full-width space", "\xB0\xA1\xA1\xA1", "\xB0\xA1"},
      // A1 A1 A1: one full-width space, then a lone lead byte, which is content.
      {"an odd run of A1 bytes", "\xA1\xA1\xA1", "\xA1"},
      {"text ends at a zero byte", std::string("ab \0 cd", 7), "ab"},
  };
  for (const TrimCase& c : cases) {
    EXPECT_EQ(TrimSearchText(c.text), c.trimmed) << c.what;
  }
}

TEST(DocumentPathIn, PutsTheDocumentInTheGivenDirectoryWithOneSeparator) {
  EXPECT_EQ(DocumentPathIn(u"C:\\work"), u"C:\\work\\vorel.docx");
  EXPECT_EQ(DocumentPathIn(u"C:\\"), u"C:\\vorel.docx");
  EXPECT_EQ(DocumentPathIn(u"\\\\server\\share\\\xD55C"), u"\\\\server\\share\\\xD55C\\vorel.docx");
}

}  // namespace
}  // namespace lumenta::app
