// The Options dialog run modally and driven as a user would: what it shows on opening, what
// OK and Cancel leave in the settings, and its template.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/options_dlg.h"
#include "resources/resource.h"
#include "tests/gui/modal_driver.h"

namespace {

using Texts = std::vector<std::string>;

constexpr int kHelpButton = 3;

void Click(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

int Checked(HWND dialog, int id) {
  return static_cast<int>(SendMessageA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0));
}

int Selected(HWND dialog, int id) {
  return static_cast<int>(SendMessageA(GetDlgItem(dialog, id), CB_GETCURSEL, 0, 0));
}

// Selects an entry as a user's choice does: the selection, then the notification.
void Select(HWND dialog, int id, int index) {
  HWND list = GetDlgItem(dialog, id);
  SendMessageA(list, CB_SETCURSEL, index, 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

Texts Entries(HWND dialog, int id) {
  HWND list = GetDlgItem(dialog, id);
  Texts texts;
  const int count = static_cast<int>(SendMessageA(list, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    char text[256] = "";
    SendMessageA(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
    texts.push_back(text);
  }
  return texts;
}

std::string Text(HWND window) {
  char text[256] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

corvane::Settings Sample() {
  corvane::Settings settings;
  settings.display_missing = 0;
  settings.display_installed = 1;
  settings.display_in_list = 2;
  settings.after_register = 1;
  settings.after_unregister = 3;
  settings.after_remove = 2;
  settings.computers = {"ALPHA"};
  return settings;
}

void ExpectSame(const corvane::Settings& a, const corvane::Settings& b) {
  EXPECT_EQ(a.display_missing, b.display_missing);
  EXPECT_EQ(a.display_installed, b.display_installed);
  EXPECT_EQ(a.display_in_list, b.display_in_list);
  EXPECT_EQ(a.after_register, b.after_register);
  EXPECT_EQ(a.after_unregister, b.after_unregister);
  EXPECT_EQ(a.after_remove, b.after_remove);
  EXPECT_EQ(a.computers, b.computers);
}

const Texts kWithStop = {"Display a confirmation screen and wait for the user to press OK.",
                         "Display a confirmation screen for a few seconds.", "Make a beep.",
                         "Don't do anything."};

TEST(OptionsDialog, OpensWithTheValuesAndFilledLists) {
  corvane::Settings settings = Sample();
  COptionsDlg dialog(settings);
  INT_PTR result = gui_test::RunModal(dialog, [](HWND hwnd) {
    EXPECT_EQ(Text(hwnd), "Corvane Options");
    EXPECT_EQ(Checked(hwnd, IDC_DISPLAY_MISSING), BST_UNCHECKED);
    EXPECT_EQ(Checked(hwnd, IDC_DISPLAY_INSTALLED), BST_CHECKED);
    EXPECT_EQ(Selected(hwnd, IDC_DISPLAY_IN_LIST), 2);
    EXPECT_EQ(Selected(hwnd, IDC_AFTER_REGISTER), 1);
    EXPECT_EQ(Selected(hwnd, IDC_AFTER_UNREGISTER), 3);
    EXPECT_EQ(Selected(hwnd, IDC_AFTER_REMOVE), 2);
    EXPECT_EQ(Entries(hwnd, IDC_DISPLAY_IN_LIST),
              (Texts{"ProgID", "CLSID", "File Location", "TypeLib Name"}));
    EXPECT_EQ(Entries(hwnd, IDC_AFTER_REGISTER),
              (Texts{"Display a confirmation screen and wait for the user to press OK.",
                     "Display a confirmation screen for a few seconds.", "Make a beep",
                     "Don't do anything."}));
    EXPECT_EQ(Entries(hwnd, IDC_AFTER_UNREGISTER), kWithStop);
    EXPECT_EQ(Entries(hwnd, IDC_AFTER_REMOVE), kWithStop);
    gui_test::SendClick(hwnd, IDCANCEL);
  });
  EXPECT_EQ(result, IDCANCEL);
}

TEST(OptionsDialog, OkStoresWhatTheControlsShow) {
  corvane::Settings settings = Sample();
  COptionsDlg dialog(settings);
  INT_PTR result = gui_test::RunModal(dialog, [](HWND hwnd) {
    Click(hwnd, IDC_DISPLAY_MISSING);
    Click(hwnd, IDC_DISPLAY_INSTALLED);
    Select(hwnd, IDC_DISPLAY_IN_LIST, 3);
    Select(hwnd, IDC_AFTER_REGISTER, 0);
    Select(hwnd, IDC_AFTER_UNREGISTER, 2);
    Select(hwnd, IDC_AFTER_REMOVE, 1);
    gui_test::SendClick(hwnd, IDOK);
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(settings.display_missing, 1);
  EXPECT_EQ(settings.display_installed, 0);
  EXPECT_EQ(settings.display_in_list, 3);
  EXPECT_EQ(settings.after_register, 0);
  EXPECT_EQ(settings.after_unregister, 2);
  EXPECT_EQ(settings.after_remove, 1);
  EXPECT_EQ(settings.computers, (Texts{"ALPHA"}));
}

TEST(OptionsDialog, CancelReadsNothingBack) {
  corvane::Settings settings = Sample();
  COptionsDlg dialog(settings);
  INT_PTR result = gui_test::RunModal(dialog, [](HWND hwnd) {
    Click(hwnd, IDC_DISPLAY_MISSING);
    Click(hwnd, IDC_DISPLAY_INSTALLED);
    Select(hwnd, IDC_DISPLAY_IN_LIST, 0);
    Select(hwnd, IDC_AFTER_REMOVE, 3);
    gui_test::SendClick(hwnd, IDCANCEL);
  });
  EXPECT_EQ(result, IDCANCEL);
  ExpectSame(settings, Sample());
}

TEST(OptionsDialog, ValueWithoutAnEntryShowsNoSelectionAndOkStoresMinusOne) {
  corvane::Settings settings;
  settings.display_in_list = 7;
  settings.after_register = -1;
  settings.after_remove = 4;
  COptionsDlg dialog(settings);
  INT_PTR result = gui_test::RunModal(dialog, [](HWND hwnd) {
    EXPECT_EQ(Selected(hwnd, IDC_DISPLAY_IN_LIST), CB_ERR);
    EXPECT_EQ(Selected(hwnd, IDC_AFTER_REGISTER), CB_ERR);
    EXPECT_EQ(Selected(hwnd, IDC_AFTER_UNREGISTER), 0);
    EXPECT_EQ(Selected(hwnd, IDC_AFTER_REMOVE), CB_ERR);
    gui_test::SendClick(hwnd, IDOK);
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(settings.display_in_list, -1);
  EXPECT_EQ(settings.after_register, -1);
  EXPECT_EQ(settings.after_unregister, 0);
  EXPECT_EQ(settings.after_remove, -1);
}

TEST(OptionsDialog, CheckValueOutOfRangeBecomesZeroOnOpeningEvenWhenCancelled) {
  corvane::Settings settings;
  settings.display_missing = 5;
  settings.display_installed = -3;
  COptionsDlg dialog(settings);
  INT_PTR result = gui_test::RunModal(dialog, [&settings](HWND hwnd) {
    EXPECT_EQ(settings.display_missing, 0);
    EXPECT_EQ(settings.display_installed, 0);
    EXPECT_EQ(Checked(hwnd, IDC_DISPLAY_MISSING), BST_UNCHECKED);
    EXPECT_EQ(Checked(hwnd, IDC_DISPLAY_INSTALLED), BST_UNCHECKED);
    gui_test::SendClick(hwnd, IDCANCEL);
  });
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_EQ(settings.display_missing, 0);
  EXPECT_EQ(settings.display_installed, 0);
}

class HelpCountingDlg : public COptionsDlg {
 public:
  using COptionsDlg::COptionsDlg;
  int help_calls = 0;

 protected:
  void OnHelp() override { ++help_calls; }
};

TEST(OptionsDialog, HelpKeepsTheDialogOpen) {
  corvane::Settings settings = Sample();
  HelpCountingDlg dialog(settings);
  INT_PTR result = gui_test::RunModal(dialog, [&dialog](HWND hwnd) {
    gui_test::SendClick(hwnd, kHelpButton);
    EXPECT_EQ(dialog.help_calls, 1);
    EXPECT_TRUE(IsWindowVisible(hwnd));
    Select(hwnd, IDC_AFTER_REGISTER, 3);
    gui_test::SendClick(hwnd, IDOK);
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(settings.after_register, 3);
}

struct ExpectedControl {
  int id;
  const char* window_class;
  DWORD type;  // the low style bits that make the kind of button or list
  const char* text;
};

// The template's controls in tab order, group boxes and labels after the controls they frame.
const ExpectedControl kTemplate[] = {
    {IDC_DISPLAY_MISSING, "Button", BS_AUTOCHECKBOX, "Display &misbehaved objects"},
    {IDC_DISPLAY_INSTALLED, "Button", BS_AUTOCHECKBOX, "&Display well behaved objects"},
    {IDC_DISPLAY_IN_LIST, "ComboBox", CBS_DROPDOWNLIST, ""},
    {IDOK, "Button", BS_DEFPUSHBUTTON, "&OK"},
    {kHelpButton, "Button", BS_PUSHBUTTON, "&Help"},
    {IDCANCEL, "Button", BS_PUSHBUTTON, "&Cancel"},
    {-1, "Button", BS_GROUPBOX, "Options"},
    {-1, "Button", BS_GROUPBOX, "Object Filter"},
    {-1, "Static", SS_LEFT, "Display In Tree"},
    {-1, "Button", BS_GROUPBOX, "General"},
    {IDC_AFTER_REGISTER, "ComboBox", CBS_DROPDOWNLIST, ""},
    {-1, "Static", SS_LEFT, "After successfully registering a control"},
    {IDC_AFTER_UNREGISTER, "ComboBox", CBS_DROPDOWNLIST, ""},
    {-1, "Static", SS_LEFT, "After successfully unregistering a control"},
    {IDC_AFTER_REMOVE, "ComboBox", CBS_DROPDOWNLIST, ""},
    {-1, "Static", SS_LEFT, "After removing a control from the Registry"},
};

RECT ScreenRect(HWND window) {
  RECT rect;
  GetWindowRect(window, &rect);
  return rect;
}

bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.right <= outer.right && inner.top >= outer.top &&
         inner.bottom <= outer.bottom;
}

bool Overlap(const RECT& a, const RECT& b) {
  RECT both;
  return IntersectRect(&both, &a, &b) != FALSE;
}

TEST(OptionsDialog, TemplateHoldsTheControlsInOrder) {
  corvane::Settings settings;
  COptionsDlg dialog(settings);
  gui_test::RunModal(dialog, [](HWND hwnd) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(hwnd, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT))
      children.push_back(child);
    ASSERT_EQ(children.size(), std::size(kTemplate));
    for (std::size_t i = 0; i < children.size(); ++i) {
      const ExpectedControl& expected = kTemplate[i];
      HWND child = children[i];
      char window_class[64] = "";
      GetClassNameA(child, window_class, sizeof window_class);
      const DWORD style = static_cast<DWORD>(GetWindowLongA(child, GWL_STYLE));
      SCOPED_TRACE(expected.text);
      EXPECT_EQ(static_cast<int>(static_cast<short>(GetDlgCtrlID(child))), expected.id);
      EXPECT_STRCASEEQ(window_class, expected.window_class);
      EXPECT_EQ(style & 0xF, expected.type);
      if (lstrcmpiA(expected.window_class, "ComboBox") != 0) {
        EXPECT_EQ(Text(child), expected.text);
      }
      if (expected.id > 0) {
        EXPECT_TRUE(style & WS_TABSTOP);
      }
    }
    gui_test::SendClick(hwnd, IDCANCEL);
  });
}

TEST(OptionsDialog, GroupsFrameTheirControlsWithoutOverlaps) {
  corvane::Settings settings;
  COptionsDlg dialog(settings);
  gui_test::RunModal(dialog, [](HWND hwnd) {
    std::vector<HWND> groups;
    std::vector<HWND> controls;
    for (HWND child = GetWindow(hwnd, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
      const DWORD style = static_cast<DWORD>(GetWindowLongA(child, GWL_STYLE));
      char window_class[64] = "";
      GetClassNameA(child, window_class, sizeof window_class);
      bool group = lstrcmpiA(window_class, "Button") == 0 && (style & 0xF) == BS_GROUPBOX;
      (group ? groups : controls).push_back(child);
    }
    ASSERT_EQ(groups.size(), 3u);
    RECT client;
    GetClientRect(hwnd, &client);
    MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
    const RECT options = ScreenRect(groups[0]);
    const RECT filter = ScreenRect(groups[1]);
    const RECT general = ScreenRect(groups[2]);
    EXPECT_TRUE(Inside(options, client));
    EXPECT_TRUE(Inside(filter, options));
    EXPECT_TRUE(Inside(general, options));
    EXPECT_FALSE(Overlap(filter, general));
    for (int id : {IDC_DISPLAY_MISSING, IDC_DISPLAY_INSTALLED})
      EXPECT_TRUE(Inside(ScreenRect(GetDlgItem(hwnd, id)), filter)) << id;
    for (int id : {IDC_DISPLAY_IN_LIST, IDC_AFTER_REGISTER, IDC_AFTER_UNREGISTER, IDC_AFTER_REMOVE})
      EXPECT_TRUE(Inside(ScreenRect(GetDlgItem(hwnd, id)), general)) << id;
    for (int id : {IDOK, kHelpButton, IDCANCEL}) {
      const RECT button = ScreenRect(GetDlgItem(hwnd, id));
      EXPECT_TRUE(Inside(button, client)) << id;
      EXPECT_FALSE(Overlap(button, options)) << id;
    }
    for (std::size_t i = 0; i < controls.size(); ++i)
      for (std::size_t j = i + 1; j < controls.size(); ++j)
        EXPECT_FALSE(Overlap(ScreenRect(controls[i]), ScreenRect(controls[j])))
            << Text(controls[i]) << " / " << Text(controls[j]);
    gui_test::SendClick(hwnd, IDCANCEL);
  });
}

// Every entry fits the closed list's text field, and the open list shows all four.
TEST(OptionsDialog, ListsShowTheirEntriesWhole) {
  corvane::Settings settings;
  COptionsDlg dialog(settings);
  gui_test::RunModal(dialog, [](HWND hwnd) {
    for (int id :
         {IDC_DISPLAY_IN_LIST, IDC_AFTER_REGISTER, IDC_AFTER_UNREGISTER, IDC_AFTER_REMOVE}) {
      HWND list = GetDlgItem(hwnd, id);
      COMBOBOXINFO info = {};
      info.cbSize = sizeof info;
      ASSERT_TRUE(GetComboBoxInfo(list, &info));
      HDC dc = GetDC(list);
      HGDIOBJ old_font =
          SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(list, WM_GETFONT, 0, 0)));
      for (const std::string& entry : Entries(hwnd, id)) {
        SIZE extent = {};
        GetTextExtentPoint32A(dc, entry.c_str(), static_cast<int>(entry.size()), &extent);
        EXPECT_LE(extent.cx, info.rcItem.right - info.rcItem.left) << entry;
      }
      SelectObject(dc, old_font);
      ReleaseDC(list, dc);

      RECT dropped = {};
      SendMessageA(list, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
      const LRESULT field = SendMessageA(list, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
      const LRESULT item = SendMessageA(list, CB_GETITEMHEIGHT, 0, 0);
      EXPECT_GE(dropped.bottom - dropped.top, field + 4 * item) << id;
    }
    gui_test::SendClick(hwnd, IDCANCEL);
  });
}

// Leaves the dialog open for a minute, its widest list dropped down, for a screenshot.
TEST(OptionsDialog, DISABLED_StaysOpenForAScreenshot) {
  corvane::Settings settings = Sample();
  COptionsDlg dialog(settings);
  gui_test::RunModal(
      dialog,
      [](HWND hwnd) {
        SendMessageA(GetDlgItem(hwnd, IDC_AFTER_REGISTER), CB_SHOWDROPDOWN, TRUE, 0);
      },
      60000);
}

}  // namespace
