// The owner-drawn list: text shortening on measured text, creation styles, stored colours,
// what each row hands to DrawItemText, and the row highlight as painted.
#include "mainwindow/list_view_ex.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/gui/control_host.h"

namespace {

class ListHost : public gui_test::TestHost {
 public:
  ListHost()
      : TestHost("CorvaneListViewExTestHost", "CListViewEx", WS_POPUP | WS_VISIBLE,
                 {20, 20, 460, 260}, GetSysColorBrush(COLOR_BTNFACE)) {}
};

struct DrawCall {
  std::string label;
  bool selected;
  RECT item;
  RECT label_rect;
  int index;
};

class RecordingList : public CListViewEx {
 public:
  std::vector<DrawCall> calls;

  const DrawCall* Last(int index) const {
    for (auto it = calls.rbegin(); it != calls.rend(); ++it)
      if (it->index == index) return &*it;
    return nullptr;
  }

 protected:
  void DrawItemText(const std::string& label, bool selected, const RECT& item,
                    const RECT& label_rect, int index, const LVITEMA&,
                    HDC) override {
    calls.push_back({label, selected, item, label_rect, index});
  }
};

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

int Extent(HDC dc, const std::string& text) {
  SIZE size = {};
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
  return size.cx;
}

// A memory context with the list's usual font.
class FontDc {
 public:
  FontDc() : dc_(CreateCompatibleDC(nullptr)) { SelectObject(dc_, GetStockObject(DEFAULT_GUI_FONT)); }
  ~FontDc() { DeleteDC(dc_); }
  operator HDC() const { return dc_; }

 private:
  HDC dc_;
};

std::string Shortened(std::string text, int width, int offset) {
  FontDc dc;
  CListViewEx::ShortenText(dc, text, width, offset);
  return text;
}

// The list's client area as it paints itself into a bitmap.
class ClientPicture {
 public:
  explicit ClientPicture(HWND hwnd) {
    RECT client;
    GetClientRect(hwnd, &client);
    HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    bitmap_ = CreateCompatibleBitmap(screen, client.right, client.bottom);
    ReleaseDC(nullptr, screen);
    old_ = SelectObject(dc_, bitmap_);
    SendMessageA(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc_),
                 PRF_CLIENT | PRF_ERASEBKGND);
  }
  ~ClientPicture() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  COLORREF Pixel(int x, int y) const { return GetPixel(dc_, x, y); }

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
};

class ListViewExTest : public gui_test::HostedTest<ListHost> {
 protected:
  void SetUp() override {
    ASSERT_NE(host_.GetSafeHwnd(), nullptr);
    RECT rect = {10, 10, 410, 210};
    ASSERT_TRUE(list_.Create(WS_CHILD | WS_VISIBLE | LVS_SMALLICON, rect, &host_, 100));
    list_.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)));
    list_.InsertColumn(0, "Name", LVCFMT_LEFT, 90);
    list_.InsertItem(0, "Short");
    list_.InsertItem(1, "A label much too long for its column");
    list_.InsertItem(2, "Third");
  }

  void Repaint() {
    list_.calls.clear();
    InvalidateRect(list_, nullptr, TRUE);
    UpdateWindow(list_);
  }

  int RowMiddle(int index) {
    RECT bounds;
    list_.GetItemRect(index, &bounds, LVIR_BOUNDS);
    return (bounds.top + bounds.bottom) / 2;
  }

  RecordingList list_;
};

TEST(ListViewExShortenText, KeepsTextThatFitsAndEmptyText) {
  FontDc dc;
  int width = Extent(dc, "Hello") + 4;
  EXPECT_EQ(Shortened("Hello", width, 4), "Hello");
  EXPECT_EQ(Shortened("", 0, 4), "");
  EXPECT_NE(Shortened("Hello", width - 1, 4), "Hello");
}

TEST(ListViewExShortenText, LongestMeasuredPrefixThatFitsWithEllipsis) {
  FontDc dc;
  const std::string text = "Corvane inspects COM class registrations";
  const int dots = Extent(dc, "...");
  for (int width : {40, 57, 90, 150}) {
    std::string result = Shortened(text, width, 4);
    ASSERT_GE(result.size(), 3u);
    ASSERT_EQ(result.substr(result.size() - 3), "...");
    std::string prefix = result.substr(0, result.size() - 3);
    ASSERT_EQ(text.compare(0, prefix.size(), prefix), 0) << result;
    if (!prefix.empty()) {
      EXPECT_LE(Extent(dc, prefix) + dots + 4, width) << result;
    }
    // One character more would not have fitted.
    EXPECT_GT(Extent(dc, text.substr(0, prefix.size() + 1)) + dots + 4, width) << result;
  }
}

