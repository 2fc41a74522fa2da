// A dialog box from a resource template, modal or modeless.
#pragma once
#include "framework/data_exchange.h"
#include "framework/wnd.h"

class CDialog : public CWnd {
 public:
  explicit CDialog(UINT template_id, CWnd* parent = nullptr);

  // Runs the dialog modally, owned by the parent or else by the main window; returns the
  // code EndDialog gave, or -1 when the dialog could not be made.
  INT_PTR DoModal();
  // Creates the dialog modeless and returns at once.
  bool Create(CWnd* parent = nullptr);
  // A modal dialog ends its loop; a modeless one is hidden and stays until destroyed.
  void EndDialog(int result);
  // Shows the variables (save false) or reads the controls into them (save true).
  bool UpdateData(bool save);

  UINT template_id() const { return template_id_; }
  // The innermost modal dialog that is running, or null.
  static CDialog* RunningModal();
  bool PreTranslateMessage(MSG* msg) override;

 protected:
  virtual BOOL OnInitDialog();
  virtual void OnOK();
  virtual void OnCancel();
  virtual void DoDataExchange(CDataExchange* dx);
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  static INT_PTR CALLBACK DialogProc(HWND, UINT, WPARAM, LPARAM);
  HWND OwnerWindow() const;

  UINT template_id_;
  CWnd* parent_;
  bool modal_ = false;
};

// The window a new message box or dialog belongs to: the innermost running modal dialog, else
// the main window (null when there is none). It stays disabled while its box is up.
HWND DefaultOwnerWindow();
