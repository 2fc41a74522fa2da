// Test support for the details page and dialogs: a host window for child dialogs, real PE
// files with chosen imports, and a driver for modal windows.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "framework/wnd.h"
#include "tests/unit/pe_test_image.h"

namespace details_test {

// A plain top-level window that child dialogs can live in.
class HostWindow : public CWnd {
 public:
  HostWindow(int width = 640, int height = 400) {
    const char* name = RegisterFrameworkClass("CorvaneDetailsTestHost", 0,
                                              reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), nullptr);
    RECT rect = {0, 0, width, height};
    CreateEx(0, name, "Details test", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, rect, nullptr, 0);
  }
};

// Dispatches every message waiting in the thread's queue.
inline void PumpMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

// Writes a 32-bit PE file that imports the names given, in order.
inline void WritePeFile(const std::string& path, const std::vector<std::string>& imports) {
  std::vector<std::uint8_t> bytes = corvane::BuildPeImage(imports).bytes;
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

inline std::string SystemFile(const char* name) {
  char folder[MAX_PATH] = "";
  GetSystemDirectoryA(folder, sizeof folder);
  return std::string(folder) + "\\" + name;
}

inline std::string WindowText(HWND hwnd) {
  char text[1024] = "";
  GetWindowTextA(hwnd, text, sizeof text);
  return text;
}

inline void Click(HWND dialog, int id) {
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

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

// The visible window of this thread with the class and the caption, or null.
inline HWND FindThreadWindow(const std::string& window_class, const std::string& caption) {
  struct Search {
    std::string window_class, caption;
    HWND found;
  } search{window_class, caption, nullptr};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND hwnd, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        char name[64] = "";
        GetClassNameA(hwnd, name, sizeof name);
        if (s->window_class == name && IsWindowVisible(hwnd) &&
            WindowText(hwnd).compare(0, s->caption.size(), s->caption) == 0) {
          s->found = hwnd;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Acts once on the first visible dialog of this thread whose caption starts with the text,
// from a thread timer that modal loops service. A dialog still open after the time-out gets
// IDCANCEL, so that a test cannot hang.
class ModalDriver {
 public:
  ModalDriver(std::string caption, std::function<void(HWND)> act, UINT timeout_ms = 20000)
      : caption_(std::move(caption)), act_(std::move(act)), ticks_left_(timeout_ms / kTick) {
    active_ = this;
    timer_ = SetTimer(nullptr, 0, kTick, Tick);
  }
  ~ModalDriver() {
    KillTimer(nullptr, timer_);
    active_ = nullptr;
  }
  bool acted() const { return acted_; }
  bool timed_out() const { return timed_out_; }

 private:
  static constexpr UINT kTick = 40;

  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (active_ != nullptr) active_->Advance();
  }
  void Advance() {
    HWND dialog = FindThreadWindow("#32770", caption_);
    if (!acted_ && dialog != nullptr) {
      acted_ = true;
      act_(dialog);
      return;
    }
    if (ticks_left_ > 0) {
      --ticks_left_;
      return;
    }
    if (dialog == nullptr) return;
    timed_out_ = true;
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  }

  inline static ModalDriver* active_ = nullptr;
  std::string caption_;
  std::function<void(HWND)> act_;
  UINT ticks_left_;
  bool acted_ = false;
  bool timed_out_ = false;
  UINT_PTR timer_ = 0;
};

}  // namespace details_test
