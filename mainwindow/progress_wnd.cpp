#include "mainwindow/progress_wnd.h"

#include "resources/resource.h"

CProgressWnd::CProgressWnd() : CDialog(IDD_PROGRESS) {}

bool CProgressWnd::Open(CWnd* owner) {
  if (!Create(owner)) return false;
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  UpdateWindow(hwnd_);
  return true;
}

BOOL CProgressWnd::OnInitDialog() {
  CDialog::OnInitDialog();
  title_.SubclassDlgItem(IDC_PROGRESS_TITLE, this);
  line_.SubclassDlgItem(IDC_PROGRESS_LINE, this);
  LOGFONTA font = {};
  GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
  font.lfWeight = FW_BOLD;
  title_.SetFont(font);
  return TRUE;
}

void CProgressWnd::SetLine(const std::string& text) {
  line_.SetWindowText(text);
  UpdateWindow(line_);
}

std::string CProgressWnd::line() const { return line_.GetWindowText(); }
