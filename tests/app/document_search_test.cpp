// The document search as the user runs it: text in the result box, a click on 按钮_查找, the word
// processor's stand-in registered under "WORD.Application" and reached through the real COM
// path, "vorel.docx" in the current working directory.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <string>
#include <vector>

#include "app/document_search_win.h"
#include "app/search_text.h"
#include "tests/app/app_test_support_win.h"
#include "tests/app/main_window_fixture_win.h"
#include "tests/app/word_standin_harness_win.h"
#include "tests/ui/ui_test_support_win.h"

namespace lumenta::app {
namespace {

using Lines = std::vector<std::string>;
using Texts = std::vector<Text>;
using testing::TemporaryFolder;
using testing::WordStandIn;

constexpr char kResultBox[] = "编辑框_识别结果";
constexpr char kSearchButton[] = "按钮_查找";

// Runs in the folder it is given as the working directory, and goes back afterwards.
class WorkingDirectory {
 public:
  explicit WorkingDirectory(const std::wstring& folder) {
    wchar_t previous[MAX_PATH * 4];
    GetCurrentDirectoryW(MAX_PATH * 4, previous);
    previous_ = previous;
    SetCurrentDirectoryW(folder.c_str());
  }
  ~WorkingDirectory() { SetCurrentDirectoryW(previous_.c_str()); }

 private:
  std::wstring previous_;
};

// A "vorel.docx" in the test program's own folder for as long as it lives.
class DocumentBesideProgram {
 public:
  explicit DocumentBesideProgram(const std::string& text)
      : path_(testing::ProgramFolder() + L"\\vorel.docx") {
    testing::WriteFile(path_, text);
  }
  ~DocumentBesideProgram() { DeleteFileW(path_.c_str()); }

 private:
  std::wstring path_;
};

class DocumentSearchTest : public MainWindowTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(standIn_.ok());
    MainWindowTest::SetUp();
  }

  // The result box holds `text`; the user clicks the search button.
  void Search(const std::string& text) {
    main_->SetText(kResultBox, text);
    Click(kSearchButton);
    Pump();
  }
  // Writes "vorel.docx" into `folder`.
  static void WriteDocument(const std::wstring& folder, const std::string& text) {
    testing::WriteFile(folder + L"\\vorel.docx", text);
  }
  Lines Colours() const { return standIn_.JournalLines("colour "); }
  bool Journaled(const std::string& line) const {
    for (const std::string& entry : standIn_.Journal()) {
      if (entry == line) return true;
    }
    return false;
  }

  WordStandIn standIn_;
  TemporaryFolder folder_;
};

struct FoundCase {
  const char* what;
  std::string box;       // GBK
  std::string document;  // UTF-8
  Lines colours;
};

TEST_F(DocumentSearchTest, ColoursEveryMatchRedAndLeavesTheWordProcessorVisible) {
  const FoundCase cases[] = {
      {"three occurrences in any case",
       "apple",
       "An apple, an Apple pie and APPLE juice.",
       {"colour 255 3-8 \"apple\"", "colour 255 13-18 \"Apple\"", "colour 255 27-32 \"APPLE\""}},
      {"blanks around the text are not searched",
       " \xA1\xA1pie\xA1\xA1  ",
       "pie or no pie",
       {"colour 255 0-3 \"pie\"", "colour 255 10-13 \"pie\""}},
      {"a multi-line Chinese result, line breaks included",
       "\xCA\xB6\xB1\xF0\r\n\xBD\xE1\xB9\xFB",
       "\xE8\xAF\x86\xE5\x88\xAB\r\n\xE7\xBB\x93\xE6\x9E\x9C, "
       "\xE8\xAF\x86\xE5\x88\xAB \xE7\xBB\x93\xE6\x9E\x9C",
       {"colour 255 0-6 \"\xE8\xAF\x86\xE5\x88\xAB\\r\\n\xE7\xBB\x93\xE6\x9E\x9C\""}},
  };
  for (const FoundCase& c : cases) {
    TemporaryFolder folder;
    WriteDocument(folder.path(), c.document);
    WorkingDirectory in(folder.path());
    const size_t before = Colours().size();
    Search(c.box);
    const Lines colours = Colours();
    EXPECT_EQ(Lines(colours.begin() + static_cast<long>(before), colours.end()), c.colours)
        << c.what;
    EXPECT_TRUE(word().IsVisible()) << c.what;
    EXPECT_TRUE(messages_.texts().empty()) << c.what;
  }
  EXPECT_FALSE(Journaled("call Application.Quit()"));
  EXPECT_TRUE(Journaled("put Application.Visible = true"));
}

TEST_F(DocumentSearchTest, AnEmptyOrBlankBoxAsksForTextMovesTheFocusAndStartsNothing) {
  for (const std::string& box :
       {std::string(""), std::string("   "), std::string("\xA1\xA1 \xA1\xA1")}) {
    messages_.Clear();
    SetFocus(main_->ControlHandle(kSearchButton));
    Search(box);
    EXPECT_EQ(messages_.texts(), Texts{kEnterSearchTextMessage}) << box;
    EXPECT_EQ(GetFocus(), main_->ControlHandle(kResultBox)) << box;
  }
  EXPECT_TRUE(standIn_.Journal().empty());
}

