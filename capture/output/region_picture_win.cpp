#include "capture/output/region_picture_win.h"

#include "base/text_encoders.h"
#include "capture/output/region_output_win.h"
#include "image/bmp_encoding_win.h"
#include "ui/message_box.h"
#include "win/gdi_win.h"

namespace lumenta::capture {
namespace {

constexpr char kSaveFailed[] = "\xB1\xA3\xB4\xE6\xCA\xA7\xB0\xDC\xA3\xA1";  // 保存失败！

}  // namespace

win::Bitmap BuildRegionPicture(const RegionSource& source) {
  const Rect& s = source.selection;
  const int width = s.right - s.left, height = s.bottom - s.top;
  if (width <= 0 || height <= 0 || !source.screenDc) return {};
  win::Bitmap bitmap(CreateCompatibleBitmap(source.screenDc, width, height));
  if (!bitmap) return {};
  const win::MemoryDc dc(CreateCompatibleDC(source.screenDc));
  if (dc) {
    // Deselected (at the guard's end) before anyone reads or hands on the bitmap.
    const win::SelectGuard use(dc.get(), bitmap.get());
    if (source.annotated) {
      BitBlt(dc.get(), 0, 0, width, height, source.annotated, 0, 0, SRCCOPY);
    } else if (source.snapshot) {
      BitBlt(dc.get(), 0, 0, width, height, source.snapshot, s.left, s.top, SRCCOPY);
    }
  }
  return bitmap;
}

bool CopyRegionToClipboard(HWND owner, const RegionSource& source) {
  return PlaceBitmapOnClipboard(owner, BuildRegionPicture(source));
}

SaveOutcome SaveRegionToFile(const RegionSource& source, ui::CommonDialog& dialog) {
  ByteBuffer file;
  if (const win::Bitmap picture = BuildRegionPicture(source)) {
    file = image::EncodeBitmapAsBmp(source.annotated ? source.annotated : source.screenDc,
                                    picture.get());
  }
  if (!dialog.Show()) return SaveOutcome::kCancelled;
  const std::u16string path = TextToUtf16(dialog.fileName());
  if (file.empty() ||
      !ReplaceFileContent({reinterpret_cast<const wchar_t*>(path.data()), path.size()},
                          file.view())) {
    ui::ShowMessage(kSaveFailed);
    return SaveOutcome::kFailed;
  }
  return SaveOutcome::kSaved;
}

}  // namespace lumenta::capture
