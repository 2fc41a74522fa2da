#include "app/shell_tools.h"

#include "app/launcher.h"

#include "framework/win_app.h"
#include "resources/resource.h"

namespace {

const char kHelpFile[] = "vantic.hlp";

HWND HelpOwner() {
  CWnd* main = AfxGetMainWnd();
  return main != nullptr ? main->GetSafeHwnd() : nullptr;
}

}  // namespace

void ShellOpen(const std::string& target) {
  // The shell would open the current folder for an empty name.
  if (target.empty()) return;
  Launcher().RunShell(target, "", "", SW_SHOWMAXIMIZED);
}

void HelpContents() { Launcher().ShowHelp(HelpOwner(), kHelpFile, HELP_CONTENTS, 0); }

void HelpOnDialog(DWORD context) {
  Launcher().ShowHelp(HelpOwner(), kHelpFile, HELP_CONTEXT, context);
}

void OpenMakerWebSite() { ShellOpen(LoadResourceString(IDS_MAKER_WEB_ADDRESS)); }
