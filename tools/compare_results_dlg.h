// The results of the comparison with other computers: one row per record, one column per
// computer, filled by a worker thread while the dialog runs; sortable by any column, written
// as an HTML report, laid out by its layout rules when resized.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "catalogue/registered_object.h"
#include "framework/dialog.h"
#include "platform/registry.h"
#include "tools/computer_comparison.h"
#include "tools/results_list_ctrl.h"

class CCompareResultsDlg : public CDialog {
 public:
  // records and computers must outlive the dialog; registry reaches the other computers.
  CCompareResultsDlg(const std::vector<corvane::CRegisteredObject*>& records,
                     const std::vector<std::string>& computers, const std::string& category,
                     corvane::Registry& registry, CWnd* parent = nullptr);
  ~CCompareResultsDlg() override;

  CResultsListCtrl& results() { return results_; }
  // True until the worker has written its last result.
  bool comparing() const { return comparing_; }
  // Sorts the rows by the texts of a column, ascending and ignoring case; rows keep their
  // record's index as item data.
  void SortByColumn(int column);
  // Writes the report of the rows as shown to a new temporary file; returns its path, or
  // empty when no file could be had (a file error has been shown).
  std::string WriteReport();
  const std::string& report_path() const { return report_path_; }

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
  // Starts the worker; null when no thread could be made.
  virtual HANDLE StartWorkerThread(LPTHREAD_START_ROUTINE main, void* argument);

 private:
  static DWORD WINAPI WorkerMain(void* argument);
  void StartWorker();
  // Asks the worker to stop and waits for it, keeping the messages flowing.
  void StopWorker();
  void FitColumns();
  int RowOfRecord(std::size_t record) const;
  void OnWorkerDone();
  void OnHtml();

  HIMAGELIST images_ = nullptr;
  std::string category_;
  const std::vector<corvane::CRegisteredObject*>& records_;
  const std::vector<std::string>& computers_;
  corvane::Registry& registry_;
  HANDLE worker_ = nullptr;
  corvane::StopFlag stop_{0};
  bool comparing_ = false;
  bool stopping_ = false;
  bool ready_ = false;  // the controls exist, so size changes lay them out
  std::string report_path_;
  // The row that shows each record, so that a result finds its row at once; renewed by sorting.
  std::vector<int> row_of_record_;
  CResultsListCtrl results_;
};
