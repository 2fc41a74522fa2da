// A 16 by 16 image list made from bitmap resources, white standing for transparent.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <initializer_list>

class CMaskedImageList {
 public:
  CMaskedImageList() = default;
  ~CMaskedImageList() { Destroy(); }
  CMaskedImageList(const CMaskedImageList&) = delete;
  CMaskedImageList& operator=(const CMaskedImageList&) = delete;

  // One image per bitmap, in order. A bitmap that can't be loaded leaves a blank image, so
  // that the images after it keep their indexes.
  bool Create(std::initializer_list<UINT> bitmaps);
  void Destroy();
  HIMAGELIST handle() const { return list_; }

 private:
  HIMAGELIST list_ = nullptr;
};
