// WordAutomation: tables. The current table (added or selected last) is held between calls; the
// selection's own table serves the calls that act on the selection.
#include "app/word_automation_win.h"
#include "win/dispatch_win.h"

namespace lumenta::app {

using win::Bool;
using win::CallMethod;
using win::Double;
using win::GetProperty;
using win::Int;
using win::PutProperty;
using win::Str;

namespace {

// The word processor's built-in "Table Grid" style, by its name in a Chinese installation.
constexpr char kGridStyle[] = "\xCD\xF8\xB8\xF1\xD0\xCD";  // 网格型

// A table cell's text ends with the end-of-cell mark: a carriage return and a bell character.
constexpr char kEndOfCell[] = "\r\a";

win::ComPtr<IDispatch> Cell(IDispatch* table, int row, int column) {
  return CallMethod(table, L"Cell", {Int(row), Int(column)}).object();
}

}  // namespace

bool WordAutomation::AddTable(int rows, int columns) {
  const win::ComPtr<IDispatch> range = GetProperty(app(), L"Selection.Range").object();
  if (!range) return false;
  win::ComPtr<IDispatch> table = CallMethod(app(), L"ActiveDocument.Tables.Add",
                                            {win::Object(range.get()), Int(rows), Int(columns)})
                                     .object();
  if (!table) return false;
  win::Swallow(PutProperty(table.get(), L"Style", Str(kGridStyle)));
  table_ = std::move(table);
  return true;
}

bool WordAutomation::SelectTable(int index) {
  win::ComPtr<IDispatch> table =
      CallMethod(app(), L"ActiveDocument.Tables.Item", {Int(index)}).object();
  if (!table) return false;
  table_ = std::move(table);
  return true;
}

std::optional<int> WordAutomation::TableCount() {
  return GetProperty(app(), L"ActiveDocument.Tables.Count").value.ToInt();
}

std::optional<int> WordAutomation::TableRowCount() {
  return GetProperty(table_.get(), L"Rows.Count").value.ToInt();
}

std::optional<int> WordAutomation::TableColumnCount() {
  return GetProperty(table_.get(), L"Columns.Count").value.ToInt();
}

bool WordAutomation::AutoFitSelectedTable(int behaviour) {
  const win::ComPtr<IDispatch> table =
      CallMethod(app(), L"Selection.Tables.Item", {Int(1)}).object();
  return CallMethod(table.get(), L"AutoFitBehavior", {Int(behaviour)}).ok();
}

bool WordAutomation::SelectTableRow(int row) {
  const win::ComPtr<IDispatch> rowObject =
      CallMethod(table_.get(), L"Range.Rows.Item", {Int(row)}).object();
  return CallMethod(rowObject.get(), L"Select").ok();
}

bool WordAutomation::SelectTableColumn(int column) {
  const win::ComPtr<IDispatch> columnObject =
      CallMethod(table_.get(), L"Range.Columns.Item", {Int(column)}).object();
  return CallMethod(columnObject.get(), L"Select").ok();
}

bool WordAutomation::SelectCell(int row, int column) {
  return CallMethod(Cell(table_.get(), row, column).get(), L"Select").ok();
}

bool WordAutomation::SetCellText(int row, int column, std::string_view text) {
  return SUCCEEDED(PutProperty(Cell(table_.get(), row, column).get(), L"Range.Text", Str(text)));
}

std::optional<Text> WordAutomation::CellText(int row, int column) {
  std::optional<Text> text =
      GetProperty(Cell(table_.get(), row, column).get(), L"Range.Text").value.ToText();
  if (text && text->ends_with(kEndOfCell)) text->resize(text->size() - 2);
  return text;
}

bool WordAutomation::SetCellFont(int row, int column, const CellFont& font) {
  const win::ComPtr<IDispatch> cell = Cell(table_.get(), row, column);
  const win::ComPtr<IDispatch> fontObject = GetProperty(cell.get(), L"Range.Font").object();
  if (!fontObject) return false;
  IDispatch* target = fontObject.get();
  bool ok = true;
  if (font.bold) ok = SUCCEEDED(PutProperty(target, L"Bold", Bool(*font.bold))) && ok;
  if (font.size) ok = SUCCEEDED(PutProperty(target, L"Size", Double(*font.size))) && ok;
  if (font.name) ok = SUCCEEDED(PutProperty(target, L"Name", Str(*font.name))) && ok;
  if (font.italic) ok = SUCCEEDED(PutProperty(target, L"Italic", Bool(*font.italic))) && ok;
  if (font.colour) ok = SUCCEEDED(PutProperty(target, L"Color", Int(*font.colour))) && ok;
  return ok;
}

bool WordAutomation::SelectColumn() { return CallMethod(app(), L"Selection.SelectColumn").ok(); }

bool WordAutomation::SelectRow() { return CallMethod(app(), L"Selection.SelectRow").ok(); }

bool WordAutomation::SetCellsVerticalAlignment(int alignment) {
  return SUCCEEDED(PutProperty(app(), L"Selection.Cells.VerticalAlignment", Int(alignment)));
}

}  // namespace lumenta::app
