#pragma once
// The main window's event table.
#include <vector>

#include "ui/window_win.h"

namespace lumenta::app {

// Which handler runs for which event of the main window (event_table_win.cpp). Adding an event
// is one row there.
[[nodiscard]] std::vector<ui::EventBinding> MainWindowEvents();

}  // namespace lumenta::app
