// key.ini with the system's private-profile functions: what loads into the key boxes, what the
// save button writes, where the file is looked for, and a save that cannot write.
#include <gtest/gtest.h>

#include "app/credentials.h"
#include "app/credentials_win.h"
#include "app/event_table_win.h"
#include "app/window_designs.h"
#include "base/text_encoders.h"
#include "tests/app/app_test_support_win.h"
#include "ui/message_box.h"
#include "ui/window_win.h"

namespace lumenta::app {
namespace {

using testing::FileExists;
using testing::ReadFile;
using testing::TemporaryFolder;
using testing::WriteFile;

Text Ansi(const std::wstring& path) { return AnsiPath(std::u16string(path.begin(), path.end())); }

class CredentialsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    beside_ = testing::KeyFileBesideProgram();
    DeleteFileW(beside_.c_str());
  }
  void TearDown() override { DeleteFileW(beside_.c_str()); }

  std::unique_ptr<ui::Window> OpenMainWindow() {
    auto window = ui::Window::Create(MainWindowDesign(), MainWindowEvents());
    EXPECT_NE(window, nullptr);
    return window;
  }

  std::wstring beside_;
  TemporaryFolder folder_;
};

TEST_F(CredentialsTest, BothKeysLoadIntoTheirBoxesWhenTheWindowIsCreated) {
  WriteFile(beside_, "[key]\r\nak=the api key\r\nsk=S3cr3t=\xD6\xD0\r\n");
  auto window = OpenMainWindow();
  EXPECT_EQ(window->GetText("编辑框1"), "the api key");
  EXPECT_EQ(window->GetText("编辑框2"), "S3cr3t=\xD6\xD0");
}

TEST_F(CredentialsTest, AMissingFileLeavesTheBoxesEmptyAndTheWindowOpens) {
  auto window = OpenMainWindow();
  EXPECT_TRUE(window->IsOpen());
  EXPECT_EQ(window->GetText("编辑框1"), "");
  EXPECT_EQ(window->GetText("编辑框2"), "");
}

TEST_F(CredentialsTest, AValueLongerThanTheBufferLoadsTruncatedTo10239Characters) {
  const std::string longValue(12000, 'v');
  WriteFile(beside_, "[key]\r\nak=" + longValue + "\r\nsk=short\r\n");
  auto window = OpenMainWindow();
  EXPECT_EQ(window->GetText("编辑框1"), std::string(10239, 'v'));
  EXPECT_EQ(window->GetText("编辑框2"), "short");
}

TEST_F(CredentialsTest, TheFileIsFoundBesideTheProgramNotInTheWorkingFolder) {
  WriteFile(beside_, "[key]\r\nak=beside\r\nsk=program\r\n");
  WriteFile(folder_.File(L"key.ini"), "[key]\r\nak=working\r\nsk=folder\r\n");
  wchar_t previous[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, previous);
  SetCurrentDirectoryW(folder_.path().c_str());
  auto window = OpenMainWindow();
  SetCurrentDirectoryW(previous);
  EXPECT_EQ(window->GetText("编辑框1"), "beside");
  EXPECT_EQ(window->GetText("编辑框2"), "program");
}

TEST_F(CredentialsTest, TheSaveButtonWritesAkThenSkBesideTheProgramSilently) {
  auto window = OpenMainWindow();
  window->SetText("编辑框1", "AK-1");
  window->SetText("编辑框2", "SK-2");
  ui::MessageRecorder messages;
  SendMessageW(window->ControlHandle("按钮_保存key"), BM_CLICK, 0, 0);
  EXPECT_TRUE(messages.texts().empty());
  const std::string file = ReadFile(beside_);
  EXPECT_NE(file.find("[key]"), std::string::npos) << file;
  const size_t ak = file.find("ak=AK-1\r\n");
  const size_t sk = file.find("sk=SK-2\r\n");
  ASSERT_NE(ak, std::string::npos) << file;
  ASSERT_NE(sk, std::string::npos) << file;
  EXPECT_LT(ak, sk);
  // And the next start shows them.
  auto next = OpenMainWindow();
  EXPECT_EQ(next->GetText("编辑框1"), "AK-1");
  EXPECT_EQ(next->GetText("编辑框2"), "SK-2");
}

TEST_F(CredentialsTest, SavingEmptyBoxesWritesTwoEmptyEntriesThatLoadBackEmpty) {
  WriteFile(beside_, "[key]\r\nak=old\r\nsk=old\r\n");
  auto window = OpenMainWindow();
  window->SetText("编辑框1", "");
  window->SetText("编辑框2", "");
  SendMessageW(window->ControlHandle("按钮_保存key"), BM_CLICK, 0, 0);
  const std::string file = ReadFile(beside_);
  EXPECT_NE(file.find("ak=\r\n"), std::string::npos) << file;
  EXPECT_NE(file.find("sk=\r\n"), std::string::npos) << file;
  auto next = OpenMainWindow();
  EXPECT_EQ(next->GetText("编辑框1"), "");
  EXPECT_EQ(next->GetText("编辑框2"), "");
}

