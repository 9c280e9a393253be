#pragma once
// WordAutomation: the program-wide wrapper of the word processor's automation objects, created at
// start-up and destroyed by the exit hook. Its construction initialises COM for the user-interface
// thread (single-threaded apartment); its destruction releases the references it holds and
// uninitialises COM. It never quits a word processor left open for the user.
//
// The word processor is driven through its automation interface ("WORD.Application") with
// late-bound calls by member name.
//
// Every COM failure inside an operation is swallowed: operations report false, nothing or an
// empty value, and release every intermediate object they obtained on every path. Paths are
// wide so that any file name works; the texts of the program are GBK.
#include <oaidl.h>
#include <windows.h>

#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "base/text.h"
#include "win/com_win.h"
#include "win/variant_win.h"

namespace lumenta::app {

// Which way a first search of WordAutomation runs, and whether the word processor highlights
// what it finds.
enum class SearchDirection { kDefault, kForward, kBackward };  // kDefault: forward
struct WordSearchOptions {
  SearchDirection direction = SearchDirection::kDefault;
  bool highlight = false;
};

class WordAutomation {
 public:
  WordAutomation();
  ~WordAutomation();
  WordAutomation(const WordAutomation&) = delete;
  WordAutomation& operator=(const WordAutomation&) = delete;

  // Whether COM was initialised for this thread by the construction (false when the thread was
  // already in a multi-threaded apartment, where the automation calls cannot run).
  [[nodiscard]] bool comReady() const { return comReady_; }

  // --- What the document search uses.

  // Starts a new Application: the class registered under "WORD.Application", created in any
  // server context (without the remote one where the system rejects that set) and put into the
  // running state. Only a started one replaces the held application; otherwise the previous one
  // is kept.
  void CreateApplication();
  // Documents.Open(path); the document object is released at once.
  void OpenDocument(std::wstring_view path);
  bool SetVisible(bool visible);
  [[nodiscard]] bool IsVisible();
  // Searches the active document from after the current selection (a selection holding text is
  // first collapsed to its end) and selects the match: the selection's Find object, cleared of
  // formatting and replacement, its Highlight set from the options, executes with FindText,
  // Forward and Format only, so the word processor's defaults apply to everything else.
  [[nodiscard]] bool FindFirst(std::string_view text, const WordSearchOptions& options = {});
  // The same in the program's described shape: the search runs backward only for `useForward`
  // with `forward` false.
  [[nodiscard]] bool FindFirst(std::string_view text, bool forward, bool useForward,
                               bool highlight);
  // The next match of the last first-search's text, forward.
  [[nodiscard]] bool FindNext();
  void SetFontColor(int colour);
  void CloseDocument(int index);
  void Quit();

  // --- The rest of the automation the program offers.

  // Uses `application` (any automation object of the word processor) instead of the held one.
  bool Attach(IDispatch* application);
  bool NewDocument();
  bool SaveDocumentAs(std::wstring_view path);
  bool ExportPdf(std::wstring_view path);
  bool SaveDocument();
  bool PrintPreview();
  bool PrintOut();
  bool Activate();
  bool Undo(int times);
  bool Redo(int times);
  bool SetScreenUpdating(bool on);
  // Types each value at its bookmark; bookmarks the document lacks are skipped. Returns how many
  // were filled.
  int FillBookmarks(const std::vector<std::pair<Text, Text>>& valuesByName);

  // Tables: the current table is the one added or selected last.
  bool AddTable(int rows, int columns);
  bool SelectTable(int index);
  [[nodiscard]] std::optional<int> TableCount();
  [[nodiscard]] std::optional<int> TableRowCount();
  [[nodiscard]] std::optional<int> TableColumnCount();
  bool AutoFitSelectedTable(int behaviour);
  bool SelectTableRow(int row);
  bool SelectTableColumn(int column);
  bool SelectCell(int row, int column);
  bool SetCellText(int row, int column, std::string_view text);
  // The cell's text without the word processor's end-of-cell mark.
  [[nodiscard]] std::optional<Text> CellText(int row, int column);
  struct CellFont {
    std::optional<bool> bold;
    std::optional<double> size;
    std::optional<Text> name;
    std::optional<bool> italic;
    std::optional<int> colour;
  };
  bool SetCellFont(int row, int column, const CellFont& font);
  bool SelectColumn();
  bool SelectRow();
  bool SetCellsVerticalAlignment(int alignment);

  bool ApplyStyle(std::string_view styleName);
  bool InsertPicture(std::wstring_view path);
  bool AddLine(double beginX, double beginY, double endX, double endY);
  // Replaces every occurrence in the whole document; true when something was replaced.
  bool ReplaceInDocument(std::string_view find, std::string_view replacement);
  bool SetColumns(int count, bool evenlySpaced, bool lineBetween, double spacing);

  // Typing and moving the selection.
  bool TypeText(std::string_view text);
  bool TypeParagraph();
  bool TypeBackspace();
  bool MoveUp(int unit, int count);
  bool MoveDown(int unit, int count);
  bool MoveRight(int unit, int count);
  bool SelectWholeStory();
  bool GoTo(int what, int which, int count);

  // The document's content.
  [[nodiscard]] std::optional<Text> ContentText();
  bool SetContentText(std::string_view text);
  [[nodiscard]] std::optional<int> StoryLength();
  [[nodiscard]] std::optional<int> ComputeStatistics(int statistic);

  bool CopySelection();
  bool PasteSelection();

  // Font and paragraph of the selection.
  bool SetFontSize(double points);
  bool SetFontBold(bool on);
  bool SetFontUnderline(int style);
  bool SetFontItalic(bool on);
  bool SetFontSpacing(double points);
  bool SetFontShadow(bool on);
  bool SetFontName(std::string_view name);
  bool SetParagraphAlignment(int alignment);
  bool InsertBreak(int type);

  // How new instances are created: CoCreateInstance, unless a test puts a wrapper around it.
  using InstanceCreator = HRESULT(WINAPI*)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);
  static InstanceCreator SetInstanceCreator(InstanceCreator creator);

 private:
  IDispatch* app() const { return application_.get(); }

  // The word processor's Application object; empty until created.
  win::ComPtr<IDispatch> application_;
  // The current table, used by the table operations.
  win::ComPtr<IDispatch> table_;
  // The text of the last first search, reused by find-next.
  win::Variant lastSearchText_;
  // The Find object of the Selection used by the last first search.
  win::ComPtr<IDispatch> findObject_;

  bool comReady_ = false;
};

}  // namespace lumenta::app
