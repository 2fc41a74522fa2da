#include "mainwindow/masked_image_list.h"

namespace {

const int kSize = 16;
const COLORREF kMask = RGB(255, 255, 255);

// A white square: wholly transparent under the white mask.
HBITMAP BlankBitmap() {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, kSize, kSize);
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECT all = {0, 0, kSize, kSize};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SelectObject(dc, old);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return bitmap;
}

}  // namespace

bool CMaskedImageList::Create(std::initializer_list<UINT> bitmaps) {
  Destroy();
  list_ = ImageList_Create(kSize, kSize, ILC_COLOR24 | ILC_MASK,
                           static_cast<int>(bitmaps.size()), 0);
  if (list_ == nullptr) return false;
  for (UINT id : bitmaps) {
    HBITMAP bitmap = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id));
    if (bitmap == nullptr) bitmap = BlankBitmap();
    ImageList_AddMasked(list_, bitmap, kMask);
    DeleteObject(bitmap);
  }
  return true;
}

void CMaskedImageList::Destroy() {
  if (list_ != nullptr) ImageList_Destroy(list_);
  list_ = nullptr;
}
