// The shaded static: the fade and its strips, background painting, the text colour answer,
// fitting the control to its text, and the tooltip text.
#include "widgets/ox_static.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/gui/control_host.h"

namespace {

const COLORREF kHostColour = RGB(0, 128, 96);

class StaticHost : public CWnd {
 public:
  StaticHost() : brush_(CreateSolidBrush(kHostColour)) {
    const char* name = RegisterFrameworkClass("CorvaneOXStaticTestHost", 0, nullptr, nullptr);
    RECT rect = {30, 30, 530, 330};
    CreateEx(0, name, "COXStatic", WS_POPUP | WS_VISIBLE, rect, nullptr, 0);
  }
  ~StaticHost() override {
    DestroyWindow();
    DeleteObject(brush_);
  }

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WM_ERASEBKGND) {
      RECT client;
      GetClientRect(hwnd_, &client);
      FillRect(reinterpret_cast<HDC>(wp), &client, brush_);
      return 1;
    }
    return CWnd::WindowProc(msg, wp, lp);
  }

 private:
  HBRUSH brush_;
};

RECT RectInParent(HWND hwnd) {
  RECT rect;
  GetWindowRect(hwnd, &rect);
  MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

SIZE TextSize(HFONT font, const std::string& text) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  RECT rect = {0, 0, 0, 0};
  DrawTextA(dc, text.c_str(), -1, &rect, DT_CALCRECT | DT_EXPANDTABS);
  SelectObject(dc, old);
  DeleteDC(dc);
  return {rect.right, rect.bottom};
}

std::string ToolTipShows(const COXStatic& label) {
  return gui_test::ToolTipText(label.tool_tip(), label.GetSafeHwnd());
}

class OXStaticTest : public gui_test::HostedTest<StaticHost> {
 protected:
  void Make(COXStatic& label, DWORD style, const char* text) {
    RECT rect = {20, 20, 320, 70};
    ASSERT_TRUE(label.Create(text, WS_CHILD | WS_VISIBLE | style, rect, &host_, 200));
    label.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)));
  }
};

TEST(OXStaticShade, ChannelsFadeQuadraticallyToBlack) {
  const COLORREF colour = RGB(200, 100, 50);
  EXPECT_EQ(ShadeColour(colour, 0, 100), colour);
  EXPECT_EQ(ShadeColour(colour, 50, 100), RGB(150, 75, 38));
  EXPECT_EQ(ShadeColour(colour, 99, 100), RGB(4, 2, 1));
  EXPECT_EQ(ShadeColour(colour, 100, 100), RGB(0, 0, 0));
  // Wide controls: the squared distance times the channel passes 2^31.
  EXPECT_EQ(ShadeColour(RGB(255, 255, 255), 3000, 4000), RGB(112, 112, 112));
}

TEST(OXStaticShade, StripsFromEachEdge) {
  const COLORREF colour = RGB(0, 0, 255);
  std::vector<ShadeStrip> left = ShadeStrips(colour, kShadeFromLeft, 100);
  ASSERT_EQ(left.size(), 100u);
  for (int d = 0; d < 99; ++d) {
    EXPECT_EQ(left[d].left, d);
    EXPECT_EQ(left[d].right, d + 1);
    EXPECT_EQ(left[d].colour, ShadeColour(colour, d, 100));
  }
  EXPECT_EQ(left.back().left, 99);
  EXPECT_EQ(left.back().colour, RGB(0, 0, 0));

  std::vector<ShadeStrip> right = ShadeStrips(colour, kShadeFromRight, 100);
  EXPECT_EQ(right.front().left, 99);
  EXPECT_EQ(right.front().colour, colour);
  EXPECT_EQ(right.back().left, 0);
  EXPECT_EQ(right.back().colour, RGB(0, 0, 0));

  std::vector<ShadeStrip> centre = ShadeStrips(colour, kShadeFromCentre, 200);
  EXPECT_EQ(centre[0].left, 100);
  EXPECT_EQ(centre[1].right, 100);
  EXPECT_EQ(centre[0].colour, colour);

  ASSERT_EQ(ShadeStrips(colour, kShadeSolid, 100).size(), 1u);
  EXPECT_TRUE(ShadeStrips(kNoBackground, kShadeFromLeft, 100).empty());
}

