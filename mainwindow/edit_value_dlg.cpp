#include "mainwindow/edit_value_dlg.h"

#include <commctrl.h>

#include "resources/resource.h"

namespace {

// Longest text that, with its NUL, still fits the values list's 1023-byte data buffer; longer
// data would end the listing and hide the value and those after it.
const int kMaxDataChars = 1022;
const int kIconSize = 16;

}  // namespace

CEditValueDlg::CEditValueDlg(const std::string& name, std::string& data, CWnd* parent)
    : CDialog(IDD_EDIT_VALUE, parent), name_(name), data_(data) {}

CEditValueDlg::~CEditValueDlg() {
  if (icon_ != nullptr) DeleteObject(icon_);
}

BOOL CEditValueDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  ShowIconOnFace();
  SetDlgItemTextA(hwnd_, IDC_VALUE_NAME, name_.c_str());
  HWND data = GetDlgItem(IDC_VALUE_DATA);
  ::SendMessageA(data, EM_LIMITTEXT, kMaxDataChars, 0);
  ::SetWindowTextA(data, data_.c_str());
  SetFocus(data);
  ::SendMessageA(data, EM_SETSEL, 0, -1);
  ::SendMessageA(data, EM_SCROLLCARET, 0, 0);
  return FALSE;  // the focus is set
}

// The template's bitmap has a white background; draw it masked on the dialog's face instead.
void CEditValueDlg::ShowIconOnFace() {
  HWND picture = GetDlgItem(IDB_VALUE_STRING);
  HIMAGELIST images = ImageList_LoadImageA(GetModuleHandleA(nullptr),
                                           MAKEINTRESOURCEA(IDB_VALUE_STRING), kIconSize, 0,
                                           RGB(255, 255, 255), IMAGE_BITMAP, 0);
  if (picture == nullptr || images == nullptr) {
    if (images != nullptr) ImageList_Destroy(images);
    return;
  }
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  icon_ = CreateCompatibleBitmap(screen, kIconSize, kIconSize);
  ReleaseDC(nullptr, screen);
  HGDIOBJ previous = SelectObject(dc, icon_);
  RECT all = {0, 0, kIconSize, kIconSize};
  FillRect(dc, &all, GetSysColorBrush(COLOR_3DFACE));
  ImageList_Draw(images, 0, dc, 0, 0, ILD_TRANSPARENT);
  SelectObject(dc, previous);
  DeleteDC(dc);
  ImageList_Destroy(images);
  HANDLE replaced = reinterpret_cast<HANDLE>(::SendMessageA(
      picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(icon_)));
  if (replaced != nullptr && replaced != icon_) DeleteObject(replaced);
}

void CEditValueDlg::OnOK() {
  HWND data = GetDlgItem(IDC_VALUE_DATA);
  std::string text(GetWindowTextLengthA(data) + 1, '\0');
  text.resize(::GetWindowTextA(data, &text[0], static_cast<int>(text.size())));
  data_ = text;
  EndDialog(IDOK);
}
