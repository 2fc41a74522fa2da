// The Dependencies page filled from real files: the flat tree of entries with their images,
// the attributes of the selected entry, clearing, destruction and the layout.
#include "mainwindow/dependency_page.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/attributes.h"
#include "catalogue/object_kinds.h"
#include "mainwindow/layout_hold.h"
#include "resources/resource.h"
#include "tests/gui/details_test_support.h"
#include "tests/win32/scratch_classes.h"

namespace {

using details_test::ItemCount;
using details_test::ItemImage;
using details_test::ItemText;

struct TreeItemInfo {
  HTREEITEM handle;
  std::string text;
  int image;
  int selected_image;
  bool has_children;
};

std::vector<TreeItemInfo> TopLevelItems(HWND tree) {
  std::vector<TreeItemInfo> items;
  for (HTREEITEM item = TreeView_GetRoot(tree); item != nullptr;
       item = TreeView_GetNextSibling(tree, item)) {
    char text[256] = "";
    TVITEMA info = {};
    info.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    info.hItem = item;
    info.pszText = text;
    info.cchTextMax = sizeof text;
    TreeView_GetItem(tree, &info);
    items.push_back({item, text, info.iImage, info.iSelectedImage,
                     TreeView_GetChild(tree, item) != nullptr});
  }
  return items;
}

using details_test::RectInParent;

class DependencyPageTest : public testing::Test {
 protected:
  DependencyPageTest() : folder_("corvane dependency page test") {}

  void SetUp() override {
    held_ = LayoutHeld();
    SetLayoutHold(false);
    ASSERT_TRUE(page_.Create(&host_));
    server_ = folder_.path() + "\\server.dll";
    details_test::WritePeFile(server_, {"KERNEL32.dll", "corvane_nowhere.dll"});
  }
  void TearDown() override { SetLayoutHold(held_); }

  HWND tree() { return page_.tree().GetSafeHwnd(); }
  HWND list() { return page_.list().GetSafeHwnd(); }
  void Select(HTREEITEM item) { TreeView_SelectItem(tree(), item); }

