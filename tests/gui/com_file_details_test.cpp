// The COM File Details dialog run modally for a class whose server is a real system DLL: its
// caption, attribute rows, tabs, pages, layout, copying and what it leaves behind.
#include "mainwindow/com_file_details_dlg.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "catalogue/object_kinds.h"
#include "mainwindow/clipboard.h"
#include "mainwindow/layout_hold.h"
#include "resources/resource.h"
#include "tests/gui/details_test_support.h"
#include "tests/win32/scratch_classes.h"

namespace {

using details_test::ItemCount;
using details_test::ItemImage;
using details_test::ItemText;
using details_test::WindowText;

const char kClsid[] = "{D2000000-0000-0000-0000-000000000001}";
const char kProgId[] = "Corvane.DetailsFixture.1";
const char kCaption[] = "COM File Details - ";
const char kSentinel[] = "clipboard before";

std::string ClipboardText() {
  std::string text;
  if (!OpenClipboard(nullptr)) return text;
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const char* chars = static_cast<const char*>(GlobalLock(data))) text = chars;
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

using details_test::RectInParent;

void SelectTab(HWND dialog, int tab) {
  HWND tabs = GetDlgItem(dialog, IDC_DETAIL_TABS);
  TabCtrl_SetCurSel(tabs, tab);
  NMHDR header = {tabs, IDC_DETAIL_TABS, static_cast<UINT>(TCN_SELCHANGE)};
  SendMessageA(dialog, WM_NOTIFY, IDC_DETAIL_TABS, reinterpret_cast<LPARAM>(&header));
}

void SelectRow(HWND list, int row) {
  LVITEMA item = {};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = row >= 0 ? item.stateMask : 0;
  SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

int FindRow(HWND list, const std::string& label) {
  for (int row = 0; row < ItemCount(list); ++row)
    if (ItemText(list, row, 0) == label) return row;
  return -1;
}

// Named, not a lambda: a lambda does not convert to the 32-bit stdcall callback type.
void CALLBACK ChooseFirstMenuItem(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND menu = FindWindowA("#32768", nullptr);
  if (menu == nullptr || !IsWindowVisible(menu)) return;
  KillTimer(nullptr, timer);
  PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
}

// A right click on the attribute list answered in its menu with the first item.
void CopyThroughMenu(HWND dialog) {
  UINT_PTR timer = SetTimer(nullptr, 0, 40, ChooseFirstMenuItem);
  HWND list = GetDlgItem(dialog, IDC_DETAILS_ATTRIBUTES);
  NMITEMACTIVATE click = {};
  click.hdr = {list, IDC_DETAILS_ATTRIBUTES, static_cast<UINT>(NM_RCLICK)};
  click.iItem = 0;
  click.ptAction = {20, 30};
  SendMessageA(dialog, WM_NOTIFY, IDC_DETAILS_ATTRIBUTES, reinterpret_cast<LPARAM>(&click));
  KillTimer(nullptr, timer);
  gui_test::Pump();  // the chosen command arrives as a posted message
}

class ComFileDetailsTest : public testing::Test {
 protected:
  void SetUp() override {
    server_ = details_test::SystemFile("ole32.dll");
    const std::string key = std::string("CLSID\\") + kClsid;
    classes_.Set(key + "\\InprocServer32", nullptr, server_);
    classes_.Set(key + "\\ProgID", nullptr, kProgId);
    classes_.Set(key + "\\Version", nullptr, "1.0");
    held_ = LayoutHeld();
  }
  void TearDown() override { SetLayoutHold(held_); }

  // Runs the dialog modally for the record; `look` sees it once it is up, then Close ends it.
  INT_PTR Run(CComFileDetailsDlg& dialog, std::function<void(HWND)> look) {
    gui_test::ActOnce driver(kCaption, [&](HWND hwnd) {
      look(hwnd);
      gui_test::SendClick(hwnd, IDOK);
    });
    INT_PTR result = dialog.DoModal();
    EXPECT_TRUE(driver.acted());
    EXPECT_FALSE(driver.timed_out());
    return result;
  }

  corvane::Win32Platform win32_;
  corvane::ScratchClasses classes_;
  std::string server_;
  bool held_ = true;
};

TEST_F(ComFileDetailsTest, ShowsTheRecordInThreeTabsAndClearsTheLayoutHold) {
  corvane::CDllServerObject record(win32_.platform, kClsid);
  CComFileDetailsDlg dialog(record);
  SetLayoutHold(true);
  std::string caption;
  std::vector<std::string> tab_texts;
  int rows = 0, dependency_items = 0, key_items = 0, images = 0;
  std::string prog_id, location;
  int prog_id_image = -1, location_image = -1;
  bool list_shown = false, dependencies_hidden = false, keys_hidden = false;
  bool hold_after = true;
  INT_PTR result = Run(dialog, [&](HWND hwnd) {
    caption = WindowText(hwnd);
    HWND tabs = GetDlgItem(hwnd, IDC_DETAIL_TABS);
    for (int i = 0; i < TabCtrl_GetItemCount(tabs); ++i) {
      char text[64] = "";
      TCITEMA item = {};
      item.mask = TCIF_TEXT;
      item.pszText = text;
      item.cchTextMax = sizeof text;
      TabCtrl_GetItem(tabs, i, &item);
      tab_texts.push_back(text);
    }
    HWND list = dialog.attributes().GetSafeHwnd();
    rows = ItemCount(list);
    prog_id = ItemText(list, 0, 1);
    prog_id_image = ItemImage(list, 0);
    int row = FindRow(list, "File Location");
    location = ItemText(list, row, 1);
    location_image = ItemImage(list, row);
    images = ImageList_GetImageCount(ListView_GetImageList(list, LVSIL_SMALL));
    dependency_items = static_cast<int>(TreeView_GetCount(dialog.dependency_page().tree()));
    key_items = static_cast<int>(TreeView_GetCount(dialog.registry_page().tree()));
    list_shown = IsWindowVisible(list);
    dependencies_hidden = !IsWindowVisible(dialog.dependency_page().GetSafeHwnd());
    keys_hidden = !IsWindowVisible(dialog.registry_page().GetSafeHwnd());
    hold_after = LayoutHeld();
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(caption, std::string(kCaption) + kProgId);
  const std::vector<std::string> tabs = {"Attributes", "Dependencies", "Registry Entries"};
  EXPECT_EQ(tab_texts, tabs);
  EXPECT_GT(rows, 10);
  EXPECT_EQ(prog_id, kProgId);
  EXPECT_EQ(prog_id_image, 0);
  EXPECT_EQ(location, server_);
  EXPECT_EQ(location_image, 1);
  EXPECT_EQ(images, 3);
  EXPECT_GT(dependency_items, 0);
  EXPECT_GT(key_items, 0);
  EXPECT_TRUE(list_shown);
  EXPECT_TRUE(dependencies_hidden);
  EXPECT_TRUE(keys_hidden);
  EXPECT_FALSE(hold_after);
}

TEST_F(ComFileDetailsTest, TabsShowOneViewAtATimeBelowTheTabs) {
  corvane::CDllServerObject record(win32_.platform, kClsid);
  CComFileDetailsDlg dialog(record);
  std::vector<std::vector<bool>> shown;
  RECT client = {}, tabs_rect = {}, list_rect = {}, page_rect = {};
  Run(dialog, [&](HWND hwnd) {
    HWND views[] = {dialog.attributes().GetSafeHwnd(), dialog.dependency_page().GetSafeHwnd(),
                    dialog.registry_page().GetSafeHwnd()};
    for (int tab : {1, 2, 0}) {
      SelectTab(hwnd, tab);
      shown.push_back({!!IsWindowVisible(views[0]), !!IsWindowVisible(views[1]),
                       !!IsWindowVisible(views[2])});
    }
    GetClientRect(hwnd, &client);
    tabs_rect = RectInParent(GetDlgItem(hwnd, IDC_DETAIL_TABS));
    list_rect = RectInParent(views[0]);
    page_rect = RectInParent(views[1]);
  });
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0], (std::vector<bool>{false, true, false}));
  EXPECT_EQ(shown[1], (std::vector<bool>{false, false, true}));
  EXPECT_EQ(shown[2], (std::vector<bool>{true, false, false}));

  const int tab_height = tabs_rect.bottom - tabs_rect.top;
  EXPECT_EQ(tabs_rect.left, 0);
  EXPECT_EQ(tabs_rect.top, 0);
  EXPECT_EQ(tabs_rect.right, client.right);
  for (const RECT& view : {list_rect, page_rect}) {
    EXPECT_EQ(view.left, 1);
    EXPECT_EQ(view.top, tab_height);
    EXPECT_EQ(view.right - view.left, client.right - 2);
    EXPECT_EQ(view.bottom - view.top, client.bottom - tab_height - 35);
  }
}

TEST_F(ComFileDetailsTest, CopiesTheSelectedValueAndNothingWithoutASelection) {
  corvane::CDllServerObject record(win32_.platform, kClsid);
  CComFileDetailsDlg dialog(record);
  std::string without_selection, by_command, by_menu;
  Run(dialog, [&](HWND hwnd) {
    HWND list = dialog.attributes().GetSafeHwnd();
    CopyTextToClipboard(kSentinel);
    SendMessageA(hwnd, WM_COMMAND, ID_COPY_ATTRIBUTE, 0);
    without_selection = ClipboardText();

    SelectRow(list, FindRow(list, "File Location"));
    SendMessageA(hwnd, WM_COMMAND, ID_COPY_ATTRIBUTE, 0);
    by_command = ClipboardText();

    SelectRow(list, 0);
    CopyThroughMenu(hwnd);
    by_menu = ClipboardText();
  });
  EXPECT_EQ(without_selection, kSentinel);
  EXPECT_EQ(by_command, server_);
  EXPECT_EQ(by_menu, kProgId);
}

TEST_F(ComFileDetailsTest, PickedFileIsUnknownAndClosingReleasesThePages) {
  corvane::CComFileObject record(win32_.platform, server_);
  CComFileDetailsDlg dialog(record);
  size_t entries_while_open = 0;
  std::string caption;
  INT_PTR result = Run(dialog, [&](HWND hwnd) {
    caption = WindowText(hwnd);
    entries_while_open = dialog.dependency_page().tree().entry_count();
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(caption, std::string(kCaption) + "Unknown");
  EXPECT_GT(entries_while_open, 0u);
  EXPECT_EQ(dialog.dependency_page().tree().entry_count(), 0u);
  EXPECT_EQ(dialog.dependency_page().GetSafeHwnd(), nullptr);
  EXPECT_EQ(dialog.registry_page().GetSafeHwnd(), nullptr);
  EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
}

}  // namespace

namespace {

// Shows the dialog for a system DLL, for screenshots; not run by default. CORVANE_DETAILS_TAB
// in the environment picks the tab.
TEST(ComFileDetailsShow, DISABLED_ShowForSystemDll) {
  corvane::Win32Platform win32;
  corvane::CComFileObject record(win32.platform, details_test::SystemFile("ole32.dll"));
  CComFileDetailsDlg dialog(record);
  const char* tab = std::getenv("CORVANE_DETAILS_TAB");
  gui_test::ActOnce driver(
      "COM File Details - ", [&](HWND hwnd) {
        int shown = tab != nullptr ? std::atoi(tab) : 0;
        SelectTab(hwnd, shown);
        if (shown == 1) {
          HWND tree = dialog.dependency_page().tree().GetSafeHwnd();
          TreeView_SelectItem(tree, TreeView_GetRoot(tree));
        }
      },
      60000);
  dialog.DoModal();
}

}  // namespace
