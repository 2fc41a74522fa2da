// The Type Library page and Find Broken Type Libraries on a frame over scratch classes: the
// fixture control's library against its IDL source, the copy command, a broken registration's
// sentence and status, and the search that marks broken ones without calling them misbehaved.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/settings.h"
#include "mainwindow/object_list_rules.h"
#include "mainwindow/plenor_view.h"
#include "mainwindow/tab_view.h"
#include "tests/gui/frame_fixture.h"
#include "tests/win32/idl_oracle.h"
#include "tests/win32/scratch_classes.h"
#include "tools/missing_dependencies_dlg.h"

namespace {

using gui_test::RunModal;
using gui_test::SendClick;
using gui_test::WindowText;

const char kFixture[] = "{6E3A1C52-8F0B-4D27-9B1E-2C7D5A40F913}";
const char kFixtureLib[] = "{B94D07E1-3A62-4C8F-A5D3-71E0C2F8B6A4}";
const char kOrphan[] = "{C2400000-0000-0000-0000-0000000000F1}";
const char kOrphanLib[] = "{C2410000-0000-0000-0000-0000000000F1}";

class TypeLibPageTest : public FrameFixture {
 protected:
  TypeLibPageTest() {
    saved_ = corvane::AppSettings();
    corvane::AppSettings() = corvane::Settings();
    const std::string control = corvane::FixturePath("corvane_fixture_control.ocx");
    AddControl(kFixture, "A.Fixture.1", control, kFixtureLib);
    AddControl(kOrphan, "B.Orphan.1", control, kOrphanLib);
    const std::string lib_key = std::string("TypeLib\\") + kFixtureLib + "\\1.0";
    classes_.Set(lib_key, nullptr, "Corvane Fixture Control Library");
    classes_.Set(lib_key + "\\0\\" + (sizeof(void*) == 8 ? "win64" : "win32"), nullptr, control);
  }
  ~TypeLibPageTest() override { corvane::AppSettings() = saved_; }

