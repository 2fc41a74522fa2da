#include "tools/missing_dependencies_dlg.h"

#include <commctrl.h>

#include <cstdio>

#include "app/gui_platform.h"
#include "app/shell_tools.h"
#include "mainwindow/object_list_rules.h"
#include "resources/resource.h"
#include "catalogue/type_library_check.h"

namespace {

const DWORD kHelpContext = 104;

}  // namespace

CMissingDependenciesDlg::CMissingDependenciesDlg(CObjectListCtrl& list, const std::string& category,
                                                 CWnd* parent)
    : CMissingDependenciesDlg(IDD_MISSING_DEPENDENCIES, "Find Missing Dependencies for ",
                              corvane::kImageMissingDependency, kHelpContext, list, category, parent) {}

CMissingDependenciesDlg::CMissingDependenciesDlg(UINT template_id, const char* caption, int marker,
                                                 DWORD help_context, CObjectListCtrl& list,
                                                 const std::string& category, CWnd* parent)
    : CDialog(template_id, parent),
      caption_(caption),
      marker_(marker),
      help_context_(help_context),
      category_(category),
      list_(&list) {}

bool CMissingDependenciesDlg::IsFound(const corvane::CRegisteredObject& record) {
  if (!search_) search_ = std::make_unique<corvane::MissingDependencySearch>(
        GuiPlatform().files, GuiPlatform().modules);
  return search_->IsMissingDependency(record);
}

CBrokenTypeLibsDlg::CBrokenTypeLibsDlg(CObjectListCtrl& list, const std::string& category, CWnd* parent)
    : CMissingDependenciesDlg(IDD_BROKEN_TYPELIBS, "Find Broken Type Libraries for ",
                              corvane::kImageBrokenTypeLib, kHelpContext, list, category, parent) {}

bool CBrokenTypeLibsDlg::IsFound(const corvane::CRegisteredObject& record) {
  return corvane::IsBroken(record.CheckTypeLib().state);
}

CMissingDependenciesDlg::~CMissingDependenciesDlg() { DestroyWindow(); }

BOOL CMissingDependenciesDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  progress_ = GetDlgItem(IDC_MISSING_PROGRESS);
  SetWindowText(caption_ + category_);
  SetDlgItemTextA(hwnd_, IDC_MISSING_CATEGORY, category_.c_str());
  return TRUE;
}

void CMissingDependenciesDlg::ShowCount(int id, long count) {
  char text[32];
  std::snprintf(text, sizeof text, "%ld", count);
  SetDlgItemTextA(hwnd_, id, text);
  // The search does not return to the message loop until it ends.
  UpdateWindow(GetDlgItem(id));
}

void CMissingDependenciesDlg::Search() {
  EnableWindow(GetDlgItem(IDOK), FALSE);
  EnableWindow(GetDlgItem(IDC_MISSING_SEARCH), FALSE);
  {
    const corvane::Platform& platform = GuiPlatform();
    corvane::WaitCursor wait(platform.notice);
    ::SendMessageA(progress_, PBM_SETRANGE32, 0, list_->RowCount());
    ::SendMessageA(progress_, PBM_SETPOS, 0, 0);
    ::SendMessageA(progress_, PBM_SETSTEP, 1, 0);
    long processed = 0;
    long found = 0;
    for (int i = 0; i < list_->RowCount(); ++i) {
      const corvane::CRegisteredObject* record = list_->RecordAt(i);
      if (record != nullptr && IsFound(*record)) {
        list_->SetImage(i, marker_);
        ShowCount(IDC_MISSING_FOUND, ++found);
      }
      ShowCount(IDC_MISSING_PROCESSED, ++processed);
      ::SendMessageA(progress_, PBM_STEPIT, 0, 0);
    }
    MessageBeep(0xFFFFFFFF);
  }
  EnableWindow(GetDlgItem(IDOK), TRUE);
  // The disabled Search button held the focus and the default: both go to Close.
  ::SendMessageA(hwnd_, DM_SETDEFID, IDOK, 0);
  ::SendMessageA(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(IDOK)), TRUE);
}

LRESULT CMissingDependenciesDlg::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED) {
    switch (LOWORD(wp)) {
      case IDC_MISSING_SEARCH:
        Search();
        return 0;
      case IDC_MISSING_HELP:
        HelpOnDialog(help_context_);
        return 0;
      default:
        break;
    }
  }
  return CDialog::WindowProc(msg, wp, lp);
}