TEST_F(DocumentSearchTest, NoOccurrenceClosesTheDocumentQuitsAndSaysSo) {
  WriteDocument(folder_.path(), "Nothing to see here.");
  WorkingDirectory in(folder_.path());
  Search("apple");
  EXPECT_EQ(messages_.texts(), Texts{kNotFoundMessage});
  const Lines journal = standIn_.Journal();
  const Lines ending(journal.end() - 5, journal.end());
  EXPECT_EQ(ending, (Lines{"not found", "get Application.Documents", "call Documents.Item(1)",
                           "call Document.Close()", "call Application.Quit()"}));
  EXPECT_TRUE(Colours().empty());
}

TEST_F(DocumentSearchTest, AMissingDocumentEndsLikeNoOccurrence) {
  WorkingDirectory in(folder_.path());  // no vorel.docx there
  Search("apple");
  EXPECT_EQ(messages_.texts(), Texts{kNotFoundMessage});
  EXPECT_TRUE(Journaled("put Application.Visible = true"));
  EXPECT_TRUE(Journaled("call Application.Quit()"));
  EXPECT_TRUE(standIn_.JournalLines("call Find.Execute").empty());
}

TEST_F(DocumentSearchTest, WithoutTheWordProcessorTheSearchEndsSilently) {
  WordStandIn::Unregister();
  WriteDocument(folder_.path(), "apple");
  WorkingDirectory in(folder_.path());
  Search("apple");
  EXPECT_TRUE(messages_.texts().empty());
  EXPECT_TRUE(standIn_.Journal().empty());
}

TEST_F(DocumentSearchTest, LooksForTheDocumentInTheWorkingDirectoryNotTheProgramsFolder) {
  // The program's folder holds a document with a match; the working directory (with a name
  // outside GBK) holds one without.
  const std::wstring folder = folder_.File(L"-\xD55C\xAE00");
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  WriteDocument(folder, "pear");
  {
    DocumentBesideProgram decoy("apple");
    WorkingDirectory in(folder);
    Search("apple");
  }
  EXPECT_EQ(messages_.texts(), Texts{kNotFoundMessage});
  const Lines opened = standIn_.JournalLines("call Documents.Open(");
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_NE(opened[0].find("-\xED\x95\x9C\xEA\xB8\x80\\vorel.docx\")"), std::string::npos)
      << opened[0];
}

TEST_F(DocumentSearchTest, AWordProcessorThatWrapsAroundStopsAtTheCap) {
  WordStandIn::SetWrap(true);
  WriteDocument(folder_.path(), "one apple, two apples");
  WorkingDirectory in(folder_.path());
  Search("apple");
  EXPECT_EQ(Colours().size(), static_cast<size_t>(kMaxColouredMatches));
  EXPECT_EQ(standIn_.JournalLines("call Find.Execute").size(),
            static_cast<size_t>(kMaxColouredMatches));
  EXPECT_TRUE(messages_.texts().empty());
  EXPECT_TRUE(word().IsVisible());
}

TEST_F(DocumentSearchTest, AClickDuringTheSearchIsIgnored) {
  WriteDocument(folder_.path(), "apple, apple, apple");
  WorkingDirectory in(folder_.path());
  HWND button = main_->ControlHandle(kSearchButton);
  // The second click arrives while the first search waits for the word processor.
  testing::RunLater(std::chrono::milliseconds(100),
                    [button] { SendMessageW(button, BM_CLICK, 0, 0); });
  Search("apple");
  EXPECT_EQ(standIn_.JournalLines("create Application").size(), 1u);
  EXPECT_EQ(Colours().size(), 3u);
  // Once it is over, the button works again.
  Search("apple");
  EXPECT_EQ(standIn_.JournalLines("create Application").size(), 2u);
}

TEST_F(DocumentSearchTest, TheTextIsTakenAgainAfterTheWait) {
  WriteDocument(folder_.path(), "apple and pear");
  WorkingDirectory in(folder_.path());
  ui::Window* main = main_.get();
  testing::RunLater(std::chrono::milliseconds(100),
                    [main] { main->SetText("编辑框_识别结果", " pear "); });
  Search("apple");
  EXPECT_EQ(Colours(), Lines{"colour 255 10-14 \"pear\""});
}

TEST_F(DocumentSearchTest, ClosingTheMainWindowDuringTheWaitEndsTheSearch) {
  WriteDocument(folder_.path(), "apple");
  WorkingDirectory in(folder_.path());
  ui::Window* main = main_.get();
  testing::RunLater(std::chrono::milliseconds(100), [main] { main->Close(); });
  Search("apple");
  EXPECT_FALSE(main_->IsOpen());
  EXPECT_TRUE(standIn_.JournalLines("call Find.Execute").empty());
  EXPECT_TRUE(messages_.texts().empty());
  // Closing the main window ends the program's message loop; that is not this test's business.
  MSG quit;
  PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

}  // namespace
}  // namespace lumenta::app
