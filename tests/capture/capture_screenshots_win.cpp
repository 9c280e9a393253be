// Pictures of the capture window for the README: a rectangle being dragged out (with its size
// label and the magnifier), the magnifier while choosing, and an annotated selection with the
// toolbar and its options panel, and the whole screen selected with the toolbar inside it, over a
// frozen desktop that shows a page of text. Writes capture-selection.bmp, capture-magnifier.bmp,
// capture-annotated.bmp and capture-whole-screen.bmp (whole screen) into the folder given as the
// first argument; scripts/capture-screenshots crops and converts them.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/window_designs.h"
#include "base/text_encoders.h"
#include "capture/capture_annotation_win.h"
#include "capture/capture_tool_win.h"
#include "capture/window/screen_snapshot_win.h"
#include "win/wide_win.h"

namespace {

using lumenta::capture::Point;

// A desktop with a document window holding a few lines of Chinese and English text.
void PaintFrozenDesktop(HDC, HDC dc, int width, int height) {
  const auto fill = [&](RECT r, COLORREF c) {
    HBRUSH b = CreateSolidBrush(c);
    FillRect(dc, &r, b);
    DeleteObject(b);
  };
  TRIVERTEX v[2] = {{0, 0, 0x2000, 0x5800, 0x9000, 0}, {width, height, 0x6000, 0xA800, 0xD800, 0}};
  GRADIENT_RECT g{0, 1};
  GradientFill(dc, v, 2, &g, 1, GRADIENT_FILL_RECT_V);
  fill({160, 90, 1180, 820}, RGB(255, 255, 255));
  fill({160, 90, 1180, 126}, RGB(45, 90, 160));
  SetBkMode(dc, TRANSPARENT);
  HFONT title = CreateFontW(-18, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"SimSun");
  HFONT body =
      CreateFontW(-24, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"SimSun");
  HGDIOBJ old = SelectObject(dc, title);
  SetTextColor(dc, RGB(255, 255, 255));
  const std::wstring caption = lumenta::win::WideFromUtf8("会议纪要.docx - 文档");
  TextOutW(dc, 176, 98, caption.c_str(), int(caption.size()));
  SelectObject(dc, body);
  const char* lines[] = {
      "项目周会纪要（第 12 周）",
      "1. 截图识别：支持拖动选区、八个调整点与放大镜。",
      "2. 识别结果可复制、清空，也可在文档中查找标红。",
      "3. Lumenta turns a picture into text.",
      "4. 下周计划：完善标注工具与保存为位图。",
      "联系人：张三  电话：010-1234 5678",
  };
  int y = 170;
  for (const char* line : lines) {
    SetTextColor(dc, y == 170 ? RGB(20, 40, 90) : RGB(30, 30, 30));
    const std::wstring text = lumenta::win::WideFromUtf8(line);
    TextOutW(dc, 210, y, text.c_str(), int(text.size()));
    y += 70;
  }
  SelectObject(dc, old);
  DeleteObject(title);
  DeleteObject(body);
  fill({1260, 200, 1700, 560}, RGB(250, 250, 245));
  fill({1260, 200, 1700, 236}, RGB(200, 70, 60));
  for (int i = 0; i < 6; ++i) {
    fill({1290, 270 + i * 45, 1290 + 120 + (i * 53) % 240, 290 + i * 45},
         RGB(60 + i * 30, 140, 200 - i * 20));
  }
}

bool WriteWindowBmp(HWND window, int width, int height, const std::string& path) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // bottom-up, as BMP files store rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  std::vector<unsigned char> pixels(size_t(width) * size_t(height) * 4);
  HDC source = GetDC(window);
  HDC dc = CreateCompatibleDC(source);
  HBITMAP bitmap = CreateCompatibleBitmap(source, width, height);
  HGDIOBJ old = SelectObject(dc, bitmap);
  BitBlt(dc, 0, 0, width, height, source, 0, 0, SRCCOPY);
  SelectObject(dc, old);
  GetDIBits(dc, bitmap, 0, UINT(height), pixels.data(), &info, DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(window, source);
  for (size_t i = 3; i < pixels.size(); i += 4) pixels[i] = 0xFF;

  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info.bmiHeader;
  file.bfSize = DWORD(file.bfOffBits + pixels.size());
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  std::fwrite(&file, sizeof file, 1, f);
  std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, f);
  std::fwrite(pixels.data(), 1, pixels.size(), f);
  return std::fclose(f) == 0;
}

void Send(HWND window, UINT message, WPARAM keys, Point p) {
  SendMessageW(window, message, keys, MAKELPARAM(p.x, p.y));
}

