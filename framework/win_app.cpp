#include "framework/win_app.h"

#include "framework/dialog.h"
#include "framework/doc_template.h"
#include "framework/framework_ids.h"
#include "framework/frame_wnd.h"

namespace {
CWinApp* g_app = nullptr;
}

CWinApp::CWinApp() {
  g_app = this;
  MapCommand(ID_APP_EXIT, [this] {
    if (main_window_ != nullptr) main_window_->SendMessage(WM_CLOSE);
  });
}

CWinApp::~CWinApp() {
  if (g_app == this) g_app = nullptr;
}

CWinApp* CWinApp::Current() { return g_app; }
CWinApp* AfxGetApp() { return g_app; }
CWnd* AfxGetMainWnd() { return g_app != nullptr ? g_app->main_window() : nullptr; }

bool CWinApp::InitInstance() { return true; }
int CWinApp::ExitInstance() { return 0; }

void CWinApp::AddDocTemplate(std::unique_ptr<CSingleDocTemplate> doc_template) {
  doc_template_ = std::move(doc_template);
}

bool CWinApp::OnFileNew() {
  if (doc_template_ == nullptr) return false;
  CFrameWnd* frame = doc_template_->OpenNewDocument();
  if (frame == nullptr) return false;
  if (main_window_ == nullptr) main_window_ = frame;
  return true;
}

bool CWinApp::PreTranslateMessage(MSG* msg) {
  if (auto* frame = dynamic_cast<CFrameWnd*>(main_window_)) {
    HWND main = frame->GetSafeHwnd();
    if (msg->hwnd == main || IsChild(main, msg->hwnd)) {
      if (frame->TranslateAccelerators(msg)) return true;
    }
  }
  for (HWND hwnd = msg->hwnd; hwnd != nullptr; hwnd = GetParent(hwnd)) {
    CWnd* wnd = CWnd::FromHandle(hwnd);
    if (wnd != nullptr && wnd->PreTranslateMessage(msg)) return true;
  }
  return false;
}

void CWinApp::OnIdle() {
  if (auto* frame = dynamic_cast<CFrameWnd*>(main_window_)) frame->OnIdleUpdateCmdUI();
}

int CWinApp::Run() {
  MSG msg;
  for (;;) {
    while (!PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      OnIdle();
      WaitMessage();
    }
    if (GetMessageA(&msg, nullptr, 0, 0) <= 0) break;
    if (!PreTranslateMessage(&msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  return ExitInstance();
}

std::string LoadResourceString(UINT id) {
  char text[1024];
  int length = LoadStringA(GetModuleHandleA(nullptr), id, text, sizeof text);
  return std::string(text, length > 0 ? length : 0);
}

int AppMessageBox(const std::string& text, UINT type) {
  std::string title = LoadResourceString(AFX_IDS_APP_TITLE);
  return MessageBoxA(DefaultOwnerWindow(), text.c_str(), title.c_str(), type);
}
