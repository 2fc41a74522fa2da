// corvane.exe: the Windows program.
#include <windows.h>
#include <commctrl.h>

#include "app/plenor_app.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_COOL_CLASSES |
                                                        ICC_BAR_CLASSES | ICC_TAB_CLASSES};
  InitCommonControlsEx(&controls);
  CPlenorApp app;
  app.set_arguments(corvane::ArgumentsOf(GetCommandLineA()));
  if (!app.InitInstance()) return app.ExitInstance();
  return app.Run();
}
