// The Registry Entries page over a scratch HKEY_CLASSES_ROOT: the key tree a record fills, the
// values of the selected key, edits through the Edit Value dialog, copy, the menu and layout.
#include "mainwindow/registry_page.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/gui_platform.h"
#include "catalogue/registered_object.h"
#include "mainwindow/edit_value_dlg.h"
#include "mainwindow/layout_hold.h"
#include "resources/resource.h"
#include "tests/gui/modal_driver.h"
#include "tests/win32/scratch_classes.h"

namespace {

const char kClsid[] = "{C2400000-0000-0000-0000-000000000001}";
const std::string kClassKey = std::string("CLSID\\") + kClsid;
const std::string kServerKey = kClassKey + "\\InprocServer32";
const char kServerPath[] = "C:\\corvane\\fixture.dll";
const char kMessageCaption[] = "Corvane Message";
const char kEditCaption[] = "Edit Value";

using gui_test::ModalAnswer;
using gui_test::Pump;
using gui_test::WindowText;

// An edit that types text into the Edit Value dialog and ends it with button.
std::function<int(HWND)> TypeAndPress(const std::string& text, int button) {
  return [text, button](HWND dialog) {
    SetDlgItemTextA(dialog, IDC_VALUE_DATA, text.c_str());
    return button;
  };
}

void SetRaw(const std::string& path, const char* name, DWORD type, const std::string& bytes) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                 static_cast<DWORD>(bytes.size()));
  RegCloseKey(key);
}

void SetString(const std::string& path, const char* name, const std::string& text) {
  SetRaw(path, name, REG_SZ, std::string(text.c_str(), text.size() + 1));
}

void SetDword(const std::string& path, const char* name, DWORD value) {
  SetRaw(path, name, REG_DWORD, std::string(reinterpret_cast<const char*>(&value), 4));
}

// The value's bytes as stored, or "<absent>".
std::string ReadRaw(const std::string& path, const char* name) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return "<absent>";
  char data[4096];
  DWORD size = sizeof data;
  LONG rc = RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size);
  RegCloseKey(key);
  return rc == ERROR_SUCCESS ? std::string(data, size) : "<absent>";
}

std::string ClipboardText() {
  std::string text;
  if (!OpenClipboard(nullptr)) return "<no clipboard>";
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const char* chars = static_cast<const char*>(GlobalLock(data))) text = chars;
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

class RegistryPageTest : public testing::Test {
 protected:
  void SetUp() override {
    held_ = LayoutHeld();
    SetLayoutHold(false);
    SetString(kClassKey, nullptr, "Fixture Values");
    SetString(kServerKey, nullptr, kServerPath);
    SetString(kServerKey, "ThreadingModel", "Apartment");
    const char* host_class = RegisterFrameworkClass("CorvaneRegistryPageHost", 0,
                                                    GetSysColorBrush(COLOR_3DFACE), nullptr);
    RECT rect = {40, 40, 680, 440};
    ASSERT_TRUE(host_.CreateEx(0, host_class, "Registry page",
                               WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, rect, nullptr, 0));
    ASSERT_TRUE(page_.Create(&host_));
    MoveWindow(page_, 0, 0, 600, 300, TRUE);
    ShowWindow(page_, SW_SHOW);
    Pump();
  }
  void TearDown() override {
    page_.DestroyWindow();
    host_.DestroyWindow();
    Pump();
    SetLayoutHold(held_);
  }