void Click(HWND window, Point p) {
  Send(window, WM_LBUTTONDOWN, MK_LBUTTON, p);
  Send(window, WM_LBUTTONUP, 0, p);
}

void Drag(HWND window, Point from, std::initializer_list<Point> through) {
  Send(window, WM_LBUTTONDOWN, MK_LBUTTON, from);
  Point last = from;
  for (Point p : through) Send(window, WM_MOUSEMOVE, MK_LBUTTON, last = p);
  Send(window, WM_LBUTTONUP, 0, last);
}

// The screen position of a point given in toolbar coordinates.
Point OnToolbar(const lumenta::capture::CaptureToolbar& toolbar, int x, int y) {
  return {toolbar.position().x + x, toolbar.position().y + y};
}

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = argc > 1 ? argv[1] : ".";
  lumenta::capture::SetSnapshotSource(PaintFrozenDesktop);
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  bool ok = true;
  lumenta::capture::CaptureTool tool{lumenta::app::CaptureWindowDesign()};
  tool.SetOpenedHook([&](HWND window) {
    // Choosing: the magnifier over the text.
    for (Point p : {Point{400, 300}, Point{452, 258}, Point{468, 256}})
      Send(window, WM_MOUSEMOVE, 0, p);
    ok = WriteWindowBmp(window, width, height, folder + "/capture-magnifier.bmp") && ok;
    // Dragging out a rectangle over three lines, still held: frame, handles, label, magnifier.
    Send(window, WM_LBUTTONDOWN, MK_LBUTTON, {196, 226});
    for (Point p : {Point{500, 300}, Point{900, 400}, Point{780, 372}}) {
      Send(window, WM_MOUSEMOVE, MK_LBUTTON, p);
    }
    ok = WriteWindowBmp(window, width, height, folder + "/capture-selection.bmp") && ok;
    Send(window, WM_LBUTTONUP, 0, {780, 372});
    PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
  });
  tool.StartCapture(nullptr);

  // An annotated selection: a red frame round the heading, a blue arrow to a line, a green
  // brush mark and a note typed with the text tool, whose panel stays open.
  lumenta::capture::CaptureAnnotation annotation(tool);
  const auto& toolbar = annotation.toolbar();
  tool.SetOpenedHook([&](HWND window) {
    Drag(window, {190, 150}, {{600, 400}, {1000, 540}});
    Click(window, OnToolbar(toolbar, 18, 12));  // rectangle
    Drag(window, {200, 160}, {{400, 190}, {560, 206}});
    Click(window, OnToolbar(toolbar, 70, 12));                    // arrow
    Click(window, OnToolbar(toolbar, 8 + 39 + 5 * 15, 39 + 15));  // blue (entry 13)
    Drag(window, {860, 420}, {{760, 330}, {700, 272}});
    Click(window, OnToolbar(toolbar, 96, 12));                     // brush
    Click(window, OnToolbar(toolbar, 89 + 39 + 4 * 15, 39 + 15));  // green (entry 12)
    Drag(window, {214, 500}, {{300, 503}, {420, 500}, {560, 504}});
    Click(window, OnToolbar(toolbar, 122, 12));  // text
    Click(window, OnToolbar(toolbar, 54, 47));   // the text-size box
    const Point list = annotation.fontSizeList().Position();
    Drag(window, {list.x + 40, list.y + 40},
         {{list.x + 40, list.y + 55}, {list.x + 40, list.y + 65}});
    Click(window, {list.x + 15, list.y + 110});  // 20 pixels, at the end of the list
    Click(window, {640, 160});
    const std::wstring note = lumenta::win::WideFromUtf8("本周重点");
    for (wchar_t c : note) SendMessageW(tool.textBox(), WM_CHAR, c, 1);
    Click(window, {900, 520});  // commits the note
    Send(window, WM_MOUSEMOVE, 0, OnToolbar(toolbar, 122, 12));
    ok = WriteWindowBmp(window, width, height, folder + "/capture-annotated.bmp") && ok;
    PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
  });
  tool.StartCapture(nullptr);

  // The whole screen selected: no room below or above, so the toolbar sits inside the
  // rectangle along its bottom edge, the mouse on done.
  tool.SetOpenedHook([&](HWND window) {
    Drag(window, {0, 0}, {{width / 2, height / 2}, {width - 1, height - 1}});
    Send(window, WM_MOUSEMOVE, 0, OnToolbar(toolbar, 258, 12));  // done
    ok = WriteWindowBmp(window, width, height, folder + "/capture-whole-screen.bmp") && ok;
    PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
  });
  tool.StartCapture(nullptr);
  return ok ? 0 : 1;
}
