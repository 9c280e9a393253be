// The portable rules of the credentials file: names lose their leading control codes, the file
// sits in the program's folder.
#include "app/credentials.h"

#include <gtest/gtest.h>

namespace lumenta::app {
namespace {

struct Stripping {
  std::string_view name;
  std::string_view stripped;
  friend void PrintTo(const Stripping& s, std::ostream* out) {
    *out << ::testing::PrintToString(std::string(s.name));
  }
};

class StripLeadingControlCodesTest : public ::testing::TestWithParam<Stripping> {};

TEST_P(StripLeadingControlCodesTest, RemovesCodesOneToThirtyTwoAtTheStartOnly) {
  EXPECT_EQ(StripLeadingControlCodes(GetParam().name), GetParam().stripped);
}

INSTANTIATE_TEST_SUITE_P(
    Table, StripLeadingControlCodesTest,
    ::testing::Values(Stripping{"key", "key"}, Stripping{"  key", "key"},
                      Stripping{"\t\r\n\x01\x1F key", "key"}, Stripping{"key  ", "key  "},
                      Stripping{"k e y", "k e y"}, Stripping{" \t ", ""}, Stripping{"", ""},
                      Stripping{"\x21key", "\x21key"},            // "!" (33) stays
                      Stripping{"\xA1\xA1key", "\xA1\xA1key"}));  // a full-width space stays

TEST(KeyFile, LivesInTheFolderOfTheProgramFile) {
  EXPECT_EQ(KeyFileInFolder(FolderOf(u"C:\\Program Files\\Lumenta\\Lumenta.exe")),
            u"C:\\Program Files\\Lumenta\\key.ini");
  EXPECT_EQ(KeyFileInFolder(FolderOf(u"D:\\Lumenta.exe")), u"D:\\key.ini");
  EXPECT_EQ(KeyFileInFolder(FolderOf(u"\\\\server\\share\\tools\\Lumenta.exe")),
            u"\\\\server\\share\\tools\\key.ini");
}

TEST(KeyFile, FindsTheFolderByCharactersNotBytes) {
  // In GBK 俓 is 82 5C: its second byte is a backslash. Paths are split as UTF-16, so no
  // character is cut.
  EXPECT_EQ(FolderOf(u"C:\\俓\\Lumenta.exe"), u"C:\\俓");
  EXPECT_EQ(FolderOf(u"Lumenta.exe"), u"");
}

}  // namespace
}  // namespace lumenta::app
