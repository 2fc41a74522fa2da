// The main frame made through the document template, as the program makes it: placement, panes,
// bars, routing of commands and their user-interface states, and the clipboard copy.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/gui_platform.h"
#include "framework/cmd_ui.h"
#include "framework/win_app.h"
#include "mainwindow/clipboard.h"
#include "mainwindow/object_tree.h"
#include "mainwindow/plenor_doc.h"
#include "mainwindow/plenor_view.h"
#include "mainwindow/splitter_frame.h"
#include "mainwindow/tab_view.h"
#include "resources/resource.h"
#include "tests/gui/frame_fixture.h"

namespace {

// An object tree that counts one command and can disable another, to watch the routing.
class RoutingTree : public CObjectTree {
 public:
  static int refreshes;
  static bool unregister_enabled;
  static int unregisters;
  RoutingTree() {
    MapCommand(ID_REFRESH_LIST, [] { ++refreshes; });
    MapCommand(ID_UNREGISTER, [] { ++unregisters; });
    MapUpdate(ID_UNREGISTER, [](CCmdUI& ui) { ui.Enable(unregister_enabled); });
  }
};
int RoutingTree::refreshes = 0;
bool RoutingTree::unregister_enabled = true;
int RoutingTree::unregisters = 0;

// The application's own map: the last stop of the routing.
class RoutingApp : public CWinApp {
 public:
  int options = 0;
  int refreshes = 0;
  RoutingApp() {
    MapCommand(ID_OPTIONS, [this] { ++options; });
    MapCommand(ID_REFRESH_LIST, [this] { ++refreshes; });
  }
};

// A frame whose creation height is forced, to see the attributes pane's minimum.
class ShortFrame : public CSplitterFrame {
 public:
  bool PreCreateWindow(CREATESTRUCTA& cs) override {
    bool ok = CSplitterFrame::PreCreateWindow(cs);
    cs.cy = 150;
    return ok;
  }
};

class MainFrameTest : public FrameFixture {
 protected:
  template <class Frame = CSplitterFrame>
  CSplitterFrame* Open() {
    return FrameFixture::Open<Frame, RoutingTree>();
  }
};

RECT WindowRect(HWND hwnd) {
  RECT rect;
  GetWindowRect(hwnd, &rect);
  return rect;
}

}  // namespace

TEST(CentredPlacementTest, SharesOfTheFullScreenAreTruncatedAndCentred) {
  RECT place = CentredPlacement(1024, 738, 0.85);
  EXPECT_EQ(77, place.left);
  EXPECT_EQ(55, place.top);
  EXPECT_EQ(870, place.right - place.left);
  EXPECT_EQ(627, place.bottom - place.top);
  RECT odd = CentredPlacement(1001, 501, 0.9);  // 900.9 x 450.9
  EXPECT_EQ(900, odd.right - odd.left);
  EXPECT_EQ(450, odd.bottom - odd.top);
  EXPECT_EQ(50, odd.left);
  EXPECT_EQ(25, odd.top);
}

TEST_F(MainFrameTest, IsCreatedAtEightyFivePercentOfTheFullScreenCentred) {
  ASSERT_NE(nullptr, Open());
  RECT expected = CentredPlacement(GetSystemMetrics(SM_CXFULLSCREEN),
                                   GetSystemMetrics(SM_CYFULLSCREEN), 0.85);
  RECT actual = WindowRect(*frame_);
  EXPECT_EQ(expected.left, actual.left);
  EXPECT_EQ(expected.top, actual.top);
  EXPECT_EQ(expected.right - expected.left, actual.right - actual.left);
  EXPECT_EQ(expected.bottom - expected.top, actual.bottom - actual.top);
  EXPECT_EQ("Plenor", frame_->GetWindowText());
}

