// Soaks of the real program under Wine: starts Lumenta.exe, drives it from this process the way
// a user's hands would (button clicks, mouse messages on the capture window, the save dialog's
// file name), and reads its GDI and USER objects, kernel handles and private bytes before the
// first round and after every 20th.
//
//   program_soak captures     --program DIR\Lumenta.exe --probe DIR\soak_probe.dll --count N
//                             --out FILE.json
//   program_soak recognitions --program ... --probe ... --count N --out FILE.json
//   program_soak pictures     --program ... (the recognitions' rounds without 识别)
//
// captures: each round clicks 截图至剪切板, drags out a rectangle, draws with the rectangle,
// ellipse, arrow and brush tools, types with the text tool, and ends in turn with 完成 (the
// region on the clipboard), save (a BMP file through the save dialog) and cancel.
// recognitions: each round puts one of two text pictures on the clipboard, clicks
// 取剪切板图片, 清空 and 识别, and waits for the recognised lines in the result box (the
// program's key.ini points it at a local service).
//
// The first 20 rounds are the warm-up (fonts, GDI+, the file dialog's libraries and the
// connection load once); every later reading is compared with the one after them. The private
// bytes are judged apart from the threads' stacks: under Wine each stack is committed whole
// (about 3 MiB), and the system libraries' worker threads come and go between readings; each
// reading is compared with the first one after the warm-up that had as many threads, and the
// number of threads itself must stay within the tolerance of the counts.
#include <windows.h>
// After windows.h, whose types it uses.
#include <shellapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "capture/model/toolbar_layout.h"
#include "tests/recognition/text_picture_win.h"
#include "tests/soak/process_counters_win.h"
#include "tests/soak/program_windows_win.h"
#include "win/scoped_handle_win.h"

namespace lumenta::soak {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// Tolerances of the verdict (scripts/soak repeats them in its table).
constexpr int kWarmUpRounds = 20;
constexpr int kSampleEvery = 20;
constexpr long kCountTolerance = 2;          // GDI, USER objects and handles: reference +- 2
constexpr double kPrivateGrowthLimit = 5.0;  // per cent over the reference (beside the stacks)

struct Options {
  std::string mode;
  std::wstring program;
  std::wstring probe;
  int count = 0;
  std::wstring out;
};

struct Sample {
  int round = 0;
  double seconds = 0;
  ProcessCounters counters;
  long wineDialogKeys = 0;  // handles of them that Wine's file dialog left open
};

// Wine 8's file dialog opens this key of the user's registry each time a file is chosen and
// never closes it (one handle per save dialog, in the program's process, whatever the program
// does); the verdict counts the handles without them, and the table says how many there were.
constexpr char kWineDialogKey[] = "ComDlg32\\LastVisitedMRU";

long WineDialogKeys(const std::vector<std::string>& handles) {
  return long(std::count_if(handles.begin(), handles.end(), [](const std::string& h) {
    return h.find(kWineDialogKey) != std::string::npos;
  }));
}

std::string Utf8(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int size =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string out(size_t(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), out.data(), size, nullptr,
                      nullptr);
  return out;
}

std::string JsonString(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

// The program, started in its own folder and ended (closed, or ended by its handle when it does
// not close) when this goes.
class Program {
 public:
  explicit Program(const std::wstring& path) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::wstring command = L"\"" + path + L"\"";
    const std::wstring folder = fs::path(path).parent_path().wstring();
    if (!CreateProcessW(path.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &info)) {
      return;
    }
    process_.reset(info.hProcess);
    CloseHandle(info.hThread);
    id_ = info.dwProcessId;
    WaitFor(
        [&] {
          const auto windows = TopWindows(id_, L"LumentaWindow");
          if (!windows.empty()) main_ = windows.front();
          return main_ != nullptr;
        },
        30s);
  }
  ~Program() {
    if (!process_) return;
    CloseDialogs(id_);
    if (main_) PostMessageW(main_, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process_.get(), 30000) != WAIT_OBJECT_0) {
      std::fprintf(stderr, "program_soak: the program did not close; ending it\n");
      TerminateProcess(process_.get(), 1);
      WaitForSingleObject(process_.get(), 10000);
    }
  }
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  [[nodiscard]] HANDLE process() const { return process_.get(); }
  [[nodiscard]] DWORD id() const { return id_; }
  [[nodiscard]] HWND main() const { return main_; }
  [[nodiscard]] bool running() const {
    return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
  }
  [[nodiscard]] HWND Button(const wchar_t* caption) const {
    return FindDescendant(main_, L"Button", caption);
  }

