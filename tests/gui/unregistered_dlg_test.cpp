// The dialog after a control is unregistered: keeping the file, and deleting it after asking.
#include "app/unregistered_dlg.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/gui_notice.h"
#include "resources/resource.h"
#include "tests/gui/modal_driver.h"

namespace {

const char kCaption[] = "COM Control Unregistered";
const char kConfirmCaption[] = "Confirm File Delete";
const char kAppCaption[] = "Corvane";
const int kMessageBoxText = 0xFFFF;

using gui_test::WindowText;

std::string ItemText(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }

// Answers the modal windows in order; gives up after a long idle spell by answering everything
// No, then OK, so a test cannot hang.
class DialogDriver : public gui_test::DialogDriver {
 public:
  explicit DialogDriver(const std::vector<Step>& steps)
      : gui_test::DialogDriver(steps, AnswerNoThenOk) {}

 private:
  static void AnswerNoThenOk() {
    for (HWND hwnd : gui_test::ThreadDialogs(kConfirmCaption)) gui_test::PostClick(hwnd, IDNO);
    for (const char* caption : {kAppCaption, kCaption}) {
      for (HWND hwnd : gui_test::ThreadDialogs(caption)) gui_test::PostClick(hwnd, IDOK);
    }
  }
};

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
    return {{kCaption, [](HWND dialog) { gui_test::PostClick(dialog, IDC_DELETE_FILE); }},
            {kConfirmCaption, [this, answer](HWND box) {
               question_ = ItemText(box, kMessageBoxText);
               question_owner_ = GetWindow(box, GW_OWNER);
               gui_test::PostClick(box, answer);
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
                          gui_test::PostClick(dialog, IDOK);
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
                          gui_test::PostClick(dialog, IDOK);
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
                     gui_test::PostClick(dialog, IDOK);
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
                     gui_test::PostClick(box, IDOK);
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
                       gui_test::PostClick(box, IDOK);
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
