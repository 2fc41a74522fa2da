// The dialog after a control is unregistered: keeping the file, and deleting it after asking.
#include "app/unregistered_dlg.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/gui_notice.h"
#include "resources/resource.h"

namespace {

const char kCaption[] = "COM Control Unregistered";
const char kConfirmCaption[] = "Confirm File Delete";
const char kAppCaption[] = "Corvane";
const int kMessageBoxText = 0xFFFF;

std::string WindowText(HWND hwnd) {
  char text[2048] = "";
  GetWindowTextA(hwnd, text, sizeof text);
  return text;
}

std::string ItemText(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }

struct DialogSearch {
  std::string caption;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectAnswerable(HWND hwnd, LPARAM lp) {
  auto* search = reinterpret_cast<DialogSearch*>(lp);
  char name[64] = "";
  GetClassNameA(hwnd, name, sizeof name);
  if (std::string(name) == "#32770" && WindowText(hwnd) == search->caption &&
      IsWindowVisible(hwnd) && IsWindowEnabled(hwnd))
    search->found.push_back(hwnd);
  return TRUE;
}

// Visible, enabled dialog windows of this thread with the caption: the ones a user could answer.
std::vector<HWND> AnswerableDialogs(const std::string& caption) {
  DialogSearch search{caption, {}};
  EnumThreadWindows(GetCurrentThreadId(), CollectAnswerable, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void Click(HWND dialog, int id) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// Answers the modal windows in order from a thread timer that the modal loops service; gives
// up after a long idle spell by answering everything No, then OK, so a test cannot hang.
class DialogDriver {
 public:
  struct Step {
    std::string caption;
    std::function<void(HWND)> act;
  };

  explicit DialogDriver(std::vector<Step> steps) : steps_(std::move(steps)) {
    active_ = this;
    timer_ = SetTimer(nullptr, 0, 30, Tick);
  }
  ~DialogDriver() {
    KillTimer(nullptr, timer_);
    active_ = nullptr;
  }

  size_t steps_done() const { return next_; }
  bool gave_up() const { return gave_up_; }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (active_ != nullptr) active_->Advance();
  }

  void Advance() {
    if (next_ < steps_.size()) {
      std::vector<HWND> found = AnswerableDialogs(steps_[next_].caption);
      if (!found.empty()) {
        steps_[next_++].act(found[0]);
        idle_ticks_ = 0;
        return;
      }
    }
    if (++idle_ticks_ < 600) return;
    gave_up_ = true;
    for (HWND hwnd : AnswerableDialogs(kConfirmCaption)) Click(hwnd, IDNO);
    for (const char* caption : {kAppCaption, kCaption}) {
      for (HWND hwnd : AnswerableDialogs(caption)) Click(hwnd, IDOK);
    }
  }

  static DialogDriver* active_;
  std::vector<Step> steps_;
  size_t next_ = 0;
  int idle_ticks_ = 0;
  bool gave_up_ = false;
  UINT_PTR timer_ = 0;
};

DialogDriver* DialogDriver::active_ = nullptr;

bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class UnregisteredDlgTest : public testing::Test {
 protected:
  void SetUp() override {
    char folder[MAX_PATH] = "";
    char file[MAX_PATH] = "";
    GetTempPathA(sizeof folder, folder);
    ASSERT_NE(GetTempFileNameA(folder, "cvn", 0, file), 0u);
    path_ = file;
    HANDLE handle = CreateFileA(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(handle, "MZ", 2, &written, nullptr);
    CloseHandle(handle);
  }
  void TearDown() override {
    SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path_.c_str());
  }

  // The dialog's Delete button, then the confirmation answered with the button given.
  std::vector<DialogDriver::Step> DeleteAnswered(int answer) {
    return {{kCaption, [](HWND dialog) { Click(dialog, IDC_DELETE_FILE); }},
            {kConfirmCaption, [this, answer](HWND box) {
               question_ = ItemText(box, kMessageBoxText);
               question_owner_ = GetWindow(box, GW_OWNER);
               Click(box, answer);
             }}};
  }

  std::string path_;
  std::string question_;
  HWND question_owner_ = nullptr;
};

TEST_F(UnregisteredDlgTest, ShowsNameAndPathAndKeepFileKeepsIt) {
  std::string name, shown_path, keep, remove;
  DialogDriver driver({{kCaption, [&](HWND dialog) {
                          name = ItemText(dialog, IDC_UNREGISTERED_NAME);
                          shown_path = ItemText(dialog, IDC_UNREGISTERED_PATH);
                          keep = ItemText(dialog, IDOK);
                          remove = ItemText(dialog, IDC_DELETE_FILE);
                          Click(dialog, IDOK);
                        }}});
  CUnregisteredDlg dialog("Grid & Chart Control", path_);
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_FALSE(driver.gave_up());
  EXPECT_EQ(name, "Grid & Chart Control");
  EXPECT_EQ(shown_path, path_);
  EXPECT_EQ(keep, "&Keep File");
  EXPECT_EQ(remove, "&Delete File");
  EXPECT_TRUE(FileExists(path_));
}

TEST_F(UnregisteredDlgTest, GuiNoticeShowsItModally) {
  std::string name;
  DialogDriver driver({{kCaption, [&](HWND dialog) {
                          name = ItemText(dialog, IDC_UNREGISTERED_NAME);
                          Click(dialog, IDOK);
                        }}});
  GuiNotice notice;
  notice.ShowUnregistered("Grid", path_);
  EXPECT_EQ(driver.steps_done(), 1u);
  EXPECT_EQ(name, "Grid");
  EXPECT_TRUE(FileExists(path_));
}

TEST_F(UnregisteredDlgTest, DeleteAnsweredNoKeepsTheDialogAndTheFile) {
  HWND dialog_hwnd = nullptr;
  bool file_after_no = false;
  std::vector<DialogDriver::Step> steps = DeleteAnswered(IDNO);
  steps.push_back({kCaption, [&](HWND dialog) {
                     dialog_hwnd = dialog;
                     file_after_no = FileExists(path_);
                     Click(dialog, IDOK);
                   }});
  DialogDriver driver(steps);
  CUnregisteredDlg dialog("Grid", path_);
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_FALSE(driver.gave_up());
  EXPECT_EQ(driver.steps_done(), 3u);
  EXPECT_EQ(question_, "Are you sure you want to delete " + path_ + " ?");
  EXPECT_EQ(question_owner_, dialog_hwnd);
  EXPECT_TRUE(file_after_no);
  EXPECT_TRUE(FileExists(path_));
}

TEST_F(UnregisteredDlgTest, DeleteAnsweredYesDeletesTheFileAndCloses) {
  std::vector<DialogDriver::Step> steps = DeleteAnswered(IDYES);
  bool failure_shown = false;
  steps.push_back({kAppCaption, [&](HWND box) {
                     failure_shown = true;
                     Click(box, IDOK);
                   }});
  DialogDriver driver(steps);
  CUnregisteredDlg dialog("Grid", path_);
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(driver.steps_done(), 2u);
  EXPECT_FALSE(failure_shown);
  EXPECT_FALSE(FileExists(path_));
}

TEST_F(UnregisteredDlgTest, FileThatCannotBeDeletedIsReportedAndTheDialogCloses) {
  HANDLE in_use = CreateFileA(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(in_use, INVALID_HANDLE_VALUE);
  struct Case {
    const char* what;
    std::function<void()> before;
    std::function<void()> after;
  };
  std::vector<Case> cases = {
      {"held open without delete sharing", [] {}, [&] { CloseHandle(in_use); }},
      {"read-only", [&] { SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_READONLY); },
       [&] { SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_NORMAL); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    c.before();
    std::string failure;
    std::vector<DialogDriver::Step> steps = DeleteAnswered(IDYES);
    steps.push_back({kAppCaption, [&](HWND box) {
                       failure = ItemText(box, kMessageBoxText);
                       Click(box, IDOK);
                     }});
    {
      DialogDriver driver(steps);
      CUnregisteredDlg dialog("Grid", path_);
      EXPECT_EQ(dialog.DoModal(), IDOK);
      EXPECT_FALSE(driver.gave_up());
      EXPECT_EQ(driver.steps_done(), 3u);
    }
    EXPECT_EQ(failure, "Failed to delete file " + path_ +
                           "\n\nThe file may be in use by another program.");
    EXPECT_TRUE(FileExists(path_));
    c.after();
  }
}

}  // namespace
