#include "mainwindow/splitter_frame.h"

#include <commctrl.h>

#include <algorithm>

#include "app/gui_platform.h"
#include "framework/win_app.h"
#include "mainwindow/object_tree.h"
#include "mainwindow/plenor_view.h"
#include "mainwindow/tab_view.h"
#include "resources/resource.h"

namespace {

const UINT kIndicators[] = {ID_SEPARATOR, ID_INDICATOR_ITEMS, ID_INDICATOR_CAPS,
                            ID_INDICATOR_NUM, ID_INDICATOR_SCRL};
// On 64-bit Windows the registry view has a pane beside the item count.
const UINT kTwoViewIndicators[] = {ID_SEPARATOR,      ID_INDICATOR_ITEMS, ID_INDICATOR_VIEW,
                                   ID_INDICATOR_CAPS, ID_INDICATOR_NUM,   ID_INDICATOR_SCRL};
const int kViewPane = 2;

const DWORD kBarStyle = CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC;

bool MakeToolBar(CToolBar& bar, CWnd* frame, UINT resource_id) {
  return bar.CreateEx(frame, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE, kBarStyle, AFX_IDW_TOOLBAR) &&
         bar.LoadToolBar(resource_id);
}

}  // namespace

RECT CentredPlacement(int full_width, int full_height, double share) {
  int width = static_cast<int>(share * full_width);
  int height = static_cast<int>(share * full_height);
  int x = (full_width - width) / 2;
  int y = (full_height - height) / 2;
  return RECT{x, y, x + width, y + height};
}

bool CSplitterFrame::PreCreateWindow(CREATESTRUCTA& cs) {
  RECT place = CentredPlacement(GetSystemMetrics(SM_CXFULLSCREEN),
                                GetSystemMetrics(SM_CYFULLSCREEN), 0.85);
  cs.x = place.left;
  cs.y = place.top;
  cs.cx = place.right - place.left;
  cs.cy = place.bottom - place.top;
  return CFrameWnd::PreCreateWindow(cs);
}

int CSplitterFrame::OnCreate(CREATESTRUCTA* cs) {
  if (CFrameWnd::OnCreate(cs) == -1) return -1;
  if (!MakeToolBar(main_toolbar_, this, IDR_MAINFRAME)) return -1;
  if (!MakeToolBar(computers_toolbar_, this, IDR_COMPUTERS_TOOLBAR)) return -1;
  two_views_ = GuiPlatform().registry.HasTwoViews();
  const UINT* indicators = two_views_ ? kTwoViewIndicators : kIndicators;
  const int count = two_views_ ? sizeof kTwoViewIndicators / sizeof kTwoViewIndicators[0]
                               : sizeof kIndicators / sizeof kIndicators[0];
  if (!status_bar_.Create(this, WS_CHILD | WS_VISIBLE, AFX_IDW_STATUS_BAR) ||
      !status_bar_.SetIndicators(indicators, count) ||
      !status_bar_.SetPaneInfo(1, ID_INDICATOR_ITEMS, SBPS_NORMAL, kItemCountPaneWidth)) {
    return -1;
  }
  SetStatusBar(&status_bar_);
  EnableDocking();
  DockControlBar(&main_toolbar_);
  DockControlBar(&computers_toolbar_);
  return 0;
}

bool CSplitterFrame::OnCreateClient(CREATESTRUCTA* cs, CCreateContext* context) {
  if (!outer_.CreateStatic(this, 1, 2)) return false;
  if (!outer_.CreateView(0, 0, context->new_view, {kLeftPaneWidth, kLeftPaneRequestedHeight},
                         context)) {
    return false;
  }
  if (!inner_.CreateStatic(&outer_, 2, 1, WS_CHILD | WS_VISIBLE | WS_BORDER,
                           outer_.IdFromRowCol(0, 1))) {
    return false;
  }
  int top_height = std::max(cs->cy / 2, kMinAttributesHeight);
  if (!inner_.CreateView(0, 0, [] { return new CPlenorView; }, {0, top_height}, context) ||
      !inner_.CreateView(1, 0, [] { return new CTabView; }, {0, 0}, context)) {
    return false;
  }
  SetActiveView(dynamic_cast<CView*>(outer_.GetPane(0, 0)), false);
  return true;
}

CObjectTree* CSplitterFrame::GetObjectTree() const {
  return dynamic_cast<CObjectTree*>(outer_.GetPane(0, 0));
}

CPlenorView* CSplitterFrame::GetPlenorView() const {
  return dynamic_cast<CPlenorView*>(inner_.GetPane(0, 0));
}

CTabView* CSplitterFrame::GetTabView() const {
  return dynamic_cast<CTabView*>(inner_.GetPane(1, 0));
}

void CSplitterFrame::SetItemCountText(const std::string& text) { status_bar_.SetPaneText(1, text); }

void CSplitterFrame::SetViewText(const std::string& text) {
  if (two_views_) status_bar_.SetPaneText(kViewPane, text);
}

CSplitterFrame* MainFrame() { return dynamic_cast<CSplitterFrame*>(AfxGetMainWnd()); }
