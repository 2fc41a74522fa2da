// The hyperlink controls: the error texts and the browser command line, attaching to a static,
// the flags and fitting, the colour of each state as the reflected colour query answers it,
// clicks, keys and mouse tracking, and opening a harmless target.
#include "widgets/hyper_link.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "tests/gui/control_host.h"

namespace {

const LinkColours kDefaultColours = {RGB(0, 0, 255), RGB(0, 128, 128), RGB(128, 0, 128),
                                     RGB(255, 0, 0)};
const int kLinkId = 300;

class LinkHost : public gui_test::TestHost {
 public:
  LinkHost()
      : TestHost("CorvaneHyperLinkTestHost", "CHyperLink", WS_POPUP | WS_VISIBLE,
                 {40, 40, 640, 340}, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)) {}
};

// Counts follows instead of opening anything.
class CountingLink : public CHyperLink {
 public:
  void FollowLink() override { ++follows; }
  int follows = 0;
};

// A batch file that leaves a marker file behind when it runs: harmless to open, and visible.
class MarkerScript {
 public:
  explicit MarkerScript(const std::string& name) {
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    script_ = std::string(temp) + name + ".bat";
    marker_ = std::string(temp) + name + ".done";
    DeleteFileA(marker_.c_str());
    std::ofstream(script_, std::ios::binary) << "@echo off\r\necho done> \"" << marker_ << "\"\r\n";
  }
  ~MarkerScript() {
    DeleteFileA(script_.c_str());
    DeleteFileA(marker_.c_str());
  }
  const std::string& path() const { return script_; }
  bool Ran(DWORD wait_ms) const {
    for (DWORD waited = 0;; waited += 100) {
      if (GetFileAttributesA(marker_.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
      if (waited >= wait_ms) return false;
      Sleep(100);
    }
  }

 private:
  std::string script_;
  std::string marker_;
};

using gui_test::RectInParent;

std::string ToolTipText(const CHyperLink& link) {
  return gui_test::ToolTipText(link.tool_tip(), link.GetSafeHwnd());
}

bool Underlined(const CHyperLink& link) {
  LOGFONTA font = {};
  GetObjectA(reinterpret_cast<HGDIOBJ>(link.SendMessage(WM_GETFONT)), sizeof font, &font);
  return font.lfUnderline != 0;
}

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

class HyperLinkTest : public gui_test::HostedTest<LinkHost> {
 protected:
  void SetUp() override { CHyperLink::SetColours(kDefaultColours); }
  void TearDown() override {
    if (GetCapture() != nullptr) ReleaseCapture();
  }

  // A static of the host, 300 by 20 at (20, 20), bound to the link.
  void Attach(CHyperLink& link, const char* text, DWORD style = SS_LEFT | SS_NOTIFY,
              RECT rect = {20, 20, 320, 40}) {
    HWND control = CreateWindowExA(0, "STATIC", text, WS_CHILD | WS_VISIBLE | style, rect.left,
                                   rect.top, rect.right - rect.left, rect.bottom - rect.top,
                                   host_.GetSafeHwnd(),
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(kLinkId)),
                                   GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(control, nullptr);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                 FALSE);
    ASSERT_TRUE(link.SubclassWindow(control));
  }

  // The text colour the link answers to its parent's colour query.
  COLORREF Colour(const CHyperLink& link) {
    HDC dc = CreateCompatibleDC(nullptr);
    SetTextColor(dc, RGB(1, 2, 3));
    SendMessageA(host_.GetSafeHwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(link.GetSafeHwnd()));
    COLORREF colour = GetTextColor(dc);
    DeleteDC(dc);
    return colour;
  }

};

TEST(HyperLinkText, ErrorTextNamesTheReasonForEachCode) {
  const std::string head = "Can't open link:\n\n";
  EXPECT_EQ(LinkErrorText(0), head + "The operating system is out\nof memory or resources.");
  EXPECT_EQ(LinkErrorText(2), head + "The specified file was not found.");
  EXPECT_EQ(LinkErrorText(3), head + "The specified path was not found.");
  EXPECT_EQ(LinkErrorText(5), head + "The operating system denied\naccess to the specified file.");
  EXPECT_EQ(LinkErrorText(8), head + "There was not enough memory to complete the operation.");
  EXPECT_EQ(LinkErrorText(11),
            head + "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).");
  EXPECT_EQ(LinkErrorText(26), head + "A sharing violation occurred. ");
  EXPECT_EQ(LinkErrorText(27), head + "The filename association is\nincomplete or invalid.");
  EXPECT_EQ(LinkErrorText(28),
            head + "The DDE transaction could not\nbe completed because the request timed out.");
  EXPECT_EQ(LinkErrorText(29), head + "The DDE transaction failed.");
  EXPECT_EQ(LinkErrorText(30), head +
                                   "The DDE transaction could not\nbe completed because other "
                                   "DDE transactions\nwere being processed.");
  EXPECT_EQ(LinkErrorText(31),
            head + "There is no application associated\nwith the given filename extension.");
  EXPECT_EQ(LinkErrorText(32), head + "The specified dynamic-link library was not found.");
}

TEST(HyperLinkText, CodesOutsideTheTableAreUnknown) {
  EXPECT_EQ(LinkErrorText(1), "Can't open link:\n\nUnknown Error (1) occurred.");
  EXPECT_EQ(LinkErrorText(33), "Can't open link:\n\nUnknown Error (33) occurred.");
  EXPECT_EQ(LinkErrorText(-4), "Can't open link:\n\nUnknown Error (-4) occurred.");
}

TEST(HyperLinkText, BrowserCommandIsCutAtItsPercentOne) {
  const std::string url = "http://a.example/";
  // A quoted %1 wins over an earlier bare one.
  EXPECT_EQ(BrowserCommandLine("\"C:\\b.exe\" %1 -x \"%1\" -y", url),
            "\"C:\\b.exe\" %1 -x  \"http://a.example/\"");
  EXPECT_EQ(BrowserCommandLine("\"C:\\b.exe\" -nohome \"%1\"", url),
            "\"C:\\b.exe\" -nohome  \"http://a.example/\"");
  EXPECT_EQ(BrowserCommandLine("C:\\b.exe %1 %*", url), "C:\\b.exe  \"http://a.example/\"");
  EXPECT_EQ(BrowserCommandLine("C:\\b.exe -new", url), "C:\\b.exe -new \"http://a.example/\"");
  EXPECT_EQ(BrowserCommandLine("", url), " \"http://a.example/\"");
}

TEST(HyperLinkText, TargetStaysOneArgument) {
  EXPECT_EQ(BrowserCommandLine("b.exe %1", "C:\\My Pages\\a.htm"),
            "b.exe  \"C:\\My Pages\\a.htm\"");
  EXPECT_EQ(BrowserCommandLine("b.exe %1", "http://x/\" -evil \""),
            "b.exe  \"http://x/%22 -evil %22\"");
}

TEST_F(HyperLinkTest, AttachTakesTheUrlFromTheTextAndTheTextFromTheUrl) {
  CHyperLink from_text;
  Attach(from_text, "http://text.example/");
  EXPECT_EQ(from_text.GetURL(), "http://text.example/");
  EXPECT_EQ(ToolTipText(from_text), "http://text.example/");

  CHyperLink from_url;
  from_url.SetURL("http://url.example/");
  Attach(from_url, "");
  EXPECT_EQ(from_url.GetWindowText(), "http://url.example/");
  EXPECT_EQ(ToolTipText(from_url), "http://url.example/");

  CHyperLink both;
  both.SetURL("http://target.example/");
  Attach(both, "Visit us");
  EXPECT_EQ(both.GetWindowText(), "Visit us");
  EXPECT_EQ(both.GetURL(), "http://target.example/");
}

TEST_F(HyperLinkTest, UrlAndTextChangeSeparately) {
  CHyperLink link;
  Attach(link, "Shown");
  link.SetURL("http://new.example/");
  EXPECT_EQ(link.GetWindowText(), "Shown");
  EXPECT_EQ(ToolTipText(link), "http://new.example/");
  link.SetLinkText("Other");
  EXPECT_EQ(link.GetWindowText(), "Other");
  EXPECT_EQ(link.GetURL(), "http://new.example/");
  EXPECT_TRUE(IsWindowVisible(link.GetSafeHwnd()));
}

TEST_F(HyperLinkTest, FlagsCombineByMaskAndUnderlineFollowsTheFirstBit) {
  CHyperLink link;
  EXPECT_EQ(link.GetLinkFlags(), 0x15u);
  Attach(link, "Link");
  EXPECT_TRUE(Underlined(link));
  link.SetLinkFlags(kLinkHoverColour, kLinkHoverColour);
  EXPECT_EQ(link.GetLinkFlags(), 0x17u);
  link.SetLinkFlags(kLinkUnderline | kLinkTakeFocus, 0);
  EXPECT_EQ(link.GetLinkFlags(), 0x06u);
  EXPECT_FALSE(Underlined(link));
  // Values outside the mask are added too.
  link.SetLinkFlags(kLinkUnderline, kLinkUnderline | kLinkIgnoreFocusColour);
  EXPECT_EQ(link.GetLinkFlags(), 0x47u);
  EXPECT_TRUE(Underlined(link));
}

TEST_F(HyperLinkTest, FittingShrinksToTheTextAndKeepsTheAlignedEdge) {
  CHyperLink left;
  Attach(left, "Short");
  RECT fitted = RectInParent(left.GetSafeHwnd());
  EXPECT_EQ(fitted.left, 20);
  EXPECT_EQ(fitted.top, 20);
  EXPECT_LT(fitted.right - fitted.left, 100);
  left.SetLinkText("A much longer text for the same link");
  RECT longer = RectInParent(left.GetSafeHwnd());
  EXPECT_EQ(longer.left, 20);
  EXPECT_GT(longer.right, fitted.right);
  RECT client;
  GetClientRect(left.GetSafeHwnd(), &client);
  EXPECT_EQ(client.right, longer.right - longer.left);

  CHyperLink right;
  Attach(right, "Short", SS_RIGHT | SS_NOTIFY, {20, 60, 320, 80});
  EXPECT_EQ(RectInParent(right.GetSafeHwnd()).right, 320);

  CHyperLink centred;
  Attach(centred, "Short", SS_CENTER | SS_CENTERIMAGE | SS_NOTIFY, {20, 100, 320, 160});
  RECT rect = RectInParent(centred.GetSafeHwnd());
  EXPECT_NEAR((rect.left + rect.right) / 2, 170, 1);
  EXPECT_NEAR((rect.top + rect.bottom) / 2, 130, 1);
  EXPECT_LT(rect.bottom - rect.top, 60);
}

TEST_F(HyperLinkTest, WithoutFittingTheSizeStays) {
  CHyperLink link;
  link.SetLinkFlags(kLinkFitToText, 0);
  Attach(link, "Short");
  RECT rect = RectInParent(link.GetSafeHwnd());
  EXPECT_EQ(rect.right - rect.left, 300);
  EXPECT_EQ(rect.bottom - rect.top, 20);
  // Turning fitting on refits at once.
  link.SetLinkFlags(kLinkFitToText, kLinkFitToText);
  EXPECT_LT(RectInParent(link.GetSafeHwnd()).right, 320);
}

TEST_F(HyperLinkTest, ColourFollowsHoverFocusAndVisited) {
  CHyperLinkDL link;
  link.SetLinkFlags(kLinkTakeFocus, 0);
  Attach(link, "Link");
  EXPECT_EQ(Colour(link), kDefaultColours.link);
  // Hovering shows only with the hover flag.
  link.SendMessage(WM_MOUSEMOVE, 0, At(2, 2));
  EXPECT_EQ(Colour(link), kDefaultColours.link);
  link.SetLinkFlags(kLinkHoverColour, kLinkHoverColour);
  EXPECT_EQ(Colour(link), kDefaultColours.hover);
  link.SendMessage(WM_MOUSEMOVE, 0, At(-5, 2));
  EXPECT_EQ(Colour(link), kDefaultColours.link);

  SetFocus(link.GetSafeHwnd());
  EXPECT_EQ(Colour(link), kDefaultColours.focus);
  link.SetLinkFlags(kLinkIgnoreFocusColour, kLinkIgnoreFocusColour);
  EXPECT_EQ(Colour(link), kDefaultColours.link);
  link.SetLinkFlags(kLinkIgnoreFocusColour, 0);

  link.FollowLink();
  EXPECT_EQ(Colour(link), kDefaultColours.focus);
  SetFocus(host_.GetSafeHwnd());
  EXPECT_EQ(Colour(link), kDefaultColours.visited);
  // Hover wins over everything.
  link.SendMessage(WM_MOUSEMOVE, 0, At(2, 2));
  EXPECT_EQ(Colour(link), kDefaultColours.hover);
}

TEST_F(HyperLinkTest, ColourQueryLeavesTheBackgroundToTheParent) {
  CHyperLink link;
  Attach(link, "Link");
  HDC dc = CreateCompatibleDC(nullptr);
  LRESULT brush = SendMessageA(host_.GetSafeHwnd(), WM_CTLCOLORSTATIC,
                               reinterpret_cast<WPARAM>(dc),
                               reinterpret_cast<LPARAM>(link.GetSafeHwnd()));
  EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
  EXPECT_EQ(reinterpret_cast<HGDIOBJ>(brush), GetStockObject(NULL_BRUSH));
  DeleteDC(dc);
}

TEST_F(HyperLinkTest, ClassWideColoursReachEveryLink) {
  CHyperLink first;
  CHyperLink second;
  Attach(first, "One");
  Attach(second, "Two", SS_LEFT | SS_NOTIFY, {20, 60, 320, 80});
  LinkColours colours = {RGB(1, 1, 1), RGB(2, 2, 2), RGB(3, 3, 3), RGB(4, 4, 4)};
  CHyperLink::SetColours(colours);
  EXPECT_EQ(Colour(first), RGB(1, 1, 1));
  EXPECT_EQ(Colour(second), RGB(1, 1, 1));
  LinkColours read = CHyperLink::GetColours();
  EXPECT_EQ(read.focus, RGB(2, 2, 2));
  EXPECT_EQ(read.visited, RGB(3, 3, 3));
  EXPECT_EQ(read.hover, RGB(4, 4, 4));
}

TEST_F(HyperLinkTest, MouseOverCapturesAndLeavingReleases) {
  CHyperLink link;
  link.SetLinkFlags(kLinkHoverColour, kLinkHoverColour);
  Attach(link, "Link");
  link.SendMessage(WM_MOUSEMOVE, 0, At(3, 3));
  EXPECT_EQ(GetCapture(), link.GetSafeHwnd());
  link.SendMessage(WM_MOUSEMOVE, 0, At(4, 3));
  EXPECT_EQ(GetCapture(), link.GetSafeHwnd());
  link.SendMessage(WM_MOUSEMOVE, 0, At(3, 500));
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(Colour(link), kDefaultColours.link);
  // Losing the capture to someone else ends the hover too.
  link.SendMessage(WM_MOUSEMOVE, 0, At(3, 3));
  EXPECT_EQ(Colour(link), kDefaultColours.hover);
  SetCapture(host_.GetSafeHwnd());
  EXPECT_EQ(Colour(link), kDefaultColours.link);
}

TEST_F(HyperLinkTest, ReleaseFollowsOnlyAfterAPressOnTheLink) {
  CountingLink link;
  link.SetLinkFlags(kLinkTakeFocus, 0);
  Attach(link, "Link");
  link.SendMessage(WM_LBUTTONUP, 0, At(2, 2));
  EXPECT_EQ(link.follows, 0);
  link.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(2, 2));
  EXPECT_EQ(link.follows, 0);
  EXPECT_NE(GetFocus(), link.GetSafeHwnd());
  link.SendMessage(WM_LBUTTONUP, 0, At(2, 2));
  EXPECT_EQ(link.follows, 1);
  // A second release without a press follows nothing.
  link.SendMessage(WM_LBUTTONUP, 0, At(2, 2));
  EXPECT_EQ(link.follows, 1);
  // A press that is dragged off the link is no click.
  link.SendMessage(WM_MOUSEMOVE, 0, At(2, 2));
  link.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(2, 2));
  link.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, At(2, 400));
  link.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, At(2, 2));
  link.SendMessage(WM_LBUTTONUP, 0, At(2, 2));
  EXPECT_EQ(link.follows, 1);
}