TEST_F(MainFrameTest, PanesSitInTheirCellsWithTheirInitialSizes) {
  ASSERT_NE(nullptr, Open());
  CSplitterWnd& outer = frame_->outer_splitter();
  CSplitterWnd& inner = frame_->inner_splitter();
  EXPECT_EQ(AFX_IDW_PANE_FIRST, GetDlgCtrlID(outer));
  EXPECT_EQ(outer.IdFromRowCol(0, 1), GetDlgCtrlID(inner));
  EXPECT_EQ(outer.GetSafeHwnd(), GetParent(inner));
  EXPECT_TRUE(inner.GetStyle() & WS_BORDER);

  ASSERT_NE(nullptr, frame_->GetObjectTree());
  ASSERT_NE(nullptr, frame_->GetPlenorView());
  ASSERT_NE(nullptr, frame_->GetTabView());
  EXPECT_EQ(frame_->GetObjectTree(), frame_->GetActiveView());

  EXPECT_EQ(280, WindowRect(*frame_->GetObjectTree()).right -
                     WindowRect(*frame_->GetObjectTree()).left);
  RECT creation = CentredPlacement(GetSystemMetrics(SM_CXFULLSCREEN),
                                   GetSystemMetrics(SM_CYFULLSCREEN), 0.85);
  int half = (creation.bottom - creation.top) / 2;
  int expected = half > 100 ? half : 100;
  EXPECT_EQ(expected, inner.GetRowIdeal(0));
  RECT top = WindowRect(*frame_->GetPlenorView());
  RECT bottom = WindowRect(*frame_->GetTabView());
  EXPECT_EQ(expected, top.bottom - top.top);
  EXPECT_GT(bottom.top, top.bottom - 1);
  EXPECT_EQ(top.left, bottom.left);
  EXPECT_EQ(top.right, bottom.right);
}

TEST_F(MainFrameTest, AShortFrameStillGivesTheAttributesPaneAHundredPixels) {
  ASSERT_NE(nullptr, (Open<ShortFrame>()));
  EXPECT_EQ(100, frame_->inner_splitter().GetRowIdeal(0));
}