  // Declared first: the page's entries keep a reference to the seams.
  corvane::Win32Platform win32_;
  corvane::ScratchFolder folder_;
  details_test::HostWindow host_;
  CDependencyPage page_;
  std::string server_;
  bool held_ = true;
};

TEST_F(DependencyPageTest, SystemDllListsItsDependenciesFlatAtTheTop) {
  corvane::CComFileObject record(win32_.platform, details_test::SystemFile("ole32.dll"));
  page_.Fill(record);
  std::vector<TreeItemInfo> items = TopLevelItems(tree());
  ASSERT_FALSE(items.empty());
  EXPECT_EQ(page_.tree().entry_count(), items.size());
  for (const TreeItemInfo& item : items) {
    EXPECT_FALSE(item.has_children) << item.text;
    EXPECT_TRUE(item.image == 0 || item.image == 1 || item.image == 4) << item.text;
    EXPECT_EQ(item.selected_image, item.image) << item.text;
    EXPECT_EQ(page_.tree().GetEntry(item.handle)->module_name(), item.text);
  }
  EXPECT_EQ(items.front().image, 0) << "the first import of a system DLL is found";
}

TEST_F(DependencyPageTest, FoundAndMissingDllsGetTheirImagesInWalkOrder) {
  corvane::CComFileObject record(win32_.platform, server_);
  page_.Fill(record);
  std::vector<TreeItemInfo> items = TopLevelItems(tree());
  ASSERT_GE(items.size(), 2u);
  EXPECT_EQ(items.front().text, "KERNEL32.dll");
  EXPECT_EQ(items.front().image, 0);
  // The missing DLL comes after everything KERNEL32 pulls in.
  EXPECT_EQ(items.back().text, "corvane_nowhere.dll");
  EXPECT_EQ(items.back().image, 1);
  EXPECT_EQ(items.back().selected_image, 1);
}

TEST_F(DependencyPageTest, SelectingAnEntryListsItsAttributes) {
  corvane::CComFileObject record(win32_.platform, server_);
  page_.Fill(record);
  std::vector<TreeItemInfo> items = TopLevelItems(tree());
  ASSERT_GE(items.size(), 2u);

  Select(items.back().handle);
  ASSERT_EQ(ItemCount(list()), 3);
  EXPECT_EQ(ItemText(list(), 0, 0), "File Location");
  EXPECT_EQ(ItemText(list(), 0, 1), "");
  EXPECT_EQ(ItemText(list(), 1, 0), "Status");
  EXPECT_EQ(ItemText(list(), 1, 1), corvane::kStatusMissing);
  EXPECT_EQ(ItemText(list(), 2, 0), "Found By");
  EXPECT_EQ(ItemText(list(), 2, 1), "not found");
  for (int row = 0; row < 3; ++row) EXPECT_EQ(ItemImage(list(), row), 1) << row;

  // The found DLL replaces the rows: path, status, size and dates, how it was found, then
  // version strings.
  Select(items.front().handle);
  ASSERT_GE(ItemCount(list()), 7);
  EXPECT_EQ(ItemText(list(), 0, 1), page_.tree().GetEntry(items.front().handle)->GetFilePath());
  EXPECT_EQ(ItemText(list(), 1, 1), corvane::kStatusExists);
  for (int row = 0; row < 7; ++row) EXPECT_EQ(ItemImage(list(), row), 2) << row;
  EXPECT_EQ(ItemText(list(), 2, 0), "File Size");
  EXPECT_EQ(ItemText(list(), 6, 0), "Found By");
  EXPECT_EQ(ItemText(list(), 6, 1), "search path");
  for (int row = 7; row < ItemCount(list()); ++row) EXPECT_EQ(ItemImage(list(), row), 3) << row;

  // No selection, no rows.
  Select(nullptr);
  EXPECT_EQ(ItemCount(list()), 0);
}

TEST_F(DependencyPageTest, ContractsAndDelayLoadedDllsSayHowTheyAreFound) {
  // An image of this process's bitness, so that the loader's answers are its own.
  corvane::PeLayout layout;
  layout.pe32_plus = sizeof(void*) == 8;
  layout.delay_imports = {"msimg32.dll", "corvane_nowhere_later.dll"};
  const std::string server = folder_.path() + "\\contracts.dll";
  details_test::WritePeFile(server, {"api-ms-win-core-synch-l1-2-0.dll"}, layout);
  corvane::CComFileObject record(win32_.platform, server);
  page_.Fill(record);
  std::vector<TreeItemInfo> items = TopLevelItems(tree());
  ASSERT_GE(items.size(), 3u);
  EXPECT_EQ(items.front().text, "api-ms-win-core-synch-l1-2-0.dll");
  EXPECT_EQ(items.front().image, 0);
  Select(items.front().handle);
  ASSERT_GE(ItemCount(list()), 7);
  EXPECT_EQ(ItemText(list(), 6, 0), "Found By");
  EXPECT_EQ(ItemText(list(), 6, 1), "API set");

  // The delay-loaded DLLs follow, with what they pull in: found with an image of their own,
  // or missing.
  auto later = std::find_if(items.begin(), items.end(),
                            [](const TreeItemInfo& item) { return item.text == "msimg32.dll"; });
  ASSERT_NE(later, items.end());
  for (auto item = later; item + 1 != items.end(); ++item) EXPECT_EQ(item->image, 4) << item->text;
  Select(later->handle);
  ASSERT_GE(ItemCount(list()), 8);
  EXPECT_EQ(ItemText(list(), 7, 0), "Loaded");
  EXPECT_EQ(ItemText(list(), 7, 1), "on first use (delay-loaded)");
  EXPECT_EQ(items.back().text, "corvane_nowhere_later.dll");
  EXPECT_EQ(items.back().image, 1);
}

TEST_F(DependencyPageTest, AnItemWithoutAnEntryOfThePageListsNothing) {
  // An item that another hand inserted carries no entry of the page; selecting it is harmless.
  HTREEITEM stranger = page_.tree().InsertItem("STRANGER.DLL");
  TVITEMA info = {};
  info.mask = TVIF_PARAM;
  info.hItem = stranger;
  info.lParam = 0x1234;
  TreeView_SetItem(tree(), &info);
  EXPECT_EQ(page_.tree().GetEntry(stranger), nullptr);
  Select(stranger);
  EXPECT_EQ(ItemCount(list()), 0);
}

TEST_F(DependencyPageTest, ClearEmptiesTheTreeTheEntriesAndTheList) {
  corvane::CComFileObject record(win32_.platform, server_);
  page_.Fill(record);
  Select(TreeView_GetRoot(tree()));
  ASSERT_GT(ItemCount(list()), 0);

  page_.Clear();
  EXPECT_EQ(TreeView_GetCount(tree()), 0u);
  EXPECT_EQ(page_.tree().entry_count(), 0u);
  EXPECT_EQ(ItemCount(list()), 0);

  // Filled again, the page shows the new record alone.
  page_.Fill(record);
  EXPECT_EQ(page_.tree().entry_count(), TopLevelItems(tree()).size());
  EXPECT_EQ(ItemCount(list()), 0);
}

TEST_F(DependencyPageTest, RecordsWithoutAReadableServerShowNoDependencies) {
  corvane::ScratchClasses classes;
  const char kMissing[] = "{D1000000-0000-0000-0000-000000000001}";
  classes.Set(std::string("CLSID\\") + kMissing + "\\InprocServer32", nullptr,
              folder_.path() + "\\gone.dll");
  corvane::CDllServerObject misbehaved(win32_.platform, kMissing);
  ASSERT_EQ(misbehaved.exists(), 0);
  page_.Fill(misbehaved);
  EXPECT_EQ(TreeView_GetCount(tree()), 0u);

  // Present but not a PE file.
  const std::string text_file = folder_.AddFile("notes.dll");
  corvane::CComFileObject not_pe(win32_.platform, text_file);
  page_.Fill(not_pe);
  EXPECT_EQ(TreeView_GetCount(tree()), 0u);
  EXPECT_EQ(page_.tree().entry_count(), 0u);
}

TEST_F(DependencyPageTest, DestroyingThePageReleasesItsEntries) {
  corvane::CComFileObject record(win32_.platform, server_);
  auto page = std::make_unique<CDependencyPage>();
  ASSERT_TRUE(page->Create(&host_));
  page->Fill(record);
  TreeView_SelectItem(page->tree().GetSafeHwnd(), TreeView_GetRoot(page->tree().GetSafeHwnd()));
  ASSERT_GT(page->tree().entry_count(), 0u);
  DestroyWindow(page->GetSafeHwnd());
  EXPECT_EQ(page->tree().entry_count(), 0u);
  EXPECT_EQ(page->GetSafeHwnd(), nullptr);
  page.reset();

  // A page deleted while its window and entries are alive takes both with it.
  auto alive = std::make_unique<CDependencyPage>();
  ASSERT_TRUE(alive->Create(&host_));
  alive->Fill(record);
  TreeView_SelectItem(alive->tree().GetSafeHwnd(), TreeView_GetRoot(alive->tree().GetSafeHwnd()));
  HWND window = alive->GetSafeHwnd();
  alive.reset();
  EXPECT_FALSE(IsWindow(window));
}

TEST_F(DependencyPageTest, TreeAndListShareTheFiveImagesAndListHasNameAndValue) {
  EXPECT_EQ(TreeView_GetImageList(tree(), TVSIL_NORMAL), page_.images());
  EXPECT_EQ(ListView_GetImageList(list(), LVSIL_SMALL), page_.images());
  EXPECT_EQ(ImageList_GetImageCount(page_.images()), 5);
  char heading[32] = "";
  LVCOLUMNA column = {};
  column.mask = LVCF_TEXT | LVCF_WIDTH;
  column.pszText = heading;
  column.cchTextMax = sizeof heading;
  ASSERT_TRUE(ListView_GetColumn(list(), 0, &column));
  EXPECT_STREQ(heading, "Name");
  ASSERT_TRUE(ListView_GetColumn(list(), 1, &column));
  EXPECT_STREQ(heading, "Value");
  EXPECT_FALSE(ListView_GetColumn(list(), 2, &column));
}

TEST_F(DependencyPageTest, EnterAndEscapeLeaveThePageShown) {
  ShowWindow(host_.GetSafeHwnd(), SW_SHOWNOACTIVATE);
  ShowWindow(page_.GetSafeHwnd(), SW_SHOW);
  for (int key : {IDOK, IDCANCEL}) {
    SendMessageA(page_.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(key, BN_CLICKED), 0);
    EXPECT_TRUE(IsWindowVisible(page_.GetSafeHwnd())) << key;
  }
}

TEST_F(DependencyPageTest, TreeTakesThreeTenthsAndListTheRest) {
  MoveWindow(page_.GetSafeHwnd(), 0, 0, 333, 200, TRUE);
  RECT tree_rect = RectInParent(tree());
  RECT list_rect = RectInParent(list());
  EXPECT_EQ(tree_rect.left, 0);
  EXPECT_EQ(tree_rect.top, 0);
  EXPECT_EQ(tree_rect.right, 99);
  EXPECT_EQ(tree_rect.bottom, 200);
  EXPECT_EQ(list_rect.left, 103);
  EXPECT_EQ(list_rect.right - list_rect.left, 229);
  EXPECT_EQ(list_rect.bottom, 200);
  // The value column fills what the name column leaves.
  EXPECT_GT(ListView_GetColumnWidth(list(), 1), 0);

  // While the layout is held the page keeps its controls where they are.
  SetLayoutHold(true);
  MoveWindow(page_.GetSafeHwnd(), 0, 0, 500, 300, TRUE);
  SetLayoutHold(false);
  EXPECT_EQ(RectInParent(tree()).right, 99);
}

}  // namespace