  void Fill() {
    corvane::CRegisteredObject record(GuiPlatform(), kClsid, "InprocServer32");
    page_.Clear();
    record.FillRegistryTree(page_.key_tree());
  }
  // The item at the path from the top item down, or null.
  HTREEITEM Item(const std::string& path) {
    CTreeCtrl& tree = page_.tree();
    HTREEITEM item = TreeView_GetRoot(tree);
    std::string rest = path;
    if (item == nullptr || tree.GetItemText(item) != "HKEY_CLASSES_ROOT") return nullptr;
    while (!rest.empty()) {
      const std::size_t slash = rest.find('\\');
      const std::string part = rest.substr(0, slash);
      rest = slash == std::string::npos ? "" : rest.substr(slash + 1);
      item = tree.GetChildItem(item);
      while (item != nullptr && tree.GetItemText(item) != part) item = tree.GetNextSiblingItem(item);
      if (item == nullptr) return nullptr;
    }
    return item;
  }
  // Selects the key in the tree as a click does; the tree tells the page.
  void Select(const std::string& path) {
    HTREEITEM item = Item(path);
    ASSERT_NE(item, nullptr) << path;
    page_.tree().SelectItem(item);
  }
  std::vector<std::pair<std::string, std::string>> Rows() {
    std::vector<std::pair<std::string, std::string>> rows;
    for (int i = 0; i < page_.values().GetItemCount(); ++i)
      rows.emplace_back(page_.values().GetItemText(i, 0), page_.values().GetItemText(i, 1));
    return rows;
  }
  int Row(const std::string& name) {
    for (int i = 0; i < page_.values().GetItemCount(); ++i)
      if (page_.values().GetItemText(i, 0) == name) return i;
    return -1;
  }
  int Image(int row) {
    LVITEMA item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    page_.values().GetItem(&item);
    return item.iImage;
  }
  void SelectRow(int row) {
    page_.values().SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  }
  // A double click as the mouse gives it, at a point of the list.
  void DoubleClickAt(POINT point) {
    page_.values().SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(point.x, point.y));
  }
  void DoubleClickRow(int row) {
    RECT label;
    ASSERT_TRUE(page_.values().GetItemRect(row, &label, LVIR_LABEL));
    DoubleClickAt({(label.left + label.right) / 2, (label.top + label.bottom) / 2});
  }
  void Command(UINT id) { page_.SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0); }
  // The control's rectangle in the page's client coordinates.
  RECT Placement(HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, page_, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  }

  corvane::ScratchClasses classes_;
  bool held_ = true;
  CWnd host_;
  CRegistryPage page_;
};

using RowList = std::vector<std::pair<std::string, std::string>>;

TEST_F(RegistryPageTest, RecordFillsTheKeyTreeWithKeyImages) {
  classes_.AddKey(kClassKey + "\\Implemented Categories\\{0DE86A52-2BAA-11CF-A229-00AA003D7352}");
  Fill();
  CTreeCtrl& tree = page_.tree();
  HTREEITEM top = TreeView_GetRoot(tree);
  ASSERT_NE(top, nullptr);
  EXPECT_NE(TreeView_GetItemState(tree, top, TVIS_EXPANDED) & TVIS_EXPANDED, 0u);
  ASSERT_NE(Item(kServerKey), nullptr);
  ASSERT_NE(Item(kClassKey + "\\Implemented Categories\\{0DE86A52-2BAA-11CF-A229-00AA003D7352}"),
            nullptr);
  TVITEMA item = {};
  item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  item.hItem = Item(kServerKey);
  TreeView_GetItem(tree, &item);
  EXPECT_EQ(item.iImage, 0);
  EXPECT_EQ(item.iSelectedImage, 1);
  // One image list of four serves both controls.
  EXPECT_EQ(TreeView_GetImageList(tree, TVSIL_NORMAL), page_.images());
  EXPECT_EQ(page_.values().GetImageList(LVSIL_SMALL), page_.images());
  EXPECT_EQ(ImageList_GetImageCount(page_.images()), 4);

  page_.Clear();
  EXPECT_EQ(TreeView_GetCount(tree), 0u);
  EXPECT_EQ(page_.values().GetItemCount(), 0);
}

TEST_F(RegistryPageTest, TopItemAndMissingKeysListNothing) {
  classes_.AddKey(kClassKey + "\\Gone");
  Fill();
  Select(kServerKey);
  EXPECT_EQ(page_.values().GetItemCount(), 2);
  EXPECT_EQ(page_.key_path(), kServerKey);
  Select("");
  EXPECT_EQ(page_.values().GetItemCount(), 0);
  // A key deleted since the tree was filled lists as empty, without a message.
  ASSERT_EQ(RegDeleteKeyA(HKEY_CLASSES_ROOT, (kClassKey + "\\Gone").c_str()), ERROR_SUCCESS);
  Select(kServerKey);
  Select(kClassKey + "\\Gone");
  EXPECT_EQ(page_.values().GetItemCount(), 0);
}

