#pragma once
// The desktop program as the tests drive it: the program-wide objects (WordAutomation among
// them), the message pump behind ProcessPendingEvents, the real main window with its event table,
// shown, and the message box replaced by a recorder.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string_view>

#include "app/event_table_win.h"
#include "app/startup_win.h"
#include "app/window_designs.h"
#include "ui/message_box.h"
#include "ui/message_pump_win.h"
#include "ui/window_win.h"

namespace lumenta::app {

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ui::InstallMessagePump();
    main_ = ui::Window::Create(MainWindowDesign(), MainWindowEvents());
    ASSERT_NE(main_, nullptr);
    main_->Show();
    Pump();
  }
  void TearDown() override {
    // A handler that asks for a control the design lacks does nothing: that must fail a test.
    if (main_) {
      EXPECT_TRUE(main_->UnknownLookups().empty()) << main_->UnknownLookups().front();
    }
    main_.reset();
  }

  // A user's click on a button of the main window (its page is shown first).
  void Click(std::string_view button) {
    HWND handle = main_->ControlHandle(button);
    ASSERT_NE(handle, nullptr) << button;
    if (!IsWindowVisible(handle)) main_->SelectPage("高级选择夹1", 2);
    SendMessageW(handle, BM_CLICK, 0, 0);
  }
  void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  WordAutomation& word() { return objects_.word(); }

  ProgramObjects objects_;
  ui::MessageRecorder messages_;
  std::unique_ptr<ui::Window> main_;
};

}  // namespace lumenta::app
