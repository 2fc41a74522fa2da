#include "app/options_dlg.h"

#include "app/shell_tools.h"
#include "resources/resource.h"

namespace {

constexpr int kHelpButton = 3;
constexpr DWORD kHelpContext = 102;

struct ListEntries {
  int id;
  const char* texts[4];
};

// Each entry's position is the value it stands for. Only the register list's beep has no
// full stop.
const ListEntries kLists[] = {
    {IDC_DISPLAY_IN_LIST, {"ProgID", "CLSID", "File Location", "TypeLib Name"}},
    {IDC_AFTER_REGISTER,
     {"Display a confirmation screen and wait for the user to press OK.",
      "Display a confirmation screen for a few seconds.", "Make a beep", "Don't do anything."}},
    {IDC_AFTER_UNREGISTER,
     {"Display a confirmation screen and wait for the user to press OK.",
      "Display a confirmation screen for a few seconds.", "Make a beep.", "Don't do anything."}},
    {IDC_AFTER_REMOVE,
     {"Display a confirmation screen and wait for the user to press OK.",
      "Display a confirmation screen for a few seconds.", "Make a beep.", "Don't do anything."}},
};

}  // namespace

COptionsDlg::COptionsDlg(corvane::Settings& settings, CWnd* parent)
    : CDialog(IDD_OPTIONS, parent), settings_(settings) {}

BOOL COptionsDlg::OnInitDialog() {
  // The lists need their entries before the values select them.
  FillLists();
  return CDialog::OnInitDialog();
}

void COptionsDlg::FillLists() {
  for (const ListEntries& list : kLists) {
    HWND combo = GetDlgItem(list.id);
    ::SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    for (const char* text : list.texts)
      ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  }
}

void COptionsDlg::DoDataExchange(CDataExchange* dx) {
  DDX_CBIndex(dx, IDC_DISPLAY_IN_LIST, settings_.display_in_list);
  DDX_Check(dx, IDC_DISPLAY_INSTALLED, settings_.display_installed);
  DDX_Check(dx, IDC_DISPLAY_MISSING, settings_.display_missing);
  DDX_CBIndex(dx, IDC_AFTER_REGISTER, settings_.after_register);
  DDX_CBIndex(dx, IDC_AFTER_UNREGISTER, settings_.after_unregister);
  DDX_CBIndex(dx, IDC_AFTER_REMOVE, settings_.after_remove);
}

LRESULT COptionsDlg::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND && LOWORD(wp) == kHelpButton && HIWORD(wp) == BN_CLICKED) {
    OnHelp();
    return 0;
  }
  return CDialog::WindowProc(msg, wp, lp);
}

void COptionsDlg::OnHelp() { HelpOnDialog(kHelpContext); }
