// corvane_gallery: shows one of the program's dialogs or windows by name, for screenshots.
//   corvane_gallery options | message | timed | unregistered | progress | about
#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <string>

#include "app/about_dlg.h"
#include "app/message_dlg.h"
#include "app/options_dlg.h"
#include "app/settings.h"
#include "app/unregistered_dlg.h"
#include "mainwindow/progress_wnd.h"

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
  } else {
    return 2;
  }
  return 0;
}