TEST_F(RegistryPageTest, DefaultValueFirstThenNamesSortedIgnoringCase) {
  SetString(kServerKey, "alpha", "first");
  SetString(kServerKey, "Beta", "second");
  // The registry may hand these out after the letters; the list puts them before.
  SetString(kServerKey, "~Flag", "third");
  Fill();
  Select(kServerKey);
  EXPECT_EQ(Rows(), (RowList{{"(Default)", kServerPath},
                          {"~Flag", "third"},
                          {"alpha", "first"},
                          {"Beta", "second"},
                          {"ThreadingModel", "Apartment"}}));
  for (int row = 0; row < 5; ++row) EXPECT_EQ(Image(row), 2) << row;
}

TEST_F(RegistryPageTest, ShowsNumbersAndBinaryData) {
  const std::string key = kClassKey + "\\Formats";
  SetDword(key, "Ten", 10);
  SetDword(key, "AllBits", 0xFFFFFFFFu);
  SetRaw(key, "Empty", REG_BINARY, "");
  Fill();
  Select(key);
  EXPECT_EQ(Rows(), (RowList{{"AllBits", "FFFFFFFF (-1)"}, {"Empty", ""}, {"Ten", "A (10)"}}));
  for (int row = 0; row < 3; ++row) EXPECT_EQ(Image(row), 3) << row;
}

TEST_F(RegistryPageTest, ValueOverTheBufferIsListedBySizeAndCannotBeEdited) {
  const std::string key = kClassKey + "\\Large";
  const std::string big(3000, 'Z');
  SetString(key, "A small", "a");
  SetString(key, "B big", big);
  SetString(key, "C small", "c");
  SetDword(key, "D number", 10);
  Fill();
  Select(key);
  EXPECT_EQ(Rows(), (RowList{{"A small", "a"},
                             {"B big", "(too large to show: 3001 bytes)"},
                             {"C small", "c"},
                             {"D number", "A (10)"}}));
  std::string text;
  {
    ModalAnswer message(kMessageCaption, [&text](HWND dialog) {
      text = WindowText(GetDlgItem(dialog, IDC_MESSAGE_TEXT));
      return IDOK;
    });
    ModalAnswer edit(kEditCaption, [](HWND) { return IDOK; });
    DoubleClickRow(Row("B big"));
    EXPECT_EQ(edit.answered(), 0);
  }
  EXPECT_EQ(text, "B big is too large to be shown or edited by Corvane.");
  EXPECT_EQ(ReadRaw(key, "B big"), big + '\0');
}

TEST_F(RegistryPageTest, DoubleClickOnNonStringShowsMessageAndWritesNothing) {
  const std::string key = kClassKey + "\\Formats";
  SetRaw(key, "Flags", REG_BINARY, std::string("\x01\x02", 2));
  Fill();
  Select(key);
  std::string text;
  {
    ModalAnswer answer(kMessageCaption, [&text](HWND dialog) {
      text = WindowText(GetDlgItem(dialog, IDC_MESSAGE_TEXT));
      return IDOK;
    });
    DoubleClickRow(Row("Flags"));
    EXPECT_EQ(answer.answered(), 1);
  }
  EXPECT_EQ(text.find("Only string values can be edited by Corvane (REG_SZ, REG_MULTI_SZ, "
                      "REG_EXPAND_SZ)."),
            0u)
      << text;
  EXPECT_NE(text.find("Flags is not a string."), std::string::npos) << text;
  EXPECT_EQ(ReadRaw(key, "Flags"), std::string("\x01\x02", 2));
}

