// The object list over a scratch HKEY_CLASSES_ROOT: categories, filters, labels, remembered
// selections, rescans and the right-click menu.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/settings.h"
#include "mainwindow/object_list_rules.h"
#include "tests/gui/frame_fixture.h"
#include "tests/win32/scratch_classes.h"

namespace {

using corvane::CRegisteredObject;

// The scan meets the classes in CLSID order, which differs from the order of their ProgIDs.
const char kAlpha[] = "{C1000000-0000-0000-0000-00000000000B}";
const char kBeta[] = "{C1000000-0000-0000-0000-00000000000C}";
const char kGamma[] = "{C1000000-0000-0000-0000-00000000000A}";
const char kServer[] = "{C1000000-0000-0000-0000-00000000000E}";

class ObjectTreeTest : public FrameFixture {
 protected:
  ObjectTreeTest() : folder_("corvane object tree test") {
    saved_ = corvane::AppSettings();
    corvane::AppSettings() = corvane::Settings();
    std::string control = folder_.AddFile("alpha.ocx");
    std::string gamma = folder_.AddFile("gamma.ocx");
    std::string exe = folder_.AddFile("server.exe");
    AddControl(kAlpha, "Fixture.Alpha.1", control);
    AddControl(kBeta, "Fixture.Beta.1", folder_.path() + "\\missing.ocx");
    AddControl(kGamma, "Fixture.Gamma.1", gamma);
    classes_.Set(std::string("CLSID\\") + kServer + "\\ProgID", nullptr, "Fixture.Server.1");
    classes_.Set(std::string("CLSID\\") + kServer + "\\LocalServer32", nullptr, exe);
  }
  ~ObjectTreeTest() override { corvane::AppSettings() = saved_; }

  void AddControl(const char* clsid, const char* prog_id, const std::string& path) {
    std::string key = std::string("CLSID\\") + clsid;
    classes_.Set(key + "\\ProgID", nullptr, prog_id);
    classes_.Set(key + "\\InprocServer32", nullptr, path);
    classes_.AddKey(key + "\\Control");
  }

