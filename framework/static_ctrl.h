// The static control: labels, icons and frames.
#pragma once
#include "framework/wnd.h"

class CStatic : public CWnd {
 public:
  bool Create(const char* text, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CreateEx(0, "STATIC", text, style, rect, parent->GetSafeHwnd(), id);
  }
  HICON SetIcon(HICON icon) {
    return reinterpret_cast<HICON>(SendMessage(STM_SETICON, reinterpret_cast<WPARAM>(icon)));
  }
};
