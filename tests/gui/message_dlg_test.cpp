// The message dialog, the timed message window, the notification modes and the wait notices.
#include "app/message_dlg.h"

#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/gui_notice.h"
#include "framework/win_app.h"
#include "resources/resource.h"
#include "tests/gui/modal_driver.h"

namespace {

const char kMessageCaption[] = "Corvane Message";
const char kAppCaption[] = "Corvane";

using gui_test::WindowText;

std::string ItemText(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }

// Top-level dialog windows of this thread with the caption, shown or hidden.
std::vector<HWND> DialogsCaptioned(const std::string& caption) {
  return gui_test::ThreadDialogs(caption, gui_test::kAnyState);
}

void PumpMessages() {
  MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

// Services the queue until the condition holds; bounded by rounds, not by a clock.
bool PumpUntil(const std::function<bool()>& condition, int rounds = 3000) {
  for (int i = 0; i < rounds && !condition(); ++i) PumpMessages();
  return condition();
}

HWND TimedWindowHandle() {
  return TimedMessageWindow() != nullptr ? TimedMessageWindow()->GetSafeHwnd() : nullptr;
}

// Answers the modal windows a call opens, in order, never the timed message window. Gives up
// by pressing OK on every message still open.
class DialogDriver : public gui_test::DialogDriver {
 public:
  explicit DialogDriver(const std::vector<Step>& steps)
      : gui_test::DialogDriver(steps, PressOkEverywhere, TimedWindowHandle) {}

 private:
  static void PressOkEverywhere() {
    HWND ignored = TimedWindowHandle();
    for (const char* caption : {kMessageCaption, kAppCaption}) {
      for (HWND hwnd : DialogsCaptioned(caption))
        if (hwnd != ignored) gui_test::PostClick(hwnd, IDOK);
    }
  }
};

// What a message dialog looked like when it was answered.
struct Seen {
  std::string text;
  bool ok_visible = false;
  bool system_menu = false;
  HWND owner = nullptr;
};

DialogDriver::Step AnswerMessage(Seen* seen) {
  return {kMessageCaption, [seen](HWND dialog) {
            seen->text = ItemText(dialog, IDC_MESSAGE_TEXT);
            seen->ok_visible = IsWindowVisible(GetDlgItem(dialog, IDOK)) != FALSE;
            seen->system_menu = (GetWindowLongA(dialog, GWL_STYLE) & WS_SYSMENU) != 0;
            seen->owner = GetWindow(dialog, GW_OWNER);
            gui_test::PostClick(dialog, IDOK);
          }};
}

// An application object with a plain main window, for the rules about owners.
class AppWithMainWindow {
 public:
  AppWithMainWindow() {
    main_.CreateEx(0, "STATIC", "main", WS_OVERLAPPEDWINDOW, RECT{0, 0, 300, 200}, nullptr, 0);
    app_.set_main_window(&main_);
  }
  ~AppWithMainWindow() { app_.set_main_window(nullptr); }
  HWND main() const { return main_.GetSafeHwnd(); }

 private:
  CWinApp app_;
  CWnd main_;
};

class MessageTest : public testing::Test {
 protected:
  void TearDown() override { DestroyTimedMessage(); }
};

class NotifyTest : public MessageTest {};

const char kRegistered[] = "C:\\Controls\\R&D\\grid.ocx\n\nRegistered Successfully !";

TEST_F(NotifyTest, WaitModesShowAModalMessageAnsweredByOk) {
  for (int mode : {0, -1, 4, 7}) {
    SCOPED_TRACE(mode);
    Seen seen;
    DialogDriver driver({AnswerMessage(&seen)});
    NotifyAction(kRegistered, mode);
    EXPECT_FALSE(driver.gave_up());
    EXPECT_EQ(driver.steps_done(), 1u);
    EXPECT_EQ(seen.text, kRegistered);
    EXPECT_TRUE(seen.ok_visible);
    EXPECT_TRUE(seen.system_menu);
    EXPECT_EQ(TimedMessageWindow(), nullptr);
    EXPECT_TRUE(DialogsCaptioned(kMessageCaption).empty());
  }
}

TEST_F(NotifyTest, BeepAndNothingShowNoWindow) {
  for (int mode : {2, 3}) {
    SCOPED_TRACE(mode);
    Seen seen;
    DialogDriver driver({AnswerMessage(&seen)});
    NotifyAction(kRegistered, mode);
    PumpMessages();
    EXPECT_EQ(driver.steps_done(), 0u);
    EXPECT_EQ(TimedMessageWindow(), nullptr);
    EXPECT_TRUE(DialogsCaptioned(kMessageCaption).empty());
  }
}

TEST_F(NotifyTest, TimedModeReturnsAtOnceWithAShownWindow) {
  Seen seen;
  DialogDriver driver({AnswerMessage(&seen)});
  NotifyAction(kRegistered, 1);
  EXPECT_EQ(driver.steps_done(), 0u);
  CMessageDlg* timed = TimedMessageWindow();
  ASSERT_NE(timed, nullptr);
  HWND hwnd = timed->GetSafeHwnd();
  EXPECT_TRUE(IsWindowVisible(hwnd));
  EXPECT_EQ(ItemText(hwnd, IDC_MESSAGE_TEXT), kRegistered);
}

TEST_F(NotifyTest, GuiNoticePassesTheModeOn) {
  GuiNotice notice;
  notice.NotifyAction("quiet", 3);
  EXPECT_EQ(TimedMessageWindow(), nullptr);
  notice.NotifyAction("timed", 1);
  ASSERT_NE(TimedMessageWindow(), nullptr);
  EXPECT_EQ(ItemText(TimedMessageWindow()->GetSafeHwnd(), IDC_MESSAGE_TEXT), "timed");
}

TEST_F(MessageTest, TimedWindowHasNoCloseBoxNoOkAndNoOwner) {
  AppWithMainWindow app;
  ShowTimedMessage("Removed.");
  ASSERT_NE(TimedMessageWindow(), nullptr);
  HWND hwnd = TimedMessageWindow()->GetSafeHwnd();
  EXPECT_EQ(GetWindowLongA(hwnd, GWL_STYLE) & WS_SYSMENU, 0);
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(hwnd, IDOK)));
  EXPECT_EQ(GetWindow(hwnd, GW_OWNER), nullptr);
  EXPECT_EQ(GetParent(hwnd), nullptr);
  DestroyTimedMessage();
}