TEST_F(RegistryPageTest, DoubleClickOnEmptySpaceOrWithoutRowsDoesNothing) {
  Fill();
  Select(kServerKey);
  ModalAnswer message(kMessageCaption, [](HWND) { return IDOK; });
  ModalAnswer edit(kEditCaption, [](HWND) { return IDCANCEL; });
  RECT client;
  GetClientRect(page_.values(), &client);
  DoubleClickAt({client.right / 2, client.bottom - 4});
  page_.EditValue(-1);
  page_.EditValue(page_.values().GetItemCount());
  Command(ID_EDIT_VALUE);  // no row selected
  EXPECT_EQ(message.answered(), 0);
  EXPECT_EQ(edit.answered(), 0);
}

TEST_F(RegistryPageTest, EditingDefaultWritesTheUnnamedValue) {
  Fill();
  Select(kServerKey);
  std::string shown_name, shown_data;
  bool name_enabled = true;
  {
    ModalAnswer edit(kEditCaption, [&](HWND dialog) {
      shown_name = WindowText(GetDlgItem(dialog, IDC_VALUE_NAME));
      shown_data = WindowText(GetDlgItem(dialog, IDC_VALUE_DATA));
      name_enabled = IsWindowEnabled(GetDlgItem(dialog, IDC_VALUE_NAME)) != FALSE;
      return TypeAndPress("C:\\corvane\\moved.dll", IDOK)(dialog);
    });
    DoubleClickRow(Row("(Default)"));
    EXPECT_EQ(edit.answered(), 1);
  }
  EXPECT_EQ(shown_name, "(Default)");
  EXPECT_EQ(shown_data, kServerPath);
  EXPECT_FALSE(name_enabled);
  EXPECT_EQ(ReadRaw(kServerKey, nullptr), std::string("C:\\corvane\\moved.dll", 21));
  EXPECT_EQ(ReadRaw(kServerKey, "(Default)"), "<absent>");
  // Listed again: the row shows what the registry now holds.
  EXPECT_EQ(Rows(), (RowList{{"(Default)", "C:\\corvane\\moved.dll"}, {"ThreadingModel", "Apartment"}}));
}

TEST_F(RegistryPageTest, ValueNamedDefaultStaysApartFromTheUnnamedOne) {
  const std::string key = kClassKey + "\\Named";
  SetString(key, nullptr, "unnamed");
  SetString(key, "(Default)", "named");
  Fill();
  Select(key);
  ASSERT_EQ(page_.values().GetItemCount(), 2);
  int named = -1;
  for (int row = 0; row < 2; ++row)
    if (page_.ValueAt(row)->name == "(Default)") named = row;
  ASSERT_GE(named, 0);
  EXPECT_EQ(page_.values().GetItemText(named, 1), "named");
  {
    ModalAnswer edit(kEditCaption, TypeAndPress("renamed", IDOK));
    SelectRow(named);
    Command(ID_EDIT_VALUE);
    EXPECT_EQ(edit.answered(), 1);
  }
  EXPECT_EQ(ReadRaw(key, "(Default)"), std::string("renamed", 8));
  EXPECT_EQ(ReadRaw(key, nullptr), std::string("unnamed", 8));
}

TEST_F(RegistryPageTest, CancelWritesNothing) {
  Fill();
  Select(kServerKey);
  const RowList before = Rows();
  {
    ModalAnswer edit(kEditCaption, TypeAndPress("changed", IDCANCEL));
    DoubleClickRow(Row("ThreadingModel"));
    EXPECT_EQ(edit.answered(), 1);
  }
  EXPECT_EQ(ReadRaw(kServerKey, "ThreadingModel"), std::string("Apartment", 10));
  EXPECT_EQ(Rows(), before);
}

TEST_F(RegistryPageTest, EditingMultiStringKeepsTheOtherStrings) {
  const std::string key = kClassKey + "\\Multi";
  SetRaw(key, "List", REG_MULTI_SZ, std::string("one\0two\0three\0\0", 15));
  Fill();
  Select(key);
  {
    ModalAnswer edit(kEditCaption, TypeAndPress("uno", IDOK));
    DoubleClickRow(Row("List"));
    EXPECT_EQ(edit.answered(), 1);
  }
  EXPECT_EQ(ReadRaw(key, "List"), std::string("uno\0two\0three\0\0", 15));
  EXPECT_EQ(Rows(), (RowList{{"List", "uno"}}));
}

