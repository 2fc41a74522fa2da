// A top-level frame: menu, accelerators, control bars docked in a rebar at the top, a status
// bar, the pane window filling the rest, and command routing (active view, frame,
// application).
#pragma once
#include <vector>

#include "framework/view.h"
#include "framework/wnd.h"

class CToolBar;
class CStatusBar;

class CFrameWnd : public CWnd {
 public:
  CFrameWnd();

  // Registers the class with icon resource_id, loads menu and accelerators of that id, and
  // creates the window. False when creation failed; the frame has then deleted itself.
  bool LoadFrame(UINT resource_id, DWORD style, CWnd* parent, CCreateContext* context);

  CView* GetActiveView() const { return active_view_; }
  void SetActiveView(CView* view, bool focus = true);

  // Positions the bars and the pane window in the client area.
  virtual void RecalcLayout();
  // Sets the enable and check states of the bars' buttons and the status indicators.
  virtual void OnIdleUpdateCmdUI();
  bool TranslateAccelerators(MSG* msg);
  bool OnCmdMsg(UINT id, CCmdUI* ui) override;
  // A frame without a size of its own gets the system's default place.
  bool PreCreateWindow(CREATESTRUCTA& cs) override;

  // Prepares the dock at the top; bars are then docked in the order of DockControlBar.
  void EnableDocking();
  void DockControlBar(CToolBar* bar);
  // The bar starts with the idle message.
  void SetStatusBar(CStatusBar* bar) {
    status_bar_ = bar;
    SetMessageText(0);
  }
  CStatusBar* status_bar() const { return status_bar_; }
  const std::vector<CToolBar*>& toolbars() const { return toolbars_; }
  HWND dock() const { return dock_; }

  // Shows a command's prompt (0 for the idle message) in the status bar's message pane.
  void SetMessageText(UINT prompt_id);
  HMENU menu() const { return menu_; }

 protected:
  virtual int OnCreate(CREATESTRUCTA* cs);
  // Makes the views; the default makes one view of the template's view class.
  virtual bool OnCreateClient(CREATESTRUCTA* cs, CCreateContext* context);
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
  void PostNcDestroy() override;
  HWND PaneWindow() const { return GetDlgItem(AFX_PANE_ID); }

 private:
  static constexpr int AFX_PANE_ID = 59648;
  void UpdateMenuPopup(HMENU popup);
  void OnMenuSelect(UINT id, UINT flags, HMENU menu);
  bool OnToolbarNotify(NMHDR* header, LRESULT* result);
  void ToggleBar(bool toolbars);
  void ActivateNextPane(bool previous);
  void RouteCommand(UINT id);

  HMENU menu_ = nullptr;
  HACCEL accelerators_ = nullptr;
  CCreateContext* context_ = nullptr;
  CView* active_view_ = nullptr;
  HWND dock_ = nullptr;
  std::vector<CToolBar*> toolbars_;
  CStatusBar* status_bar_ = nullptr;
  bool* destroyed_ = nullptr;
};
