#pragma once
// The recognition flow in the main window: 按钮_识别 runs it on the window's controls, with the
// service address chosen at start and the request function (WebRequest in the program; a seam
// for tests).
#include <optional>
#include <string_view>

#include "ocr/recognition_flow.h"
#include "ui/busy_cursor_win.h"
#include "ui/window_win.h"

namespace lumenta::app {

// The controls of the main window as the flow reads and writes them.
class MainWindowRecognition final : public RecognitionWindow {
 public:
  explicit MainWindowRecognition(ui::Window& window) : window_(window) {}
  bool GeneralModeChecked() override;
  bool AccurateModeChecked() override;
  Text ApiKey() override;
  Text SecretKey() override;
  SharedBytes PictureBytes() override;
  void ClearResult() override;
  void AppendResult(const Text& item) override;
  void ShowMessage(const Text& message) override;
  void ShowBusy(bool busy) override;

 private:
  ui::Window& window_;
  std::optional<ui::BusyCursor> busy_;
};

// The [service] url setting of key.ini at `keyFile` (ANSI path), as written (empty when none).
[[nodiscard]] Text ConfiguredServiceSetting(std::string_view keyFile);

// Where the 识别 button's requests go and the request function it uses; set at start. Until a
// request function is set, every request fails (empty answer).
void SetRecognitionService(ServiceLocator service, WebRequestFunction request);
void SetRecognitionService(Text base, WebRequestFunction request);

// The click handler of 按钮_识别 (CheckAndRecognize on the clicked window). A click while the
// button's run is still in progress is ignored.
void RecognizeClicked(ui::Event& event);

}  // namespace lumenta::app