TEST_F(MessageTest, ModalMessageIsOwnedByTheMainWindow) {
  AppWithMainWindow app;
  Seen seen;
  {
    DialogDriver driver({AnswerMessage(&seen)});
    ShowMessage("Failed.");
    EXPECT_EQ(driver.steps_done(), 1u);
  }
  EXPECT_EQ(seen.owner, app.main());
}

// Inside a modal dialog its messages belong to it, not to the main window, so that the dialog
// is disabled behind them and cannot open a second one.
TEST_F(MessageTest, MessagesOfAModalDialogAreOwnedByTheDialog) {
  AppWithMainWindow app;
  CMessageDlg outer("outer");
  std::vector<HWND> owners;
  HWND outer_hwnd = nullptr;
  bool outer_enabled = true;
  gui_test::RunModal(outer, [&](HWND dialog) {
    outer_hwnd = dialog;
    gui_test::ModalAnswer boxes(kAppCaption, [&](HWND box) {
      owners.push_back(GetWindow(box, GW_OWNER));
      outer_enabled = outer_enabled && IsWindowEnabled(dialog);
      return IDOK;
    });
    AppMessageBox("The file could not be written.");
    Seen seen;
    {
      DialogDriver driver({AnswerMessage(&seen)});
      ShowMessage("inner");
    }
    owners.push_back(seen.owner);
    gui_test::PostClick(dialog, IDOK);
  });
  EXPECT_EQ(owners, (std::vector<HWND>{outer_hwnd, outer_hwnd}));
  EXPECT_FALSE(outer_enabled);
  EXPECT_EQ(CDialog::RunningModal(), nullptr);
}

TEST_F(MessageTest, SecondTimedMessageReplacesTheFirst) {
  ShowTimedMessage("first");
  HWND first = TimedMessageWindow()->GetSafeHwnd();
  ShowTimedMessage("second");
  EXPECT_FALSE(IsWindow(first));
  std::vector<HWND> windows = DialogsCaptioned(kMessageCaption);
  ASSERT_EQ(windows.size(), 1u);
  EXPECT_EQ(windows[0], TimedMessageWindow()->GetSafeHwnd());
  EXPECT_EQ(ItemText(windows[0], IDC_MESSAGE_TEXT), "second");
}

