#include "app/result_tools_win.h"

#include "app/main_window_controls.h"
#include "app/provider_page_win.h"
#include "app/result_clipboard_win.h"

namespace lumenta::app {
namespace {
using main_window::kResultBox;
}

void CopyResultClicked(ui::Event& event) {
  CopyTextToClipboard(event.window.handle(), event.window.GetText(kResultBox));
}

void ClearResultClicked(ui::Event& event) { event.window.SetText(kResultBox, ""); }

void OpenProviderPageClicked(ui::Event&) { OpenProviderPage(); }

}  // namespace lumenta::app
