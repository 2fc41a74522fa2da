#include "tools/compare_results_dlg.h"

#include <ctime>

#include "app/gui_platform.h"
#include "app/shell_tools.h"
#include "framework/win_app.h"
#include "resources/resource.h"
#include "tools/comparison_report.h"
#include "tools/computer_images.h"
#include "tools/inventory_report.h"
#include "tools/gui_network.h"
#include "tools/report_file.h"
#include "widgets/dialog_layout.h"

namespace {

// Sent by the worker's threads, so that each lands while the user interface is between
// messages: a cell (wParam the record, lParam a CellText), a refit, the end.
const UINT kSetCellMessage = WM_APP + 1;
const UINT kFitColumnsMessage = WM_APP + 2;
const UINT kWorkerDoneMessage = WM_APP + 3;
const int kFirstComputerColumn = 2;
const DWORD kStopCheckMs = 10;

struct CellText {
  int column;
  const std::string* text;
};

class DialogSink : public corvane::ComparisonSink {
 public:
  explicit DialogSink(HWND dialog) : dialog_(dialog) {}
  void SetCell(std::size_t record, std::size_t computer, const std::string& text) override {
    CellText cell{static_cast<int>(computer) + kFirstComputerColumn, &text};
    SendMessageA(dialog_, kSetCellMessage, record, reinterpret_cast<LPARAM>(&cell));
  }
  void FitColumns() override { SendMessageA(dialog_, kFitColumnsMessage, 0, 0); }

 private:
  HWND dialog_;
};

corvane::ReportPageInfo PageInfo(const std::string& category) {
  corvane::ReportPageInfo info;
  info.category = category;
  info.computer = LocalComputerName();
  std::time_t now = std::time(nullptr);
  if (const std::tm* local = std::localtime(&now)) info.date = corvane::ReportDate(*local);
  info.current_dir = CurrentDirectoryText();
  info.site = LoadResourceString(IDS_MAKER_WEB_ADDRESS);
  info.view = corvane::ReportViewTitle(GuiPlatform().registry);
  return info;
}

}  // namespace

CCompareResultsDlg::CCompareResultsDlg(const std::vector<corvane::CRegisteredObject*>& records,
                                       const std::vector<std::string>& computers,
                                       const std::string& category, corvane::Registry& registry,
                                       CWnd* parent)
    : CDialog(IDD_COMPARE_RESULTS, parent),
      category_(category),
      records_(records),
      computers_(computers),
      registry_(registry) {}

CCompareResultsDlg::~CCompareResultsDlg() {
  StopWorker();
  DestroyWindow();
  if (images_ != nullptr) ImageList_Destroy(images_);
}

BOOL CCompareResultsDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  HICON icon = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr),
                                             MAKEINTRESOURCEA(IDI_COMPARE_RESULTS), IMAGE_ICON,
                                             16, 16, LR_SHARED));
  SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  results_.SubclassDlgItem(IDC_COMPUTER_RESULTS, this);
  images_ = MakeComputerImages({IDB_CONTROL});
  results_.SetImageList(images_, LVSIL_SMALL);

  results_.InsertColumn(0, category_.c_str());
  results_.InsertColumn(1, "Local Version");
  for (std::size_t k = 0; k < computers_.size(); ++k)
    results_.InsertColumn(static_cast<int>(k) + kFirstComputerColumn, computers_[k].c_str());
  for (std::size_t i = 0; i < records_.size(); ++i) {
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = static_cast<int>(i);
    const std::string name = records_[i]->GetName();
    item.pszText = const_cast<char*>(name.c_str());
    item.iImage = kControlImage;
    item.lParam = static_cast<LPARAM>(i);
    results_.SendMessage(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
  }
  row_of_record_.resize(records_.size());
  for (std::size_t i = 0; i < records_.size(); ++i) {
    results_.SetItemText(static_cast<int>(i), 1, records_[i]->GetAttribute(1));
    row_of_record_[i] = static_cast<int>(i);
  }
  FitColumns();
  ready_ = true;
  StartWorker();
  return TRUE;
}

HANDLE CCompareResultsDlg::StartWorkerThread(LPTHREAD_START_ROUTINE main, void* argument) {
  return CreateThread(nullptr, 0, main, argument, 0, nullptr);
}

void CCompareResultsDlg::StartWorker() {
  comparing_ = true;
  worker_ = StartWorkerThread(WorkerMain, this);
  if (worker_ != nullptr) return;
  // Without a worker nothing can be reached: say so in every cell and allow the report.
  for (std::size_t k = 0; k < computers_.size(); ++k)
    for (int row = 0; row < results_.GetItemCount(); ++row)
      results_.SetItemText(row, static_cast<int>(k) + kFirstComputerColumn,
                           corvane::kConnectionFailureText);
  FitColumns();
  OnWorkerDone();
}

DWORD WINAPI CCompareResultsDlg::WorkerMain(void* argument) {
  auto* dialog = static_cast<CCompareResultsDlg*>(argument);
  HWND hwnd = dialog->GetSafeHwnd();
  DialogSink sink(hwnd);
  const std::vector<corvane::ComparedRecord> records = corvane::ComparedRecords(dialog->records_);
  corvane::CompareWithComputers(dialog->registry_, records, dialog->computers_, dialog->stop_,
                                sink);
  ::SendMessageA(hwnd, kWorkerDoneMessage, 0, 0);
  return 0;
}

void CCompareResultsDlg::OnWorkerDone() {
  comparing_ = false;
  EnableWindow(GetDlgItem(IDC_RESULTS_HTML), TRUE);
}

