// WordAutomation against the word processor's stand-in, created through the real COM path
// (ProgID lookup, CoCreateInstance, OleRun, IDispatch): the Application's creation and
// replacement, the search operations and their calls, and the release of every object.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/word_automation_win.h"
#include "tests/app/app_test_support_win.h"
#include "tests/app/word_standin_harness_win.h"

namespace lumenta::app {
namespace {

using Lines = std::vector<std::string>;
using testing::TemporaryFolder;
using testing::WordStandIn;

// A document of the stand-in: plain UTF-8 text.
constexpr char kThreeApples[] = "Apple pie, an apple tart and APPLE juice.";

bool Contains(const Lines& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// The journal lines that follow the last line starting with `marker`.
Lines After(const Lines& lines, const std::string& marker) {
  for (size_t i = lines.size(); i-- > 0;) {
    if (lines[i].rfind(marker, 0) == 0) return Lines(lines.begin() + i + 1, lines.end());
  }
  return {};
}

class WordAutomationTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(standIn_.ok()); }
  void TearDown() override { WordAutomation::SetInstanceCreator(nullptr); }

  std::wstring Document(const std::string& text) {
    const std::wstring path = folder_.File(L"vorel.docx");
    testing::WriteFile(path, text);
    return path;
  }

  WordStandIn standIn_;
  TemporaryFolder folder_;
};

TEST_F(WordAutomationTest, CreatesTheRegisteredApplicationAndPutsItIntoTheRunningState) {
  WordAutomation word;
  EXPECT_FALSE(word.IsVisible());
  word.CreateApplication();
  EXPECT_EQ(standIn_.Journal(), (Lines{
                                    "create Application",
                                    "run Application",
                                }));
  EXPECT_FALSE(word.IsVisible());
  EXPECT_TRUE(word.SetVisible(true));
  EXPECT_TRUE(word.IsVisible());
  EXPECT_EQ(standIn_.LiveObjects(), 1);
}

std::vector<DWORD> g_contexts;

HRESULT WINAPI RejectTheRemoteContext(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID iid,
                                      LPVOID* out) {
  g_contexts.push_back(context);
  if (context & CLSCTX_REMOTE_SERVER) return E_INVALIDARG;
  return CoCreateInstance(clsid, outer, context, iid, out);
}

HRESULT WINAPI FailToCreate(REFCLSID, LPUNKNOWN, DWORD context, REFIID, LPVOID* out) {
  g_contexts.push_back(context);
  *out = nullptr;
  return REGDB_E_CLASSNOTREG;
}

TEST_F(WordAutomationTest, RetriesWithoutTheRemoteContextOnlyWhenTheSystemRejectsTheContextSet) {
  g_contexts.clear();
  WordAutomation::SetInstanceCreator(&RejectTheRemoteContext);
  WordAutomation word;
  word.CreateApplication();
  EXPECT_EQ(g_contexts, (std::vector<DWORD>{CLSCTX_ALL, CLSCTX_ALL & ~CLSCTX_REMOTE_SERVER}));
  EXPECT_TRUE(word.SetVisible(true));
  EXPECT_TRUE(word.IsVisible());

  g_contexts.clear();
  WordAutomation::SetInstanceCreator(&FailToCreate);
  word.CreateApplication();
  EXPECT_EQ(g_contexts, std::vector<DWORD>{CLSCTX_ALL});
}

TEST_F(WordAutomationTest, ReplacesThePreviousApplicationAndReleasesIt) {
  WordAutomation word;
  word.CreateApplication();
  ASSERT_TRUE(word.SetVisible(true));
  word.CreateApplication();
  EXPECT_FALSE(word.IsVisible());  // a new one, not yet shown
  EXPECT_EQ(standIn_.JournalLines("create ").size(), 2u);
  EXPECT_EQ(standIn_.LiveObjects(), 1);
}

struct StartFailure {
  const char* what;
  void (*arrange)();
  void (*restore)();
};

TEST_F(WordAutomationTest, KeepsThePreviousApplicationWhenANewOneCannotBeStarted) {
  const StartFailure failures[] = {
      {"the ProgID is not registered", [] { WordStandIn::Unregister(); },
       [] { WordStandIn::Register(); }},
      {"the instance cannot be created", [] { WordAutomation::SetInstanceCreator(&FailToCreate); },
       [] { WordAutomation::SetInstanceCreator(nullptr); }},
      {"the new instance does not enter the running state", [] { WordStandIn::SetRunFails(true); },
       [] { WordStandIn::SetRunFails(false); }},
  };
  for (const StartFailure& failure : failures) {
    WordAutomation word;
    word.CreateApplication();
    ASSERT_TRUE(word.SetVisible(true)) << failure.what;
    failure.arrange();
    word.CreateApplication();
    failure.restore();
    EXPECT_TRUE(word.IsVisible()) << failure.what;  // still the first one
    EXPECT_EQ(standIn_.LiveObjects(), 1) << failure.what;
  }
  // The one that did not enter the running state was made, asked to run, and let go.
  EXPECT_EQ(standIn_.JournalLines("run Application").size(), 4u);
}

TEST_F(WordAutomationTest, WithoutTheWordProcessorNothingIsCreatedAndEveryOperationFailsQuietly) {
  WordStandIn::Unregister();
  WordAutomation word;
  word.CreateApplication();
  word.OpenDocument(Document(kThreeApples));
  EXPECT_FALSE(word.SetVisible(true));
  EXPECT_FALSE(word.IsVisible());
  EXPECT_FALSE(word.FindFirst("apple", false, false, false));
  EXPECT_FALSE(word.FindNext());
  word.SetFontColor(255);
  word.CloseDocument(1);
  word.Quit();
  EXPECT_TRUE(standIn_.Journal().empty());
}

TEST_F(WordAutomationTest, OpensTheDocumentAtItsPathAndReleasesTheDocumentAtOnce) {
  // A folder name outside GBK: the path reaches the word processor intact.
  const std::wstring folder = folder_.File(L"-\xD55C\xAE00");
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  const std::wstring path = folder + L"\\vorel.docx";
  testing::WriteFile(path, kThreeApples);
  WordAutomation word;
  word.CreateApplication();
  word.OpenDocument(path);
  const Lines opened = standIn_.JournalLines("call Documents.Open(");
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_NE(opened[0].find("-\xED\x95\x9C\xEA\xB8\x80\\vorel.docx\")"), std::string::npos)
      << opened[0];
  EXPECT_TRUE(Contains(standIn_.Journal(), "opened 41 characters"));
  EXPECT_EQ(standIn_.LiveObjects(), 1);
}

struct FindFirstCase {
  bool forward;
  bool useForward;
  bool highlight;
  const char* forwardSent;
  const char* highlightSet;
};

TEST_F(WordAutomationTest, FindFirstPassesTheTextForwardAndFormatByReferenceAndNothingElse) {
  const FindFirstCase cases[] = {
      {false, false, false, "true", "0"},
      {true, false, true, "true", "1"},
      {false, true, false, "false", "0"},
      {true, true, false, "true", "0"},
  };
  const std::wstring path = Document(kThreeApples);
  for (const FindFirstCase& c : cases) {
    WordAutomation word;
    word.CreateApplication();
    word.OpenDocument(path);
    static_cast<void>(word.FindFirst("apple", c.forward, c.useForward, c.highlight));
    const Lines search = After(standIn_.Journal(), "opened ");
    const std::string execute = std::string("call Find.Execute(FindText:=&\"apple\", Forward:=&") +
                                c.forwardSent + ", Format:=&false)";
    const Lines expected = {
        "get Application.Selection",
        "get Selection.Text",
        "get Application.Selection",
        "get Selection.Find",
        "call Find.ClearFormatting()",
        std::string("put Find.Highlight = ") + c.highlightSet,
        "get Find.Replacement",
        "call Replacement.ClearFormatting()",
        "get Find.Replacement",
        "put Replacement.Text = \"\"",
        execute,
    };
    ASSERT_GE(search.size(), expected.size());
    EXPECT_EQ(Lines(search.begin(), search.begin() + expected.size()), expected)
        << c.forward << c.useForward << c.highlight;
  }
}

TEST_F(WordAutomationTest, FindsEveryMatchWithoutRegardToCaseThenReportsNone) {
  WordAutomation word;
  word.CreateApplication();
  word.OpenDocument(Document(kThreeApples));
  ASSERT_TRUE(word.FindFirst("apple", false, false, false));
  word.SetFontColor(255);
  ASSERT_TRUE(word.FindNext());
  word.SetFontColor(255);
  ASSERT_TRUE(word.FindNext());
  word.SetFontColor(255);
  EXPECT_FALSE(word.FindNext());
  EXPECT_EQ(standIn_.JournalLines("colour "),
            (Lines{"colour 255 0-5 \"Apple\"", "colour 255 14-19 \"apple\"",
                   "colour 255 29-34 \"APPLE\""}));
  EXPECT_EQ(standIn_.JournalLines("call Find.Execute(").back(),
            "call Find.Execute(FindText:=&\"apple\", Forward:=&true)");
}

TEST_F(WordAutomationTest, FindFirstStartsAfterASelectionThatHoldsText) {
  WordAutomation word;
  word.CreateApplication();
  word.OpenDocument(Document(kThreeApples));
  ASSERT_TRUE(word.FindFirst("apple", false, false, false));
  EXPECT_TRUE(standIn_.JournalLines("call Selection.MoveRight").empty());
  ASSERT_TRUE(word.FindFirst("APPLE", false, false, false));
  EXPECT_EQ(standIn_.JournalLines("call Selection.MoveRight"),
            Lines{"call Selection.MoveRight(1, 1)"});
  EXPECT_EQ(standIn_.JournalLines("found "),
            (Lines{"found 0-5 \"Apple\"", "found 14-19 \"apple\""}));
}

TEST_F(WordAutomationTest, SearchesAMultiLineTextAsOneTextWithItsLineBreaks) {
  WordAutomation word;
  word.CreateApplication();
  word.OpenDocument(Document("first line\r\nsecond line\r\nfirst line\r\nthird"));
  ASSERT_TRUE(word.FindFirst("line\r\nSECOND", false, false, false));
  EXPECT_FALSE(word.FindNext());
  EXPECT_EQ(standIn_.JournalLines("found "), Lines{"found 6-18 \"line\\r\\nsecond\""});
}

TEST_F(WordAutomationTest, SendsTheGbkSearchTextAsUnicode) {
  WordAutomation word;
  word.CreateApplication();
  word.OpenDocument(Document("\xE6\x96\x87\xE5\xAD\x97\xE8\xAF\x86\xE5\x88\xAB"));  // 文字识别
  EXPECT_TRUE(word.FindFirst("\xCA\xB6\xB1\xF0", false, false, false));             // 识别
  EXPECT_EQ(standIn_.JournalLines("found "), Lines{"found 2-4 \"\xE8\xAF\x86\xE5\x88\xAB\""});
}

TEST_F(WordAutomationTest, ASearchWithoutAnOpenDocumentCountsAsNotFound) {
  WordAutomation word;
  word.CreateApplication();
  word.OpenDocument(folder_.path() + L"\\missing.docx");
  EXPECT_FALSE(word.FindFirst("apple", false, false, false));
  EXPECT_FALSE(word.FindNext());
  EXPECT_TRUE(standIn_.JournalLines("call Find.Execute").empty());
  EXPECT_EQ(standIn_.LiveObjects(), 1);
}

TEST_F(WordAutomationTest, ClosesTheDocumentByIndexAndQuits) {
  WordAutomation word;
  word.CreateApplication();
  word.OpenDocument(Document(kThreeApples));
  word.CloseDocument(1);
  word.Quit();
  EXPECT_EQ(After(standIn_.Journal(), "opened "),
            (Lines{"get Application.Documents", "call Documents.Item(1)", "call Document.Close()",
                   "call Application.Quit()"}));
  EXPECT_EQ(standIn_.LiveObjects(), 1);
  // A document that is not open: the failure is swallowed.
  word.CloseDocument(2);
  EXPECT_EQ(standIn_.LiveObjects(), 1);
}

TEST_F(WordAutomationTest, DestructionReleasesEveryObjectAndLeavesTheWordProcessorRunning) {
  {
    WordAutomation word;
    word.CreateApplication();
    word.OpenDocument(Document(kThreeApples));
    ASSERT_TRUE(word.SetVisible(true));
    ASSERT_TRUE(word.FindFirst("apple", false, false, false));
    EXPECT_EQ(standIn_.LiveObjects(), 2);  // the application and the find object
  }
  EXPECT_EQ(standIn_.LiveObjects(), 0);
  EXPECT_TRUE(standIn_.JournalLines("call Application.Quit").empty());
}

}  // namespace
}  // namespace lumenta::app
