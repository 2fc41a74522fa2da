// The progress window of a removal of several records: which one is being removed, how far
// it has come, and Cancel, which stops before the next record.
#pragma once
#include <string>

#include "framework/dialog.h"

class CRemovalProgressWnd : public CDialog {
 public:
  CRemovalProgressWnd();
  ~CRemovalProgressWnd() override;

  // Shows the window over owner and disables owner until Close, as a modal dialog would, so
  // that no other command starts while the removal runs.
  bool Open(CWnd* owner, int total);
  // Shows that `done` records are finished and names the next, then handles what the user
  // did meanwhile. False once Cancel was pressed (or the program was asked to quit).
  bool Step(int done, const std::string& next_name);
  // Enables the owner again and closes the window.
  void Close();
  bool cancelled() const { return cancelled_; }

 protected:
  void OnCancel() override;

 private:
  HWND owner_ = nullptr;
  int total_ = 0;
  bool cancelled_ = false;
};
