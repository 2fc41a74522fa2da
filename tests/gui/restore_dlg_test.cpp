// Restore Removed Registrations under Wine: the backup of a class removed from the real
// registry is listed, restored, shown in its folder, deleted; the list grows with the dialog.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/launcher.h"
#include "app/settings.h"
#include "catalogue/object_kinds.h"
#include "resources/resource.h"
#include "tests/gui/details_test_support.h"
#include "tests/gui/modal_driver.h"
#include "tests/win32/scratch_classes.h"
#include "tools/restore_backups_dlg.h"

namespace {

using details_test::ItemText;
using gui_test::ActOnce;
using gui_test::RunModal;
using gui_test::SendClick;

const char kClsid[] = "{C0C0A000-1111-2222-3333-44445555C1C1}";

class Launches : public CLauncher {
 public:
  Launches() { previous_ = SetLauncher(this); }
  ~Launches() override { SetLauncher(previous_); }
  int RunShell(const std::string& target, const std::string&, const std::string&, int) override {
    shell.push_back(target);
    return 33;
  }
  BOOL ShowHelp(HWND, const std::string&, UINT, ULONG_PTR data) override {
    help.push_back(static_cast<int>(data));
    return TRUE;
  }
  std::vector<std::string> shell;
  std::vector<int> help;

 private:
  CLauncher* previous_;
};

int RowOf(HWND list, const std::string& clsid) {
  const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i)
    if (ItemText(list, i, 2) == clsid) return i;
  return -1;
}

TEST(RestoreBackupsDialogTest, ListsRestoresShowsAndDeletesABackup) {
  corvane::Win32Platform w;
  const std::string key = std::string("CLSID\\") + kClsid;
  HKEY made = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, (key + "\\InprocServer32").c_str(), 0, nullptr, 0,
                            KEY_ALL_ACCESS, nullptr, &made, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(made, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>("C:\\Gone\\restore.dll"), 20);
  RegCloseKey(made);
  const int after_remove = corvane::AppSettings().after_remove;
  corvane::AppSettings().after_remove = 3;
  corvane::CDllServerObject record(w.platform, kClsid);
  std::string log;
  ASSERT_EQ(record.RemoveFromRegistry(log), 1);
  corvane::AppSettings().after_remove = after_remove;
  ASSERT_FALSE(corvane::RegistryKeyExists(HKEY_CLASSES_ROOT, key.c_str()));

  Launches launches;
  CRestoreBackupsDlg dialog;
  std::string told;
  RunModal(dialog, [&](HWND hwnd) {
    HWND list = GetDlgItem(hwnd, IDC_RESTORE_LIST);
    const int row = RowOf(list, kClsid);
    ASSERT_GE(row, 0);
    EXPECT_EQ(ItemText(list, row, 3), "C:\\Gone\\restore.dll");
    EXPECT_EQ(ItemText(list, row, 4), "No");
    ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(hwnd, IDC_RESTORE_RESTORE)));
    {
      ActOnce ok("Corvane", [&](HWND box) {
        told = gui_test::WindowText(GetDlgItem(box, 0xFFFF));
        PostMessageA(box, WM_COMMAND, IDOK, 0);
      });
      SendClick(hwnd, IDC_RESTORE_RESTORE);
    }
    EXPECT_TRUE(corvane::RegistryKeyExists(HKEY_CLASSES_ROOT, (key + "\\InprocServer32").c_str()));

    SendClick(hwnd, IDC_RESTORE_FOLDER);
    SendClick(hwnd, IDC_RESTORE_HELP);

    RECT before{}, list_before{};
    GetClientRect(hwnd, &before);
    GetWindowRect(list, &list_before);
    SetWindowPos(hwnd, nullptr, 0, 0, 900, 600, SWP_NOMOVE | SWP_NOZORDER);
    RECT client{}, close{}, list_after{};
    GetClientRect(hwnd, &client);
    GetWindowRect(GetDlgItem(hwnd, IDCANCEL), &close);
    MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&close), 2);
    GetWindowRect(list, &list_after);
    EXPECT_GT(list_after.right - list_after.left, list_before.right - list_before.left);
    EXPECT_GT(list_after.bottom - list_after.top, list_before.bottom - list_before.top);
    EXPECT_LT(client.right - close.right, 20);
    EXPECT_LT(client.bottom - close.bottom, 20);

    const int again = RowOf(list, kClsid);
    ListView_SetItemState(list, again, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    {
      ActOnce yes("Delete Backup", [](HWND box) { PostMessageA(box, WM_COMMAND, IDYES, 0); });
      SendClick(hwnd, IDC_RESTORE_DELETE);
    }
    EXPECT_LT(RowOf(list, kClsid), 0);
    SendClick(hwnd, IDCANCEL);
  });
  EXPECT_NE(told.find("was restored."), std::string::npos) << told;
  EXPECT_TRUE(dialog.restored());
  corvane::FoundFile found;
  EXPECT_FALSE(w.files.FindFile(record.backup_path().c_str(), &found));
  ASSERT_EQ(launches.shell.size(), 1u);
  EXPECT_EQ(launches.shell[0] + "\\", record.backup_path().substr(0, launches.shell[0].size() + 1));
  EXPECT_EQ(launches.help, std::vector<int>{106});
  corvane::DeleteRegistryTree(HKEY_CLASSES_ROOT, key.c_str());
}

}  // namespace
