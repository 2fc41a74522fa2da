// Test support for the details page and dialogs: a host window for child dialogs and real PE
// files with chosen imports.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "framework/wnd.h"
#include "tests/gui/control_host.h"
#include "tests/gui/modal_driver.h"
#include "tests/unit/pe_test_image.h"

namespace details_test {

// A plain top-level window that child dialogs can live in.
class HostWindow : public gui_test::TestHost {
 public:
  HostWindow(int width = 640, int height = 400)
      : TestHost("CorvaneDetailsTestHost", "Details test", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                 {0, 0, width, height}, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)) {}
};

// Writes a 32-bit PE file that imports the names given, in order.
inline void WritePeFile(const std::string& path, const std::vector<std::string>& imports,
                        corvane::PeLayout layout = {}) {
  std::vector<std::uint8_t> bytes = corvane::BuildPeImage(imports, layout).bytes;
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

inline std::string SystemFile(const char* name) {
  char folder[MAX_PATH] = "";
  GetSystemDirectoryA(folder, sizeof folder);
  return std::string(folder) + "\\" + name;
}

using gui_test::RectInParent;
using gui_test::WindowText;

inline int ItemImage(HWND list, int index) {
  LVITEMA item = {};
  item.mask = LVIF_IMAGE;
  item.iItem = index;
  SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  return item.iImage;
}

inline std::string ItemText(HWND list, int index, int column) {
  char text[1024] = "";
  LVITEMA item = {};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  SendMessageA(list, LVM_GETITEMTEXTA, index, reinterpret_cast<LPARAM>(&item));
  return text;
}

inline int ItemCount(HWND list) {
  return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
}

}  // namespace details_test
