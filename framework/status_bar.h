// The status bar: a stretching message pane and fixed panes, each with a command id; the
// key-state indicators show their text while their key is on.
#pragma once
#include <string>
#include <vector>

#include "framework/wnd.h"

constexpr UINT SBPS_NORMAL = 0x0000;
constexpr UINT SBPS_NOBORDERS = 0x0100;
constexpr UINT SBPS_POPOUT = 0x0200;
constexpr UINT SBPS_STRETCH = 0x0800;

class CStatusBar : public CWnd {
 public:
  bool Create(CWnd* parent, DWORD style, UINT id);
  // One pane per id; ID_SEPARATOR makes the stretching message pane, other ids take their
  // width from their string's text.
  bool SetIndicators(const UINT* ids, int count);
  bool SetPaneInfo(int index, UINT id, UINT style, int width);
  void SetPaneText(int index, const std::string& text);
  std::string GetPaneText(int index) const;
  int GetCount() const { return static_cast<int>(panes_.size()); }
  UINT GetItemID(int index) const { return panes_[index].id; }
  int GetPaneWidth(int index) const { return panes_[index].width; }
  UINT GetPaneStyle(int index) const { return panes_[index].style; }
  void UpdateIndicators();

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  struct Pane {
    UINT id;
    UINT style;
    int width;
    std::string text;
  };
  void Layout();
  int TextWidth(const std::string& text) const;

  std::vector<Pane> panes_;
};
