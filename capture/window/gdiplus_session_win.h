#pragma once
// GDI+ for the capture tool: started once, when the first capture window's set-up needs it
// (after its first frame is shown), and shut down with the tool, after every GDI+ object of its
// windows has been released.
// clang-format off
#include <windows.h>
#include <objidl.h>  // IStream, which gdiplus.h needs under WIN32_LEAN_AND_MEAN
#include <gdiplus.h>
// clang-format on

namespace lumenta::capture {

class GdiplusSession {
 public:
  GdiplusSession() {
    Gdiplus::GdiplusStartupInput input;  // version 1
    if (Gdiplus::GdiplusStartup(&token_, &input, nullptr) != Gdiplus::Ok) token_ = 0;
  }
  GdiplusSession(const GdiplusSession&) = delete;
  GdiplusSession& operator=(const GdiplusSession&) = delete;
  ~GdiplusSession() {
    if (token_) Gdiplus::GdiplusShutdown(token_);
  }
  [[nodiscard]] bool started() const { return token_ != 0; }

 private:
  ULONG_PTR token_ = 0;
};

// The GDI+ colour of a GDI colour with the given alpha (see MakeArgb).
inline Gdiplus::Color ArgbColour(COLORREF colour, BYTE alpha = 255) {
  return Gdiplus::Color(alpha, GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

}  // namespace lumenta::capture
