// Find Missing Dependencies: walks the server file of every record in the object list and
// marks the items whose server needs a DLL that can't be found. Find Broken Type Libraries is
// the same search with another test of each record.
#pragma once
#include <memory>
#include <string>

#include "framework/dialog.h"
#include "mainwindow/object_list_ctrl.h"
#include "tools/missing_dependencies.h"

class CMissingDependenciesDlg : public CDialog {
 public:
  // list: the object list; category: its tab's text.
  CMissingDependenciesDlg(CObjectListCtrl& list, const std::string& category, CWnd* parent = nullptr);
  ~CMissingDependenciesDlg() override;

  // Runs the one search this dialog allows.
  void Search();

 protected:
  // A search of the same form: its template, caption, marker image and help context.
  CMissingDependenciesDlg(UINT template_id, const char* caption, int marker, DWORD help_context,
                          CObjectListCtrl& list, const std::string& category, CWnd* parent);
  // Whether the record's item gets the marker; asked for each item in list order.
  virtual bool IsFound(const corvane::CRegisteredObject& record);
  BOOL OnInitDialog() override;
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void ShowCount(int id, long count);

  std::string caption_;
  int marker_;
  DWORD help_context_;
  std::unique_ptr<corvane::MissingDependencySearch> search_;
  std::string category_;
  CObjectListCtrl* list_;
  HWND progress_ = nullptr;
};

// Find Broken Type Libraries: marks the items whose class names a type library that is not
// registered, has no version or file, or does not load.
class CBrokenTypeLibsDlg : public CMissingDependenciesDlg {
 public:
  CBrokenTypeLibsDlg(CObjectListCtrl& list, const std::string& category, CWnd* parent = nullptr);

 protected:
  bool IsFound(const corvane::CRegisteredObject& record) override;
};