TEST_F(HyperLinkTest, FollowOnPressAndTakingTheFocus) {
  CountingLink link;
  link.SetLinkFlags(kLinkFollowOnDown, kLinkFollowOnDown);
  Attach(link, "Link");
  SetFocus(host_.GetSafeHwnd());
  link.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(2, 2));
  EXPECT_EQ(link.follows, 1);
  EXPECT_EQ(GetFocus(), link.GetSafeHwnd());
  link.SendMessage(WM_LBUTTONUP, 0, At(2, 2));
  EXPECT_EQ(link.follows, 1);
}

TEST_F(HyperLinkTest, PressOutsideUnderTheCaptureIsNoClick) {
  CountingLink link;
  link.SetLinkFlags(kLinkFollowOnDown, kLinkFollowOnDown);
  Attach(link, "Link");
  link.SendMessage(WM_MOUSEMOVE, 0, At(2, 2));
  link.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(2, 300));
  link.SendMessage(WM_LBUTTONUP, 0, At(2, 300));
  EXPECT_EQ(link.follows, 0);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(HyperLinkTest, SpaceBarFollowsOncePerPress) {
  CountingLink link;
  Attach(link, "Link");
  link.SendMessage(WM_KEYDOWN, VK_SPACE, 1);
  EXPECT_EQ(link.follows, 1);
  link.SendMessage(WM_KEYDOWN, VK_SPACE, 1 | (1 << 30));
  EXPECT_EQ(link.follows, 1);
  link.SendMessage(WM_KEYDOWN, VK_RETURN, 1);
  link.SendMessage(WM_KEYDOWN, 'A', 1);
  EXPECT_EQ(link.follows, 1);
}