  int Image(int index) {
    LVITEMA item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = index;
    Tree()->list().GetItem(&item);
    return item.iImage;
  }
  void Select(int index) {
    CListCtrl& list = Tree()->list();
    for (int i = 0; i < list.GetItemCount(); ++i) list.SetItemState(i, 0, LVIS_SELECTED);
    list.SetItemState(index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  }
  int SelectedIndex() { return Tree()->list().GetNextItem(-1, LVNI_SELECTED); }
  void PressKey(WORD key) {
    NMLVKEYDOWN down = {};
    down.hdr = {Tree()->list().GetSafeHwnd(), IDC_OBJECT_LIST, LVN_KEYDOWN};
    down.wVKey = key;
    SendMessageA(*Tree(), WM_NOTIFY, IDC_OBJECT_LIST, reinterpret_cast<LPARAM>(&down));
  }

  corvane::ScratchFolder folder_;
  corvane::ScratchClasses classes_;
  corvane::Settings saved_;
};

TEST_F(ObjectTreeTest, ListsEachCategorySortedWithMisbehavedRecordsMarked) {
  ASSERT_NE(nullptr, Open());
  EXPECT_EQ((std::vector<std::string>{"Fixture.Alpha.1", "Fixture.Beta.1", "Fixture.Gamma.1"}),
            Labels());
  EXPECT_EQ(0, Image(0));
  EXPECT_EQ(corvane::kImageMisbehaved, Image(1));
  EXPECT_EQ("Items: 3", frame_->status_bar()->GetPaneText(1));
  EXPECT_EQ("Controls", Tree()->GetCategoryName());
  EXPECT_EQ(0, SelectedIndex());

  ChooseTab(2);
  EXPECT_EQ((std::vector<std::string>{"Fixture.Server.1"}), Labels());
  EXPECT_EQ(2, Image(0));
  EXPECT_EQ("EXE Servers", Tree()->GetCategoryName());
  EXPECT_EQ("Items: 1", frame_->status_bar()->GetPaneText(1));
  ChooseTab(1);
  EXPECT_TRUE(Labels().empty());
  EXPECT_EQ("Items: 0", frame_->status_bar()->GetPaneText(1));
}

TEST_F(ObjectTreeTest, FiltersHideRecordsButTheCountKeepsThem) {
  ASSERT_NE(nullptr, Open());
  corvane::AppSettings().display_missing = 0;
  Tree()->FillList(true);
  EXPECT_EQ((std::vector<std::string>{"Fixture.Alpha.1", "Fixture.Gamma.1"}), Labels());
  EXPECT_EQ("Items: 3", frame_->status_bar()->GetPaneText(1));
  corvane::AppSettings().display_installed = 0;
  Tree()->FillList(true);
  EXPECT_TRUE(Labels().empty());
  EXPECT_EQ(3u, Tree()->catalogue().list(corvane::kControls).size());
  corvane::AppSettings().display_missing = 1;
  Tree()->FillList(true);
  EXPECT_EQ((std::vector<std::string>{"Fixture.Beta.1"}), Labels());
}

TEST_F(ObjectTreeTest, RelabellingResortsAndKeepsTheSelectedRecord) {
  ASSERT_NE(nullptr, Open());
  Select(2);  // Gamma
  CRegisteredObject* gamma = Tree()->GetFirstSelectedRecord();
  ASSERT_NE(nullptr, gamma);
  corvane::AppSettings().display_in_list = corvane::kLabelClsid;
  Tree()->FillList(true);
  EXPECT_EQ((std::vector<std::string>{kGamma, kAlpha, kBeta}), Labels());
  EXPECT_EQ(gamma, Tree()->GetFirstSelectedRecord());
  // A value without a label of its own labels like the ProgID.
  corvane::AppSettings().display_in_list = -1;
  Tree()->FillList(true);
  EXPECT_EQ("Fixture.Gamma.1", Tree()->list().GetItemText(SelectedIndex(), 0));
}

TEST_F(ObjectTreeTest, SwitchingTabsRestoresTheSelectionByRecordAfterARelabel) {
  ASSERT_NE(nullptr, Open());
  Select(2);
  CRegisteredObject* gamma = Tree()->GetFirstSelectedRecord();
  ChooseTab(2);
  corvane::AppSettings().display_in_list = corvane::kLabelFilePath;
  Tree()->FillList(true);
  ChooseTab(0);
  EXPECT_EQ(gamma, Tree()->GetFirstSelectedRecord());
  EXPECT_EQ(1, Tree()->list().GetSelectedCount());
}

TEST_F(ObjectTreeTest, SelectByFileFindsTheRecordIgnoringCase) {
  ASSERT_NE(nullptr, Open());
  std::string path = folder_.path() + "\\GAMMA.OCX";
  CharLowerA(&path[0]);
  EXPECT_TRUE(Tree()->SelectByFile(path));
  EXPECT_EQ("Fixture.Gamma.1", Tree()->list().GetItemText(SelectedIndex(), 0));
  EXPECT_EQ(1, Tree()->list().GetSelectedCount());
  EXPECT_FALSE(Tree()->SelectByFile("C:\\nowhere\\none.ocx"));
  EXPECT_EQ("Fixture.Gamma.1", Tree()->list().GetItemText(SelectedIndex(), 0));
}

TEST_F(ObjectTreeTest, F5RescansAndSelectsTheFirstItem) {
  ASSERT_NE(nullptr, Open());
  Select(2);
  classes_.Set(std::string("CLSID\\{C1000000-0000-0000-0000-00000000000D}\\ProgID"), nullptr,
               "Fixture.Delta.1");
  classes_.Set(std::string("CLSID\\{C1000000-0000-0000-0000-00000000000D}\\InprocServer32"),
               nullptr, folder_.AddFile("delta.ocx"));
  classes_.AddKey("CLSID\\{C1000000-0000-0000-0000-00000000000D}\\Control");
  PressKey(VK_F5);
  EXPECT_EQ(4, Tree()->list().GetItemCount());
  EXPECT_EQ("Items: 4", frame_->status_bar()->GetPaneText(1));
  EXPECT_EQ(0, SelectedIndex());
  // The wait window has gone again.
  EXPECT_EQ(nullptr, FindWindowA(nullptr, "Corvane"));
}

TEST_F(ObjectTreeTest, GetSelectedRecordsFollowsListOrder) {
  ASSERT_NE(nullptr, Open());
  CListCtrl& list = Tree()->list();
  list.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
  list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
  std::vector<CRegisteredObject*> records;
  Tree()->GetSelectedRecords(records);
  ASSERT_EQ(2u, records.size());
  EXPECT_EQ("Fixture.Alpha.1", records[0]->GetName());
  EXPECT_EQ("Fixture.Gamma.1", records[1]->GetName());
}

// The list keeps no items of its own: typing and keyboard ranges are answered from its rows.
TEST_F(ObjectTreeTest, ShiftEndSelectsTheRestAndTypingJumpsToALabel) {
  ASSERT_NE(nullptr, Open());
  CListCtrl& list = Tree()->list();
  SetFocus(list);
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_SHIFT] = 0x80;
  SetKeyboardState(keys);
  SendMessageA(list, WM_KEYDOWN, VK_END, 1);
  keys[VK_SHIFT] = 0;
  SetKeyboardState(keys);
  std::vector<CRegisteredObject*> records;
  Tree()->GetSelectedRecords(records);
  ASSERT_EQ(3u, records.size());
  EXPECT_EQ("Fixture.Gamma.1", records[2]->GetName());
  EXPECT_EQ("Fixture.Alpha.1", Tree()->GetFirstSelectedRecord()->GetName());

