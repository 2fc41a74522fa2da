#include "tools/compare_computers_dlg.h"

#include "app/gui_platform.h"
#include "app/shell_tools.h"
#include "resources/resource.h"
#include "tools/compare_results_dlg.h"
#include "tools/computer_images.h"
#include "tools/computers_dlg.h"

namespace {

const DWORD kHelpContext = 105;

}  // namespace

CCompareComputersDlg::CCompareComputersDlg(
    const std::vector<corvane::CRegisteredObject*>& records, const std::string& category,
    std::vector<std::string>& computers, CWnd* parent)
    : CDialog(IDD_COMPARE_COMPUTERS, parent),
      records_(records),
      category_(category),
      computer_names_(computers) {}

CCompareComputersDlg::~CCompareComputersDlg() {
  DestroyWindow();
  if (images_ != nullptr) ImageList_Destroy(images_);
}

BOOL CCompareComputersDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetDlgItemTextA(hwnd_, IDC_COMPARE_CATEGORY, category_.c_str());
  objects_.SubclassDlgItem(IDC_COMPARE_OBJECTS, this);
  computer_list_.SubclassDlgItem(IDC_COMPUTER_LIST, this);
  images_ = MakeComputerImages({IDB_CONTROL, IDB_COMPUTER});
  objects_.SetImageList(images_, LVSIL_SMALL);
  computer_list_.SetImageList(images_, LVSIL_SMALL);
  objects_.InsertColumn(0, category_.c_str());
  for (const corvane::CRegisteredObject* record : records_)
    objects_.InsertItem(objects_.GetItemCount(), record->GetName(), kControlImage);
  objects_.SendMessage(LVM_SETCOLUMNWIDTH, 0, LVSCW_AUTOSIZE_USEHEADER);
  computer_list_.InsertColumn(0, "Computers");
  FillComputers();
  return TRUE;
}

void CCompareComputersDlg::FillComputers() {
  computer_list_.DeleteAllItems();
  for (const std::string& name : computer_names_)
    computer_list_.InsertItem(computer_list_.GetItemCount(), name, kComputerImage);
  computer_list_.SendMessage(LVM_SETCOLUMNWIDTH, 0, LVSCW_AUTOSIZE_USEHEADER);
  EnableWindow(GetDlgItem(IDC_COMPARE_COMPUTERS), !computer_names_.empty());
}

void CCompareComputersDlg::OnAddRemove() {
  CComputersDlg computers(computer_names_, this);
  if (computers.DoModal() == IDOK) FillComputers();
}

void CCompareComputersDlg::OnCompare() {
  CCompareResultsDlg results(records_, computer_names_, category_, GuiPlatform().registry, this);
  results.DoModal();
}

LRESULT CCompareComputersDlg::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED) {
    switch (LOWORD(wp)) {
      case IDC_COMPARE_COMPUTERS:
        OnCompare();
        return 0;
      case IDC_COMPUTERS_ADD_REMOVE:
        OnAddRemove();
        return 0;
      case IDC_COMPARE_COMPUTERS_HELP:
        HelpOnDialog(kHelpContext);
        return 0;
      default:
        break;
    }
  }
  if (msg == WM_NOTIFY) {
    const auto* header = reinterpret_cast<const NMHDR*>(lp);
    if (header->idFrom == IDC_COMPUTER_LIST && header->code == NM_DBLCLK) {
      OnAddRemove();
      return 0;
    }
  }
  return CDialog::WindowProc(msg, wp, lp);
}
