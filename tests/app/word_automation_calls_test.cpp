// The operations of WordAutomation beyond the search, against a recording automation object
// attached in place of the word processor: which members each one calls, with which arguments,
// what it makes of the answers, and that it releases every object it obtained, also when any
// one of its calls fails.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "app/word_automation_win.h"
#include "tests/app/recording_dispatch_win.h"

namespace lumenta::app {
namespace {

using win::Bool;
using win::Int;
using win::Str;
using Lines = std::vector<std::string>;

std::string Show(bool value) { return value ? "true" : "false"; }
std::string Show(int value) { return std::to_string(value); }
std::string Show(const std::optional<int>& value) { return value ? Show(*value) : "none"; }
std::string Show(const std::optional<Text>& value) { return value ? "\"" + *value + "\"" : "none"; }

enum class Table { kNone, kUsesCurrent, kSetsCurrent };

struct OperationCase {
  const char* name;
  std::function<std::string(WordAutomation&)> run;
  std::string result;
  Lines calls;
  Table table = Table::kNone;
  // Members whose failure the operation passes over: its result stays the same.
  std::set<std::string> swallowed = {};
};

bool IsFailure(const std::string& result) {
  return result == "false" || result == "none" || result == "0";
}

constexpr char kTable[] = "Word.ActiveDocument.Tables.Item(1)";

// The recording object answers with these where a value matters; any other read or call gives
// back a new recording object named by its path.
void ScriptAnswers(testing::DispatchJournal& journal) {
  journal.answers["Word.ActiveDocument.Undo"] = Bool(true);
  journal.answers["Word.ActiveDocument.Redo"] = Bool(false);
  journal.answers["Word.ActiveDocument.Bookmarks.Exists(\"name\")"] = Bool(true);
  journal.answers["Word.ActiveDocument.Bookmarks.Exists(\"gone\")"] = Bool(false);
  journal.answers["Word.ActiveDocument.Tables.Count"] = Int(4);
  journal.answers[std::string(kTable) + ".Rows.Count"] = Int(3);
  journal.answers[std::string(kTable) + ".Columns.Count"] = Int(2);
  journal.answers[std::string(kTable) + ".Cell(1, 2).Range.Text"] = Str("cell\r\a");
  journal.answers["Word.ActiveDocument.Content.Find.Execute"] = Bool(true);
  journal.answers["Word.ActiveDocument.Content.Text"] = Str("\xCE\xC4\xB1\xBE\r");  // 文本
  journal.answers["Word.ActiveDocument.Content.StoryLength"] = Int(3);
  journal.answers["Word.ActiveDocument.ComputeStatistics"] = Int(12);
}

const std::vector<OperationCase>& Cases() {
  static const std::vector<OperationCase> cases = {
      {"NewDocument",
       [](WordAutomation& w) { return Show(w.NewDocument()); },
       "true",
       {"get Word.Documents", "call Word.Documents.Add()"}},
      {"SaveDocumentAs",
       [](WordAutomation& w) { return Show(w.SaveDocumentAs(L"C:\\out.docx")); },
       "true",
       {"get Word.ActiveDocument", "call Word.ActiveDocument.SaveAs(\"C:\\out.docx\")"}},
      {"ExportPdf",
       [](WordAutomation& w) { return Show(w.ExportPdf(L"C:\\out.pdf")); },
       "true",
       {"get Word.ActiveDocument",
        "call Word.ActiveDocument.ExportAsFixedFormat(\"C:\\out.pdf\", 17)"}},
      {"SaveDocument",
       [](WordAutomation& w) { return Show(w.SaveDocument()); },
       "true",
       {"get Word.ActiveDocument", "call Word.ActiveDocument.Save()"}},
      {"PrintPreview",
       [](WordAutomation& w) { return Show(w.PrintPreview()); },
       "true",
       {"put Word.PrintPreview = true"}},
      {"PrintOut",
       [](WordAutomation& w) { return Show(w.PrintOut()); },
       "true",
       {"call Word.PrintOut()"}},
      {"Activate",
       [](WordAutomation& w) { return Show(w.Activate()); },
       "true",
       {"call Word.Activate()"}},
      {"Undo",
       [](WordAutomation& w) { return Show(w.Undo(2)); },
       "true",
       {"get Word.ActiveDocument", "call Word.ActiveDocument.Undo(2)"}},
      {"Redo reports what the document says",
       [](WordAutomation& w) { return Show(w.Redo(3)); },
       "false",
       {"get Word.ActiveDocument", "call Word.ActiveDocument.Redo(3)"}},
      {"SetScreenUpdating",
       [](WordAutomation& w) { return Show(w.SetScreenUpdating(false)); },
       "true",
       {"put Word.ScreenUpdating = false"}},
      {"FillBookmarks types at the bookmarks that exist",
       [](WordAutomation& w) {
         return Show(w.FillBookmarks({{"name", "\xD5\xC5\xC8\xFD"}, {"gone", "x"}}));  // 张三
       },
       "1",
       {"get Word.ActiveDocument", "get Word.ActiveDocument.Bookmarks",
        "call Word.ActiveDocument.Bookmarks.Exists(\"name\")", "get Word.ActiveDocument",
        "get Word.ActiveDocument.Bookmarks", "call Word.ActiveDocument.Bookmarks.Item(\"name\")",
        "call Word.ActiveDocument.Bookmarks.Item(\"name\").Select()", "get Word.Selection",
        "call Word.Selection.TypeText(\"\xE5\xBC\xA0\xE4\xB8\x89\")", "get Word.ActiveDocument",
        "get Word.ActiveDocument.Bookmarks",
        "call Word.ActiveDocument.Bookmarks.Exists(\"gone\")"}},
      {"AddTable adds at the selection in the grid style",
       [](WordAutomation& w) { return Show(w.AddTable(2, 3)); },
       "true",
       {"get Word.Selection", "get Word.Selection.Range", "get Word.ActiveDocument",
        "get Word.ActiveDocument.Tables",
        "call Word.ActiveDocument.Tables.Add(Word.Selection.Range, 2, 3)",
        "put Word.ActiveDocument.Tables.Add(Word.Selection.Range, 2, 3).Style = "
        "\"\xE7\xBD\x91\xE6\xA0\xBC\xE5\x9E\x8B\""},
       Table::kSetsCurrent,
       {"Word.ActiveDocument.Tables.Add(Word.Selection.Range, 2, 3).Style"}},
      {"SelectTable",
       [](WordAutomation& w) { return Show(w.SelectTable(2)); },
       "true",
       {"get Word.ActiveDocument", "get Word.ActiveDocument.Tables",
        "call Word.ActiveDocument.Tables.Item(2)"},
       Table::kSetsCurrent},
      {"TableCount",
       [](WordAutomation& w) { return Show(w.TableCount()); },
       "4",
       {"get Word.ActiveDocument", "get Word.ActiveDocument.Tables",
        "get Word.ActiveDocument.Tables.Count"}},
      {"TableRowCount",
       [](WordAutomation& w) { return Show(w.TableRowCount()); },
       "3",
       {"get Word.ActiveDocument.Tables.Item(1).Rows",
        "get Word.ActiveDocument.Tables.Item(1).Rows.Count"},
       Table::kUsesCurrent},
      {"TableColumnCount",
       [](WordAutomation& w) { return Show(w.TableColumnCount()); },
       "2",
       {"get Word.ActiveDocument.Tables.Item(1).Columns",
        "get Word.ActiveDocument.Tables.Item(1).Columns.Count"},
       Table::kUsesCurrent},
      {"AutoFitSelectedTable",
       [](WordAutomation& w) { return Show(w.AutoFitSelectedTable(1)); },
       "true",
       {"get Word.Selection", "get Word.Selection.Tables", "call Word.Selection.Tables.Item(1)",
        "call Word.Selection.Tables.Item(1).AutoFitBehavior(1)"}},
      {"SelectTableRow",
       [](WordAutomation& w) { return Show(w.SelectTableRow(2)); },
       "true",
       {"get Word.ActiveDocument.Tables.Item(1).Range",
        "get Word.ActiveDocument.Tables.Item(1).Range.Rows",
        "call Word.ActiveDocument.Tables.Item(1).Range.Rows.Item(2)",
        "call Word.ActiveDocument.Tables.Item(1).Range.Rows.Item(2).Select()"},
       Table::kUsesCurrent},
      {"SelectTableColumn",
       [](WordAutomation& w) { return Show(w.SelectTableColumn(3)); },
       "true",
       {"get Word.ActiveDocument.Tables.Item(1).Range",
        "get Word.ActiveDocument.Tables.Item(1).Range.Columns",
        "call Word.ActiveDocument.Tables.Item(1).Range.Columns.Item(3)",
        "call Word.ActiveDocument.Tables.Item(1).Range.Columns.Item(3).Select()"},
       Table::kUsesCurrent},
      {"SelectCell",
       [](WordAutomation& w) { return Show(w.SelectCell(1, 2)); },
       "true",
       {"call Word.ActiveDocument.Tables.Item(1).Cell(1, 2)",
        "call Word.ActiveDocument.Tables.Item(1).Cell(1, 2).Select()"},
       Table::kUsesCurrent},
      {"SetCellText",
       [](WordAutomation& w) { return Show(w.SetCellText(1, 2, "x")); },
       "true",
       {"call Word.ActiveDocument.Tables.Item(1).Cell(1, 2)",
        "get Word.ActiveDocument.Tables.Item(1).Cell(1, 2).Range",
        "put Word.ActiveDocument.Tables.Item(1).Cell(1, 2).Range.Text = \"x\""},
       Table::kUsesCurrent},
      {"CellText leaves out the end-of-cell mark",
       [](WordAutomation& w) { return Show(w.CellText(1, 2)); },
       "\"cell\"",
       {"call Word.ActiveDocument.Tables.Item(1).Cell(1, 2)",
        "get Word.ActiveDocument.Tables.Item(1).Cell(1, 2).Range",
        "get Word.ActiveDocument.Tables.Item(1).Cell(1, 2).Range.Text"},
       Table::kUsesCurrent},
      {"SetCellFont writes only what is given",
       [](WordAutomation& w) {
         WordAutomation::CellFont font;
         font.bold = true;
         font.size = 10.5;
         font.name = "\xCB\xCE\xCC\xE5";  // 宋体
         font.colour = 255;
         return Show(w.SetCellFont(2, 1, font));
       },
       "true",
       {"call Word.ActiveDocument.Tables.Item(1).Cell(2, 1)",
        "get Word.ActiveDocument.Tables.Item(1).Cell(2, 1).Range",
        "get Word.ActiveDocument.Tables.Item(1).Cell(2, 1).Range.Font",
        "put Word.ActiveDocument.Tables.Item(1).Cell(2, 1).Range.Font.Bold = true",
        "put Word.ActiveDocument.Tables.Item(1).Cell(2, 1).Range.Font.Size = 10.5",
        "put Word.ActiveDocument.Tables.Item(1).Cell(2, 1).Range.Font.Name = "
        "\"\xE5\xAE\x8B\xE4\xBD\x93\"",
        "put Word.ActiveDocument.Tables.Item(1).Cell(2, 1).Range.Font.Color = 255"},
       Table::kUsesCurrent},
      {"SelectColumn",
       [](WordAutomation& w) { return Show(w.SelectColumn()); },
       "true",
       {"get Word.Selection", "call Word.Selection.SelectColumn()"}},
      {"SelectRow",
       [](WordAutomation& w) { return Show(w.SelectRow()); },
       "true",
       {"get Word.Selection", "call Word.Selection.SelectRow()"}},
      {"SetCellsVerticalAlignment",
       [](WordAutomation& w) { return Show(w.SetCellsVerticalAlignment(1)); },
       "true",
       {"get Word.Selection", "get Word.Selection.Cells",
        "put Word.Selection.Cells.VerticalAlignment = 1"}},
      {"ApplyStyle",
       [](WordAutomation& w) { return Show(w.ApplyStyle("Heading 1")); },
       "true",
       {"get Word.ActiveDocument", "get Word.ActiveDocument.Styles",
        "call Word.ActiveDocument.Styles.Item(\"Heading 1\")", "get Word.Selection",
        "put Word.Selection.Style = Word.ActiveDocument.Styles.Item(\"Heading 1\")"}},
      {"InsertPicture",
       [](WordAutomation& w) { return Show(w.InsertPicture(L"C:\\a.png")); },
       "true",
       {"get Word.Selection", "get Word.Selection.InlineShapes",
        "call Word.Selection.InlineShapes.AddPicture(\"C:\\a.png\")"}},
      {"AddLine",
       [](WordAutomation& w) { return Show(w.AddLine(1, 2, 300, 4.5)); },
       "true",
       {"get Word.ActiveDocument", "get Word.ActiveDocument.Shapes",
        "call Word.ActiveDocument.Shapes.AddLine(1, 2, 300, 4.5)"}},
      {"ReplaceInDocument replaces all",
       [](WordAutomation& w) { return Show(w.ReplaceInDocument("old", "new")); },
       "true",
       {"get Word.ActiveDocument", "get Word.ActiveDocument.Content",
        "get Word.ActiveDocument.Content.Find",
        "call Word.ActiveDocument.Content.Find.ClearFormatting()",
        "get Word.ActiveDocument.Content.Find.Replacement",
        "put Word.ActiveDocument.Content.Find.Replacement.Text = \"new\"",
        "call Word.ActiveDocument.Content.Find.Execute(FindText:=\"old\", Replace:=2)"},
       Table::kNone,
       {"Word.ActiveDocument.Content.Find.ClearFormatting"}},
      {"SetColumns",
       [](WordAutomation& w) { return Show(w.SetColumns(2, true, false, 12.5)); },
       "true",
       {"get Word.ActiveDocument", "get Word.ActiveDocument.PageSetup",
        "get Word.ActiveDocument.PageSetup.TextColumns",
        "call Word.ActiveDocument.PageSetup.TextColumns.SetCount(2)",
        "put Word.ActiveDocument.PageSetup.TextColumns.EvenlySpaced = true",
        "put Word.ActiveDocument.PageSetup.TextColumns.LineBetween = false",
        "put Word.ActiveDocument.PageSetup.TextColumns.Spacing = 12.5"}},
      {"TypeText",
       [](WordAutomation& w) { return Show(w.TypeText("abc")); },
       "true",
       {"get Word.Selection", "call Word.Selection.TypeText(\"abc\")"}},
      {"TypeParagraph",
       [](WordAutomation& w) { return Show(w.TypeParagraph()); },
       "true",
       {"get Word.Selection", "call Word.Selection.TypeParagraph()"}},
      {"TypeBackspace",
       [](WordAutomation& w) { return Show(w.TypeBackspace()); },
       "true",
       {"get Word.Selection", "call Word.Selection.TypeBackspace()"}},
      {"MoveUp",
       [](WordAutomation& w) { return Show(w.MoveUp(5, 2)); },
       "true",
       {"get Word.Selection", "call Word.Selection.MoveUp(5, 2)"}},
      {"MoveDown",
       [](WordAutomation& w) { return Show(w.MoveDown(4, 1)); },
       "true",
       {"get Word.Selection", "call Word.Selection.MoveDown(4, 1)"}},
      {"MoveRight",
       [](WordAutomation& w) { return Show(w.MoveRight(1, 3)); },
       "true",
       {"get Word.Selection", "call Word.Selection.MoveRight(1, 3)"}},
      {"SelectWholeStory",
       [](WordAutomation& w) { return Show(w.SelectWholeStory()); },
       "true",
       {"get Word.Selection", "call Word.Selection.WholeStory()"}},
      {"GoTo",
       [](WordAutomation& w) { return Show(w.GoTo(1, 1, 3)); },
       "true",
       {"get Word.Selection", "call Word.Selection.GoTo(1, 1, 3)"}},
      {"ContentText",
       [](WordAutomation& w) { return Show(w.ContentText()); },
       "\"\xCE\xC4\xB1\xBE\r\"",
       {"get Word.ActiveDocument", "get Word.ActiveDocument.Content",
        "get Word.ActiveDocument.Content.Text"}},
      {"SetContentText",
       [](WordAutomation& w) { return Show(w.SetContentText("x\ry")); },
       "true",
       {"get Word.ActiveDocument", "get Word.ActiveDocument.Content",
        "put Word.ActiveDocument.Content.Text = \"x\ry\""}},
      {"StoryLength",
       [](WordAutomation& w) { return Show(w.StoryLength()); },
       "3",
       {"get Word.ActiveDocument", "get Word.ActiveDocument.Content",
        "get Word.ActiveDocument.Content.StoryLength"}},
      {"ComputeStatistics",
       [](WordAutomation& w) { return Show(w.ComputeStatistics(0)); },
       "12",
       {"get Word.ActiveDocument", "call Word.ActiveDocument.ComputeStatistics(0)"}},
      {"CopySelection",
       [](WordAutomation& w) { return Show(w.CopySelection()); },
       "true",
       {"get Word.Selection", "call Word.Selection.Copy()"}},
      {"PasteSelection",
       [](WordAutomation& w) { return Show(w.PasteSelection()); },
       "true",
       {"get Word.Selection", "call Word.Selection.Paste()"}},
      {"SetFontSize",
       [](WordAutomation& w) { return Show(w.SetFontSize(14)); },
       "true",
       {"get Word.Selection", "get Word.Selection.Font", "put Word.Selection.Font.Size = 14"}},
      {"SetFontBold",
       [](WordAutomation& w) { return Show(w.SetFontBold(true)); },
       "true",
       {"get Word.Selection", "get Word.Selection.Font", "put Word.Selection.Font.Bold = true"}},
      {"SetFontUnderline",
       [](WordAutomation& w) { return Show(w.SetFontUnderline(1)); },
       "true",
       {"get Word.Selection", "get Word.Selection.Font", "put Word.Selection.Font.Underline = 1"}},
      {"SetFontItalic",
       [](WordAutomation& w) { return Show(w.SetFontItalic(false)); },
       "true",
       {"get Word.Selection", "get Word.Selection.Font", "put Word.Selection.Font.Italic = false"}},
      {"SetFontSpacing",
       [](WordAutomation& w) { return Show(w.SetFontSpacing(1.5)); },
       "true",
       {"get Word.Selection", "get Word.Selection.Font", "put Word.Selection.Font.Spacing = 1.5"}},
      {"SetFontShadow",
       [](WordAutomation& w) { return Show(w.SetFontShadow(true)); },
       "true",
       {"get Word.Selection", "get Word.Selection.Font", "put Word.Selection.Font.Shadow = true"}},
      {"SetFontName",
       [](WordAutomation& w) { return Show(w.SetFontName("Arial")); },
       "true",
       {"get Word.Selection", "get Word.Selection.Font",
        "put Word.Selection.Font.Name = \"Arial\""}},
      {"SetParagraphAlignment",
       [](WordAutomation& w) { return Show(w.SetParagraphAlignment(1)); },
       "true",
       {"get Word.Selection", "get Word.Selection.ParagraphFormat",
        "put Word.Selection.ParagraphFormat.Alignment = 1"}},
      {"InsertBreak",
       [](WordAutomation& w) { return Show(w.InsertBreak(7)); },
       "true",
       {"get Word.Selection", "call Word.Selection.InsertBreak(7)"}},
  };
  return cases;
}

// A fresh WordAutomation on a fresh recording Application (with the first table of the active
// document as the current table when the case needs one), the journal emptied.
struct Attached {
  testing::DispatchJournal journal;
  WordAutomation word;
  int baseline = 0;  // objects the WordAutomation holds between calls