TEST_F(CredentialsTest, AFolderThatCannotBeWrittenShowsTheMessageAndLosesNothingTyped) {
  auto window = OpenMainWindow();
  window->SetText("编辑框1", "typed key");
  window->SetText("编辑框2", "typed secret");
  const std::wstring missingFolder = folder_.File(L"no such folder");
  const std::wstring target = missingFolder + L"\\key.ini";
  ui::MessageRecorder messages;
  SaveKeysOrReport(*window, Ansi(target));
  EXPECT_EQ(messages.texts(),
            (std::vector<Text>{Utf8ToAnsi("保存失败，请检查程序目录是否可写！")}));
  EXPECT_EQ(window->GetText("编辑框1"), "typed key");
  EXPECT_EQ(window->GetText("编辑框2"), "typed secret");
  EXPECT_FALSE(FileExists(target));
}

TEST_F(CredentialsTest, AFileLockedByAnotherProgramShowsTheMessageToo) {
  const std::wstring path = folder_.File(L"key.ini");
  WriteFile(path, "[key]\r\nak=before\r\n");
  HANDLE locked = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(locked, INVALID_HANDLE_VALUE);
  auto window = OpenMainWindow();
  window->SetText("编辑框1", "new");
  ui::MessageRecorder messages;
  SaveKeysOrReport(*window, Ansi(path));
  CloseHandle(locked);
  EXPECT_EQ(messages.texts().size(), 1u);
  EXPECT_EQ(window->GetText("编辑框1"), "new");
  EXPECT_EQ(ReadFile(path), "[key]\r\nak=before\r\n");
}

struct EntryCase {
  const char* what;
  std::string fileContent;
  std::string fileNamePrefix;  // put before the path
  std::string section;
  std::string key;
  std::string expected;
  friend void PrintTo(const EntryCase& entry, std::ostream* out) { *out << entry.what; }
};

class ReadProfileEntryTest : public ::testing::TestWithParam<EntryCase> {};

TEST_P(ReadProfileEntryTest, ReadsAsTheSystemReaderWithStrippedNames) {
  TemporaryFolder folder;
  const std::wstring path = folder.File(L"key.ini");
  WriteFile(path, GetParam().fileContent);
  EXPECT_EQ(
      ReadProfileEntry(GetParam().fileNamePrefix + Ansi(path), GetParam().section, GetParam().key),
      GetParam().expected)
      << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ReadProfileEntryTest,
    ::testing::Values(EntryCase{"plain", "[key]\r\nak=abc\r\n", "", "key", "ak", "abc"},
                      EntryCase{"names lose leading blanks and controls", "[key]\r\nak=abc\r\n",
                                " \t", "\r\n key", "\x01\x1F ak", "abc"},
                      EntryCase{"missing key", "[key]\r\nak=abc\r\n", "", "key", "sk", ""},
                      EntryCase{"missing section", "[other]\r\nak=abc\r\n", "", "key", "ak", ""},
                      EntryCase{"empty value", "[key]\r\nak=\r\n", "", "key", "ak", ""},
                      EntryCase{"section names match without case", "[KEY]\r\nAK=abc\r\n", "",
                                "key", "ak", "abc"},
                      EntryCase{"GBK bytes come back byte for byte",
                                "[key]\r\nak=\xCA\xB6\xB1\xF0\r\n", "", "key", "ak",
                                "\xCA\xB6\xB1\xF0"},
                      // A name that is empty after stripping is not looked up at all, even where
                      // the file has an entry of exactly that name.
                      EntryCase{"blank key", "[key]\r\n\x01=nameless\r\n", "", "key", "\x01", ""},
                      EntryCase{"blank section", "[\x01]\r\nak=x\r\n", "", "\x01", "ak", ""}));

TEST(ReadProfileEntry, ABlankFileNameGivesEmptyText) {
  EXPECT_EQ(ReadProfileEntry(" \t\r\n", "key", "ak"), "");
  EXPECT_EQ(ReadProfileEntry("", "key", "ak"), "");
}

TEST(ReadProfileEntry, AMissingFileGivesEmptyText) {
  TemporaryFolder folder;
  EXPECT_EQ(ReadProfileEntry(Ansi(folder.File(L"absent.ini")), "key", "ak"), "");
}

TEST(AnsiPath, APathTheAnsiCodePageCannotHoldGetsItsShortForm) {
  TemporaryFolder folder;
  // A folder name with characters outside most ANSI code pages (and a GBK one with a "\" byte).
  const std::wstring inner = folder.File(L"\u8BC6\u5225\u4FD3\u0416");
  ASSERT_TRUE(CreateDirectoryW(inner.c_str(), nullptr));
  WriteFile(inner + L"\\key.ini", "[key]\r\nak=found\r\n");
  const Text ansi = Ansi(inner + L"\\key.ini");
  EXPECT_EQ(ansi.find('?'), std::string::npos) << ansi;
  EXPECT_EQ(ReadProfileEntry(ansi, "key", "ak"), "found");
  // Writing through it works too, into the same file.
  EXPECT_TRUE(WriteProfileEntry(ansi, "key", "sk", "written"));
  EXPECT_NE(ReadFile(inner + L"\\key.ini").find("sk=written"), std::string::npos);
}

}  // namespace
}  // namespace lumenta::app