  for (const char* typed = "fixture.b"; *typed != '\0'; ++typed)
    SendMessageA(list, WM_CHAR, static_cast<unsigned char>(*typed), 1);
  EXPECT_EQ(1, SelectedIndex());
  EXPECT_EQ("Fixture.Beta.1", Tree()->GetFirstSelectedRecord()->GetName());
  EXPECT_EQ(1, list.GetSelectedCount());
}

// Counts menus that open, and closes them so that the test goes on.
int g_menus_opened = 0;
VOID CALLBACK CloseMenus(HWND, UINT, UINT_PTR, DWORD) {
  if (FindWindowA("#32768", nullptr) != nullptr) {
    ++g_menus_opened;
    EndMenu();
  }
}

TEST_F(ObjectTreeTest, ARightClickOffTheItemsShowsNoMenu) {
  ASSERT_NE(nullptr, Open());
  CListCtrl& list = Tree()->list();
  RECT client;
  GetClientRect(list, &client);
  RECT last;
  list.GetItemRect(list.GetItemCount() - 1, &last, LVIR_BOUNDS);
  ASSERT_LT(last.bottom + 10, client.bottom);
  UINT_PTR timer = SetTimer(nullptr, 0, 100, CloseMenus);
  auto right_click_at = [&](int x, int y) {
    POINT point = {x, y};
    ClientToScreen(list, &point);
    SetCursorPos(point.x, point.y);
    NMHDR click = {list.GetSafeHwnd(), IDC_OBJECT_LIST, static_cast<UINT>(NM_RCLICK)};
    SendMessageA(*Tree(), WM_NOTIFY, IDC_OBJECT_LIST, reinterpret_cast<LPARAM>(&click));
  };
  g_menus_opened = 0;
  right_click_at(10, (last.bottom + client.bottom) / 2);
  EXPECT_EQ(0, g_menus_opened);
  KillTimer(nullptr, timer);
}

}  // namespace
