// Selecting a record in the object list fills the attributes pane and both details pages;
// a misbehaved record has no dependencies; no selection empties every pane.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "app/settings.h"
#include "mainwindow/plenor_view.h"
#include "mainwindow/tab_view.h"
#include "tests/gui/frame_fixture.h"
#include "tests/win32/scratch_classes.h"

namespace {

const char kPresent[] = "{C2000000-0000-0000-0000-00000000000A}";
const char kMissing[] = "{C2000000-0000-0000-0000-00000000000B}";

class DetailsPanesTest : public FrameFixture {
 protected:
  DetailsPanesTest() {
    saved_ = corvane::AppSettings();
    corvane::AppSettings() = corvane::Settings();
    char system[MAX_PATH] = "";
    GetSystemDirectoryA(system, MAX_PATH);
    AddControl(kPresent, "Fixture.Present.1", std::string(system) + "\\ole32.dll");
    AddControl(kMissing, "Fixture.Missing.1", std::string(system) + "\\no such server.ocx");
  }
  ~DetailsPanesTest() override { corvane::AppSettings() = saved_; }

  void AddControl(const char* clsid, const char* prog_id, const std::string& path) {
    std::string key = std::string("CLSID\\") + clsid;
    classes_.Set(key + "\\ProgID", nullptr, prog_id);
    classes_.Set(key + "\\InprocServer32", nullptr, path);
    classes_.AddKey(key + "\\Control");
  }
  void Select(int index) {
    CListCtrl& list = frame_->GetObjectTree()->list();
    for (int i = 0; i < list.GetItemCount(); ++i) list.SetItemState(i, 0, LVIS_SELECTED);
    if (index >= 0) list.SetItemState(index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    Pump();
  }
  int AttributeRows() { return frame_->GetPlenorView()->list().GetItemCount(); }
  std::string AttributeValue(const std::string& name) {
    CListCtrl& rows = frame_->GetPlenorView()->list();
    for (int i = 0; i < rows.GetItemCount(); ++i) {
      if (rows.GetItemText(i, 0) == name) return rows.GetItemText(i, 1);
    }
    return "(no row)";
  }
  int Dependencies() {
    return static_cast<int>(
        TreeView_GetCount(frame_->GetTabView()->dependency_page().tree().GetSafeHwnd()));
  }
  int Keys() {
    return static_cast<int>(TreeView_GetCount(frame_->GetTabView()->registry_page().tree().GetSafeHwnd()));
  }

  corvane::ScratchClasses classes_;
  corvane::Settings saved_;
};

TEST_F(DetailsPanesTest, SelectingARecordFillsAllThreePanes) {
  ASSERT_NE(nullptr, Open());
  Select(1);  // Fixture.Present.1, after Fixture.Missing.1
  ASSERT_EQ("Fixture.Present.1", frame_->GetObjectTree()->GetFirstSelectedRecord()->GetName());
  EXPECT_EQ("Fixture.Present.1", AttributeValue("ProgID"));
  EXPECT_EQ(kPresent, AttributeValue("CLSID"));
  EXPECT_GT(AttributeRows(), 8);
  EXPECT_GT(Dependencies(), 3);
  // HKEY_CLASSES_ROOT, CLSID, the class and its subkeys.
  EXPECT_GE(Keys(), 4);
}

TEST_F(DetailsPanesTest, AMisbehavedRecordShowsNoDependencies) {
  ASSERT_NE(nullptr, Open());
  Select(1);
  ASSERT_GT(Dependencies(), 0);
  Select(0);  // Fixture.Missing.1
  ASSERT_EQ("Fixture.Missing.1", frame_->GetObjectTree()->GetFirstSelectedRecord()->GetName());
  EXPECT_EQ(0, Dependencies());
  EXPECT_GT(AttributeRows(), 0);
  EXPECT_GE(Keys(), 4);
}

TEST_F(DetailsPanesTest, RemovingTheSelectionEmptiesEveryPane) {
  ASSERT_NE(nullptr, Open());
  Select(1);
  CTabView* tabs = frame_->GetTabView();
  // Show the values of a key and the attributes of a dependency, then deselect.
  CTreeCtrl& keys = tabs->registry_page().tree();
  HTREEITEM root = keys.GetChildItem(TVI_ROOT);
  HTREEITEM first_key = root != nullptr ? keys.GetChildItem(root) : nullptr;
  ASSERT_NE(nullptr, first_key);
  keys.SelectItem(first_key);
  CTreeCtrl& deps = tabs->dependency_page().tree();
  deps.SelectItem(deps.GetChildItem(TVI_ROOT));
  Pump();
  EXPECT_GT(tabs->dependency_page().list().GetItemCount(), 0);

  Select(-1);
  EXPECT_EQ(0, AttributeRows());
  EXPECT_EQ(0, Dependencies());
  EXPECT_EQ(0, Keys());
  EXPECT_EQ(0, tabs->registry_page().values().GetItemCount());
  EXPECT_EQ(0, tabs->dependency_page().list().GetItemCount());
}

}  // namespace
