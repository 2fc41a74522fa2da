#include "mainwindow/registry_page.h"

#include "app/gui_platform.h"
#include "app/message_dlg.h"
#include "mainwindow/clipboard.h"
#include "mainwindow/edit_value_dlg.h"
#include "mainwindow/layout_hold.h"
#include "resources/resource.h"

namespace {

const COLORREF kMaskColour = RGB(255, 255, 255);
const int kInitialColumnWidth = 50;
const int kHeadingMargin = 16;
const int kListGap = 4;

void AddMaskedBitmap(HIMAGELIST images, UINT id) {
  HBITMAP bitmap = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id));
  if (bitmap == nullptr) return;
  ImageList_AddMasked(images, bitmap, kMaskColour);
  DeleteObject(bitmap);
}

}  // namespace

CRegistryPage::CRegistryPage() : CDialog(IDD_REGISTRY_PAGE) {}

CRegistryPage::~CRegistryPage() {
  // The controls go before the image list they draw from.
  DestroyWindow();
  if (images_ != nullptr) ImageList_Destroy(images_);
}

void CRegistryPage::BuildImageList() {
  images_ = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 4, 0);
  for (UINT id : {IDB_KEY, IDB_KEY_SELECTED, IDB_VALUE_STRING, IDB_VALUE_OTHER})
    AddMaskedBitmap(images_, id);
}

BOOL CRegistryPage::OnInitDialog() {
  CDialog::OnInitDialog();
  tree_.SubclassDlgItem(IDC_KEY_TREE, this);
  values_.SubclassDlgItem(IDC_VALUE_LIST, this);
  BuildImageList();
  tree_.SetImageList(images_, TVSIL_NORMAL);
  values_.SetImageList(images_, LVSIL_SMALL);
  values_.InsertColumn(0, "Value", LVCFMT_LEFT, kInitialColumnWidth);
  values_.InsertColumn(1, "Data", LVCFMT_LEFT, kInitialColumnWidth);
  return TRUE;
}

void CRegistryPage::Clear() {
  tree_.DeleteAllItems();
  values_.DeleteAllItems();
  listed_.clear();
  value_written_ = nullptr;
}

std::string CRegistryPage::KeyPathOf(HTREEITEM item) const {
  const HTREEITEM top = TreeView_GetRoot(tree_);
  std::string path = tree_.GetItemText(item);
  // A stray item outside the top item's branch stops at the tree's root.
  for (HTREEITEM parent = TreeView_GetParent(tree_, item); parent != nullptr && parent != top;
       parent = TreeView_GetParent(tree_, parent))
    path = tree_.GetItemText(parent) + "\\" + path;
  return path;
}

void CRegistryPage::ListValues(HTREEITEM item) {
  values_.DeleteAllItems();
  listed_.clear();
  if (item == nullptr || item == TreeView_GetRoot(tree_)) return;
  key_path_ = KeyPathOf(item);
  listed_ = corvane::ReadKeyValues(GuiPlatform().registry, key_path_);
  for (std::size_t index = 0; index < listed_.size(); ++index) {
    const corvane::ListedValue& value = listed_[index];
    LVITEMA row = {};
    row.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    row.iItem = static_cast<int>(index);  // the list sorts the rows by name itself
    row.pszText = const_cast<char*>(value.shown_name.c_str());
    row.iImage = value.image;
    row.lParam = static_cast<LPARAM>(index);
    int inserted = static_cast<int>(values_.SendMessage(LVM_INSERTITEMA, 0,
                                                        reinterpret_cast<LPARAM>(&row)));
    if (inserted >= 0) values_.SetItemText(inserted, 1, value.data_text);
  }
  SizeColumns();
}

const corvane::ListedValue* CRegistryPage::ValueAt(int row) const {
  if (row < 0) return nullptr;
  LVITEMA item = {};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  if (!values_.GetItem(&item)) return nullptr;
  const auto index = static_cast<std::size_t>(item.lParam);
  return index < listed_.size() ? &listed_[index] : nullptr;
}

