#include "app/gui_platform.h"

#include "app/gui_notice.h"
#include "app/launcher.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_modules.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_type_libraries.h"

namespace {

// Programs that the core starts and waits for (regsvr32 of the other bitness) go through the
// launcher, which tests record.
class LaunchingModules : public corvane::Win32Modules {
 public:
  bool RunAndWait(const std::string& command_line, std::uint32_t* exit_code) override {
    DWORD code = 0;
    if (!Launcher().RunAndWait(command_line, &code)) return false;
    *exit_code = code;
    return true;
  }
};

}  // namespace

const corvane::Platform& GuiPlatform() {
  static corvane::Win32Registry registry;
  static corvane::Win32Files files;
  static LaunchingModules modules;
  static GuiNotice notice;
  static corvane::Win32TypeLibraries type_libraries;
  static const corvane::Platform platform{registry, files, modules, notice, &type_libraries};
  return platform;
}
