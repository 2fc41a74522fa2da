// corvane_gallery: shows one of the program's dialogs or windows by name, for screenshots.
//   corvane_gallery options | message | timed | unregistered | progress | about | details |
//                   compare
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "app/about_dlg.h"
#include "app/gui_platform.h"
#include "app/message_dlg.h"
#include "app/options_dlg.h"
#include "app/settings.h"
#include "app/unregistered_dlg.h"
#include "catalogue/object_kinds.h"
#include "mainwindow/com_file_details_dlg.h"
#include "mainwindow/layout_hold.h"
#include "mainwindow/progress_wnd.h"
#include "tools/compare_files_dlg.h"

namespace {

void RunModeless(CDialog& window) {
  MSG msg;
  while (IsWindow(window.GetSafeHwnd()) && GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
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
  } else {
    return 2;
  }
  return 0;
}
