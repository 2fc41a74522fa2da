// The main frame: two toolbars, the status bar, and three panes in two static splitters
// (the object tree on the left; the attributes over the details tabs on the right).
#pragma once
#include <string>

#include "framework/frame_wnd.h"
#include "framework/splitter_wnd.h"
#include "framework/status_bar.h"
#include "framework/tool_bar.h"

class CObjectTree;
class CPlenorView;
class CTabView;

// Where a frame of the given share of the full-screen area goes: centred, sizes truncated.
RECT CentredPlacement(int full_width, int full_height, double share);

class CSplitterFrame : public CFrameWnd {
 public:
  static constexpr int kLeftPaneWidth = 280;
  static constexpr int kLeftPaneRequestedHeight = 50;
  static constexpr int kMinAttributesHeight = 100;
  static constexpr int kItemCountPaneWidth = 55;

  bool PreCreateWindow(CREATESTRUCTA& cs) override;

  // The panes, found through the splitters.
  CObjectTree* GetObjectTree() const;
  CPlenorView* GetPlenorView() const;
  CTabView* GetTabView() const;
  // The text of the status bar's item-count pane.
  void SetItemCountText(const std::string& text);
  // The text of the registry view's pane, which only 64-bit Windows has.
  void SetViewText(const std::string& text);

  CToolBar& main_toolbar() { return main_toolbar_; }
  CToolBar& computers_toolbar() { return computers_toolbar_; }
  CSplitterWnd& outer_splitter() { return outer_; }
  CSplitterWnd& inner_splitter() { return inner_; }

 protected:
  int OnCreate(CREATESTRUCTA* cs) override;
  bool OnCreateClient(CREATESTRUCTA* cs, CCreateContext* context) override;

 private:
  CStatusBar status_bar_;
  CToolBar main_toolbar_;
  CToolBar computers_toolbar_;
  CSplitterWnd outer_;
  CSplitterWnd inner_;
  bool two_views_ = false;
};

// The main frame of the running program, or null.
CSplitterFrame* MainFrame();
