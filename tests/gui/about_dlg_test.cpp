// The About box run modally: what it shows, its link's colours and click, and the colours it
// leaves to every link shown later.
#include "app/about_dlg.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>

#include "corvane_version.h"
#include "resources/resource.h"
#include "tests/gui/modal_driver.h"

namespace {

const LinkColours kDefaultColours = {RGB(0, 0, 255), RGB(0, 128, 128), RGB(128, 0, 128),
                                     RGB(255, 0, 0)};

// The text colour and font a control's colour query leaves in the DC.
struct Answer {
  COLORREF colour;
  LOGFONTA font;
};

Answer AskColour(HWND dialog, int id) {
  HDC dc = CreateCompatibleDC(nullptr);
  SetTextColor(dc, RGB(1, 2, 3));
  SendMessageA(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
  Answer answer = {GetTextColor(dc), {}};
  GetObjectA(GetCurrentObject(dc, OBJ_FONT), sizeof answer.font, &answer.font);
  DeleteDC(dc);
  return answer;
}

DWORD Style(HWND dialog, int id) {
  return static_cast<DWORD>(GetWindowLongPtrA(GetDlgItem(dialog, id), GWL_STYLE));
}

// Counts the dialog's children of a static type.
int StaticsOfType(HWND dialog, DWORD type) {
  int count = 0;
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    char name[32] = "";
    GetClassNameA(child, name, sizeof name);
    DWORD style = static_cast<DWORD>(GetWindowLongPtrA(child, GWL_STYLE));
    if (lstrcmpiA(name, "Static") == 0 && (style & SS_TYPEMASK) == type) ++count;
  }
  return count;
}

class AboutBoxTest : public testing::Test {
 protected:
  void SetUp() override { CHyperLink::SetColours(kDefaultColours); }
};

TEST_F(AboutBoxTest, ShowsTheBoldTitleNoticesAndTheMakersAddress) {
  CAboutDlg dialog;
  INT_PTR result = gui_test::RunModal(dialog, [](HWND hwnd) {
    EXPECT_EQ(gui_test::WindowText(hwnd), "About Corvane");
    EXPECT_EQ(gui_test::WindowText(GetDlgItem(hwnd, IDC_ABOUT_TITLE)), CORVANE_TITLE);
    Answer title = AskColour(hwnd, IDC_ABOUT_TITLE);
    EXPECT_EQ(title.font.lfWeight, FW_BOLD);
    LOGFONTA gui = {};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof gui, &gui);
    EXPECT_STREQ(title.font.lfFaceName, gui.lfFaceName);
    LOGFONTA painted = {};
    GetObjectA(reinterpret_cast<HGDIOBJ>(
                   SendMessageA(GetDlgItem(hwnd, IDC_ABOUT_TITLE), WM_GETFONT, 0, 0)),
               sizeof painted, &painted);
    EXPECT_EQ(painted.lfWeight, FW_BOLD);

    EXPECT_EQ(gui_test::WindowText(GetDlgItem(hwnd, IDC_ABOUT_LINK)),
              "http://www.tessaline.example/");
    EXPECT_TRUE(Style(hwnd, IDC_ABOUT_LINK) & SS_NOTIFY);
    EXPECT_EQ(StaticsOfType(hwnd, SS_ICON), 1);
    EXPECT_EQ(StaticsOfType(hwnd, SS_ETCHEDHORZ), 1);
    EXPECT_EQ(gui_test::WindowText(GetDlgItem(hwnd, IDOK)), "&OK");
    EXPECT_EQ(Style(hwnd, IDOK) & BS_TYPEMASK, static_cast<DWORD>(BS_DEFPUSHBUTTON));
    gui_test::SendClick(hwnd, IDOK);
  });
  EXPECT_EQ(result, IDOK);
}

TEST_F(AboutBoxTest, LinkIsNavyAndTurnsBlueUnderTheMouse) {
  CAboutDlg dialog;
  INT_PTR result = gui_test::RunModal(dialog, [](HWND hwnd) {
    HWND link = GetDlgItem(hwnd, IDC_ABOUT_LINK);
    EXPECT_EQ(AskColour(hwnd, IDC_ABOUT_LINK).colour, RGB(0, 0, 128));
    SendMessageA(link, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(AskColour(hwnd, IDC_ABOUT_LINK).colour, RGB(0, 0, 255));
    SendMessageA(link, WM_MOUSEMOVE, 0, MAKELPARAM(2, 500));
    EXPECT_EQ(AskColour(hwnd, IDC_ABOUT_LINK).colour, RGB(0, 0, 128));
    gui_test::SendClick(hwnd, IDCANCEL);
  });
  EXPECT_EQ(result, IDCANCEL);
}

TEST_F(AboutBoxTest, LaterLinksKeepTheAboutBoxColours) {
  CAboutDlg dialog;
  gui_test::RunModal(dialog, [](HWND hwnd) { gui_test::SendClick(hwnd, IDOK); });
  LinkColours colours = CHyperLink::GetColours();
  EXPECT_EQ(colours.link, RGB(0, 0, 128));
  EXPECT_EQ(colours.hover, RGB(0, 0, 255));
  EXPECT_EQ(colours.focus, kDefaultColours.focus);
  EXPECT_EQ(colours.visited, kDefaultColours.visited);

  CAboutDlg again;
  gui_test::RunModal(again, [](HWND hwnd) {
    EXPECT_EQ(AskColour(hwnd, IDC_ABOUT_LINK).colour, RGB(0, 0, 128));
    gui_test::SendClick(hwnd, IDOK);
  });
}

TEST_F(AboutBoxTest, ClickOpensWhatTheLinkShows) {
  // A batch file stands in for the web site: opening it is harmless and leaves a marker.
  char temp[MAX_PATH] = "";
  GetTempPathA(MAX_PATH, temp);
  const std::string script = std::string(temp) + "corvane_about_link.bat";
  const std::string marker = std::string(temp) + "corvane_about_link.done";
  DeleteFileA(marker.c_str());
  std::ofstream(script, std::ios::binary) << "@echo off\r\necho done> \"" << marker << "\"\r\n";

  CAboutDlg dialog;
  bool opened = false;
  gui_test::RunModal(dialog, [&](HWND hwnd) {
    HWND link = GetDlgItem(hwnd, IDC_ABOUT_LINK);
    SetWindowTextA(link, script.c_str());
    SendMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageA(link, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    for (int i = 0; i < 100 && !opened; ++i) {
      opened = GetFileAttributesA(marker.c_str()) != INVALID_FILE_ATTRIBUTES;
      if (!opened) Sleep(100);
    }
    SetFocus(GetDlgItem(hwnd, IDOK));
    EXPECT_EQ(AskColour(hwnd, IDC_ABOUT_LINK).colour, kDefaultColours.visited);
    gui_test::SendClick(hwnd, IDOK);
  });
  EXPECT_TRUE(opened);
  DeleteFileA(script.c_str());
  DeleteFileA(marker.c_str());
}

// For people to look at: the About box stays up until closed or the watchdog ends it.
TEST_F(AboutBoxTest, DISABLED_StaysOpenForAScreenshot) {
  CAboutDlg dialog;
  gui_test::RunModal(dialog, [](HWND) {}, 30000);
}

}  // namespace
