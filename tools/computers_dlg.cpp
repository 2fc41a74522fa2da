#include "tools/computers_dlg.h"

#include "resources/resource.h"
#include "tools/computer_images.h"
#include "tools/gui_network.h"
#include "tools/network_discovery.h"

CComputersDlg::CComputersDlg(std::vector<std::string>& computers, CWnd* parent)
    : CDialog(IDD_COMPUTERS, parent), computers_(computers) {}

CComputersDlg::~CComputersDlg() {
  DestroyWindow();
  if (images_ != nullptr) ImageList_Destroy(images_);
}

BOOL CComputersDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  list_.SubclassDlgItem(IDC_COMPUTER_LIST, this);
  images_ = MakeComputerImages({IDB_COMPUTER});
  list_.SetImageList(images_, LVSIL_SMALL);
  list_.InsertColumn(0, "Computer");
  list_.SendMessage(LVM_SETCOLUMNWIDTH, 0, LVSCW_AUTOSIZE_USEHEADER);
  for (const std::string& name : computers_)
    list_.InsertItem(list_.GetItemCount(), name, 0);
  UpdateButtons();
  return TRUE;
}

std::vector<std::string> CComputersDlg::Names() const {
  std::vector<std::string> names;
  for (int i = 0; i < list_.GetItemCount(); ++i) names.push_back(list_.GetItemText(i, 0));
  return names;
}

void CComputersDlg::UpdateButtons() {
  EnableWindow(GetDlgItem(IDC_COMPUTER_REMOVE), list_.GetSelectedCount() > 0);
  EnableWindow(GetDlgItem(IDOK), list_.GetItemCount() > 0);
}

void CComputersDlg::OnAdd() {
  std::string browsed;
  if (GuiNetwork().BrowseForComputer(reinterpret_cast<std::uintptr_t>(hwnd_),
                                     "Please Select Computer", &browsed)) {
    const std::string name = corvane::AcceptedComputerName(browsed, LocalComputerName(), Names());
    if (!name.empty()) list_.InsertItem(list_.GetItemCount(), name, 0);
  }
  UpdateButtons();
}

void CComputersDlg::OnRemove() {
  const int selected = list_.GetNextItem(-1, LVNI_SELECTED);
  if (selected >= 0) list_.SendMessage(LVM_DELETEITEM, selected);
  ::SetFocus(list_);
  UpdateButtons();
}

void CComputersDlg::OnOK() {
  if (list_.GetItemCount() == 0) return;
  computers_ = Names();
  EndDialog(IDOK);
}

LRESULT CComputersDlg::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED) {
    switch (LOWORD(wp)) {
      case IDC_COMPUTER_ADD:
        OnAdd();
        return 0;
      case IDC_COMPUTER_REMOVE:
        OnRemove();
        return 0;
      default:
        break;
    }
  }
  if (msg == WM_NOTIFY) {
    const auto* header = reinterpret_cast<const NMHDR*>(lp);
    if (header->idFrom == IDC_COMPUTER_LIST && header->code == LVN_ITEMCHANGED) UpdateButtons();
  }
  return CDialog::WindowProc(msg, wp, lp);
}
