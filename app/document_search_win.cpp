#include "app/document_search_win.h"

#include <windows.h>

#include <string>

#include "app/main_window_controls.h"
#include "app/responsive_wait_win.h"
#include "app/search_text.h"
#include "app/startup_win.h"
#include "ui/message_box.h"

namespace lumenta::app {
namespace {

using main_window::kResultBox;

// How long the word processor gets to come up before the search asks whether it is visible.
constexpr unsigned kStartWaitMs = 500;

bool g_searching = false;

class SearchingFlag {
 public:
  SearchingFlag() { g_searching = true; }
  ~SearchingFlag() { g_searching = false; }
  SearchingFlag(const SearchingFlag&) = delete;
  SearchingFlag& operator=(const SearchingFlag&) = delete;
};

std::u16string CurrentDirectory() {
  const DWORD needed = GetCurrentDirectoryW(0, nullptr);
  if (needed == 0) return {};
  std::wstring directory(needed, L'\0');
  const DWORD length = GetCurrentDirectoryW(needed, directory.data());
  directory.resize(length < needed ? length : 0);
  return std::u16string(directory.begin(), directory.end());
}

}  // namespace

void SearchDocument(WordAutomation& word, ui::Window& main) {
  // The wait below runs other handlers of the window, this one included: a second click then
  // would start a search inside the search.
  if (g_searching) return;
  SearchingFlag searching;

  if (TrimSearchText(main.GetText(kResultBox)).empty()) {
    ui::ShowMessage(kEnterSearchTextMessage);
    main.FocusControl(kResultBox);
    return;
  }

  word.CreateApplication();
  const std::u16string path = DocumentPathIn(CurrentDirectory());
  word.OpenDocument(std::wstring_view(reinterpret_cast<const wchar_t*>(path.data()), path.size()));
  word.SetVisible(true);
  WaitProcessingMessages(kStartWaitMs);
  // The main window was closed during the wait: the program is ending, the search with it.
  if (!main.IsOpen()) return;
  if (!word.IsVisible()) return;  // no word processor: nothing to say

  // The user may have changed the text during the wait: the search takes it as it is now.
  const Text text = TrimSearchText(main.GetText(kResultBox));
  if (word.FindFirst(text)) {
    word.SetFontColor(kMatchColour);
    for (int coloured = 1; coloured < kMaxColouredMatches && word.FindNext(); ++coloured) {
      word.SetFontColor(kMatchColour);
    }
    return;  // the word processor stays open and visible, the document changed and not saved
  }
  word.CloseDocument(1);
  word.Quit();
  ui::ShowMessage(kNotFoundMessage);
}

void SearchDocumentClicked(ui::Event& event) {
  if (ProgramObjects* objects = RunningProgramObjects()) {
    SearchDocument(objects->word(), event.window);
  }
}

}  // namespace lumenta::app