  void AddControl(const char* clsid, const char* prog_id, const std::string& path, const char* lib) {
    const std::string key = std::string("CLSID\\") + clsid;
    classes_.Set(key + "\\ProgID", nullptr, prog_id);
    classes_.Set(key + "\\InprocServer32", nullptr, path);
    classes_.Set(key + "\\TypeLib", nullptr, lib);
    classes_.Set(key + "\\Version", nullptr, "1.0");
    classes_.AddKey(key + "\\Control");
  }
  void Select(int index) {
    CListCtrl& list = Tree()->list();
    for (int i = 0; i < list.GetItemCount(); ++i) list.SetItemState(i, 0, LVIS_SELECTED);
    list.SetItemState(index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    Pump();
  }
  void ShowTypeLibTab() {
    CTabView* tabs = frame_->GetTabView();
    tabs->tabs().SetCurSel(2);
    NMHDR change = {tabs->tabs().GetSafeHwnd(), IDC_DETAIL_TABS, TCN_SELCHANGE};
    SendMessageA(*tabs, WM_NOTIFY, IDC_DETAIL_TABS, reinterpret_cast<LPARAM>(&change));
    Pump();
  }
  CTypeLibPage& Page() { return frame_->GetTabView()->typelib_page(); }
  std::string ItemText(HTREEITEM item) { return Page().tree().GetItemText(item); }
  std::vector<std::string> ChildTexts(HTREEITEM item) {
    std::vector<std::string> texts;
    for (HTREEITEM child = Page().tree().GetChildItem(item); child != nullptr;
         child = Page().tree().GetNextSiblingItem(child))
      texts.push_back(ItemText(child));
    return texts;
  }
  std::string AttributeValue(const std::string& name) {
    CListCtrl& rows = frame_->GetPlenorView()->list();
    for (int i = 0; i < rows.GetItemCount(); ++i)
      if (rows.GetItemText(i, 0) == name) return rows.GetItemText(i, 1);
    return "(no row)";
  }
  int ImageOf(int index) {
    LVITEMA item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = index;
    Tree()->list().SendMessage(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return item.iImage;
  }
  std::string Clipboard() {
    std::string text;
    if (!OpenClipboard(nullptr)) return text;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
      text = static_cast<const char*>(GlobalLock(data));
      GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
  }

  corvane::Settings saved_;
  corvane::ScratchClasses classes_;
};

TEST_F(TypeLibPageTest, FixtureLibraryMatchesItsIdlAndCopiesTheSelectedItem) {
  ASSERT_NE(nullptr, Open());
  ASSERT_EQ(Tree()->list().GetItemCount(), 2);
  Select(0);
  EXPECT_EQ(AttributeValue("TypeLib Status"), "OK");
  // Nothing is read until the page is shown.
  EXPECT_EQ(TreeView_GetCount(Page().tree().GetSafeHwnd()), 0u);
  ShowTypeLibTab();
  EXPECT_EQ(Page().status_text().find(std::string("The type library ") + kFixtureLib +
                                      " version 1.0 is registered and loads from "),
            0u)
      << Page().status_text();
  HTREEITEM root = TreeView_GetRoot(Page().tree().GetSafeHwnd());
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(ItemText(root), "library CorvaneFixtureLib 1.0 - Corvane Fixture Control Library");

  // Every type the IDL declares, with its members as the IDL writes them.
  corvane::TypeLibNode shown;
  for (HTREEITEM type = Page().tree().GetChildItem(root); type != nullptr;
       type = Page().tree().GetNextSiblingItem(type)) {
    corvane::TypeLibNode node{ItemText(type), "", false, {}};
    for (const std::string& member : ChildTexts(type)) node.children.push_back({member, "", false, {}});
    shown.children.push_back(node);
  }
  const std::vector<corvane::IdlType> oracle = corvane::ReadFixtureIdl();
  ASSERT_EQ(shown.children.size(), oracle.size());
  for (const corvane::IdlType& type : oracle) {
    const corvane::TypeLibNode* node = corvane::FindTypeNode(shown, type.heading);
    ASSERT_NE(node, nullptr) << type.heading;
    EXPECT_EQ(corvane::MemberTexts(*node), type.members) << type.heading;
  }
  EXPECT_EQ(shown.children[0].children[0].text, "[default] interface IFixtureControl - default interface");
  EXPECT_EQ(shown.children[0].children[1].text,
            "[default, source] dispinterface _DFixtureEvents - default events");

  // The class's own coclass is selected and its IDL shown; Copy puts that text on the clipboard.
  HTREEITEM selected = Page().tree().GetSelectedItem();
  EXPECT_EQ(ItemText(selected), "coclass CorvaneFixtureControl (control)");
  EXPECT_EQ(Page().idl_text().find("[uuid(6E3A1C52-8F0B-4D27-9B1E-2C7D5A40F913), "
                                   "helpstring(\"Corvane Fixture Control\"), control]\n"
                                   "coclass CorvaneFixtureControl {\n"),
            0u)
      << Page().idl_text();
  SendClick(Page().GetSafeHwnd(), IDC_TYPELIB_COPY);
  std::string expected;
  for (char c : Page().idl_text()) expected += c == '\n' ? std::string("\r\n") : std::string(1, c);
  EXPECT_EQ(Clipboard(), expected);
  // Selecting a member shows its line.
  HTREEITEM events = Page().tree().GetNextSiblingItem(Page().tree().GetNextSiblingItem(
      Page().tree().GetChildItem(root)));
  Page().tree().SelectItem(Page().tree().GetChildItem(events));
  EXPECT_EQ(Page().idl_text(), "[id(0x00000001)] void Clicked([in] long x, [in] long y);\n");
}

TEST_F(TypeLibPageTest, BrokenRegistrationIsSaidAndMarkedButStaysWellBehaved) {
  ASSERT_NE(nullptr, Open());
  ShowTypeLibTab();
  Select(1);
  EXPECT_EQ(AttributeValue("TypeLib Status"), "Not Registered");
  EXPECT_NE(Page().status_text().find("is not registered"), std::string::npos) << Page().status_text();
  EXPECT_EQ(TreeView_GetCount(Page().tree().GetSafeHwnd()), 0u);
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(Page().GetSafeHwnd(), IDC_TYPELIB_COPY)));

  CBrokenTypeLibsDlg search(Tree()->list(), Tree()->GetCategoryName());
  std::string caption, processed, found;
  RunModal(search, [&](HWND dialog) {
    caption = WindowText(dialog);
    SendClick(dialog, IDC_MISSING_SEARCH);
    processed = WindowText(GetDlgItem(dialog, IDC_MISSING_PROCESSED));
    found = WindowText(GetDlgItem(dialog, IDC_MISSING_FOUND));
    SendClick(dialog, IDOK);
  });
  EXPECT_EQ(caption, "Find Broken Type Libraries for Controls");
  EXPECT_EQ(processed, "2");
  EXPECT_EQ(found, "1");
  EXPECT_NE(ImageOf(0), corvane::kImageBrokenTypeLib);
  EXPECT_EQ(ImageOf(1), corvane::kImageBrokenTypeLib);
  EXPECT_FALSE(corvane::DrawnMisbehaved(corvane::kImageBrokenTypeLib));
}

}  // namespace
