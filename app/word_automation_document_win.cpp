// WordAutomation: documents, selection, typing, content, fonts and the other calls the program
// offers beyond the search. Each acts on the held Application and releases what it obtains.
#include <string>

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
using win::WStr;

namespace {

constexpr int kPdfFormat = 17;  // wdExportFormatPDF
constexpr int kReplaceAll = 2;  // wdReplaceAll

}  // namespace

bool WordAutomation::Attach(IDispatch* application) {
  win::ComPtr<IDispatch> checked = win::Query<IDispatch>(application, IID_IDispatch);
  if (!checked) return false;
  application_ = std::move(checked);
  return true;
}

bool WordAutomation::NewDocument() { return CallMethod(app(), L"Documents.Add").ok(); }

// SaveAs gives back no value: the call's own success is what tells.
bool WordAutomation::SaveDocumentAs(std::wstring_view path) {
  return CallMethod(app(), L"ActiveDocument.SaveAs", {WStr(path)}).ok();
}

bool WordAutomation::ExportPdf(std::wstring_view path) {
  return CallMethod(app(), L"ActiveDocument.ExportAsFixedFormat", {WStr(path), Int(kPdfFormat)})
      .ok();
}

bool WordAutomation::SaveDocument() { return CallMethod(app(), L"ActiveDocument.Save").ok(); }

// The Application's PrintPreview is a switch of the active window's view.
bool WordAutomation::PrintPreview() {
  return SUCCEEDED(PutProperty(app(), L"PrintPreview", Bool(true)));
}

bool WordAutomation::PrintOut() { return CallMethod(app(), L"PrintOut").ok(); }

bool WordAutomation::Activate() { return CallMethod(app(), L"Activate").ok(); }

// Undo and Redo belong to the document; each says whether anything was undone or redone.
bool WordAutomation::Undo(int times) {
  return CallMethod(app(), L"ActiveDocument.Undo", {Int(times)}).value.ToBool().value_or(false);
}

bool WordAutomation::Redo(int times) {
  return CallMethod(app(), L"ActiveDocument.Redo", {Int(times)}).value.ToBool().value_or(false);
}

bool WordAutomation::SetScreenUpdating(bool on) {
  return SUCCEEDED(PutProperty(app(), L"ScreenUpdating", Bool(on)));
}

int WordAutomation::FillBookmarks(const std::vector<std::pair<Text, Text>>& valuesByName) {
  int filled = 0;
  for (const auto& [name, value] : valuesByName) {
    const bool exists = CallMethod(app(), L"ActiveDocument.Bookmarks.Exists", {Str(name)})
                            .value.ToBool()
                            .value_or(false);
    if (!exists) continue;
    const win::ComPtr<IDispatch> bookmark =
        CallMethod(app(), L"ActiveDocument.Bookmarks.Item", {Str(name)}).object();
    if (!CallMethod(bookmark.get(), L"Select").ok()) continue;
    if (CallMethod(app(), L"Selection.TypeText", {Str(value)}).ok()) ++filled;
  }
  return filled;
}

bool WordAutomation::ApplyStyle(std::string_view styleName) {
  const win::ComPtr<IDispatch> style =
      CallMethod(app(), L"ActiveDocument.Styles.Item", {Str(styleName)}).object();
  if (!style) return false;
  return SUCCEEDED(PutProperty(app(), L"Selection.Style", win::Object(style.get())));
}

bool WordAutomation::InsertPicture(std::wstring_view path) {
  return CallMethod(app(), L"Selection.InlineShapes.AddPicture", {WStr(path)}).ok();
}

bool WordAutomation::AddLine(double beginX, double beginY, double endX, double endY) {
  return CallMethod(app(), L"ActiveDocument.Shapes.AddLine",
                    {Double(beginX), Double(beginY), Double(endX), Double(endY)})
      .ok();
}

bool WordAutomation::ReplaceInDocument(std::string_view find, std::string_view replacement) {
  const win::ComPtr<IDispatch> finder = GetProperty(app(), L"ActiveDocument.Content.Find").object();
  if (!finder) return false;
  win::Swallow(CallMethod(finder.get(), L"ClearFormatting"));
  if (FAILED(PutProperty(finder.get(), L"Replacement.Text", Str(replacement)))) return false;
  return CallMethod(finder.get(), L"Execute", {},
                    {{L"FindText", Str(find)}, {L"Replace", Int(kReplaceAll)}})
      .value.ToBool()
      .value_or(false);
}

