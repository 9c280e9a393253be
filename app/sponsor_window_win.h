#pragma once
#include "ui/window_win.h"

namespace lumenta::app {

// Handler of the click on 按钮2 ("赞助"): loads the sponsor window modally, with no owner, anew
// from its design each time; returns when it has been closed.
void ShowSponsorWindow(ui::Event& event);

}  // namespace lumenta::app
