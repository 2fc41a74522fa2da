#include "tools/inventory_report_dlg.h"

#include <commctrl.h>

#include <utility>

#include "app/gui_platform.h"
#include "app/shell_tools.h"
#include "catalogue/attributes.h"
#include "framework/list_ctrl.h"
#include "framework/win_app.h"
#include "resources/resource.h"
#include "tools/inventory_report.h"
#include "tools/report_file.h"

namespace {

const DWORD kHelpContext = 103;
const char* const kFormats[] = {"HTML (Formated)", "HTML (Plain)", "Text (Comma Delimited)"};

bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

}  // namespace

CInventoryReportDlg::CInventoryReportDlg(std::vector<corvane::CRegisteredObject*> records,
                                         const std::string& category,
                                         const std::string& computer, CWnd* parent)
    : CDialog(IDD_INVENTORY_REPORT, parent),
      records_(std::move(records)),
      category_(category),
      computer_(computer) {}

CInventoryReportDlg::~CInventoryReportDlg() { DestroyWindow(); }

BOOL CInventoryReportDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  attributes_ = GetDlgItem(IDC_REPORT_ATTRIBUTES);
  progress_ = GetDlgItem(IDC_REPORT_PROGRESS);
  for (int index = 0; index < corvane::kAttributeCount; ++index) {
    const LRESULT at = ::SendMessageA(attributes_, LB_ADDSTRING, 0,
                                    reinterpret_cast<LPARAM>(corvane::AttributeLabel(index)));
    ::SendMessageA(attributes_, LB_SETITEMDATA, at, index);
  }
  SetWindowText(category_ + " Inventory Report");
  SetDlgItemTextA(hwnd_, IDC_REPORT_WELL_BEHAVED, ("Well behaved " + category_).c_str());
  SetDlgItemTextA(hwnd_, IDC_REPORT_MISBEHAVED, ("Misbehaved " + category_).c_str());
  CheckDlgButton(hwnd_, IDC_REPORT_WELL_BEHAVED, BST_CHECKED);
  CheckDlgButton(hwnd_, IDC_REPORT_MISBEHAVED, BST_CHECKED);
  HWND formats = GetDlgItem(IDC_REPORT_FORMAT);
  for (const char* format : kFormats)
    ::SendMessageA(formats, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(format));
  ::SendMessageA(formats, CB_SETCURSEL, corvane::kReportFormattedHtml, 0);
  EnableWindow(GetDlgItem(IDC_REPORT_REMOVE), FALSE);
  return TRUE;
}

void CInventoryReportDlg::RemoveSelectedAttributes() {
  const int selected_count = static_cast<int>(::SendMessageA(attributes_, LB_GETSELCOUNT, 0, 0));
  if (selected_count > 0) {
    std::vector<int> selected(selected_count);
    ::SendMessageA(attributes_, LB_GETSELITEMS, selected_count,
                 reinterpret_cast<LPARAM>(selected.data()));
    const int count = static_cast<int>(::SendMessageA(attributes_, LB_GETCOUNT, 0, 0));
    const corvane::AttributeRemoval removal = corvane::PlanAttributeRemoval(count, selected);
    for (int index : removal.deleted) ::SendMessageA(attributes_, LB_DELETESTRING, index, 0);
    if (removal.last_one_left) {
      MessageBeep(0xFFFFFFFF);
      AppMessageBox("There is only one attribute left in the list.\n"
                    "In order to generate a report at least one is required.",
                    MB_OK);
    }
    if (removal.select >= 0) {
      ::SendMessageA(attributes_, LB_SETSEL, TRUE, removal.select);
      ::SetFocus(attributes_);
    }
  }
  EnableWindow(GetDlgItem(IDC_REPORT_REMOVE),
               ::SendMessageA(attributes_, LB_GETSELCOUNT, 0, 0) > 0);
  EnableWindow(GetDlgItem(IDC_REPORT_GENERATE), ::SendMessageA(attributes_, LB_GETCOUNT, 0, 0) > 0);
}

