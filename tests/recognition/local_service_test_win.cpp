// Offline recognition on Windows: the program's own service (lumenta-ocrd.exe with ONNX Runtime
// and the PP-OCR models beside it) started by the program when key.ini says url=local. Each test
// lays out a program folder as the package does, under a name with Chinese characters, and runs
// the real program or the real service in it under wine64.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, whose types it uses.
#include <tlhelp32.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <thread>

#include "app/event_table_win.h"
#include "app/local_service.h"
#include "app/local_service_win.h"
#include "app/main_window_controls.h"
#include "app/platform_win.h"
#include "app/recognition_win.h"
#include "app/web_request_function_win.h"
#include "app/window_designs.h"
#include "base/text_encoders.h"
#include "ocr/recognition_command.h"
#include "program_run_win.h"
#include "text_picture_win.h"
#include "ui/common_dialog_win.h"
#include "ui/message_box.h"
#include "ui/window_win.h"
#include "win/scoped_handle_win.h"

namespace lumenta {
namespace {

namespace fs = std::filesystem;
using testing::ProgramRun;
using testing::Quoted;

const std::vector<std::u16string> kLines = {u"离线识别的中文", u"Read offline on Windows"};
constexpr char kExpected[] = "离线识别的中文\nRead offline on Windows\n";

// The service processes of this prefix (every test ends its own).
int ServiceProcesses() {
  const win::KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  int count = 0;
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
       more = Process32NextW(snapshot.get(), &entry)) {
    if (_wcsicmp(entry.szExeFile, L"lumenta-ocrd.exe") == 0) ++count;
  }
  return count;
}

// Waits (at most a generous while: a process's end takes its time under Wine) for `count`.
bool ServiceProcessesBecome(int count) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (ServiceProcesses() != count) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return true;
}

void Place(const fs::path& from, const fs::path& to) {
  fs::create_directories(to.parent_path());
  std::error_code linked;
  fs::create_hard_link(from, to, linked);  // the models and programs are large: no copies
  if (linked) fs::copy_file(from, to, fs::copy_options::overwrite_existing);
}

class OfflineFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(ServiceProcesses(), 0) << "a service of an earlier test is still running";
    folder_ = fs::temp_directory_path() / (L"离线识别 " + std::to_wstring(GetCurrentProcessId()) +
                                           L"-" + std::to_wstring(++runs_));
    fs::remove_all(folder_);
    const fs::path build(LUMENTA_BINARY_DIR);
    for (const char* file : {"Lumenta.exe", "lumenta-ocrd.exe", "onnxruntime.dll"}) {
      Place(build / file, folder_ / file);
    }
    for (const auto& model : fs::directory_iterator(build / "models")) {
      Place(model.path(), folder_ / "models" / model.path().filename());
    }
    std::ofstream(folder_ / "key.ini", std::ios::binary)
        << "[key]\r\nak=\r\nsk=\r\n[service]\r\nurl=local\r\n";
    std::ofstream(picture(), std::ios::binary) << testing::RenderTextBmp(kLines).view();
  }
  void TearDown() override {
    EXPECT_TRUE(ServiceProcessesBecome(0)) << "a service was left behind";
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  fs::path picture() const { return folder_ / L"图片.bmp"; }
  std::u16string folder16() const {
    const std::wstring wide = folder_.wstring();
    return std::u16string(wide.begin(), wide.end());
  }
  ProgramRun Recognize(void (*started)(HANDLE, void*) = nullptr, void* context = nullptr) {
    return testing::RunProgram((folder_ / "Lumenta.exe").wstring(),
                               L"--recognize " + Quoted(picture().wstring()), folder_.wstring(),
                               started, context);
  }

  fs::path folder_;
  static inline int runs_ = 0;
};

TEST_F(OfflineFolderTest, TheCommandLineRecognisesThroughItsOwnServiceAndLeavesNoneBehind) {
  const ProgramRun run = Recognize();
  EXPECT_EQ(run.exitCode, 0u) << run.err;
  EXPECT_EQ(run.out, kExpected);
  EXPECT_EQ(run.err, "");
}

TEST_F(OfflineFolderTest, WhatIsMissingOrBrokenIsNamedAndNothingHangs) {
  struct Case {
    const char* what;
    void (*change)(const fs::path& folder);
    const char* message;
  };
  const Case cases[] = {
      {"no service program", [](const fs::path& f) { fs::remove(f / "lumenta-ocrd.exe"); },
       "本地识别服务无法启动，程序目录中缺少：lumenta-ocrd.exe"},
      {"no ONNX Runtime", [](const fs::path& f) { fs::remove(f / "onnxruntime.dll"); },
       "本地识别服务无法启动，程序目录中缺少：onnxruntime.dll"},
      {"two models missing",
       [](const fs::path& f) {
         fs::remove(f / "models" / "ch_PP-OCRv4_det_infer.onnx");
         fs::remove(f / "models" / "ppocr_keys_v1.txt");
       },
       "缺少：models\\ch_PP-OCRv4_det_infer.onnx、models\\ppocr_keys_v1.txt"},
      {"a damaged model",
       [](const fs::path& f) {
         const fs::path model = f / "models" / "ch_PP-OCRv4_rec_infer.onnx";
         fs::remove(model);  // a hard link: write a new file, not through the link
         std::ofstream(model, std::ios::binary) << "not a model";
       },
       "本地识别服务无法启动：the PP-OCR models cannot be used: "},
      {"a library that is not ONNX Runtime",
       [](const fs::path& f) {
         fs::remove(f / "onnxruntime.dll");
         fs::copy_file(f / "Lumenta.exe", f / "onnxruntime.dll");
       },
       "本地识别服务无法启动："},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TearDown();
    SetUp();
    c.change(folder_);
    const ProgramRun run = Recognize();
    EXPECT_EQ(run.exitCode, static_cast<DWORD>(kExitRequestFailed)) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
  }
}

