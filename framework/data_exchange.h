// Moves values between a dialog's controls and the variables behind them.
#pragma once
#include <windows.h>

#include <string>

class CDataExchange {
 public:
  CDataExchange(HWND dialog, bool save) : dialog_(dialog), save_(save) {}
  // True when reading the controls into the variables; false when showing the variables.
  bool saving() const { return save_; }
  HWND Control(int id) const { return GetDlgItem(dialog_, id); }

 private:
  HWND dialog_;
  bool save_;
};

// A check box's state: 0, 1 or 2. A value outside that range is reset to 0 before it is shown.
void DDX_Check(CDataExchange* dx, int id, int& value);
// A drop-down list's selected position; -1 when nothing is selected.
void DDX_CBIndex(CDataExchange* dx, int id, int& index);
// An edit field's or label's text.
void DDX_Text(CDataExchange* dx, int id, std::string& text);
