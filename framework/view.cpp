#include "framework/view.h"

#include "framework/document.h"
#include "framework/frame_wnd.h"

CView::~CView() {
  if (document_ != nullptr) document_->RemoveView(this);
}

void CView::BindDocument(CCreateContext* context) {
  if (context == nullptr || context->document == nullptr) return;
  document_ = context->document;
  document_->AddView(this);
}

bool CView::Create(CWnd* parent, UINT id, const RECT& rect, CCreateContext* context) {
  const char* window_class = RegisterFrameworkClass(
      "CorvaneView", CS_HREDRAW | CS_VREDRAW, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), nullptr);
  if (!CreateEx(WS_EX_CLIENTEDGE, window_class, "", WS_CHILD | WS_VISIBLE, rect,
                parent->GetSafeHwnd(), id)) {
    return false;
  }
  BindDocument(context);
  return true;
}

CFrameWnd* CView::GetParentFrame() const {
  for (HWND hwnd = ::GetParent(hwnd_); hwnd != nullptr; hwnd = ::GetParent(hwnd)) {
    if (auto* frame = dynamic_cast<CFrameWnd*>(FromHandle(hwnd))) return frame;
  }
  return nullptr;
}

LRESULT CView::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DESTROY) {
    CFrameWnd* frame = GetParentFrame();
    if (frame != nullptr && frame->GetActiveView() == this) frame->SetActiveView(nullptr, false);
  }
  if (msg == WM_MOUSEACTIVATE) {
    // A click anywhere in the view makes it the one commands go to first.
    if (CFrameWnd* frame = GetParentFrame()) frame->SetActiveView(this, false);
  }
  return CWnd::WindowProc(msg, wp, lp);
}
