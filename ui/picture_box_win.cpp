#include "ui/picture_box_win.h"

#include <utility>

#include "win/gdi_win.h"

namespace lumenta::ui {
namespace {

PictureRenderer* g_renderer = nullptr;
// Counts renderer changes, so that a box notices that its decoded picture came from another one.
unsigned g_rendererGeneration = 0;

struct PictureBoxState {
  // Never null. Shared, not copied, with whoever asks for the picture: a new picture replaces
  // the pointer, so a holder keeps the bytes it was given.
  SharedBytes bytes = std::make_shared<const ByteBuffer>();
  std::unique_ptr<DecodedPicture> decoded;
  bool decodeTried = false;
  unsigned generation = 0;
};

PictureBoxState* StateOf(HWND box) {
  wchar_t className[32] = {};
  if (box == nullptr || GetClassNameW(box, className, 32) == 0 ||
      lstrcmpW(className, kPictureBoxClass) != 0) {
    return nullptr;
  }
  return reinterpret_cast<PictureBoxState*>(GetWindowLongPtrW(box, GWLP_USERDATA));
}

void Paint(HWND box, PictureBoxState& state) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(box, &paint);
  if (dc == nullptr) return;
  RECT client;
  GetClientRect(box, &client);
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  // Composed off screen and copied in one step, so a repaint never flickers.
  win::MemoryDc memory(CreateCompatibleDC(dc));
  win::Bitmap bitmap(width > 0 && height > 0 ? CreateCompatibleBitmap(dc, width, height) : nullptr);
  HDC target = dc;
  std::unique_ptr<win::SelectGuard> selected;
  if (memory && bitmap) {
    selected = std::make_unique<win::SelectGuard>(memory.get(), bitmap.get());
    target = memory.get();
  }
  FillRect(target, &client, GetSysColorBrush(COLOR_BTNFACE));
  if (state.generation != g_rendererGeneration) {
    state.decoded.reset();
    state.decodeTried = false;
    state.generation = g_rendererGeneration;
  }
  if (!state.decodeTried && g_renderer != nullptr && !state.bytes->empty()) {
    state.decoded = g_renderer->Decode(state.bytes->view());
    state.decodeTried = true;
  }
  if (state.decoded) {
    const int saved = SaveDC(target);
    IntersectClipRect(target, client.left, client.top, client.right, client.bottom);
    state.decoded->Draw(target, client);
    RestoreDC(target, saved);
  }
  if (target != dc) BitBlt(dc, 0, 0, width, height, target, 0, 0, SRCCOPY);
  selected.reset();
  EndPaint(box, &paint);
}

LRESULT CALLBACK PictureBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<PictureBoxState*>(GetWindowLongPtrW(box, GWLP_USERDATA));
  switch (message) {
    case WM_NCCREATE:
      SetWindowLongPtrW(box, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new PictureBoxState));
      break;
    case WM_NCDESTROY:
      SetWindowLongPtrW(box, GWLP_USERDATA, 0);
      delete state;
      break;
    case WM_ERASEBKGND:
      return 1;  // painted with the picture
    case WM_PAINT:
      if (state != nullptr) {
        Paint(box, *state);
        return 0;
      }
      break;
    default:
      break;
  }
  return DefWindowProcW(box, message, wParam, lParam);
}

}  // namespace

PictureRenderer* SetPictureRenderer(PictureRenderer* renderer) {
  ++g_rendererGeneration;
  return std::exchange(g_renderer, renderer);
}

bool RegisterPictureBoxClass() {
  static const bool registered = [] {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &PictureBoxProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kPictureBoxClass;
    return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }();
  return registered;
}

ByteBuffer PictureBoxBytes(HWND box) { return *SharedPictureBoxBytes(box); }

SharedBytes SharedPictureBoxBytes(HWND box) {
  const PictureBoxState* state = StateOf(box);
  return state != nullptr ? state->bytes : std::make_shared<const ByteBuffer>();
}

void SetPictureBoxBytes(HWND box, ByteBuffer bytes) {
  PictureBoxState* state = StateOf(box);
  if (state == nullptr) return;
  state->bytes = std::make_shared<const ByteBuffer>(std::move(bytes));
  state->decoded.reset();
  state->decodeTried = false;
  InvalidateRect(box, nullptr, FALSE);
}

}  // namespace lumenta::ui
