// The Inventory Report dialog: which records, which attributes and which format, then a
// report file opened with the shell.
#pragma once
#include <string>
#include <vector>

#include "catalogue/registered_object.h"
#include "framework/dialog.h"

class CInventoryReportDlg : public CDialog {
 public:
  // records: every item of the object list, in list order; category: its tab's text.
  CInventoryReportDlg(std::vector<corvane::CRegisteredObject*> records,
                      const std::string& category, const std::string& computer,
                      CWnd* parent = nullptr);
  ~CInventoryReportDlg() override;

  void RemoveSelectedAttributes();
  void OnFormatChange();
  void Generate();

  // The last report written, empty before the first one.
  const std::string& report_path() const { return report_path_; }

 protected:
  BOOL OnInitDialog() override;
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  // Writes the report under the wait cursor; false when nothing is to be opened.
  bool WriteReport();
  void ShowGenerating(bool generating);

  std::string report_path_;
  std::vector<corvane::CRegisteredObject*> records_;
  std::string category_;
  std::string computer_;
  HWND attributes_ = nullptr;
  HWND progress_ = nullptr;
};