TEST_F(RegistryPageTest, EditOfAKeyDeletedMeanwhileIsReportedAndTheListEmpties) {
  const std::string key = kClassKey + "\\Gone";
  SetString(key, "Path", "C:\\old");
  Fill();
  Select(key);
  std::string text;
  {
    ModalAnswer message(kMessageCaption, [&text](HWND dialog) {
      text = WindowText(GetDlgItem(dialog, IDC_MESSAGE_TEXT));
      return IDOK;
    });
    ModalAnswer edit(kEditCaption, [&key](HWND dialog) {
      RegDeleteKeyA(HKEY_CLASSES_ROOT, key.c_str());
      return TypeAndPress("C:\\new", IDOK)(dialog);
    });
    DoubleClickRow(Row("Path"));
    EXPECT_EQ(edit.answered(), 1);
    EXPECT_EQ(message.answered(), 1);
  }
  EXPECT_EQ(text.rfind("Path was not changed: ", 0), 0u) << text;
  EXPECT_EQ(ReadRaw(key, "Path"), "<absent>");
  EXPECT_EQ(page_.values().GetItemCount(), 0);
}

TEST_F(RegistryPageTest, CopyPutsTheSelectedDataOnTheClipboard) {
  SetDword(kServerKey, "Count", 10);
  Fill();
  Select(kServerKey);
  // Nothing selected: the clipboard keeps what it had.
  if (OpenClipboard(nullptr)) {
    EmptyClipboard();
    CloseClipboard();
  }
  Command(ID_COPY_VALUE);
  EXPECT_EQ(ClipboardText(), "");
  SelectRow(Row("Count"));
  Command(ID_COPY_VALUE);
  EXPECT_EQ(ClipboardText(), "A (10)");
  SelectRow(Row("ThreadingModel"));
  Command(ID_COPY_VALUE);
  EXPECT_EQ(ClipboardText(), "Apartment");
}

// Reads the shown popup menu's commands, then closes it.
std::vector<UINT> g_menu_ids;
std::vector<std::string> g_menu_texts;
void CALLBACK ReadAndCloseMenu(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND popup = FindWindowA("#32768", nullptr);
  if (popup == nullptr || !IsWindowVisible(popup)) return;
  KillTimer(nullptr, timer);
  HMENU menu = reinterpret_cast<HMENU>(SendMessageA(popup, 0x01E1 /* MN_GETHMENU */, 0, 0));
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    char text[64] = "";
    GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
    g_menu_ids.push_back(GetMenuItemID(menu, i));
    g_menu_texts.push_back(text);
  }
  EndMenu();
}

TEST_F(RegistryPageTest, RightClickShowsTheValueMenu) {
  Fill();
  Select(kServerKey);
  g_menu_ids.clear();
  g_menu_texts.clear();
  UINT_PTR timer = SetTimer(nullptr, 0, 20, ReadAndCloseMenu);
  NMITEMACTIVATE click = {};
  click.hdr = {page_.values().GetSafeHwnd(), IDC_VALUE_LIST, NM_RCLICK};
  click.iItem = 0;
  click.ptAction = {20, 10};
  page_.SendMessage(WM_NOTIFY, IDC_VALUE_LIST, reinterpret_cast<LPARAM>(&click));
  KillTimer(nullptr, timer);
  Pump();
  EXPECT_EQ(g_menu_ids, (std::vector<UINT>{ID_EDIT_VALUE, 0, ID_COPY_VALUE}));
  EXPECT_EQ(g_menu_texts, (std::vector<std::string>{"&Edit Value", "", "&Copy to Clipboard"}));
}