TEST_F(MainFrameTest, ToolbarsCarryTheirButtonsInOrder) {
  ASSERT_NE(nullptr, Open());
  const std::vector<UINT> main_buttons = {
      ID_UNREGISTER, ID_REMOVE_FROM_REGISTRY, ID_REGISTER, 0, ID_GOTO_FILE_LOCATION,
      ID_VIEW_IN_IE, ID_COMPARE_WITH, ID_RUN_EXE_SERVER, 0, ID_DISPLAY_PROGID,
      ID_DISPLAY_CLSID, ID_DISPLAY_TYPELIB, ID_DISPLAY_FILE_LOCATION, 0, ID_REFRESH_LIST, 0,
      ID_FIND_MISSING_DEPENDENCIES, ID_GENERATE_REPORT, 0, ID_OPTIONS, ID_CHECK_FOR_UPDATES,
      ID_APP_ABOUT};
  const std::vector<UINT> computer_buttons = {ID_COMPARE_SELECTED_WITH_COMPUTERS,
                                              ID_COMPARE_ALL_WITH_COMPUTERS, ID_COMPUTER_LIST,
                                              ID_COMPARE_WITH_NETWORK};
  struct Case {
    CToolBar* bar;
    const std::vector<UINT>* ids;
  } cases[] = {{&frame_->main_toolbar(), &main_buttons},
               {&frame_->computers_toolbar(), &computer_buttons}};
  for (const Case& c : cases) {
    HWND bar = c.bar->GetSafeHwnd();
    EXPECT_EQ(AFX_IDW_TOOLBAR, GetDlgCtrlID(bar));
    EXPECT_TRUE(GetWindowLongA(bar, GWL_STYLE) & TBSTYLE_FLAT);
    ASSERT_EQ(c.ids->size(), static_cast<size_t>(SendMessageA(bar, TB_BUTTONCOUNT, 0, 0)));
    for (size_t i = 0; i < c.ids->size(); ++i) {
      TBBUTTON button = {};
      SendMessageA(bar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
      if ((*c.ids)[i] == 0) {
        EXPECT_TRUE(button.fsStyle & BTNS_SEP) << i;
      } else {
        EXPECT_EQ(static_cast<int>((*c.ids)[i]), button.idCommand) << i;
      }
    }
    // Both bars sit in the dock at the top of the frame.
    EXPECT_EQ(frame_->dock(), GetParent(bar));
    EXPECT_TRUE(IsWindowVisible(bar));
  }
  EXPECT_EQ(2u, frame_->toolbars().size());
  RECT dock = WindowRect(frame_->dock());
  RECT tree = WindowRect(*frame_->GetObjectTree());
  EXPECT_LE(dock.bottom, tree.top);
}

TEST_F(MainFrameTest, StatusBarHasTheMessageCountAndKeyPanes) {
  ASSERT_NE(nullptr, Open());
  CStatusBar* bar = frame_->status_bar();
  ASSERT_NE(nullptr, bar);
  EXPECT_EQ(AFX_IDW_STATUS_BAR, GetDlgCtrlID(*bar));
  // 64-bit Windows adds the registry view's pane after the item count.
  std::vector<UINT> ids = {ID_SEPARATOR, ID_INDICATOR_ITEMS, ID_INDICATOR_CAPS, ID_INDICATOR_NUM,
                           ID_INDICATOR_SCRL};
  if (GuiPlatform().registry.HasTwoViews()) ids.insert(ids.begin() + 2, ID_INDICATOR_VIEW);
  const int count = static_cast<int>(ids.size());
  ASSERT_EQ(count, bar->GetCount());
  for (int i = 0; i < count; ++i) EXPECT_EQ(ids[i], bar->GetItemID(i)) << i;
  EXPECT_EQ(55, bar->GetPaneWidth(1));
  EXPECT_EQ(SBPS_NORMAL, bar->GetPaneStyle(1));
  EXPECT_EQ(count, SendMessageA(*bar, SB_GETPARTS, 0, 0));
  frame_->SetViewText("32-bit Classes");
  EXPECT_EQ(GuiPlatform().registry.HasTwoViews() ? "32-bit Classes" : "", bar->GetPaneText(2));

  frame_->SetItemCountText("Items: 12");
  EXPECT_EQ("Items: 12", bar->GetPaneText(1));
  char text[64] = "";
  SendMessageA(*bar, SB_GETTEXTA, 1, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ("Items: 12", text);
  EXPECT_EQ("Ready", bar->GetPaneText(0));
}

TEST_F(MainFrameTest, CommandsRouteFromTheActiveViewToTheFrameToTheApplication) {
  RoutingApp app;
  ASSERT_NE(nullptr, Open());
  RoutingTree::refreshes = 0;
  // The view handles Refresh before the application sees it.
  SendMessageA(*frame_, WM_COMMAND, MAKEWPARAM(ID_REFRESH_LIST, 0), 0);
  EXPECT_EQ(1, RoutingTree::refreshes);
  EXPECT_EQ(0, app.refreshes);
  // Nobody but the application handles Options.
  SendMessageA(*frame_, WM_COMMAND, MAKEWPARAM(ID_OPTIONS, 0), 0);
  EXPECT_EQ(1, app.options);
  // The frame handles its own bar toggles.
  HWND dock = frame_->dock();
  SendMessageA(*frame_, WM_COMMAND, MAKEWPARAM(ID_VIEW_TOOLBAR, 0), 0);
  EXPECT_FALSE(IsWindowVisible(dock));
  SendMessageA(*frame_, WM_COMMAND, MAKEWPARAM(ID_VIEW_TOOLBAR, 0), 0);
  EXPECT_TRUE(IsWindowVisible(dock));
  SendMessageA(*frame_, WM_COMMAND, MAKEWPARAM(ID_VIEW_STATUS_BAR, 0), 0);
  EXPECT_FALSE(IsWindowVisible(*frame_->status_bar()));
  SendMessageA(*frame_, WM_COMMAND, MAKEWPARAM(ID_VIEW_STATUS_BAR, 0), 0);
  EXPECT_TRUE(IsWindowVisible(*frame_->status_bar()));
}

TEST_F(MainFrameTest, AnUpdateRuleDisablesTheMenuItemAndTheButtonAlike) {
  RoutingApp app;
  ASSERT_NE(nullptr, Open());
  HMENU edit = GetSubMenu(frame_->menu(), 1);
  HWND bar = frame_->main_toolbar().GetSafeHwnd();
  RoutingTree::unregisters = 0;

  RoutingTree::unregister_enabled = false;
  frame_->OnIdleUpdateCmdUI();
  SendMessageA(*frame_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(edit), MAKELPARAM(1, 0));
  EXPECT_TRUE(GetMenuState(edit, ID_UNREGISTER, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_FALSE(SendMessageA(bar, TB_ISBUTTONENABLED, ID_UNREGISTER, 0));
  // A disabled command does not run, even when its message arrives.
  SendMessageA(*frame_, WM_COMMAND, MAKEWPARAM(ID_UNREGISTER, 0), 0);
  EXPECT_EQ(0, RoutingTree::unregisters);

  RoutingTree::unregister_enabled = true;
  frame_->OnIdleUpdateCmdUI();
  SendMessageA(*frame_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(edit), MAKELPARAM(1, 0));
  EXPECT_FALSE(GetMenuState(edit, ID_UNREGISTER, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_TRUE(SendMessageA(bar, TB_ISBUTTONENABLED, ID_UNREGISTER, 0));
  SendMessageA(*frame_, WM_COMMAND, MAKEWPARAM(ID_UNREGISTER, 0), 0);
  EXPECT_EQ(1, RoutingTree::unregisters);

  // A command nobody handles is disabled; one the application handles is enabled.
  const UINT kNobodysCommand = 0x7F00;
  AppendMenuA(edit, MF_STRING, kNobodysCommand, "Nobody's");
  SendMessageA(*frame_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(edit), MAKELPARAM(1, 0));
  EXPECT_TRUE(GetMenuState(edit, kNobodysCommand, MF_BYCOMMAND) & MF_GRAYED);
  DeleteMenu(edit, kNobodysCommand, MF_BYCOMMAND);
  EXPECT_TRUE(SendMessageA(bar, TB_ISBUTTONENABLED, ID_OPTIONS, 0));
}

TEST_F(MainFrameTest, MenuAndAcceleratorsCarryTheCommands) {
  ASSERT_NE(nullptr, Open());
  HMENU menu = frame_->menu();
  ASSERT_EQ(5, GetMenuItemCount(menu));
  const char* titles[] = {"&File", "&Edit", "&View", "&Tools", "&Help"};
  for (int i = 0; i < 5; ++i) {
    char title[32] = "";
    GetMenuStringA(menu, i, title, sizeof title, MF_BYPOSITION);
    EXPECT_STREQ(titles[i], title);
  }
  HMENU edit = GetSubMenu(menu, 1);
  HMENU jump = GetSubMenu(edit, 4);
  ASSERT_NE(nullptr, jump);
  EXPECT_EQ(static_cast<UINT>(ID_JUMP_CLSID), GetMenuItemID(jump, 0));
  EXPECT_EQ(static_cast<UINT>(ID_JUMP_TYPELIB), GetMenuItemID(jump, 2));

  // F6 goes to the next pane, from the list on the left to the attributes pane.
  MSG key = {};
  key.hwnd = GetDlgItem(*frame_->GetObjectTree(), IDC_OBJECT_LIST);
  key.message = WM_KEYDOWN;
  key.wParam = VK_F6;
  EXPECT_TRUE(frame_->TranslateAccelerators(&key));
  Pump();
  EXPECT_EQ(static_cast<CView*>(frame_->GetPlenorView()), frame_->GetActiveView());
}

TEST(ClipboardTest, CopiesTextAndAnEmptyText) {
  for (std::string text : {std::string("HKEY_CLASSES_ROOT\\CLSID\\{x}"), std::string()}) {
    CopyTextToClipboard(text);
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE data = GetClipboardData(CF_TEXT);
    ASSERT_NE(nullptr, data);
    const char* copied = static_cast<const char*>(GlobalLock(data));
    ASSERT_NE(nullptr, copied);
    EXPECT_EQ(text, std::string(copied));
    GlobalUnlock(data);
    CloseClipboard();
  }
}
