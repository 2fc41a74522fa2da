// corvane_gallery: shows one of the program's dialogs or windows by name, for screenshots.
//   corvane_gallery options | message | timed | unregistered | progress | about |
//                   details [PATH [dependencies]] |
//                   compare | update [news | download] | update-offline | news |
//                   bulk-removal | removal-progress |
//                   typelib CLSID (the main window with that class's Type Library page)
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "app/about_dlg.h"
#include "app/gui_platform.h"
#include "app/message_dlg.h"
#include "update/news_dlg.h"
#include "app/options_dlg.h"
#include "app/settings.h"
#include "app/unregistered_dlg.h"
#include "update/web_update_dlg.h"
#include "catalogue/object_kinds.h"
#include "framework/doc_template.h"
#include "mainwindow/com_file_details_dlg.h"
#include "mainwindow/object_tree.h"
#include "mainwindow/plenor_doc.h"
#include "mainwindow/splitter_frame.h"
#include "mainwindow/tab_view.h"
#include "mainwindow/layout_hold.h"
#include "mainwindow/bulk_removal_dlg.h"
#include "mainwindow/progress_wnd.h"
#include "mainwindow/removal_progress_wnd.h"
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

// Turns the COM File Details dialog to its Dependencies tab and selects the last DLL listed.
void CALLBACK ShowDependencies(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = GetForegroundWindow();
  HWND tabs = dialog != nullptr ? GetDlgItem(dialog, IDC_DETAIL_TABS) : nullptr;
  if (tabs == nullptr) return;
  KillTimer(nullptr, timer);
  TabCtrl_SetCurSel(tabs, 1);
  NMHDR change = {tabs, IDC_DETAIL_TABS, static_cast<UINT>(TCN_SELCHANGE)};
  SendMessageA(dialog, WM_NOTIFY, IDC_DETAIL_TABS, reinterpret_cast<LPARAM>(&change));
  HWND tree = FindWindowExA(dialog, nullptr, nullptr, nullptr);
  for (HWND child = tree; child != nullptr; child = FindWindowExA(dialog, child, nullptr, nullptr)) {
    if (HWND found = GetDlgItem(child, IDC_DEPENDENCY_TREE)) {
      HTREEITEM last = TreeView_GetRoot(found);
      for (HTREEITEM next = last; next != nullptr; next = TreeView_GetNextSibling(found, next))
        last = next;
      TreeView_SelectItem(found, last);
    }
  }
}

// Once the scan has filled the list: the class's category and item selected, then the Type
// Library tab, as a user would choose them.
CSplitterFrame* typelib_frame = nullptr;
std::string typelib_clsid;
void CALLBACK ShowTypeLibPage(HWND, UINT, UINT_PTR timer, DWORD) {
  CObjectTree* tree = typelib_frame->GetObjectTree();
  for (int category = 0; category < 3; ++category) {
    tree->tabs().SetCurSel(category);
    NMHDR change = {tree->tabs().GetSafeHwnd(), IDC_CATEGORY_TABS, TCN_SELCHANGE};
    SendMessageA(*tree, WM_NOTIFY, IDC_CATEGORY_TABS, reinterpret_cast<LPARAM>(&change));
    for (int i = 0; i < tree->list().RowCount(); ++i) {
      if (tree->list().RecordAt(i)->clsid() != typelib_clsid) continue;
      KillTimer(nullptr, timer);
      for (int other = 0; other < tree->list().RowCount(); ++other)
        tree->list().SetItemState(other, 0, LVIS_SELECTED);
      tree->list().SetItemState(i, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
      tree->list().SendMessage(LVM_ENSUREVISIBLE, i, FALSE);
      CTabView* tabs = typelib_frame->GetTabView();
      tabs->tabs().SetCurSel(2);
      NMHDR page = {tabs->tabs().GetSafeHwnd(), IDC_DETAIL_TABS, TCN_SELCHANGE};
      SendMessageA(*tabs, WM_NOTIFY, IDC_DETAIL_TABS, reinterpret_cast<LPARAM>(&page));
      return;
    }
  }
}

const char kSampleNews[] =
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs20\n"
    "@@Version 2.1\\par\n\\b Faster scans\\b0  of large registries.\\par\n"
    "@@Version 2.0\\par\nFirst release of Corvane 2.0.\\par\n"
    "@@Version 1.9\\par\nOlder fixes.\\par\n}";

// Opens the list of the bulk removal question.
void CALLBACK ShowBulkList(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = FindWindowA("#32770", "Confirm Registry Removal");
  if (dialog == nullptr) return;
  KillTimer(nullptr, timer);
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_BULK_REMOVAL_SHOW_LIST, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_BULK_REMOVAL_SHOW_LIST)));
}

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
  } else if (which == "bulk-removal") {
    SetTimer(nullptr, 0, 500, ShowBulkList);
    CBulkRemovalDlg dialog(
        "Remove the registrations of the 3 misbehaved classes selected from the Registry?\n\n"
        "Their server files were not found. A backup of each class is written before its keys "
        "are deleted.",
        {"OldGrid.Control.1 - C:\\Program Files\\Old Grid\\grid32.ocx",
         "Report.Viewer.2 - C:\\Program Files\\Reports\\viewer.dll",
         "Legacy.Chart.1 - C:\\WINDOWS\\system32\\chart97.ocx"});
    dialog.DoModal();
  } else if (which == "removal-progress") {
    CRemovalProgressWnd progress;
    if (!progress.Open(nullptr, 8)) return 1;
    progress.Step(3, "Fixture.Dead.3");
    RunModeless(progress);
  } else if (which == "about") {
    CAboutDlg about;
    about.DoModal();
  } else if (which == "details" || which == "compare") {
    char system[MAX_PATH] = "";
    GetSystemDirectoryA(system, MAX_PATH);
    std::string ole32 = std::string(system) + "\\ole32.dll";
    // details PATH dependencies: that file's Dependencies tab with its last DLL selected.
    if (argc > 2) ole32 = argv[2];
    if (argc > 3 && std::string(argv[3]) == "dependencies")
      SetTimer(nullptr, 0, 300, ShowDependencies);
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
  } else if (which == "typelib" && argc > 2) {
    SetLayoutHold(false);
    CSingleDocTemplate doc_template(
        IDR_MAINFRAME, [] { return new CPlenorDoc; }, [] { return new CSplitterFrame; },
        [] { return new CObjectTree; });
    typelib_frame = dynamic_cast<CSplitterFrame*>(doc_template.OpenNewDocument(SW_SHOWMAXIMIZED));
    if (typelib_frame == nullptr) return 1;
    typelib_clsid = argv[2];
    SetTimer(nullptr, 0, 1000, ShowTypeLibPage);
    HWND window = typelib_frame->GetSafeHwnd();
    MSG msg;
    while (IsWindow(window) && GetMessageA(&msg, nullptr, 0, 0) > 0) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  } else {
    return 2;
  }
  return 0;
}