TEST(OXStaticShade, StripWidthsAndCoverage) {
  struct Case { int mode; int width; int step; };
  for (Case c : {Case{kShadeFromLeft, 255, 1}, Case{kShadeFromRight, 100, 1},
                 Case{kShadeFromLeft, 256, 2}, Case{kShadeFromRight, 1280, 10},
                 Case{kShadeFromCentre, 511, 1}, Case{kShadeFromCentre, 1100, 2},
                 Case{kShadeFromCentre, 1, 1}, Case{kShadeSolid, 77, 77}}) {
    std::vector<ShadeStrip> strips = ShadeStrips(RGB(9, 99, 199), c.mode, c.width);
    ASSERT_FALSE(strips.empty());
    EXPECT_EQ(strips[0].right - strips[0].left, std::min(c.step, c.width)) << c.mode << " " << c.width;
    // The strips tile the width exactly.
    std::vector<int> cover(c.width, 0);
    for (const ShadeStrip& s : strips) {
      ASSERT_LT(s.left, s.right);
      for (int x = s.left; x < s.right; ++x) ++cover.at(x);
    }
    for (int x = 0; x < c.width; ++x) ASSERT_EQ(cover[x], 1) << c.mode << " " << c.width << " " << x;
  }
}

TEST_F(OXStaticTest, ErasePaintsTheShadeOrNothing) {
  COXStatic label;
  Make(label, SS_LEFT, "");
  label.SetBackgroundColour(RGB(255, 200, 100));
  label.SetBackgroundMode(kShadeFromLeft);
  RECT client;
  GetClientRect(label, &client);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  HBRUSH magenta = CreateSolidBrush(RGB(255, 0, 255));
  FillRect(dc, &client, magenta);

  label.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc));
  for (const ShadeStrip& s : ShadeStrips(RGB(255, 200, 100), kShadeFromLeft, client.right))
    EXPECT_EQ(GetPixel(dc, s.left, client.bottom / 2), s.colour) << s.left;

  FillRect(dc, &client, magenta);
  label.SetBackgroundColour(kNoBackground);
  label.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc));
  EXPECT_EQ(GetPixel(dc, 5, 5), RGB(255, 0, 255));
  EXPECT_EQ(GetPixel(dc, client.right - 5, client.bottom - 5), RGB(255, 0, 255));

  DeleteObject(magenta);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

TEST_F(OXStaticTest, TextColourAnswerForTextControlsOnly) {
  COXStatic label;
  Make(label, SS_LEFT | SS_NOPREFIX, "Label");
  LOGFONTA font = {};
  font.lfHeight = -20;
  lstrcpyA(font.lfFaceName, "Tahoma");
  ASSERT_TRUE(label.SetFont(font));
  label.SetTextColour(RGB(12, 34, 56));

  HDC dc = CreateCompatibleDC(nullptr);
  LRESULT brush = host_.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                    reinterpret_cast<LPARAM>(label.GetSafeHwnd()));
  EXPECT_EQ(brush, reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH)));
  EXPECT_EQ(GetTextColor(dc), RGB(12, 34, 56));
  EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), label.font());
  EXPECT_TRUE(label.GetStyle() & SS_NOTIFY);

  COXStatic frame;
  Make(frame, SS_BLACKFRAME, "");
  EXPECT_FALSE(frame.IsTextControl());
  SetTextColor(dc, RGB(1, 1, 1));
  brush = host_.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                            reinterpret_cast<LPARAM>(frame.GetSafeHwnd()));
  EXPECT_NE(brush, reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH)));
  EXPECT_NE(GetTextColor(dc), RGB(12, 34, 56));
  DeleteDC(dc);
}

