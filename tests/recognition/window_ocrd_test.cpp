// The main window end to end under Wine: a picture file loaded with 本地图片 (the open-file
// dialog answered through its seam), a click on 识别, the real WebRequest to the local OCR
// service that ctest started beside this program (LUMENTA_OCRD_URL), and the recognised lines in
// the result box.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>

#include "app/event_table_win.h"
#include "app/main_window_controls.h"
#include "app/platform_win.h"
#include "app/recognition_win.h"
#include "app/web_request_function_win.h"
#include "app/window_designs.h"
#include "base/text_encoders.h"
#include "text_picture_win.h"
#include "ui/common_dialog_win.h"
#include "ui/window_win.h"

namespace lumenta {
namespace {

TEST(WindowWithOcrd, ALoadedPictureAndAClickFillTheResultBox) {
  const char* service = std::getenv("LUMENTA_OCRD_URL");
  ASSERT_NE(service, nullptr);
  app::SetRecognitionService(service, app::WebRequestFunctionForProgram());
  const ByteBuffer picture =
      testing::RenderTextBmp({u"窗口里识别的中文", u"Recognised through the window."});
  const std::filesystem::path file =
      std::filesystem::temp_directory_path() /
      (L"lumenta-window-" + std::to_wstring(GetCurrentProcessId()) + L".bmp");
  std::ofstream(file, std::ios::binary) << picture.view();
  const app::ScopedPlatform dialogs([&file](app::Platform& p) {
    p.fileDialogs = [&file](const ui::FileDialogRequest&) -> std::optional<Text> {
      const std::wstring path = file.wstring();
      return Utf16ToGbk(std::u16string(path.begin(), path.end()));
    };
  });
  auto window = ui::Window::Create(app::MainWindowDesign(), app::MainWindowEvents());
  ASSERT_NE(window, nullptr);
  window->Show();
  SendMessageW(window->ControlHandle(app::main_window::kPictureFileButton), BM_CLICK, 0, 0);
  ASSERT_EQ(window->GetPicture(app::main_window::kPictureBox), picture);
  SendMessageW(window->ControlHandle(app::main_window::kRecognizeButton), BM_CLICK, 0, 0);
  // The lines follow each other in the box with nothing between them.
  EXPECT_EQ(AnsiToUtf8(window->GetText(app::main_window::kResultBox)),
            "窗口里识别的中文Recognised through the window.");
  app::SetRecognitionService(kDefaultServiceBase, nullptr);
  std::filesystem::remove(file);
}

}  // namespace
}  // namespace lumenta
