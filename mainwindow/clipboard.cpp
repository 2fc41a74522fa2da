#include "mainwindow/clipboard.h"

#include <windows.h>

#include <cstring>

void CopyTextToClipboard(const std::string& text) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, text.size() + 1);
  if (block == nullptr) return;
  void* data = GlobalLock(block);
  if (data == nullptr) {
    GlobalFree(block);
    return;
  }
  std::memcpy(data, text.c_str(), text.size() + 1);
  GlobalUnlock(block);
  if (!OpenClipboard(nullptr)) {
    GlobalFree(block);
    return;
  }
  EmptyClipboard();
  // The clipboard owns the block once it takes it; otherwise it is still ours to free.
  if (SetClipboardData(CF_TEXT, block) == nullptr) GlobalFree(block);
  CloseClipboard();
}