TEST_F(HyperLinkTest, MouseReachesTheControlAndShowsTheHand) {
  CHyperLink link;
  Attach(link, "Link", SS_LEFT);  // without the notify style a static lets the mouse through
  EXPECT_EQ(link.SendMessage(WM_NCHITTEST, 0, 0), HTCLIENT);
  ASSERT_NE(CHyperLink::HandCursor(), nullptr);
  EXPECT_TRUE(link.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(link.GetSafeHwnd()),
                               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
  EXPECT_EQ(GetCursor(), CHyperLink::HandCursor());

  CHyperLink plain;
  plain.SetLinkFlags(kLinkDefaultCursor, kLinkDefaultCursor);
  Attach(plain, "Plain", SS_LEFT | SS_NOTIFY, {20, 60, 320, 80});
  SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));  // IDC_ARROW
  plain.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(plain.GetSafeHwnd()),
                    MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_NE(GetCursor(), CHyperLink::HandCursor());
}

TEST_F(HyperLinkTest, FollowingOpensTheTargetAndMarksTheLinkVisited) {
  MarkerScript script("corvane_link_follow");
  CHyperLink link;
  link.SetURL(script.path());
  Attach(link, "Run");
  link.FollowLink();
  EXPECT_TRUE(script.Ran(10000));
  EXPECT_TRUE(link.visited());
  EXPECT_EQ(Colour(link), kDefaultColours.visited);
}

TEST_F(HyperLinkTest, DialogLinkOnlyMarksItselfVisited) {
  MarkerScript script("corvane_link_dl");
  CHyperLinkDL link;
  link.SetURL(script.path());
  link.SetLinkFlags(kLinkTakeFocus, 0);
  Attach(link, "Run");
  link.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(2, 2));
  link.SendMessage(WM_LBUTTONUP, 0, At(2, 2));
  EXPECT_TRUE(link.visited());
  EXPECT_EQ(Colour(link), kDefaultColours.visited);
  EXPECT_FALSE(script.Ran(1500));
}

}  // namespace