bool WordAutomation::SetColumns(int count, bool evenlySpaced, bool lineBetween, double spacing) {
  const win::ComPtr<IDispatch> columns =
      GetProperty(app(), L"ActiveDocument.PageSetup.TextColumns").object();
  if (!columns) return false;
  bool ok = CallMethod(columns.get(), L"SetCount", {Int(count)}).ok();
  ok = SUCCEEDED(PutProperty(columns.get(), L"EvenlySpaced", Bool(evenlySpaced))) && ok;
  ok = SUCCEEDED(PutProperty(columns.get(), L"LineBetween", Bool(lineBetween))) && ok;
  ok = SUCCEEDED(PutProperty(columns.get(), L"Spacing", Double(spacing))) && ok;
  return ok;
}

bool WordAutomation::TypeText(std::string_view text) {
  return CallMethod(app(), L"Selection.TypeText", {Str(text)}).ok();
}

bool WordAutomation::TypeParagraph() { return CallMethod(app(), L"Selection.TypeParagraph").ok(); }

bool WordAutomation::TypeBackspace() { return CallMethod(app(), L"Selection.TypeBackspace").ok(); }

bool WordAutomation::MoveUp(int unit, int count) {
  return CallMethod(app(), L"Selection.MoveUp", {Int(unit), Int(count)}).ok();
}

bool WordAutomation::MoveDown(int unit, int count) {
  return CallMethod(app(), L"Selection.MoveDown", {Int(unit), Int(count)}).ok();
}

bool WordAutomation::MoveRight(int unit, int count) {
  return CallMethod(app(), L"Selection.MoveRight", {Int(unit), Int(count)}).ok();
}

bool WordAutomation::SelectWholeStory() { return CallMethod(app(), L"Selection.WholeStory").ok(); }

bool WordAutomation::GoTo(int what, int which, int count) {
  return CallMethod(app(), L"Selection.GoTo", {Int(what), Int(which), Int(count)}).ok();
}

std::optional<Text> WordAutomation::ContentText() {
  return GetProperty(app(), L"ActiveDocument.Content.Text").value.ToText();
}

bool WordAutomation::SetContentText(std::string_view text) {
  return SUCCEEDED(PutProperty(app(), L"ActiveDocument.Content.Text", Str(text)));
}

std::optional<int> WordAutomation::StoryLength() {
  return GetProperty(app(), L"ActiveDocument.Content.StoryLength").value.ToInt();
}

std::optional<int> WordAutomation::ComputeStatistics(int statistic) {
  return CallMethod(app(), L"ActiveDocument.ComputeStatistics", {Int(statistic)}).value.ToInt();
}

bool WordAutomation::CopySelection() { return CallMethod(app(), L"Selection.Copy").ok(); }

bool WordAutomation::PasteSelection() { return CallMethod(app(), L"Selection.Paste").ok(); }

bool WordAutomation::SetFontSize(double points) {
  return SUCCEEDED(PutProperty(app(), L"Selection.Font.Size", Double(points)));
}

bool WordAutomation::SetFontBold(bool on) {
  return SUCCEEDED(PutProperty(app(), L"Selection.Font.Bold", Bool(on)));
}

bool WordAutomation::SetFontUnderline(int style) {
  return SUCCEEDED(PutProperty(app(), L"Selection.Font.Underline", Int(style)));
}

bool WordAutomation::SetFontItalic(bool on) {
  return SUCCEEDED(PutProperty(app(), L"Selection.Font.Italic", Bool(on)));
}

bool WordAutomation::SetFontSpacing(double points) {
  return SUCCEEDED(PutProperty(app(), L"Selection.Font.Spacing", Double(points)));
}

bool WordAutomation::SetFontShadow(bool on) {
  return SUCCEEDED(PutProperty(app(), L"Selection.Font.Shadow", Bool(on)));
}

bool WordAutomation::SetFontName(std::string_view name) {
  return SUCCEEDED(PutProperty(app(), L"Selection.Font.Name", Str(name)));
}

bool WordAutomation::SetParagraphAlignment(int alignment) {
  return SUCCEEDED(PutProperty(app(), L"Selection.ParagraphFormat.Alignment", Int(alignment)));
}

bool WordAutomation::InsertBreak(int type) {
  return CallMethod(app(), L"Selection.InsertBreak", {Int(type)}).ok();
}

}  // namespace lumenta::app
