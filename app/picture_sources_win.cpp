#include "app/picture_sources_win.h"

#include <shlobj.h>
#include <windows.h>

#include <new>

#include "app/main_window_controls.h"
#include "app/picture_sources.h"
#include "base/text_encoders.h"
#include "image/clipboard_bitmap_win.h"
#include "ui/message_box.h"
#include "win/scoped_handle_win.h"

namespace lumenta::app {
namespace {

using main_window::kFileDialog;
using main_window::kPictureBox;

}  // namespace

ByteBuffer ReadPictureFile(std::string_view path) {
  if (path.empty()) return ByteBuffer();
  const std::u16string name = TextToUtf16(path);
  // Others may go on reading, writing or deleting the file meanwhile; it is read once, now.
  const win::KernelHandle file(
      CreateFileW(reinterpret_cast<const wchar_t*>(name.c_str()), GENERIC_READ,
                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file.valid()) return ByteBuffer();
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 ||
      static_cast<unsigned long long>(size.QuadPart) > kMaxPictureFileBytes) {
    return ByteBuffer();
  }
  ByteBuffer bytes;
  try {
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
  } catch (const std::bad_alloc&) {
    return ByteBuffer();  // not enough memory for it: as unreadable
  }
  std::size_t done = 0;
  while (done < bytes.size()) {
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 24));
    DWORD got = 0;
    if (!ReadFile(file.get(), bytes.data() + done, want, &got, nullptr)) return ByteBuffer();
    if (got == 0) break;  // the file became shorter while it was read
    done += got;
  }
  bytes.resize(done);
  return bytes;
}

Text DesktopFolder() {
  wchar_t folder[MAX_PATH] = {};
  if (FAILED(
          SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, folder))) {
    return Text();
  }
  return FolderWithSeparator(Utf16ToGbk(reinterpret_cast<const char16_t*>(folder)));
}

void ChoosePictureFile(ui::Event& event) {
  ui::CommonDialog* dialog = event.window.Dialog(kFileDialog);
  if (!dialog) return;
  dialog->SetInitialFolder(DesktopFolder());
  dialog->SetFilter(Text(kPictureFileFilter));
  dialog->SetFilterIndex(1);
  // The outcome is not consulted: the file name changes only when the user confirms, so after
  // a cancel it is still the last confirmed file (or empty, which clears the box).
  (void)dialog->Show();
  event.window.SetPicture(kPictureBox, ReadPictureFile(dialog->fileName()));
}

void LoadDroppedFile(ui::Event& event) {
  event.window.SetPicture(kPictureBox, ReadPictureFile(DroppedFileToLoad(event.text)));
}

void TakeClipboardPicture(ui::Event& event) {
  auto bytes = image::ClipboardBitmapToBmpFile(event.window.handle());
  if (!bytes) {
    ui::ShowMessage(kNoClipboardPicture);
    return;
  }
  event.window.SetPicture(kPictureBox, std::move(*bytes));
}

}  // namespace lumenta::app
