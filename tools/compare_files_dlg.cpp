#include "tools/compare_files_dlg.h"

#include <commdlg.h>

#include "app/gui_platform.h"
#include "app/shell_tools.h"
#include "resources/resource.h"
#include "tools/file_comparison.h"

namespace {

const DWORD kHelpContext = 101;
const int kFileAttributeImage = 0;
const int kVersionAttributeImage = 1;
const int kDifferentImage = 2;
const int kLastFileAttribute = 10;

// The filter's description and pattern, each ending in a zero, then the closing zero.
const char kFilter[] = "COM Files(*.OCX,*.DLL, *.EXE)\0*.OCX;*.DLL;*.EXE\0";

int RowImage(const corvane::ComparedAttribute& row) {
  if (!row.equal) return kDifferentImage;
  return row.index > kLastFileAttribute ? kVersionAttributeImage : kFileAttributeImage;
}

}  // namespace

CCompareFilesDlg::CCompareFilesDlg(const std::string& first_path, CWnd* parent)
    : CDialog(IDD_COMPARE_FILES, parent), first_path_(first_path) {}

CCompareFilesDlg::~CCompareFilesDlg() { DestroyWindow(); }

BOOL CCompareFilesDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  results_.SubclassDlgItem(IDC_COMPARE_RESULTS, this);
  images_.Create({IDB_FILE_FACT, IDB_VERSION_STRING, IDB_MISSING_FILE});
  results_.SetImageList(images_.handle(), LVSIL_SMALL);
  RECT frame = {};
  GetWindowRect(results_, &frame);
  const int width = frame.right - frame.left;
  results_.InsertColumn(0, "Attribute", LVCFMT_LEFT, width / 4);
  results_.InsertColumn(1, "File 1", LVCFMT_LEFT, width * 35 / 100);
  results_.InsertColumn(2, "File 2", LVCFMT_LEFT, width * 35 / 100);
  SetDlgItemTextA(hwnd_, IDC_COMPARE_FIRST, first_path_.c_str());
  ::SetFocus(GetDlgItem(IDC_COMPARE_SECOND));
  return FALSE;  // the focus is set
}

void CCompareFilesDlg::CompareWith(const std::string& path) {
  corvane::FileComparison comparison = corvane::CompareComFiles(GuiPlatform(), first_path_, path);
  results_.DeleteAllItems();
  for (const corvane::ComparedAttribute& row : comparison.rows) {
    int item = results_.InsertItem(results_.GetItemCount(), row.label, RowImage(row));
    results_.SetItemText(item, 1, row.first);
    results_.SetItemText(item, 2, row.second);
  }
  SetDlgItemTextA(hwnd_, IDC_COMPARE_RESULT_TEXT,
                  comparison.identical ? "Files have identical attributes."
                                       : "Files have differnet attributes.");
}

void CCompareFilesDlg::OnBrowse() {
  char file[259] = "";
  char folder[MAX_PATH] = "";
  GetSystemDirectoryA(folder, sizeof folder);
  OPENFILENAMEA open = {};
  open.lStructSize = sizeof open;
  open.hwndOwner = hwnd_;
  open.lpstrFilter = kFilter;
  open.nFilterIndex = 1;
  open.lpstrFile = file;
  open.nMaxFile = sizeof file;
  open.lpstrInitialDir = folder;
  open.lpstrTitle = "Compared COM File";
  open.Flags = OFN_FILEMUSTEXIST | OFN_EXPLORER;
  if (!GetOpenFileNameA(&open)) return;
  SetDlgItemTextA(hwnd_, IDC_COMPARE_SECOND, file);
  CompareWith(file);
}

void CCompareFilesDlg::OnHelp() { HelpOnDialog(kHelpContext); }

LRESULT CCompareFilesDlg::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED) {
    switch (LOWORD(wp)) {
      case IDC_COMPARE_BROWSE:
        OnBrowse();
        return 0;
      case IDC_COMPARE_HELP:
        OnHelp();
        return 0;
      default:
        break;
    }
  }
  return CDialog::WindowProc(msg, wp, lp);
}
