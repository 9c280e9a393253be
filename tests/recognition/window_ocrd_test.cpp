// The main window end to end under Wine: a picture in the preview, a click on 识别, the real
// WebRequest to the local OCR service that ctest started beside this program
// (LUMENTA_OCRD_URL), and the recognised lines in the result box.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <memory>

#include "app/event_table_win.h"
#include "app/recognition_win.h"
#include "app/web_request_function_win.h"
#include "app/window_designs.h"
#include "ocr/text_encoders.h"
#include "text_picture_win.h"
#include "ui/window_win.h"

namespace lumenta {
namespace {

TEST(WindowWithOcrd, APictureInThePreviewAndAClickFillTheResultBox) {
  const char* service = std::getenv("LUMENTA_OCRD_URL");
  ASSERT_NE(service, nullptr);
  app::SetRecognitionService(service, app::WebRequestFunctionForProgram());
  auto window = ui::Window::Create(app::MainWindowDesign(), app::MainWindowEvents());
  ASSERT_NE(window, nullptr);
  window->Show();
  window->SetPicture(
      "图片框1", testing::RenderTextBmp({u"窗口里识别的中文", u"Recognised through the window."}));
  SendMessageW(window->ControlHandle("按钮_识别"), BM_CLICK, 0, 0);
  // The lines follow each other in the box with nothing between them.
  EXPECT_EQ(AnsiToUtf8(window->GetText("编辑框_识别结果")),
            "窗口里识别的中文Recognised through the window.");
  app::SetRecognitionService(kDefaultServiceBase, nullptr);
}

}  // namespace
}  // namespace lumenta
