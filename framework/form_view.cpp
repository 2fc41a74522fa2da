#include "framework/form_view.h"

bool CFormView::Create(CWnd* parent, UINT id, const RECT& rect, CCreateContext* context) {
  BindNextWindow();
  HWND hwnd = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(template_id_),
                                 parent->GetSafeHwnd(), DialogProc, 0);
  if (hwnd == nullptr || hwnd != hwnd_) return false;
  SetWindowLongPtrA(hwnd, GWLP_ID, id);
  SetWindowLongPtrA(hwnd, GWL_EXSTYLE, GetWindowLongPtrA(hwnd, GWL_EXSTYLE) | WS_EX_CLIENTEDGE);
  SetWindowPos(hwnd, nullptr, rect.left, rect.top, rect.right - rect.left,
               rect.bottom - rect.top, SWP_NOZORDER | SWP_FRAMECHANGED | SWP_SHOWWINDOW);
  BindDocument(context);
  return true;
}

bool CFormView::PreTranslateMessage(MSG* msg) {
  return hwnd_ != nullptr && IsDialogMessageA(hwnd_, msg);
}
