// corvane_gallery: shows one of the program's dialogs or windows by name, for screenshots.
//   corvane_gallery options | message | timed | unregistered | progress | about | details |
//                   compare | update [news | download] | update-offline | news
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "app/about_dlg.h"
#include "app/gui_platform.h"
#include "app/message_dlg.h"
#include "app/news_dlg.h"
#include "app/options_dlg.h"
#include "app/settings.h"
#include "app/unregistered_dlg.h"
#include "app/web_update_dlg.h"
#include "catalogue/object_kinds.h"
#include "mainwindow/com_file_details_dlg.h"
#include "mainwindow/layout_hold.h"
#include "mainwindow/progress_wnd.h"
#include "resources/resource.h"
#include "tools/compare_files_dlg.h"
#include "tools/restore_backups_dlg.h"

namespace {

void RunModeless(CDialog& window) {
  MSG msg;
  while (IsWindow(window.GetSafeHwnd()) && GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

// Clicks a link of the web update dialog once its information is shown.
int update_link = 0;
void CALLBACK ClickUpdateLink(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = FindWindowA("#32770", "Corvane Web Update");
  if (dialog == nullptr || !IsWindowEnabled(GetDlgItem(dialog, IDOK))) return;
  KillTimer(nullptr, timer);
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(update_link, STN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, update_link)));
}

const char kSampleNews[] =
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs20\n"
    "@@Version 2.1\\par\n\\b Faster scans\\b0  of large registries.\\par\n"
    "@@Version 2.0\\par\nFirst release of Corvane 2.0.\\par\n"
    "@@Version 1.9\\par\nOlder fixes.\\par\n}";

}  // namespace

int main(int argc, char** argv) {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_TAB_CLASSES};
  InitCommonControlsEx(&controls);
  std::string which = argc > 1 ? argv[1] : "";
  if (which == "options") {
    COptionsDlg dialog(corvane::AppSettings());
    dialog.DoModal();
  } else if (which == "message") {
    ShowMessage("C:\\WINDOWS\\system32\\corvane_fixture_control.ocx\n\nRegistered Successfully !");
  } else if (which == "timed") {
    ShowTimedMessage("C:\\WINDOWS\\system32\\msscript.ocx\n\nUnregistered Successfully !");
    Sleep(10000);
  } else if (which == "unregistered") {
    CUnregisteredDlg dialog("MSScriptControl.ScriptControl.1",
                            "C:\\WINDOWS\\system32\\msscript.ocx");
    dialog.DoModal();
  } else if (which == "progress") {
    CProgressWnd progress;
    if (!progress.Open(nullptr)) return 1;
    progress.SetLine("Searching the Registry for COM Objects");
    RunModeless(progress);
  } else if (which == "about") {
    CAboutDlg about;
    about.DoModal();
  } else if (which == "details" || which == "compare") {
    char system[MAX_PATH] = "";
    GetSystemDirectoryA(system, MAX_PATH);
    std::string ole32 = std::string(system) + "\\ole32.dll";
    if (which == "compare") {
      CCompareFilesDlg compare(ole32);
      compare.DoModal();
    } else {
      corvane::CComFileObject record(GuiPlatform(), ole32);
      CComFileDetailsDlg details(record);
      details.DoModal();
    }
  } else if (which == "update") {
    std::string action = argc > 2 ? argv[2] : "";
    update_link = action == "news" ? IDC_NEWS_LINK : action == "download" ? IDC_DOWNLOAD_LINK : 0;
    if (update_link != 0) SetTimer(nullptr, 0, 200, ClickUpdateLink);
    CheckForUpdates();
  } else if (which == "update-offline") {
    CWebUpdateDlg dialog("http://127.0.0.1/ver.txt", "", nullptr, "corvane_no_internet.dll");
    dialog.DoModal();
  } else if (which == "restore") {
    CRestoreBackupsDlg restore;
    restore.DoModal();
  } else if (which == "news") {
    CNewsDlg news;
    news.SetNewsText(kSampleNews);
    news.SetHeadings("What is new in this update:\\n", "Already installed:\\n");
    news.SetInstalledVersion(corvane::CVersionNumber("2.0"));
    news.DoModal();
  } else {
    return 2;
  }
  return 0;
}
