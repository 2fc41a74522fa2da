// The start-up window shown while the first registry scan runs: logo, title and a progress line.
#pragma once
#include <string>

#include "framework/dialog.h"
#include "widgets/ox_static.h"

class CProgressWnd : public CDialog {
 public:
  CProgressWnd();
  // Makes the window modeless, owned by owner; shows and paints it at once.
  bool Open(CWnd* owner);
  // The progress line, painted at once: the scan does not let the window be serviced.
  void SetLine(const std::string& text);
  std::string line() const;

 protected:
  BOOL OnInitDialog() override;

 private:
  COXStatic title_;
  COXStatic line_;
};