void CInventoryReportDlg::OnFormatChange() {
  const LRESULT format = ::SendMessageA(GetDlgItem(IDC_REPORT_FORMAT), CB_GETCURSEL, 0, 0);
  EnableWindow(GetDlgItem(IDC_REPORT_DEPENDENCIES), format != corvane::kReportText);
}

void CInventoryReportDlg::ShowGenerating(bool generating) {
  const int show = generating ? SW_SHOW : SW_HIDE;
  ShowWindow(GetDlgItem(IDC_PROGRESS_LABEL), show);
  ShowWindow(progress_, show);
  if (generating) UpdateWindow(GetDlgItem(IDC_PROGRESS_LABEL));
  for (int id : {IDCANCEL, IDC_REPORT_HELP, IDC_REPORT_REMOVE})
    EnableWindow(GetDlgItem(id), !generating);
}

void CInventoryReportDlg::Generate() {
  ShowGenerating(true);
  const bool written = WriteReport();
  ShowGenerating(false);
  // Remove follows the list's selection, as after a removal.
  EnableWindow(GetDlgItem(IDC_REPORT_REMOVE),
               ::SendMessageA(attributes_, LB_GETSELCOUNT, 0, 0) > 0);
  if (!written) return;
  MessageBeep(0xFFFFFFFF);
  ShellOpen(report_path_);
}

bool CInventoryReportDlg::WriteReport() {
  const corvane::Platform& platform = GuiPlatform();
  corvane::WaitCursor wait(platform.notice);
  const std::string temporary = NewTemporaryReportFile();
  if (temporary.empty()) return false;

  corvane::InventoryChoices choices;
  choices.format = static_cast<int>(::SendMessageA(GetDlgItem(IDC_REPORT_FORMAT), CB_GETCURSEL, 0, 0));
  choices.well_behaved = Checked(hwnd_, IDC_REPORT_WELL_BEHAVED);
  choices.misbehaved = Checked(hwnd_, IDC_REPORT_MISBEHAVED);
  choices.dependencies = Checked(hwnd_, IDC_REPORT_DEPENDENCIES);
  const int count = static_cast<int>(::SendMessageA(attributes_, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i)
    choices.attributes.push_back(static_cast<int>(::SendMessageA(attributes_, LB_GETITEMDATA, i, 0)));
  const corvane::ReportPageInfo info{category_,
                                     computer_,
                                     corvane::TodayReportDate(),
                                     CurrentDirectoryText(),
                                     LoadResourceString(IDS_MAKER_WEB_ADDRESS),
                                     corvane::ReportViewTitle(platform.registry)};

  ::SendMessageA(progress_, PBM_SETRANGE32, 0, records_.empty() ? 0 : records_.size() - 1);
  ::SendMessageA(progress_, PBM_SETPOS, 0, 0);
  const std::string text = corvane::WriteInventoryReport(
      platform, records_, choices, info,
      [this](std::size_t i) { ::SendMessageA(progress_, PBM_SETPOS, i, 0); });
  return WriteReportFile(temporary, corvane::ReportExtension(choices.format), text,
                         &report_path_);
}

LRESULT CInventoryReportDlg::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND) {
    switch (LOWORD(wp)) {
      case IDC_REPORT_REMOVE:
        if (HIWORD(wp) == BN_CLICKED) RemoveSelectedAttributes();
        return 0;
      case IDC_REPORT_ATTRIBUTES:
        if (HIWORD(wp) == LBN_DBLCLK) RemoveSelectedAttributes();
        if (HIWORD(wp) == LBN_SELCHANGE) {
          EnableWindow(GetDlgItem(IDC_REPORT_REMOVE),
                       ::SendMessageA(attributes_, LB_GETSELCOUNT, 0, 0) > 0);
        }
        return 0;
      case IDC_REPORT_FORMAT:
        if (HIWORD(wp) == CBN_SELCHANGE) OnFormatChange();
        return 0;
      case IDC_REPORT_GENERATE:
        if (HIWORD(wp) == BN_CLICKED) Generate();
        return 0;
      case IDC_REPORT_HELP:
        if (HIWORD(wp) == BN_CLICKED) HelpOnDialog(kHelpContext);
        return 0;
      default:
        break;
    }
  }
  return CDialog::WindowProc(msg, wp, lp);
}