TEST_F(OXStaticTest, FitToTextKeepsTheAlignedEdgeAndReturnsToTheSavedRect) {
  HFONT gui_font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  const SIZE text = TextSize(gui_font, "Fit me");
  struct Case { DWORD style; int left; int top; };
  for (Case c : {Case{SS_LEFT, 20, 20}, Case{SS_CENTER, 20 + (300 - text.cx) / 2, 20},
                 Case{SS_RIGHT, 320 - text.cx, 20},
                 Case{SS_LEFT | SS_CENTERIMAGE, 20, 20 + (50 - text.cy) / 2}}) {
    COXStatic label;
    Make(label, c.style, "Fit me");
    label.SetFitToText(true);
    RECT fitted = RectInParent(label);
    EXPECT_EQ(fitted.left, c.left) << c.style;
    EXPECT_EQ(fitted.top, c.top) << c.style;
    EXPECT_EQ(fitted.right - fitted.left, text.cx) << c.style;
    EXPECT_EQ(fitted.bottom - fitted.top, text.cy) << c.style;

    label.SetFitToText(false);
    RECT back = RectInParent(label);
    EXPECT_EQ(back.left, 20);
    EXPECT_EQ(back.right, 320);
    EXPECT_EQ(back.bottom, 70);
  }
}

TEST_F(OXStaticTest, FitFollowsTextAndFontWithinTheParent) {
  COXStatic label;
  Make(label, SS_LEFT, "Short");
  label.SetFitToText(true);
  label.SetWindowText("A somewhat longer text");
  HFONT gui_font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  RECT fitted = RectInParent(label);
  EXPECT_EQ(fitted.right - fitted.left, TextSize(gui_font, "A somewhat longer text").cx);

  LOGFONTA big = {};
  big.lfHeight = -40;
  lstrcpyA(big.lfFaceName, "Tahoma");
  ASSERT_TRUE(label.SetFont(big));
  fitted = RectInParent(label);
  EXPECT_EQ(fitted.bottom - fitted.top, TextSize(label.font(), "A somewhat longer text").cy);

  label.SetWindowText(std::string(200, 'W'));
  RECT host_client;
  GetClientRect(host_, &host_client);
  fitted = RectInParent(label);
  EXPECT_EQ(fitted.right - fitted.left, host_client.right);
  // Not fitted, a resize becomes the rectangle to return to.
  label.SetFitToText(false);
  MoveWindow(label, 5, 6, 100, 30, TRUE);
  RECT saved = label.saved_rect();
  EXPECT_EQ(saved.left, 5);
  EXPECT_EQ(saved.top, 6);
  EXPECT_EQ(saved.right, 105);
  EXPECT_EQ(saved.bottom, 36);
}

TEST_F(OXStaticTest, ToolTipFollowsTheTextUntilSetExplicitly) {
  COXStatic label;
  Make(label, SS_LEFT, "First");
  EXPECT_EQ(label.tool_tip(), nullptr);
  label.SetToolTipsActive(true);
  ASSERT_NE(label.tool_tip(), nullptr);
  EXPECT_TRUE(label.GetStyle() & SS_NOTIFY);
  EXPECT_EQ(ToolTipShows(label), "First");

  label.SetWindowText("Second");
  EXPECT_EQ(label.tool_tip_text(), "Second");
  EXPECT_EQ(ToolTipShows(label), "Second");

  label.SetToolTipText("Fixed");
  label.SetWindowText("Third");
  EXPECT_EQ(label.tool_tip_text(), "Fixed");
  EXPECT_EQ(ToolTipShows(label), "Fixed");

  MSG msg = {};
  msg.hwnd = label.GetSafeHwnd();
  msg.message = WM_MOUSEMOVE;
  msg.lParam = MAKELPARAM(5, 5);
  EXPECT_FALSE(label.PreTranslateMessage(&msg));
}

}  // namespace