TEST_F(MessageTest, DestroyTimedMessageRemovesTheWindow) {
  DestroyTimedMessage();  // none yet: harmless
  ShowTimedMessage("at exit");
  HWND hwnd = TimedMessageWindow()->GetSafeHwnd();
  DestroyTimedMessage();
  EXPECT_EQ(TimedMessageWindow(), nullptr);
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_TRUE(DialogsCaptioned(kMessageCaption).empty());
  DestroyTimedMessage();
}

TEST_F(MessageTest, TimerHidesTheTimedWindowWhichStaysUntilReplaced) {
  ShowTimedMessage("going by itself");
  HWND hwnd = TimedMessageWindow()->GetSafeHwnd();
  EXPECT_TRUE(PumpUntil([hwnd] { return !IsWindowVisible(hwnd); }));
  EXPECT_TRUE(IsWindow(hwnd));
  EXPECT_EQ(DialogsCaptioned(kMessageCaption).size(), 1u);
  ShowTimedMessage("next");
  EXPECT_FALSE(IsWindow(hwnd));
}

TEST_F(MessageTest, TimedModalDialogEndsAsByCancel) {
  DialogDriver nobody_answers({});  // only ends a dialog that stays past its time
  CMessageDlg dialog("short", 200);
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_FALSE(nobody_answers.gave_up());
}

TEST(WaitDialog, AppearsPaintedWithoutButtonsAndDisappears) {
  GuiNotice notice;
  notice.ShowWaitDialog();
  notice.ShowWaitDialog();  // a second request keeps the one window
  std::vector<HWND> windows = DialogsCaptioned(kAppCaption);
  ASSERT_EQ(windows.size(), 1u);
  HWND hwnd = windows[0];
  EXPECT_TRUE(IsWindowVisible(hwnd));
  EXPECT_EQ(GetWindow(hwnd, GW_OWNER), nullptr);
  EXPECT_FALSE(GetUpdateRect(hwnd, nullptr, FALSE));
  std::vector<std::string> texts;
  int buttons = 0;
  for (HWND child = GetWindow(hwnd, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    char name[64] = "";
    GetClassNameA(child, name, sizeof name);
    if (lstrcmpiA(name, "Button") == 0) ++buttons;
    texts.push_back(WindowText(child));
  }
  EXPECT_EQ(buttons, 0);
  EXPECT_NE(std::find(texts.begin(), texts.end(),
                      "Please wait while Corvane searches the  Registry..."),
            texts.end());
  notice.HideWaitDialog();
  EXPECT_FALSE(IsWindow(hwnd));
  notice.HideWaitDialog();  // none left: harmless
  notice.ShowWaitDialog();
  EXPECT_EQ(DialogsCaptioned(kAppCaption).size(), 1u);
}

TEST(WaitDialog, GoesWithTheNotice) {
  HWND hwnd = nullptr;
  {
    GuiNotice notice;
    notice.ShowWaitDialog();
    ASSERT_EQ(DialogsCaptioned(kAppCaption).size(), 1u);
    hwnd = DialogsCaptioned(kAppCaption)[0];
  }
  EXPECT_FALSE(IsWindow(hwnd));
}

TEST(WaitCursor, NestedWaitsRestoreTheCursorBefore) {
  HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
  HCURSOR wait = LoadCursorA(nullptr, IDC_WAIT);
  SetCursor(arrow);
  GuiNotice notice;
  {
    corvane::WaitCursor outer(notice);
    EXPECT_EQ(GetCursor(), wait);
    {
      corvane::WaitCursor inner(notice);
      EXPECT_EQ(GetCursor(), wait);
    }
    EXPECT_EQ(GetCursor(), wait);
  }
  EXPECT_EQ(GetCursor(), arrow);
  notice.EndWaitCursor();  // unbalanced: ignored
  EXPECT_EQ(GetCursor(), arrow);
}

TEST(MessageBoxNotice, IsTheApplicationsWithOkOnly) {
  std::string text;
  bool has_cancel = true;
  {
    DialogDriver driver({{kAppCaption, [&](HWND box) {
                            text = ItemText(box, 0xFFFF);
                            has_cancel = GetDlgItem(box, IDCANCEL) != nullptr;
                            gui_test::PostClick(box, IDOK);
                          }}});
    GuiNotice notice;
    notice.ShowMessageBox("Scan failed.");
    EXPECT_EQ(driver.steps_done(), 1u);
  }
  EXPECT_EQ(text, "Scan failed.");
  EXPECT_FALSE(has_cancel);
}

}  // namespace
