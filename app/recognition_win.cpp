#include "app/recognition_win.h"

#include <memory>

#include "app/credentials_win.h"
#include "app/main_window_controls.h"
#include "ui/message_box.h"

namespace lumenta::app {
namespace {

using main_window::kAccurateMode;
using main_window::kApiKeyBox;
using main_window::kGeneralMode;
using main_window::kPictureBox;
using main_window::kResultBox;
using main_window::kSecretKeyBox;

struct RecognitionService {
  ServiceLocator locator;  // none: the cloud service
  WebRequestFunction request;
};

RecognitionService& Service() {
  static RecognitionService service;
  return service;
}

// The run of the button: one flow object for the window being served, kept while it runs so
// that a click arriving in the middle (the requests let window messages through) finds it busy.
struct ButtonRun {
  std::unique_ptr<MainWindowRecognition> window;
  std::unique_ptr<RecognitionFlow> flow;
};

ButtonRun& Run() {
  static ButtonRun run;
  return run;
}

}  // namespace

bool MainWindowRecognition::GeneralModeChecked() { return window_.IsChecked(kGeneralMode); }
bool MainWindowRecognition::AccurateModeChecked() { return window_.IsChecked(kAccurateMode); }
Text MainWindowRecognition::ApiKey() { return window_.GetText(kApiKeyBox); }
Text MainWindowRecognition::SecretKey() { return window_.GetText(kSecretKeyBox); }
SharedBytes MainWindowRecognition::PictureBytes() { return window_.SharePicture(kPictureBox); }
void MainWindowRecognition::ClearResult() { window_.SetText(kResultBox, ""); }
void MainWindowRecognition::AppendResult(const Text& item) { window_.AppendText(kResultBox, item); }
void MainWindowRecognition::ShowMessage(const Text& message) { ui::ShowMessage(message); }

void MainWindowRecognition::ShowBusy(bool busy) {
  if (busy) {
    busy_.emplace(window_.handle());
  } else {
    busy_.reset();
  }
}

Text ConfiguredServiceSetting(std::string_view keyFile) {
  return ReadProfileEntry(keyFile, "service", "url");
}

void SetRecognitionService(ServiceLocator service, WebRequestFunction request) {
  Service().locator = std::move(service);
  Service().request = std::move(request);
}

void SetRecognitionService(Text base, WebRequestFunction request) {
  SetRecognitionService(
      [base = std::move(base)] {
        return ServiceAddress{base, Text()};
      },
      std::move(request));
}

void RecognizeClicked(ui::Event& event) {
  ButtonRun& run = Run();
  if (run.flow && run.flow->running()) return;
  run.window = std::make_unique<MainWindowRecognition>(event.window);
  run.flow = std::make_unique<RecognitionFlow>(
      *run.window,
      [](const Text& url, int method, const RequestBody& body, const Text& headers) {
        const WebRequestFunction& request = Service().request;
        return request ? request(url, method, body, headers) : WebAnswer{};
      },
      [] {
        const ServiceLocator& locator = Service().locator;
        return locator ? locator() : ServiceAddress{kDefaultServiceBase, Text()};
      });
  run.flow->CheckAndRecognize();
}

}  // namespace lumenta::app
