#pragma once
// Helpers for driving the real capture window under Wine: a known picture to freeze instead of
// the screen, reading back what the window shows, and sending the mouse messages a user causes.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "capture/model/geometry.h"
#include "win/gdi_win.h"

namespace lumenta::capture::testing {

// The frozen picture of the tests: every pixel differs from its neighbours in some channel.
inline COLORREF Pattern(int x, int y) {
  return RGB((x * 3) & 0xFF, (y * 5) & 0xFF, ((x + y) / 4) & 0xFF);
}

// A channel darkened by black at alpha 100, as the dimmed copy holds it.
inline int Dimmed(int channel) { return channel * 155 / 255; }

// Paints Pattern into a snapshot surface.
inline void PaintPattern(HDC, HDC snapshot, int width, int height) {
  BITMAPINFO info = win::TopDownDibInfo(width, height);
  std::vector<std::uint32_t> bits(size_t(width) * size_t(height));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const COLORREF c = Pattern(x, y);
      bits[size_t(y) * size_t(width) + size_t(x)] =
          (std::uint32_t(GetRValue(c)) << 16) | (std::uint32_t(GetGValue(c)) << 8) | GetBValue(c);
    }
  }
  SetDIBitsToDevice(snapshot, 0, 0, width, height, 0, 0, 0, height, bits.data(), &info,
                    DIB_RGB_COLORS);
}

// The pixels of a device context's area (0, 0)-(width, height), top-down, 0x00RRGGBB.
class Pixels {
 public:
  Pixels() = default;
  Pixels(HDC source, int width, int height) : width_(width), height_(height) {
    BITMAPINFO info = win::TopDownDibInfo(width, height);
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, dib);
    BitBlt(dc, 0, 0, width, height, source, 0, 0, SRCCOPY);
    GdiFlush();
    const auto* p = static_cast<const std::uint32_t*>(bits);
    data_.assign(p, p + size_t(width) * size_t(height));
    for (auto& v : data_) v &= 0x00FFFFFF;
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(dib);
  }
  static Pixels OfWindow(HWND window, int width, int height) {
    HDC dc = GetDC(window);
    Pixels p(dc, width, height);
    ReleaseDC(window, dc);
    return p;
  }

  [[nodiscard]] std::uint32_t At(int x, int y) const {
    return data_[size_t(y) * size_t(width_) + size_t(x)];
  }
  [[nodiscard]] int R(int x, int y) const { return int(At(x, y) >> 16) & 0xFF; }
  [[nodiscard]] int G(int x, int y) const { return int(At(x, y) >> 8) & 0xFF; }
  [[nodiscard]] int B(int x, int y) const { return int(At(x, y)) & 0xFF; }
  [[nodiscard]] const std::vector<std::uint32_t>& data() const { return data_; }
  [[nodiscard]] int width() const { return width_; }

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint32_t> data_;
};

inline std::uint32_t Rgb(COLORREF c) {
  return (std::uint32_t(GetRValue(c)) << 16) | (std::uint32_t(GetGValue(c)) << 8) | GetBValue(c);
}

// The mouse as a user moves it: each message is handled before the call returns.
class Mouse {
 public:
  explicit Mouse(HWND window) : window_(window) {}
  void Move(Point p) { Send(WM_MOUSEMOVE, down_ ? MK_LBUTTON : 0, p); }
  void Down(Point p) {
    down_ = true;
    Send(WM_LBUTTONDOWN, MK_LBUTTON, p);
  }
  void Up(Point p) {
    down_ = false;
    Send(WM_LBUTTONUP, 0, p);
  }
  void DoubleClick(Point p) {
    Down(p);
    Up(p);
    Send(WM_LBUTTONDBLCLK, MK_LBUTTON, p);
    Send(WM_LBUTTONUP, 0, p);
  }
  // Press, move through the points, release at the last one.
  void Drag(Point from, std::initializer_list<Point> through) {
    Down(from);
    Point last = from;
    for (Point p : through) {
      Move(p);
      last = p;
    }
    Up(last);
  }

 private:
  void Send(UINT message, WPARAM keys, Point p) {
    SendMessageW(window_, message, keys, MAKELPARAM(p.x, p.y));
  }
  HWND window_;
  bool down_ = false;
};

}  // namespace lumenta::capture::testing