TEST_F(OfflineFolderTest, AProgramThatIsKilledTakesItsServiceWithIt) {
  // A large picture keeps the program busy while the service runs; the program is killed then.
  std::ofstream(picture(), std::ios::binary)
      << testing::RenderTextBmp(std::vector<std::u16string>(40, kLines[0]),
                                {.width = 3000, .height = 4000})
             .view();
  const ProgramRun run = Recognize(
      [](HANDLE program, void*) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (ServiceProcesses() == 0 && std::chrono::steady_clock::now() < until) {
          std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        TerminateProcess(program, 9);
      },
      nullptr);
  EXPECT_EQ(run.exitCode, 9u);
  EXPECT_TRUE(ServiceProcessesBecome(0));
}

TEST_F(OfflineFolderTest, EachServiceIsItsOwnAndEndsWithItsOwner) {
  std::ifstream in(picture(), std::ios::binary);
  const ByteBuffer bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  auto recognise = [&](app::LocalService& service) {
    CommandLineWindow window("", "", bytes);
    RecognitionFlow flow(window, app::WebRequestFunctionForProgram(),
                         [&service] { return service.Address(); });
    flow.CheckAndRecognize();
    return AnsiToUtf8(window.result());
  };
  auto first = std::make_unique<app::LocalService>(folder16());
  app::LocalService second(folder16());
  EXPECT_EQ(recognise(*first), "离线识别的中文Read offline on Windows");
  EXPECT_EQ(recognise(second), "离线识别的中文Read offline on Windows");
  EXPECT_NE(first->processId(), 0u);
  EXPECT_NE(first->processId(), second.processId());
  EXPECT_NE(first->Address().base, second.Address().base);
  EXPECT_EQ(ServiceProcesses(), 2);

  const unsigned long secondId = second.processId();
  first.reset();
  EXPECT_TRUE(ServiceProcessesBecome(1));
  EXPECT_EQ(second.processId(), secondId);
  EXPECT_EQ(recognise(second), "离线识别的中文Read offline on Windows");
  second.Stop();
}

TEST_F(OfflineFolderTest, AServiceThatEndsIsStartedAgainByTheNextRecognition) {
  app::LocalService service(folder16());
  const ServiceAddress first = service.Address();
  ASSERT_EQ(first.problem, "");
  const win::KernelHandle process(
      OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, service.processId()));
  ASSERT_TRUE(process);
  TerminateProcess(process.get(), 1);
  WaitForSingleObject(process.get(), 10000);
  const ServiceAddress second = service.Address();
  EXPECT_EQ(second.problem, "");
  EXPECT_NE(service.processId(), 0u);
  service.Stop();
}

TEST_F(OfflineFolderTest, AStartThatTakesTooLongIsGivenUpAndEnded) {
  app::LocalService service(folder16(), /*startLimitMs=*/1);
  const ServiceAddress address = service.Address();
  EXPECT_EQ(address.base, "");
  EXPECT_EQ(AnsiToUtf8(address.problem), AnsiToUtf8(app::ServiceTooSlowMessage()));
  EXPECT_EQ(service.processId(), 0u);
}

// Through the window as a user works: 本地图片 (its dialog answered through the seam), then 识别.
TEST_F(OfflineFolderTest, TheRecognizeButtonFillsTheResultBoxFromTheLocalService) {
  app::LocalService service(folder16());
  app::SetRecognitionService([&service] { return service.Address(); },
                             app::WebRequestFunctionForProgram());
  const Text path = Utf16ToGbk(picture().u16string());
  const app::ScopedPlatform dialogs([&path](app::Platform& p) {
    p.fileDialogs = [&path](const ui::FileDialogRequest&) -> std::optional<Text> { return path; };
  });
  ui::MessageRecorder messages;
  auto window = ui::Window::Create(app::MainWindowDesign(), app::MainWindowEvents());
  ASSERT_NE(window, nullptr);
  window->Show();
  SendMessageW(window->ControlHandle(app::main_window::kPictureFileButton), BM_CLICK, 0, 0);
  SendMessageW(window->ControlHandle(app::main_window::kRecognizeButton), BM_CLICK, 0, 0);
  EXPECT_EQ(AnsiToUtf8(window->GetText(app::main_window::kResultBox)),
            "离线识别的中文Read offline on Windows");
  EXPECT_TRUE(messages.texts().empty());

  // Without the models the box stays empty and the message says what is missing.
  service.Stop();
  fs::remove(folder_ / "models" / "ch_PP-OCRv4_rec_infer.onnx");
  SendMessageW(window->ControlHandle(app::main_window::kRecognizeButton), BM_CLICK, 0, 0);
  EXPECT_EQ(window->GetText(app::main_window::kResultBox), "");
  ASSERT_EQ(messages.texts().size(), 1u);
  EXPECT_EQ(AnsiToUtf8(messages.texts()[0]),
            "本地识别服务无法启动，程序目录中缺少：models\\ch_PP-OCRv4_rec_infer.onnx");

  app::SetRecognitionService(kDefaultServiceBase, nullptr);
}

}  // namespace
}  // namespace lumenta