TEST_F(RegistryPageTest, TreeTakesFortyFivePercentAndTheListTheRest) {
  MoveWindow(page_, 0, 0, 401, 250, TRUE);
  RECT tree = Placement(page_.tree());
  RECT list = Placement(page_.values());
  EXPECT_EQ(tree.left, 0);
  EXPECT_EQ(tree.top, 0);
  EXPECT_EQ(tree.right, 180);
  EXPECT_EQ(tree.bottom, 250);
  EXPECT_EQ(list.left, 184);
  EXPECT_EQ(list.right - list.left, 216);
  EXPECT_EQ(list.bottom, 250);
  // The data column fills what the names leave.
  RECT client;
  GetClientRect(page_.values(), &client);
  const int names = static_cast<int>(page_.values().SendMessage(LVM_GETCOLUMNWIDTH, 0));
  const int data = static_cast<int>(page_.values().SendMessage(LVM_GETCOLUMNWIDTH, 1));
  EXPECT_GE(names + data, client.right - 1);

  SetLayoutHold(true);
  MoveWindow(page_, 0, 0, 600, 300, TRUE);
  EXPECT_EQ(Placement(page_.tree()).right, 180);
}

TEST_F(RegistryPageTest, EscapeAndEnterLeaveThePageShown) {
  Fill();
  MSG key = {};
  key.hwnd = page_.tree().GetSafeHwnd();
  key.message = WM_KEYDOWN;
  key.wParam = VK_ESCAPE;
  page_.PreTranslateMessage(&key);
  key.wParam = VK_RETURN;
  page_.PreTranslateMessage(&key);
  Pump();
  EXPECT_NE(GetWindowLongA(page_, GWL_STYLE) & WS_VISIBLE, 0);
}

// For screenshots: the page with a listed key, then the Edit Value dialog over it.
TEST_F(RegistryPageTest, DISABLED_ShowForScreenshot) {
  SetDword(kServerKey, "Flags", 10);
  SetRaw(kServerKey, "Bytes", REG_BINARY, std::string("\x01\xAB\x00\x10", 4));
  classes_.AddKey(kClassKey + "\\Implemented Categories\\{0DE86A52-2BAA-11CF-A229-00AA003D7352}");
  ShowWindow(host_, SW_SHOW);
  RECT client;
  GetClientRect(host_, &client);
  MoveWindow(page_, 0, 0, client.right, client.bottom, TRUE);
  Fill();
  Select(kServerKey);
  for (DWORD end = GetTickCount() + 2000; GetTickCount() < end;) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    Pump();
  }
  page_.EditValue(Row("ThreadingModel"));
}

TEST(EditValueDlg, ShowsNameAndSelectsTheWholeData) {
  std::string data = "Apartment";
  std::string caption, name;
  bool focused = false;
  DWORD start = 1, end = 0;
  {
    ModalAnswer answer(kEditCaption, [&](HWND dialog) {
      caption = WindowText(dialog);
      name = WindowText(GetDlgItem(dialog, IDC_VALUE_NAME));
      focused = GetFocus() == GetDlgItem(dialog, IDC_VALUE_DATA);
      SendMessageA(GetDlgItem(dialog, IDC_VALUE_DATA), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
      return IDOK;
    });
    CEditValueDlg dialog("ThreadingModel", data);
    EXPECT_EQ(dialog.DoModal(), IDOK);
  }
  EXPECT_EQ(caption, "Edit Value");
  EXPECT_EQ(name, "ThreadingModel");
  EXPECT_TRUE(focused);
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 9u);
  EXPECT_EQ(data, "Apartment");
}

TEST(EditValueDlg, TypingStopsWhereTheListCouldNoLongerShowTheValue) {
  std::string data(1022, 'x');
  {
    ModalAnswer answer(kEditCaption, [](HWND dialog) {
      HWND edit = GetDlgItem(dialog, IDC_VALUE_DATA);
      SendMessageA(edit, EM_SETSEL, 1022, 1022);
      SendMessageA(edit, WM_CHAR, 'y', 0);
      return IDOK;
    });
    CEditValueDlg dialog("Long", data);
    EXPECT_EQ(dialog.DoModal(), IDOK);
  }
  EXPECT_EQ(data, std::string(1022, 'x'));
}

}  // namespace
