#include "app/gui_platform.h"

#include "app/gui_notice.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_modules.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_type_libraries.h"

const corvane::Platform& GuiPlatform() {
  static corvane::Win32Registry registry;
  static corvane::Win32Files files;
  static corvane::Win32Modules modules;
  static GuiNotice notice;
  static corvane::Win32TypeLibraries type_libraries;
  static const corvane::Platform platform{registry, files, modules, notice, &type_libraries};
  return platform;
}
