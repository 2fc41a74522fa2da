#include "mainwindow/type_lib_page.h"

#include "app/gui_platform.h"
#include "catalogue/type_library_check.h"
#include "mainwindow/clipboard.h"
#include "mainwindow/layout_hold.h"
#include "resources/resource.h"

namespace {

const int kGap = 4;
const int kStatusHeight = 30;
const int kButtonWidth = 80;
const int kButtonHeight = 24;

std::string WithCrLf(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

}  // namespace

CTypeLibPage::CTypeLibPage() : CDialog(IDD_TYPELIB_PAGE) {}

CTypeLibPage::~CTypeLibPage() {
  DestroyWindow();
  if (fixed_font_ != nullptr) DeleteObject(fixed_font_);
}

BOOL CTypeLibPage::OnInitDialog() {
  CDialog::OnInitDialog();
  tree_.SubclassDlgItem(IDC_TYPELIB_TREE, this);
  fixed_font_ = CreateFontA(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                            FIXED_PITCH | FF_MODERN, "Courier New");
  ::SendMessageA(GetDlgItem(IDC_TYPELIB_IDL), WM_SETFONT, reinterpret_cast<WPARAM>(fixed_font_), FALSE);
  EnableWindow(GetDlgItem(IDC_TYPELIB_COPY), FALSE);
  return FALSE;
}

void CTypeLibPage::Show(const corvane::CRegisteredObject& record) {
  clsid_ = record.clsid();
  type_lib_ = record.ReadClassValue("TypeLib");
  version_ = record.ReadClassValue("Version");
  stale_ = true;
  Empty();
  if (IsWindowVisible(hwnd_)) LoadIfStale();
}

void CTypeLibPage::Clear() {
  clsid_.clear();
  stale_ = false;
  Empty();
}

void CTypeLibPage::Empty() {
  if (hwnd_ == nullptr) return;
  tree_.DeleteAllItems();
  idl_.clear();
  ShowIdl(nullptr);
  SetDlgItemTextA(hwnd_, IDC_TYPELIB_STATUS, "");
}

void CTypeLibPage::LoadIfStale() {
  if (!stale_ || hwnd_ == nullptr) return;
  stale_ = false;
  HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  const corvane::TypeLibCheck check =
      corvane::CheckTypeLibrary(GuiPlatform(), type_lib_, version_, true);
  SetDlgItemTextA(hwnd_, IDC_TYPELIB_STATUS, corvane::TypeLibSentence(check).c_str());
  if (check.state == corvane::TypeLibState::kOk) {
    ::SendMessageA(tree_, WM_SETREDRAW, FALSE, 0);
    HTREEITEM selected = nullptr;
    const corvane::TypeLibNode root = corvane::BuildTypeLibTree(check.library, clsid_);
    HTREEITEM top = Insert(root, TVI_ROOT, &selected);
    tree_.Expand(top, TVE_EXPAND);
    ::SendMessageA(tree_, WM_SETREDRAW, TRUE, 0);
    tree_.SelectItem(selected != nullptr ? selected : top);
    TreeView_EnsureVisible(tree_, top);
  }
  SetCursor(previous);
}

HTREEITEM CTypeLibPage::Insert(const corvane::TypeLibNode& node, HTREEITEM parent, HTREEITEM* selected) {
  TVINSERTSTRUCTA insert = {};
  insert.hParent = parent;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_PARAM;
  insert.item.pszText = const_cast<char*>(node.text.c_str());
  insert.item.lParam = static_cast<LPARAM>(idl_.size());
  idl_.push_back(node.idl);
  HTREEITEM item = reinterpret_cast<HTREEITEM>(
      ::SendMessageA(tree_, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
  if (node.selected) *selected = item;
  for (const corvane::TypeLibNode& child : node.children) Insert(child, item, selected);
  return item;
}

void CTypeLibPage::ShowIdl(HTREEITEM item) {
  shown_idl_.clear();
  if (item != nullptr) {
    TVITEMA data = {};
    data.mask = TVIF_PARAM;
    data.hItem = item;
    if (::SendMessageA(tree_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data)) &&
        data.lParam >= 0 && static_cast<std::size_t>(data.lParam) < idl_.size())
      shown_idl_ = idl_[static_cast<std::size_t>(data.lParam)];
  }
  SetDlgItemTextA(hwnd_, IDC_TYPELIB_IDL, WithCrLf(shown_idl_).c_str());
  EnableWindow(GetDlgItem(IDC_TYPELIB_COPY), !shown_idl_.empty());
}

void CTypeLibPage::CopyIdl() {
  if (!shown_idl_.empty()) CopyTextToClipboard(WithCrLf(shown_idl_));
}

std::string CTypeLibPage::status_text() const {
  char text[2048] = "";
  GetDlgItemTextA(hwnd_, IDC_TYPELIB_STATUS, text, sizeof text);
  return text;
}

void CTypeLibPage::Layout(int width, int height) {
  if (tree_.GetSafeHwnd() == nullptr) return;
  const int tree_width = width * 2 / 5;
  const int body = height - kStatusHeight;
  MoveWindow(GetDlgItem(IDC_TYPELIB_STATUS), kGap, 2, width - 2 * kGap, kStatusHeight - 4, TRUE);
  MoveWindow(tree_, 0, kStatusHeight, tree_width, body, TRUE);
  const int right = tree_width + kGap;
  MoveWindow(GetDlgItem(IDC_TYPELIB_IDL), right, kStatusHeight, width - right,
             body - kButtonHeight - kGap, TRUE);
  MoveWindow(GetDlgItem(IDC_TYPELIB_COPY), width - kButtonWidth, height - kButtonHeight,
             kButtonWidth, kButtonHeight, TRUE);
}

LRESULT CTypeLibPage::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lp);
      if (header->idFrom == IDC_TYPELIB_TREE &&
          (header->code == TVN_SELCHANGEDA || header->code == TVN_SELCHANGEDW)) {
        ShowIdl(reinterpret_cast<NMTREEVIEWA*>(lp)->itemNew.hItem);
        return 0;
      }
      break;
    }
    case WM_COMMAND:
      if (LOWORD(wp) == IDC_TYPELIB_COPY && HIWORD(wp) == BN_CLICKED) {
        CopyIdl();
        return 0;
      }
      break;
    case WM_SIZE: {
      LRESULT result = CDialog::WindowProc(msg, wp, lp);
      if (!LayoutHeld()) Layout(LOWORD(lp), HIWORD(lp));
      return result;
    }
    default:
      break;
  }
  return CDialog::WindowProc(msg, wp, lp);
}