TEST(ListViewExShortenText, NothingFitsGivesEllipsisOnly) {
  FontDc dc;
  EXPECT_EQ(Shortened("W", Extent(dc, "W") + 3, 4), "...");
  EXPECT_EQ(Shortened("WW", Extent(dc, "W") + Extent(dc, "...") + 3, 4), "...");
  EXPECT_EQ(Shortened("Wide", 0, 4), "...");
}

// The programs run with UTF-8 as their code page: a cut keeps whole characters.
TEST(ListViewExShortenText, NeverSplitsACharacter) {
  FontDc dc;
  const std::string text = "C:\\Программы\\файл.dll";
  for (int width = Extent(dc, "...") + 4; width < Extent(dc, text) + 4; width += 3) {
    const std::string result = Shortened(text, width, 4);
    const std::string prefix = result.substr(0, result.size() - 3);
    EXPECT_GT(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, prefix.c_str(),
                                  static_cast<int>(prefix.size()) + 1, nullptr, 0), 0)
        << width;
  }
}

TEST_F(ListViewExTest, CreatingItsOwnWindowMakesAFullRowOwnerDrawnReport) {
  DWORD style = list_.GetStyle();
  EXPECT_EQ(style & LVS_TYPEMASK, static_cast<DWORD>(LVS_REPORT));
  EXPECT_TRUE(style & LVS_OWNERDRAWFIXED);
  EXPECT_EQ(list_.full_row_selection(), 1);
  EXPECT_EQ(list_.client_width_selection(), 1);
  RECT client;
  GetClientRect(list_, &client);
  EXPECT_EQ(list_.client_width(), client.right);
}

TEST_F(ListViewExTest, AdoptedListKeepsItsStyleAndFullRowFlagOff) {
  HWND raw = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT |
                                 LVS_OWNERDRAWFIXED | LVS_SHOWSELALWAYS,
                             10, 10, 300, 100, host_, nullptr, nullptr, nullptr);
  CListViewEx adopted;
  ASSERT_TRUE(adopted.SubclassWindow(raw));
  EXPECT_EQ(adopted.full_row_selection(), 0);
  EXPECT_EQ(adopted.client_width(), 0);
  SetWindowPos(raw, nullptr, 0, 0, 250, 100, SWP_NOMOVE | SWP_NOZORDER);
  RECT client;
  GetClientRect(raw, &client);
  EXPECT_EQ(adopted.client_width(), client.right);

  // Still a full-width highlight, drawn through the parent's reflection.
  adopted.InsertColumn(0, "Name", LVCFMT_LEFT, 60);
  adopted.InsertItem(0, "Row");
  adopted.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
  RECT bounds;
  adopted.GetItemRect(0, &bounds, LVIR_BOUNDS);
  ClientPicture picture(raw);
  EXPECT_EQ(picture.Pixel(client.right - 3, (bounds.top + bounds.bottom) / 2),
            GetSysColor(COLOR_HIGHLIGHT));
}

