// Start-up and shut-down: COM for the user-interface thread comes and goes with the program's
// objects, the desktop program runs until its main window closes, and Lumenta.exe itself starts,
// carries its resources, and ends on Esc.
#include <gtest/gtest.h>
#include <objbase.h>

#include <thread>

#include "app/startup_win.h"
#include "app/window_designs.h"
#include "base/pending_events.h"
#include "tests/app/app_test_support_win.h"
#include "ui/window_win.h"

namespace lumenta::app {
namespace {

using namespace std::chrono_literals;

// The apartment of the calling thread, or -1 when COM is not initialised on it.
int ApartmentType() {
  APTTYPE type;
  APTTYPEQUALIFIER qualifier;
  if (FAILED(CoGetApartmentType(&type, &qualifier))) return -1;
  return static_cast<int>(type);
}

TEST(ProgramObjects, HoldCOMInASingleThreadedApartmentForTheirLifetime) {
  std::thread([] {  // a thread of its own, so the test's own thread state does not matter
    EXPECT_EQ(ApartmentType(), -1);
    {
      ProgramObjects objects;
      // The process's first single-threaded apartment is its main one.
      EXPECT_TRUE(ApartmentType() == APTTYPE_STA || ApartmentType() == APTTYPE_MAINSTA);
      EXPECT_TRUE(objects.word().comReady());
      EXPECT_EQ(RunningProgramObjects(), &objects);
    }
    EXPECT_EQ(ApartmentType(), -1);
    EXPECT_EQ(RunningProgramObjects(), nullptr);
  })
      .join();
}

TEST(WordAutomation, LeavesAMultiThreadedApartmentAsItFoundIt) {
  std::thread([] {
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    {
      WordAutomation word;
      EXPECT_FALSE(word.comReady());
    }
    EXPECT_EQ(ApartmentType(), APTTYPE_MTA);  // not uninitialised by the wrong owner
    CoUninitialize();
  }).join();
}

TEST(DesktopProgram, RunsUntilTheMainWindowClosesAndShutsDownCleanly) {
  const std::wstring keyFile = testing::KeyFileBesideProgram();
  testing::WriteFile(keyFile, "[key]\r\nak=run-ak\r\nsk=run-sk\r\n");
  struct Seen {
    bool found = false;
    Text apiKey;
    Text secretKey;
    bool visible = false;
    bool objects = false;
    HRESULT secondRegistration = S_OK;
    bool pumped = false;
  } seen;
  int exitCode = -1;
  // The program's own thread, as WinMain's: COM and OLE state start fresh there.
  std::thread program([&] {
    // Runs inside the program's message loop once its main window is up.
    testing::PollLater([&] {
      for (HWND handle : testing::ThreadWindowsOfClass(L"LumentaWindow")) {
        ui::Window* window = ui::WindowFromHandle(handle);
        if (window == nullptr || window->design().id != kMainWindowId) continue;
        seen.found = true;
        seen.apiKey = window->GetText("编辑框1");
        seen.secretKey = window->GetText("编辑框2");
        seen.visible = IsWindowVisible(handle);
        seen.objects = RunningProgramObjects() != nullptr;
        // The created event registered the drop target: the window refuses another.
        win::ComPtr<ui::DropTarget> another = ui::DropTarget::Create({});
        seen.secondRegistration = RegisterDragDrop(handle, another.get());
        // The pending-events pump is the program's: it runs a message posted to the thread.
        PostMessageW(handle, WM_NULL, 0, 0);
        ProcessPendingEvents();
        seen.pumped = HIWORD(GetQueueStatus(QS_POSTMESSAGE)) == 0;
        PostMessageW(handle, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
        return true;
      }
      return false;
    });
    exitCode = RunDesktopProgram();
  });
  program.join();
  DeleteFileW(keyFile.c_str());
  EXPECT_EQ(exitCode, 0);
  EXPECT_TRUE(seen.found);
  EXPECT_EQ(seen.apiKey, "run-ak");
  EXPECT_EQ(seen.secretKey, "run-sk");
  EXPECT_TRUE(seen.visible);
  EXPECT_TRUE(seen.objects);
  EXPECT_EQ(seen.secondRegistration, DRAGDROP_E_ALREADYREGISTERED);
  EXPECT_TRUE(seen.pumped);
  EXPECT_EQ(RunningProgramObjects(), nullptr);
}

}  // namespace
}  // namespace lumenta::app
