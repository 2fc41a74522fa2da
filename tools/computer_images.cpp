#include "tools/computer_images.h"

#include "resources/resource.h"

namespace {

// The control image is drawn on teal like the object list's; the computer on olive.
COLORREF MaskOf(UINT bitmap) {
  return bitmap == IDB_CONTROL ? RGB(0, 128, 128) : RGB(128, 128, 0);
}

}  // namespace

HIMAGELIST MakeComputerImages(std::initializer_list<UINT> bitmaps) {
  HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK,
                                       static_cast<int>(bitmaps.size()), 0);
  if (images == nullptr) return nullptr;
  for (UINT id : bitmaps) {
    HBITMAP bitmap = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id));
    if (bitmap == nullptr) continue;
    ImageList_AddMasked(images, bitmap, MaskOf(id));
    DeleteObject(bitmap);
  }
  return images;
}