void CCompareResultsDlg::StopWorker() {
  if (worker_ == nullptr || stopping_) return;
  stopping_ = true;
  if (WaitForSingleObject(worker_, 0) == WAIT_TIMEOUT) {
    corvane::WaitCursor wait(GuiPlatform().notice);
    CDialog stop_window(IDD_STOP_SEARCH, this);
    if (stop_window.Create(this)) {
      ShowWindow(stop_window, SW_SHOW);
      UpdateWindow(stop_window);
    }
    stop_.fetch_add(1);
    bool quit = false;
    int quit_code = 0;
    // Wakes for the worker's end and for every message, the worker's sent ones included.
    while (MsgWaitForMultipleObjects(1, &worker_, FALSE, kStopCheckMs, QS_ALLINPUT) !=
           WAIT_OBJECT_0) {
      MSG msg;
      while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
          quit = true;
          quit_code = static_cast<int>(msg.wParam);
          continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
    }
    stop_window.DestroyWindow();
    if (quit) PostQuitMessage(quit_code);
  }
  CloseHandle(worker_);
  worker_ = nullptr;
  stopping_ = false;
}

void CCompareResultsDlg::FitColumns() {
  const int columns = static_cast<int>(computers_.size()) + kFirstComputerColumn;
  for (int column = 0; column < columns; ++column)
    results_.SendMessage(LVM_SETCOLUMNWIDTH, column, LVSCW_AUTOSIZE_USEHEADER);
}

int CCompareResultsDlg::RowOfRecord(std::size_t record) const {
  return record < row_of_record_.size() ? row_of_record_[record] : -1;
}

namespace {

// Rows carry their record's index; ranks hold each record's place in the sorted order.
int CALLBACK CompareRanks(LPARAM first, LPARAM second, LPARAM ranks) {
  const auto& rank = *reinterpret_cast<const std::vector<std::size_t>*>(ranks);
  const std::size_t a = rank[static_cast<std::size_t>(first)];
  const std::size_t b = rank[static_cast<std::size_t>(second)];
  return a < b ? -1 : (a > b ? 1 : 0);
}

}  // namespace

void CCompareResultsDlg::SortByColumn(int column) {
  corvane::WaitCursor wait(GuiPlatform().notice);
  std::vector<std::pair<std::size_t, std::string>> rows;
  for (int row = 0; row < results_.GetItemCount(); ++row) {
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    results_.GetItem(&item);
    rows.push_back({static_cast<std::size_t>(item.lParam), results_.GetItemText(row, column)});
  }
  const std::vector<std::size_t> order = corvane::SortedByText(std::move(rows));
  std::vector<std::size_t> rank(records_.size());
  for (std::size_t position = 0; position < order.size(); ++position) {
    rank[order[position]] = position;
    row_of_record_[order[position]] = static_cast<int>(position);
  }
  results_.SendMessage(LVM_SORTITEMS, reinterpret_cast<WPARAM>(&rank),
                       reinterpret_cast<LPARAM>(&CompareRanks));
}

std::string CCompareResultsDlg::WriteReport() {
  const std::string temporary = NewTemporaryReportFile();
  if (temporary.empty()) return std::string();
  std::vector<std::vector<std::string>> rows;
  const int columns = static_cast<int>(computers_.size()) + kFirstComputerColumn;
  for (int row = 0; row < results_.GetItemCount(); ++row) {
    std::vector<std::string> texts;
    for (int column = 0; column < columns; ++column)
      texts.push_back(results_.GetItemText(row, column));
    rows.push_back(std::move(texts));
  }
  const std::string report = corvane::ComparisonReport(PageInfo(category_), computers_, rows);
  std::string path;
  if (!WriteReportFile(temporary, ".htm", report, &path)) return std::string();
  report_path_ = path;
  return path;
}

void CCompareResultsDlg::OnHtml() {
  corvane::WaitCursor wait(GuiPlatform().notice);
  const std::string path = WriteReport();
  if (!path.empty()) ShellOpen(path);
}

void CCompareResultsDlg::OnOK() { OnCancel(); }

void CCompareResultsDlg::OnCancel() {
  StopWorker();
  EndDialog(IDCANCEL);
}

LRESULT CCompareResultsDlg::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case kSetCellMessage: {
      const auto* cell = reinterpret_cast<const CellText*>(lp);
      const int row = RowOfRecord(static_cast<std::size_t>(wp));
      if (row >= 0) results_.SetItemText(row, cell->column, *cell->text);
      return 0;
    }
    case kFitColumnsMessage:
      FitColumns();
      return 0;
    case kWorkerDoneMessage:
      OnWorkerDone();
      return 0;
    case WM_SIZE:
      if (ready_ && wp != SIZE_MINIMIZED && LOWORD(lp) > 0 && HIWORD(lp) > 0) {
        ApplyLayoutRules(hwnd_, corvane::CompareResultsLayoutRules());
        FitColumns();
      }
      break;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lp);
      if (header->idFrom == IDC_COMPUTER_RESULTS && header->code == LVN_COLUMNCLICK) {
        SortByColumn(reinterpret_cast<const NMLISTVIEW*>(lp)->iSubItem);
        return 0;
      }
      break;
    }
    case WM_COMMAND:
      if (LOWORD(wp) == IDC_RESULTS_HTML && HIWORD(wp) == BN_CLICKED) {
        OnHtml();
        return 0;
      }
      break;
    case WM_DESTROY:
      StopWorker();
      break;
    default:
      break;
  }
  return CDialog::WindowProc(msg, wp, lp);
}