void CRegistryPage::EditValue(int row) {
  const corvane::ListedValue* listed = ValueAt(row);
  if (listed == nullptr) return;
  const corvane::ListedValue value = *listed;  // the rows are listed again below
  if (value.too_large) {
    // Its text only gives the size: written back, it would replace the value.
    ShowMessage(corvane::TooLargeMessage(value.shown_name));
    return;
  }
  if (!corvane::IsStringType(value.type)) {
    ShowMessage(corvane::NotAStringMessage(value.shown_name));
    return;
  }
  std::string text = values_.GetItemText(row, 1);
  CEditValueDlg dialog(value.shown_name, text, this);
  if (dialog.DoModal() != IDOK) return;
  std::string failure;
  if (!corvane::WriteEditedValue(GuiPlatform().registry, key_path_, value, text, &failure))
    ShowMessage(failure);
  else if (value_written_)
    value_written_();
  ListValues(tree_.GetSelectedItem());
}

void CRegistryPage::CopySelectedValue() {
  const int row = values_.GetNextItem(-1, LVNI_SELECTED);
  if (row >= 0) CopyTextToClipboard(values_.GetItemText(row, 1));
}

void CRegistryPage::ShowContextMenu(POINT client_point) {
  POINT screen = client_point;
  ClientToScreen(values_, &screen);
  HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_VALUE_MENU));
  if (menu == nullptr) return;
  TrackPopupMenu(GetSubMenu(menu, 0), TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, 0,
                 hwnd_, nullptr);
  DestroyMenu(menu);
}

void CRegistryPage::SizeColumns() {
  // The names' width, but never narrower than the heading.
  values_.SendMessage(LVM_SETCOLUMNWIDTH, 0, LVSCW_AUTOSIZE);
  const int names = static_cast<int>(values_.SendMessage(LVM_GETCOLUMNWIDTH, 0));
  const int heading = static_cast<int>(values_.SendMessage(
                          LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>("Value"))) +
                      kHeadingMargin;
  if (names < heading) values_.SendMessage(LVM_SETCOLUMNWIDTH, 0, heading);
  values_.SendMessage(LVM_SETCOLUMNWIDTH, 1, LVSCW_AUTOSIZE_USEHEADER);
}

void CRegistryPage::Layout(int width, int height) {
  if (tree_.GetSafeHwnd() == nullptr || values_.GetSafeHwnd() == nullptr) return;
  const int tree_width = static_cast<int>(0.45 * width);
  const int list_width = static_cast<int>(0.55 * width) - kListGap;
  MoveWindow(tree_, 0, 0, tree_width, height, TRUE);
  MoveWindow(values_, tree_width + kListGap, 0, list_width > 0 ? list_width : 0, height, TRUE);
  SizeColumns();
}

bool CRegistryPage::OnNotify(const NMHDR* header) {
  if (header->idFrom == IDC_KEY_TREE &&
      (header->code == TVN_SELCHANGEDA || header->code == TVN_SELCHANGEDW)) {
    // Both forms carry the new item at the same place.
    ListValues(reinterpret_cast<const NMTREEVIEWA*>(header)->itemNew.hItem);
    return true;
  }
  if (header->idFrom != IDC_VALUE_LIST) return false;
  const auto* click = reinterpret_cast<const NMITEMACTIVATE*>(header);
  if (header->code == NM_DBLCLK) {
    EditValue(click->iItem);
    return true;
  }
  if (header->code == NM_RCLICK) {
    ShowContextMenu(click->ptAction);
    return true;
  }
  return false;
}

LRESULT CRegistryPage::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_NOTIFY:
      if (OnNotify(reinterpret_cast<const NMHDR*>(lp))) return 0;
      break;
    case WM_COMMAND:
      if (lp == 0 && LOWORD(wp) == ID_EDIT_VALUE) {
        EditValue(values_.GetNextItem(-1, LVNI_SELECTED));
        return 0;
      }
      if (lp == 0 && LOWORD(wp) == ID_COPY_VALUE) {
        CopySelectedValue();
        return 0;
      }
      break;
    default:
      break;
  }
  LRESULT result = CDialog::WindowProc(msg, wp, lp);
  if (msg == WM_SIZE && !LayoutHeld()) Layout(LOWORD(lp), HIWORD(lp));
  return result;
}
