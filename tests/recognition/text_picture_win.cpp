#include "text_picture_win.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "win/gdi_win.h"

namespace lumenta::testing {

ByteBuffer RenderTextBmp(const std::vector<std::u16string>& lines, TextPictureLayout layout) {
  win::MemoryDc dc;
  {
    win::WindowDc screen(nullptr);
    dc.reset(CreateCompatibleDC(screen.get()));
  }
  win::Font font(CreateFontW(-layout.pixelHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                             DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             ANTIALIASED_QUALITY, DEFAULT_PITCH, L"WenQuanYi Micro Hei"));
  win::SelectGuard useFont(dc.get(), font.get());
  const int margin = layout.pixelHeight;
  const int lineStep = layout.pixelHeight * 3 / 2;
  int width = layout.width;
  if (width == 0) {
    int widest = 0;
    for (const auto& line : lines) {
      SIZE size{};
      GetTextExtentPoint32W(dc.get(), reinterpret_cast<const wchar_t*>(line.c_str()),
                            static_cast<int>(line.size()), &size);
      widest = std::max<int>(widest, size.cx);
    }
    width = widest + 2 * margin;
  }
  const int height =
      layout.height ? layout.height : 2 * margin + static_cast<int>(lines.size()) * lineStep;

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // bottom-up, as BMP files store rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  win::Bitmap bitmap(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap) return {};
  win::SelectGuard useBitmap(dc.get(), bitmap.get());
  RECT all{0, 0, width, height};
  FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SetBkMode(dc.get(), TRANSPARENT);
  SetTextColor(dc.get(), RGB(0, 0, 0));
  for (size_t i = 0; i < lines.size(); ++i) {
    TextOutW(dc.get(), margin, margin + static_cast<int>(i) * lineStep,
             reinterpret_cast<const wchar_t*>(lines[i].c_str()), static_cast<int>(lines[i].size()));
  }
  GdiFlush();

  const size_t rowBytes = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
  const size_t pixelBytes = rowBytes * static_cast<size_t>(height);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  file.bfSize = static_cast<DWORD>(file.bfOffBits + pixelBytes);
  info.bmiHeader.biSizeImage = static_cast<DWORD>(pixelBytes);
  ByteBuffer bytes;
  bytes.append(reinterpret_cast<const char*>(&file), sizeof file);
  bytes.append(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
  bytes.append(static_cast<const char*>(bits), pixelBytes);
  return bytes;
}

}  // namespace lumenta::testing