 private:
  win::KernelHandle process_;
  DWORD id_ = 0;
  HWND main_ = nullptr;
};

bool PutDibOnClipboard(const ByteBuffer& bmpFile) {
  constexpr size_t kFileHeader = 14;
  if (bmpFile.size() <= kFileHeader) return false;
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bmpFile.size() - kFileHeader);
  if (!memory) return false;
  std::memcpy(GlobalLock(memory), bmpFile.data() + kFileHeader, bmpFile.size() - kFileHeader);
  GlobalUnlock(memory);
  if (!WaitFor([] { return OpenClipboard(nullptr) != FALSE; }, 5s)) {
    GlobalFree(memory);
    return false;
  }
  EmptyClipboard();
  const bool placed = SetClipboardData(CF_DIB, memory) != nullptr;
  if (!placed) GlobalFree(memory);
  CloseClipboard();
  return placed;
}

bool EmptyTheClipboard() {
  if (!WaitFor([] { return OpenClipboard(nullptr) != FALSE; }, 5s)) return false;
  EmptyClipboard();
  CloseClipboard();
  return true;
}

// The size of the bitmap on the clipboard, or {0, 0} when there is none.
SIZE ClipboardBitmapSize() {
  SIZE size{0, 0};
  if (!WaitFor([] { return OpenClipboard(nullptr) != FALSE; }, 5s)) return size;
  if (HANDLE data = GetClipboardData(CF_DIB)) {
    if (const auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(data))) {
      size = {header->biWidth, std::abs(header->biHeight)};
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return size;
}

// A soak's rounds: `round` does one and returns what went wrong (empty: nothing).
class Soak {
 public:
  Soak(const Options& options, Program& program)
      : options_(options),
        program_(program),
        reader_(program.process(), program.id(), options.probe) {}

  int Run(const std::function<std::string(int round)>& round) {
    if (const std::string failure = reader_.Attach(); !failure.empty()) {
      std::fprintf(stderr, "program_soak: %s\n", failure.c_str());
      return 2;
    }
    started_ = Clock::now();
    TakeSample(0);
    for (int i = 1; i <= options_.count; ++i) {
      const auto begin = Clock::now();
      std::string failure = program_.running() ? round(i) : "the program ended";
      roundSeconds_.push_back(std::chrono::duration<double>(Clock::now() - begin).count());
      if (!failure.empty()) {
        ++failures_;
        if (failureTexts_.size() < 10) failureTexts_.push_back(std::to_string(i) + ": " + failure);
        std::fprintf(stderr, "program_soak: round %d: %s\n", i, failure.c_str());
        if (!program_.running()) break;
      }
      if (i % kSampleEvery == 0) TakeSample(i);
    }
    return Report();
  }

 private:
  void TakeSample(int round) {
    Sample s{round, std::chrono::duration<double>(Clock::now() - started_).count(), reader_.Read()};
    samples_.push_back(s);
    // What the handles are, at the reference and at the end, to say what a growth holds.
    const std::vector<std::string> handles = ListKernelHandles(program_.id());
    samples_.back().wineDialogKeys = WineDialogKeys(handles);
    if (round == kWarmUpRounds) referenceHandles_ = handles;
    if (round >= kWarmUpRounds) lastHandles_ = handles;
    std::printf(
        "program_soak: %s round %4d  %7.1f s  GDI %4ld  USER %4ld  handles %4ld "
        "(%ld Wine dialog keys)  private %7.1f MiB (%5.1f MiB beside the stacks of %ld "
        "threads)\n",
        options_.mode.c_str(), round, s.seconds, s.counters.gdi, s.counters.user,
        s.counters.handles, samples_.back().wineDialogKeys,
        double(s.counters.privateBytes) / 1048576.0,
        double(s.counters.privateBytesBesideStacks) / 1048576.0, s.counters.threads);
    std::fflush(stdout);
  }

  int Report() {
    const Sample* reference = nullptr;
    for (const Sample& s : samples_) {
      if (s.round >= kWarmUpRounds) {
        reference = &s;
        break;
      }
    }
    long gdiSpread = 0, userSpread = 0, handleSpread = 0, threadSpread = 0;
    double privateGrowth = 0;
    bool readable = reference != nullptr;
    if (reference) {
      const ProcessCounters& r = reference->counters;
      readable = r.gdi >= 0 && r.user >= 0 && r.handles >= 0 && r.privateBytesBesideStacks > 0;
      for (const Sample& s : samples_) {
        if (s.round < reference->round) continue;
        const ProcessCounters& c = s.counters;
        gdiSpread = std::max(gdiSpread, std::abs(c.gdi - r.gdi));
        userSpread = std::max(userSpread, std::abs(c.user - r.user));
        handleSpread = std::max(handleSpread, std::abs((c.handles - s.wineDialogKeys) -
                                                       (r.handles - reference->wineDialogKeys)));
        threadSpread = std::max(threadSpread, std::abs(c.threads - r.threads));
        // Compared with the first reading after the warm-up that had as many threads: a live
        // thread holds memory of Wine's beyond its stack (about 1 MiB) that no probe can see.
        const Sample* same = reference;
        for (const Sample& t : samples_) {
          if (t.round >= reference->round && t.counters.threads == c.threads) {
            same = &t;
            break;
          }
        }
        const std::int64_t base = same->counters.privateBytesBesideStacks;
        privateGrowth = std::max(privateGrowth,
                                 double(c.privateBytesBesideStacks - base) * 100.0 / double(base));
      }
    }
    std::vector<double> sorted = roundSeconds_;
    std::sort(sorted.begin(), sorted.end());
    const double median = sorted.empty() ? 0 : sorted[sorted.size() / 2];
    const double slowest = sorted.empty() ? 0 : sorted.back();
    const bool passed = readable && failures_ == 0 && gdiSpread <= kCountTolerance &&
                        userSpread <= kCountTolerance && handleSpread <= kCountTolerance &&
                        threadSpread <= kCountTolerance && privateGrowth < kPrivateGrowthLimit &&
                        int(roundSeconds_.size()) == options_.count;
    std::printf(
        "program_soak: %s: %zu rounds, %d failed; after the warm-up GDI within %ld, USER "
        "within %ld, handles within %ld, threads within %ld of the reference (limit %ld), "
        "private bytes beside the stacks at as many threads %+.1f %% (limit %.0f %%); a "
        "round takes %.2f s (median), %.2f s at most: %s\n",
        options_.mode.c_str(), roundSeconds_.size(), failures_, gdiSpread, userSpread, handleSpread,
        threadSpread, kCountTolerance, privateGrowth, kPrivateGrowthLimit, median, slowest,
        passed ? "PASSED" : "FAILED");

    // The handles held at the end beyond those at the reference (a multiset difference).
    std::vector<std::string> added;
    std::set_difference(lastHandles_.begin(), lastHandles_.end(), referenceHandles_.begin(),
                        referenceHandles_.end(), std::back_inserter(added));
    for (const std::string& h : added) std::printf("program_soak: new handle: %s\n", h.c_str());

    std::ofstream out{fs::path(options_.out)};
    out << "{\n \"mode\": " << JsonString(options_.mode)
        << ",\n \"rounds\": " << roundSeconds_.size() << ",\n \"planned\": " << options_.count
        << ",\n \"failures\": " << failures_ << ",\n \"failure_examples\": [";
    for (size_t i = 0; i < failureTexts_.size(); ++i) {
      out << (i ? ", " : "") << JsonString(failureTexts_[i]);
    }
    out << "],\n \"new_handles\": [";
    for (size_t i = 0; i < added.size() && i < 40; ++i) {
      out << (i ? ", " : "") << JsonString(added[i]);
    }
    out << "],\n \"warm_up_rounds\": " << kWarmUpRounds
        << ",\n \"count_tolerance\": " << kCountTolerance
        << ",\n \"private_growth_limit_percent\": " << kPrivateGrowthLimit
        << ",\n \"gdi_spread\": " << gdiSpread << ",\n \"user_spread\": " << userSpread
        << ",\n \"handle_spread\": " << handleSpread << ",\n \"thread_spread\": " << threadSpread
        << ",\n \"private_growth_percent\": " << privateGrowth
        << ",\n \"round_median_seconds\": " << median << ",\n \"round_max_seconds\": " << slowest
        << ",\n \"passed\": " << (passed ? "true" : "false") << ",\n \"samples\": [\n";
    for (size_t i = 0; i < samples_.size(); ++i) {
      const Sample& s = samples_[i];
      out << "  {\"round\": " << s.round << ", \"seconds\": " << s.seconds
          << ", \"gdi\": " << s.counters.gdi << ", \"user\": " << s.counters.user
          << ", \"handles\": " << s.counters.handles
          << ", \"wine_dialog_keys\": " << s.wineDialogKeys
          << ", \"private_bytes\": " << s.counters.privateBytes
          << ", \"private_bytes_beside_stacks\": " << s.counters.privateBytesBesideStacks
          << ", \"threads\": " << s.counters.threads << "}"
          << (i + 1 < samples_.size() ? ",\n" : "\n");
    }
    out << " ]\n}\n";
    return passed ? 0 : 1;
  }

  const Options& options_;
  Program& program_;
  CounterReader reader_;
  Clock::time_point started_;
  std::vector<Sample> samples_;
  std::vector<double> roundSeconds_;
  int failures_ = 0;
  std::vector<std::string> failureTexts_;
  std::vector<std::string> referenceHandles_;
  std::vector<std::string> lastHandles_;
};

// ---- captures ----

class CaptureRounds {
 public:
  explicit CaptureRounds(Program& program) : program_(program) {
    screenHeight_ = GetSystemMetrics(SM_CYSCREEN);
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    folder_ = fs::path(temp) / ("lumenta-capture-soak-" + std::to_string(GetCurrentProcessId()));
    fs::create_directories(folder_);
    captureButton_ = program.Button(L"截图至剪切板");
  }
  ~CaptureRounds() {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  std::string operator()(int round) {
    if (!captureButton_) return "no 截图至剪切板 button";
    if (!EmptyTheClipboard()) return "the clipboard cannot be opened";
    PostMessageW(captureButton_, BM_CLICK, 0, 0);
    if (!WaitFor([&] { return (window_ = CaptureWindow()) != nullptr; }, 15s)) {
      return "the capture window did not open" + Dialogs();
    }
    // A rectangle that wanders a little from round to round, in the upper half so that the
    // toolbar and its panel fit below it.
    const capture::Rect s{300 + (round % 5) * 40, 150 + (round % 4) * 30,
                          300 + (round % 5) * 40 + 420, 150 + (round % 4) * 30 + 300};
    std::string failure = Annotate(s);
    if (failure.empty()) failure = Output(round, s);
    if (IsWindow(window_)) {
      PostMessageW(window_, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
      if (failure.empty()) failure = "the capture window stayed open";
    }
    if (!WaitFor([&] { return !IsWindow(window_) && IsWindowEnabled(program_.main()); }, 15s)) {
      if (failure.empty()) failure = "the main window did not come back";
    }
    return failure + Dialogs();
  }

 private:
  HWND CaptureWindow() const {
    for (HWND w : TopWindows(program_.id(), L"LumentaWindow")) {
      if (w != program_.main()) return w;
    }
    return nullptr;
  }
  std::string Dialogs() const {
    const std::wstring said = CloseDialogs(program_.id());
    return said.empty() ? "" : "; a dialog said: " + Utf8(said);
  }
  bool Mouse(UINT message, capture::Point p) {
    // The pointer itself goes there too (the capture window covers the screen from its
    // origin): Wine sends the window moves of its own to where the pointer is, when the window
    // takes and releases the mouse, and those must not contradict the ones sent here.
    SetCursorPos(p.x, p.y);
    const WPARAM keys = message == WM_LBUTTONUP ? 0 : (down_ ? MK_LBUTTON : 0);
    return SendWithin(window_, message, keys, MAKELPARAM(p.x, p.y));
  }
  bool Drag(capture::Point from, capture::Point to) {
    bool ok = Mouse(WM_MOUSEMOVE, from);  // a hand moves there before it presses
    down_ = true;
    ok = ok && Mouse(WM_LBUTTONDOWN, from);
    ok = ok && Mouse(WM_MOUSEMOVE, {(from.x + to.x) / 2, (from.y + to.y) / 2});
    ok = ok && Mouse(WM_MOUSEMOVE, to);
    down_ = false;
    return ok && Mouse(WM_LBUTTONUP, to);
  }
  bool Click(capture::Point p) {
    bool ok = Mouse(WM_MOUSEMOVE, p);
    down_ = true;
    ok = ok && Mouse(WM_LBUTTONDOWN, p);
    down_ = false;
    return ok && Mouse(WM_LBUTTONUP, p);
  }
  capture::Point ButtonPoint(const capture::Rect& s, int button, bool toolChosen) const {
    const capture::Point toolbar = capture::PlaceToolbar(s, toolChosen, screenHeight_);
    const capture::Zone z = capture::kToolbarButtonZones[button - 1];
    return {toolbar.x + (z.left + z.right) / 2, toolbar.y + (z.top + z.bottom) / 2};
  }

  std::string Annotate(const capture::Rect& s) {
    if (!Drag({s.left, s.top}, {s.right, s.bottom})) return "the drag was not handled";
    bool toolChosen = false;
    int k = 0;
    for (capture::Tool tool : {capture::Tool::kRectangle, capture::Tool::kEllipse,
                               capture::Tool::kArrow, capture::Tool::kBrush}) {
      if (!Click(ButtonPoint(s, static_cast<int>(tool), toolChosen))) return "a tool click failed";
      toolChosen = true;
      const int x = s.left + 30 + 40 * k++;
      if (!Drag({x, s.top + 30}, {x + 120, s.top + 110})) return "a drawing was not handled";
    }
    if (!Click(ButtonPoint(s, static_cast<int>(capture::Tool::kText), true))) {
      return "the text tool's click failed";
    }
    if (!Click({s.left + 40, s.top + 180})) return "the text box's click failed";
    HWND box = FindDescendant(window_, L"Edit", L"", WS_VISIBLE);
    if (!box) {
      HWND hidden = FindDescendant(window_, L"Edit");
      return "the text tool showed no text box (" +
             (hidden ? "its hidden box holds \"" + Utf8(TextOf(hidden)) + "\"" : "none at all") +
             ")";
    }
    for (wchar_t c : std::wstring(L"Soak 长跑")) SendWithin(box, WM_CHAR, c, 1);
    if (TextOf(box) != L"Soak 长跑") return "the text box holds \"" + Utf8(TextOf(box)) + "\"";
    if (!Click({s.left + 300, s.top + 250})) return "the commit click failed";
    if (IsWindowVisible(box)) return "the text box stayed after the commit click";
    return "";
  }

  std::string Output(int round, const capture::Rect& s) {
    const SIZE expected{s.right - s.left, s.bottom - s.top};
    switch (round % 3) {
      case 1: {  // done: the region on the clipboard
        Click(ButtonPoint(s, capture::kButtonDone, true));
        const SIZE got = ClipboardBitmapSize();
        if (got.cx != expected.cx || got.cy != expected.cy) {
          return "done left a " + std::to_string(got.cx) + "x" + std::to_string(got.cy) +
                 " bitmap on the clipboard";
        }
        return "";
      }
      case 2: {  // save: the dialog is modal inside the click, so the click is posted
        const fs::path file = folder_ / ("capture-" + std::to_string(round) + ".bmp");
        const capture::Point p = ButtonPoint(s, capture::kButtonSave, true);
        PostMessageW(window_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
        PostMessageW(window_, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
        HWND dialog = nullptr;
        if (!WaitFor(
                [&] {
                  const auto dialogs = TopWindows(program_.id(), L"#32770");
                  dialog = dialogs.empty() ? nullptr : dialogs.front();
                  return dialog != nullptr;
                },
                20s)) {
          return "the save dialog did not open";
        }
        // The file name box: cmb13 in the explorer-style dialog, edt1 in the older one.
        HWND name = GetDlgItem(dialog, 0x47C);
        if (!name) name = GetDlgItem(dialog, 0x480);
        if (!name) return "the save dialog has no file name box";
        const std::wstring path = file.wstring();
        SendMessageTimeoutW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()),
                            SMTO_NORMAL, 10000, nullptr);
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
        if (!WaitFor([&] { return !IsWindow(window_); }, 20s)) {
          return "the capture window stayed open after the save";
        }
        std::ifstream in(file, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>()};
        in.close();
        std::error_code ignored;
        fs::remove(file, ignored);
        if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') {
          return "the saved file is no BMP (" + std::to_string(bytes.size()) + " bytes)";
        }
        std::int32_t width = 0, height = 0;
        std::memcpy(&width, bytes.data() + 18, 4);
        std::memcpy(&height, bytes.data() + 22, 4);
        if (width != expected.cx || std::abs(height) != expected.cy) {
          return "the saved picture is " + std::to_string(width) + "x" + std::to_string(height);
        }
        return "";
      }
      default: {  // cancel: nothing on the clipboard
        Click(ButtonPoint(s, capture::kButtonCancel, true));
        if (ClipboardBitmapSize().cx != 0) return "cancel put a bitmap on the clipboard";
        return "";
      }
    }
  }

  Program& program_;
  HWND captureButton_ = nullptr;
  HWND window_ = nullptr;
  bool down_ = false;
  int screenHeight_ = 0;
  fs::path folder_;
};

// ---- recognitions ----

class RecognitionRounds {
 public:
  // `recognise` false: the rounds only load the pictures (to tell the two parts apart).
  RecognitionRounds(Program& program, bool recognise) : program_(program), recognise_(recognise) {
    pictures_ = {testing::RenderTextBmp({u"长时间运行的识别", u"Recognition soak"}),
                 testing::RenderTextBmp({u"内存与句柄保持平稳", u"Memory stays flat"})};
    expected_ = {L"长时间运行的识别Recognition soak", L"内存与句柄保持平稳Memory stays flat"};
    take_ = program.Button(L"取剪切板图片");
    clear_ = program.Button(L"清空");
    recognize_ = program.Button(L"识别");
    result_ = FindDescendant(program.main(), L"Edit", L"", ES_MULTILINE);
  }

  std::string operator()(int round) {
    if (!take_ || !clear_ || !recognize_ || !result_)
      return "a control of the main window is missing";
    // The pictures-only rounds take a new picture from the clipboard every round, the
    // recognitions every half of kSampleEvery rounds (the warm-up sees both pictures, and every
    // reading is taken with the same one in the box): under Wine 8 every read of a clipboard bitmap that
    // the system converts from the format put there (a DIB, as most programs put pictures) leaves
    // the 1 KiB buffer that Wine's GetClipboardData read into behind in the reading process
    // (about 1 KiB a round in the pictures-only rounds, and more as it splits the heap), and a
    // picture put there as a bitmap stays whole in the reader's clipboard cache. The program only
    // calls GetClipboardData once per click; the recognition soak judges its recognitions.
    const int every = recognise_ ? kSampleEvery / 2 : 1;
    const size_t which = size_t((round - 1) / every) % pictures_.size();  // rounds count from 1
    if ((round - 1) % every == 0) {
      if (!PutDibOnClipboard(pictures_[which])) return "the picture cannot be put on the clipboard";
      if (!SendWithin(take_, BM_CLICK)) return "取剪切板图片 was not handled" + Dialogs();
    }
    if (!SendWithin(clear_, BM_CLICK)) return "清空 was not handled" + Dialogs();
    if (!TextOf(result_).empty()) return "清空 left text in the result box";
    if (!recognise_) return "";
    PostMessageW(recognize_, BM_CLICK, 0, 0);
    std::wstring said;
    if (!WaitFor(
            [&] {
              if (!TopWindows(program_.id(), L"#32770").empty()) return true;
              return !TextOf(result_).empty();
            },
            120s)) {
      return "no result within 120 s";
    }
    const std::wstring text = TextOf(result_);
    // The run ends right after the box is filled: let it finish before the next click, which
    // a run in progress would ignore.
    SendWithin(program_.main(), WM_NULL);
    if (const std::string d = Dialogs(); !d.empty()) return "no result" + d;
    if (text != expected_[which]) return "the result box holds \"" + Utf8(text) + "\"";
    return "";
  }

 private:
  std::string Dialogs() const {
    const std::wstring said = CloseDialogs(program_.id());
    return said.empty() ? "" : "; a dialog said: " + Utf8(said);
  }

  Program& program_;
  std::vector<ByteBuffer> pictures_;
  std::vector<std::wstring> expected_;
  bool recognise_ = true;
  HWND take_ = nullptr, clear_ = nullptr, recognize_ = nullptr, result_ = nullptr;
};

int Main(int argc, wchar_t** argv) {
  Options options;
  if (argc >= 2) options.mode = Utf8(argv[1]);
  for (int i = 2; i + 1 < argc; i += 2) {
    const std::wstring name = argv[i], value = argv[i + 1];
    if (name == L"--program")
      options.program = value;
    else if (name == L"--probe")
      options.probe = value;
    else if (name == L"--count")
      options.count = std::stoi(value);
    else if (name == L"--out")
      options.out = value;
  }
  if ((options.mode != "captures" && options.mode != "recognitions" &&
       options.mode != "pictures") ||
      options.program.empty() || options.probe.empty() || options.count <= 0 ||
      options.out.empty()) {
    std::fprintf(
        stderr,
        "usage: program_soak captures|recognitions|pictures --program EXE --probe DLL --count N "
        "--out FILE.json\n");
    return 2;
  }
  Program program(options.program);
  if (!program.main()) {
    std::fprintf(stderr, "program_soak: the program did not show its window\n");
    return 2;
  }
  Soak soak(options, program);
  if (options.mode == "captures") {
    CaptureRounds rounds(program);
    return soak.Run(std::ref(rounds));
  }
  RecognitionRounds rounds(program, options.mode == "recognitions");
  return soak.Run(std::ref(rounds));
}

}  // namespace
}  // namespace lumenta::soak

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  const int status = lumenta::soak::Main(argc, argv);
  LocalFree(argv);
  return status;
}
