#include "app/shell_integration.h"

#include <windows.h>

#include "app/gui_platform.h"
#include "app/shell_verbs.h"
#include "framework/win_app.h"
#include "resources/resource.h"

void RegisterProgramShellVerbs() {
  char path[MAX_PATH] = "";
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH - 1);
  // A cut path would write verbs that start nothing.
  if (length == 0 || length >= MAX_PATH - 1) return;
  const corvane::ShellVerbTexts texts = {
      LoadResourceString(IDS_VERB_REGISTER), LoadResourceString(IDS_VERB_VIEW),
      LoadResourceString(IDS_VERB_DETAILS),  LoadResourceString(IDS_VERB_COMPARE),
      LoadResourceString(IDS_VERB_UNREGISTER), LoadResourceString(IDS_KIND_CONTROL),
      LoadResourceString(IDS_KIND_DLL_SERVER)};
  corvane::RegisterShellVerbs(GuiPlatform(), path, texts);
}
