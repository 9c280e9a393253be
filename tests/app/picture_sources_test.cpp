// The portable rules of the picture sources: the dialog's filter, the empty-clipboard message,
// the dropped file that is loaded and the dialog's initial folder.
#include "app/picture_sources.h"

#include <gtest/gtest.h>

#include "base/text_encoders.h"

namespace lumenta::app {
namespace {

TEST(PictureSources, TheFilterAndTheMessageAreTheProgramsOwnTexts) {
  EXPECT_EQ(kPictureFileFilter,
            Utf8ToAnsi("图片(*.jpg)|*.jpg|图片(*.png)|*.png|所有文件(*.*)|*.**"));
  EXPECT_EQ(kNoClipboardPicture, Utf8ToAnsi("剪切板中没有图片！"));
}

TEST(PictureSources, ADropLoadsItsOnlyFileOrItsFirstOfSeveral) {
  const struct {
    const char* dropped;
    const char* loaded;
  } cases[] = {
      {"C:\\pictures\\a.png", "C:\\pictures\\a.png"},
      {"C:\\pictures\\a.png\r\n", "C:\\pictures\\a.png"},
      {"C:\\pictures\\a.png\r\nC:\\pictures\\b.jpg\r\n", "C:\\pictures\\a.png"},
      {"C:\\a b\\c d.gif\r\nD:\\e.bmp\r\nF:\\g.ico\r\n", "C:\\a b\\c d.gif"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(DroppedFileToLoad(c.dropped), c.loaded) << c.dropped;
}

TEST(PictureSources, TheInitialFolderEndsInOneSeparator) {
  const std::string gbkEndingIn5C = "C:\\\xD5\x5C";  // 誠: its second byte is "\"
  const struct {
    std::string folder;
    std::string expected;
  } cases[] = {
      {"C:\\Users\\me\\Desktop", "C:\\Users\\me\\Desktop\\"},
      {"C:\\Users\\me\\Desktop\\", "C:\\Users\\me\\Desktop\\"},
      {"C:\\", "C:\\"},
      {gbkEndingIn5C, gbkEndingIn5C + "\\"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(FolderWithSeparator(c.folder), c.expected) << c.folder;
}

}  // namespace
}  // namespace lumenta::app
