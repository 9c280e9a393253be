#include "app/sponsor_window_win.h"

#include "app/window_designs.h"

namespace lumenta::app {

void ShowSponsorWindow(ui::Event&) { ui::Window::LoadModal(SponsorWindowDesign()); }

}  // namespace lumenta::app
