// Prints what `corvane-cli list` prints, found by the plain scan, so that the two can be
// timed side by side and their output compared byte for byte.
#include <cstdio>

#include "bench/plain_scan.h"
#include "platform/console_notice.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_modules.h"
#include "platform/win32/win32_registry.h"

using namespace corvane;

int main() {
  Win32Registry registry;
  Win32Files files;
  Win32Modules modules;
  ConsoleNotice notice;
  const Platform platform{registry, files, modules, notice};
  CObjectLists lists;
  PlainScanRegistry(platform, lists);
  std::fputs(ListLines(lists).c_str(), stdout);
  return 0;
}