  explicit Attached(const OperationCase& c) {
    ScriptAnswers(journal);
    win::ComPtr<IDispatch> application = journal.Root("Word");
    EXPECT_TRUE(word.Attach(application.get()));
    if (c.table == Table::kUsesCurrent) {
      EXPECT_TRUE(word.SelectTable(1));
    }
    journal.Clear();
    baseline = journal.liveObjects;
  }
};

// "call A.B(1).C(2)" -> "A.B(1).C": the path a failure is scripted for.
std::string MemberOf(std::string line) {
  line = line.substr(line.find(' ') + 1);
  if (const size_t assignment = line.find(" = "); assignment != std::string::npos) {
    line.resize(assignment);
  }
  if (!line.empty() && line.back() == ')') {
    int depth = 0;
    for (size_t i = line.size(); i-- > 0;) {
      if (line[i] == ')') ++depth;
      if (line[i] == '(' && --depth == 0) {
        line.resize(i);
        break;
      }
    }
  }
  return line;
}

// Objects alive after an operation: the held ones, plus a new current table.
int HeldAfter(const OperationCase& c, const Attached& attached, const std::string& result) {
  return attached.baseline + (c.table == Table::kSetsCurrent && result == "true" ? 1 : 0);
}

TEST(WordAutomationCalls, EachOperationCallsItsMembersAndReleasesWhatItObtained) {
  ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  for (const OperationCase& c : Cases()) {
    Attached attached(c);
    const std::string result = c.run(attached.word);
    EXPECT_EQ(result, c.result) << c.name;
    EXPECT_EQ(attached.journal.calls, c.calls) << c.name;
    EXPECT_EQ(attached.journal.liveObjects, HeldAfter(c, attached, result)) << c.name;
  }
  CoUninitialize();
}

TEST(WordAutomationCalls, AnyFailingCallEndsTheOperationQuietlyWithoutLeakingAnObject) {
  ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  for (const OperationCase& c : Cases()) {
    std::set<std::string> members;
    for (const std::string& line : c.calls) members.insert(MemberOf(line));
    for (const std::string& member : members) {
      Attached attached(c);
      attached.journal.failures[member] = static_cast<HRESULT>(0x800A1066);
      const std::string result = c.run(attached.word);
      if (c.swallowed.count(member)) {
        EXPECT_EQ(result, c.result) << c.name << " / " << member;
      } else {
        EXPECT_TRUE(IsFailure(result)) << c.name << " / " << member << ": " << result;
      }
      EXPECT_EQ(attached.journal.liveObjects, HeldAfter(c, attached, result))
          << c.name << " / " << member;
    }
  }
  CoUninitialize();
}

TEST(WordAutomationCalls, WithoutAnApplicationEveryOperationFails) {
  WordAutomation word;
  EXPECT_FALSE(word.Attach(nullptr));
  for (const OperationCase& c : Cases()) {
    const std::string result = c.run(word);
    EXPECT_TRUE(IsFailure(result)) << c.name << ": " << result;
  }
}

TEST(WordAutomationCalls, AttachUsesTheGivenObjectForLaterCalls) {
  testing::DispatchJournal journal;
  {
    WordAutomation word;
    win::ComPtr<IDispatch> first = journal.Root("First");
    win::ComPtr<IDispatch> second = journal.Root("Second");
    ASSERT_TRUE(word.Attach(first.get()));
    ASSERT_TRUE(word.Attach(second.get()));
    EXPECT_FALSE(word.Attach(nullptr));  // keeps the second
    EXPECT_TRUE(word.SetVisible(true));
    EXPECT_TRUE(word.IsVisible());
    EXPECT_EQ(journal.calls, (Lines{"put Second.Visible = true", "get Second.Visible"}));
  }
  EXPECT_EQ(journal.liveObjects, 0);
}

}  // namespace
}  // namespace lumenta::app