TEST_F(ListViewExTest, StoresColoursAndPassesThemOn) {
  EXPECT_EQ(list_.bk_color(), GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(list_.text_bk_color(), GetSysColor(COLOR_WINDOW));
  list_.SendMessage(LVM_SETBKCOLOR, 0, RGB(10, 20, 30));
  list_.SendMessage(LVM_SETTEXTBKCOLOR, 0, RGB(40, 50, 60));
  EXPECT_EQ(list_.bk_color(), RGB(10, 20, 30));
  EXPECT_EQ(list_.text_bk_color(), RGB(40, 50, 60));
  EXPECT_EQ(static_cast<COLORREF>(list_.SendMessage(LVM_GETBKCOLOR)), RGB(10, 20, 30));
  EXPECT_EQ(static_cast<COLORREF>(list_.SendMessage(LVM_GETTEXTBKCOLOR)), RGB(40, 50, 60));

  // Present-day systems place state images themselves: no offset, and the list keeps it.
  HIMAGELIST states = ImageList_Create(16, 16, ILC_COLOR24, 1, 1);
  list_.SetImageList(states, LVSIL_STATE);
  EXPECT_EQ(list_.GetImageList(LVSIL_STATE), states);
  EXPECT_EQ(list_.state_image_offset(), 0);
}

TEST_F(ListViewExTest, DrawItemTextGetsShortenedLabelAndNarrowedRectangles) {
  Repaint();
  FontDc dc;
  for (int index = 0; index < 3; ++index) {
    const DrawCall* call = list_.Last(index);
    ASSERT_NE(call, nullptr) << index;
    RECT label_area;
    list_.GetItemRect(index, &label_area, LVIR_LABEL);
    EXPECT_TRUE(SameRect(call->item, label_area)) << index;
    RECT narrowed = {label_area.left + 2, label_area.top, label_area.right - 2,
                     label_area.bottom};
    EXPECT_TRUE(SameRect(call->label_rect, narrowed)) << index;
    std::string expected = list_.GetItemText(index, 0);
    CListViewEx::ShortenText(dc, expected, label_area.right - label_area.left, 4);
    EXPECT_EQ(call->label, expected) << index;
    EXPECT_FALSE(call->selected);
  }
  EXPECT_EQ(list_.Last(0)->label, "Short");
  EXPECT_EQ(list_.Last(1)->label.substr(list_.Last(1)->label.size() - 3), "...");
}

TEST_F(ListViewExTest, SelectionShowsOnlyWithFocusOrShowSelectionAlways) {
  list_.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
  list_.SetItemState(2, LVIS_DROPHILITED, LVIS_DROPHILITED);
  SetFocus(host_);
  Repaint();
  EXPECT_FALSE(list_.Last(1)->selected);
  EXPECT_TRUE(list_.Last(2)->selected);

  list_.ModifyStyle(0, LVS_SHOWSELALWAYS);
  Repaint();
  EXPECT_TRUE(list_.Last(1)->selected);
  EXPECT_FALSE(list_.Last(0)->selected);
}

TEST_F(ListViewExTest, PaintsRowBackgroundsToTheClientWidth) {
  list_.ModifyStyle(0, LVS_SHOWSELALWAYS);
  list_.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
  list_.SendMessage(LVM_SETTEXTBKCOLOR, 0, RGB(250, 240, 200));
  list_.SendMessage(LVM_SETBKCOLOR, 0, RGB(200, 220, 250));
  RECT client;
  GetClientRect(list_, &client);
  {
    ClientPicture picture(list_);
    EXPECT_EQ(picture.Pixel(client.right - 3, RowMiddle(0)), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(picture.Pixel(client.right - 3, RowMiddle(1)), RGB(250, 240, 200));
  }
  // No text background of its own: the row shows the list's background.
  list_.SendMessage(LVM_SETTEXTBKCOLOR, 0, CLR_NONE);
  ClientPicture picture(list_);
  EXPECT_EQ(picture.Pixel(client.right - 3, RowMiddle(1)), RGB(200, 220, 250));
}

// What the screen shows of the list, or CLR_INVALID where it cannot be read.
COLORREF ScreenPixel(HWND hwnd, int x, int y) {
  HDC dc = GetDC(hwnd);
  COLORREF colour = GetPixel(dc, x, y);
  ReleaseDC(hwnd, dc);
  return colour;
}

TEST_F(ListViewExTest, RepaintsTheStretchedHighlightWhenTheSelectionGoes) {
  list_.ModifyStyle(0, LVS_SHOWSELALWAYS);
  list_.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
  Repaint();
  RECT client;
  GetClientRect(list_, &client);
  COLORREF before = ScreenPixel(list_, client.right - 3, RowMiddle(0));
  if (before == CLR_INVALID) GTEST_SKIP() << "screen pixels cannot be read here";
  ASSERT_EQ(before, GetSysColor(COLOR_HIGHLIGHT));

  // The list invalidates only its columns; the part beyond them must not stay highlighted.
  list_.SetItemState(0, 0, LVIS_SELECTED);
  UpdateWindow(list_);
  EXPECT_EQ(ScreenPixel(list_, client.right - 3, RowMiddle(0)), GetSysColor(COLOR_WINDOW));
}

TEST_F(ListViewExTest, StateImageOnlyForRowsThatHaveOne) {
  HIMAGELIST states = ImageList_Create(16, 16, ILC_COLOR32, 1, 1);
  std::vector<DWORD> pixels(16 * 16, 0x00FF0000);  // red, as 32-bit BGRA
  HBITMAP red = CreateBitmap(16, 16, 1, 32, pixels.data());
  ImageList_Add(states, red, nullptr);
  DeleteObject(red);
  list_.SetImageList(states, LVSIL_STATE);
  list_.SetItemState(0, INDEXTOSTATEIMAGEMASK(1), LVIS_STATEIMAGEMASK);
  list_.SetItemState(1, 0, LVIS_STATEIMAGEMASK);

  RECT row0;
  RECT row1;
  list_.GetItemRect(0, &row0, LVIR_BOUNDS);
  list_.GetItemRect(1, &row1, LVIR_BOUNDS);
  ClientPicture picture(list_);
  EXPECT_EQ(picture.Pixel(row0.left + 4, row0.top + 4), RGB(255, 0, 0));
  EXPECT_NE(picture.Pixel(row1.left + 4, row1.top + 4), RGB(255, 0, 0));
}

}  // namespace
