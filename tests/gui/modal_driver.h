// Test support for modal windows: a thread timer, which modal loops service, finds the dialogs
// a call opens and acts on them in order, and gives up after a while so a test cannot hang.
#pragma once
#include <windows.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "framework/dialog.h"

namespace gui_test {

// Dispatches every message waiting in the thread's queue.
inline void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

inline std::string WindowText(HWND hwnd) {
  char text[2048] = "";
  GetWindowTextA(hwnd, text, sizeof text);
  return text;
}

// Which dialogs a search finds besides the caption.
enum DialogFilter : unsigned {
  kAnyState = 0,
  kVisible = 1,
  kEnabled = 2,
  kCaptionPrefix = 4,
};

struct DialogSearch {
  std::string caption;
  unsigned filter;
  std::vector<HWND> found;
};

// A named callback: a lambda does not convert to the 32-bit stdcall callback type.
inline BOOL CALLBACK CollectDialog(HWND hwnd, LPARAM lp) {
  auto* search = reinterpret_cast<DialogSearch*>(lp);
  char name[64] = "";
  GetClassNameA(hwnd, name, sizeof name);
  if (std::string(name) != "#32770") return TRUE;
  if ((search->filter & kVisible) && !IsWindowVisible(hwnd)) return TRUE;
  if ((search->filter & kEnabled) && !IsWindowEnabled(hwnd)) return TRUE;
  const std::string text = WindowText(hwnd);
  const bool match = (search->filter & kCaptionPrefix)
                         ? text.compare(0, search->caption.size(), search->caption) == 0
                         : text == search->caption;
  if (match) search->found.push_back(hwnd);
  return TRUE;
}

// Top-level dialog windows of this thread with the caption, in the order the system lists them.
inline std::vector<HWND> ThreadDialogs(const std::string& caption,
                                       unsigned filter = kVisible | kEnabled) {
  DialogSearch search{caption, filter, {}};
  EnumThreadWindows(GetCurrentThreadId(), CollectDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Presses a button the way the button itself reports a click, posted so that the caller's
// modal loop picks it up.
inline void PostClick(HWND dialog, int id) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

inline void SendClick(HWND dialog, int id) {
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// Acts on modal windows in order from a thread timer. Each step waits until its finder returns
// a window and acts on the first one; a repeating step stays current. After `give_up_ticks`
// ticks without acting (0: never) it calls `give_up` every tick, which closes what is open
// and says whether it found anything.
class ModalDriver {
 public:
  using Finder = std::function<std::vector<HWND>()>;
  struct Step {
    Finder find;
    std::function<void(HWND)> act;
    bool repeat = false;
  };

  ModalDriver(std::vector<Step> steps, UINT tick_ms, int give_up_ticks,
              std::function<bool()> give_up = nullptr)
      : steps_(std::move(steps)), give_up_ticks_(give_up_ticks), give_up_(std::move(give_up)) {
    timer_ = SetTimer(nullptr, 0, tick_ms, Tick);
    Drivers()[timer_] = this;
  }
  ~ModalDriver() {
    KillTimer(nullptr, timer_);
    Drivers().erase(timer_);
  }
  ModalDriver(const ModalDriver&) = delete;
  ModalDriver& operator=(const ModalDriver&) = delete;

  size_t steps_done() const { return next_; }
  bool gave_up() const { return gave_up_; }

 private:
  // Keyed by timer, so that drivers of different kinds can be alive together.
  static std::map<UINT_PTR, ModalDriver*>& Drivers() {
    static std::map<UINT_PTR, ModalDriver*> drivers;
    return drivers;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    auto it = Drivers().find(id);
    if (it != Drivers().end()) it->second->Advance();
  }

  void Advance() {
    if (next_ < steps_.size()) {
      std::vector<HWND> found = steps_[next_].find();
      if (!found.empty()) {
        // Moves on before acting: an act may run a nested modal loop that ticks again.
        Step& step = steps_[next_];
        if (!step.repeat) ++next_;
        step.act(found[0]);
        idle_ticks_ = 0;
        return;
      }
    }
    if (give_up_ticks_ <= 0 || ++idle_ticks_ < give_up_ticks_) return;
    if (give_up_ && give_up_()) gave_up_ = true;
  }

  std::vector<Step> steps_;
  int give_up_ticks_;
  std::function<bool()> give_up_;
  size_t next_ = 0;
  int idle_ticks_ = 0;
  bool gave_up_ = false;
  UINT_PTR timer_ = 0;
};

// Answers dialogs by caption in order: each step waits for a visible, enabled dialog of this
// thread with its caption, never the one `ignored` names. After 600 idle ticks of 30 ms it
// calls `give_up` (which closes what is left) on every tick.
class DialogDriver {
 public:
  struct Step {
    std::string caption;
    std::function<void(HWND)> act;
  };

  DialogDriver(const std::vector<Step>& steps, std::function<void()> give_up,
               std::function<HWND()> ignored = nullptr)
      : driver_(Steps(steps, ignored), 30, 600, [give_up] {
          give_up();
          return true;
        }) {}

  size_t steps_done() const { return driver_.steps_done(); }
  bool gave_up() const { return driver_.gave_up(); }

 private:
  static std::vector<ModalDriver::Step> Steps(const std::vector<Step>& steps,
                                              const std::function<HWND()>& ignored) {
    std::vector<ModalDriver::Step> out;
    for (const Step& step : steps) {
      std::string caption = step.caption;
      ModalDriver::Finder find = [caption, ignored] {
        std::vector<HWND> found = ThreadDialogs(caption);
        if (ignored) {
          HWND skip = ignored();
          found.erase(std::remove(found.begin(), found.end(), skip), found.end());
        }
        return found;
      };
      out.push_back({find, step.act});
    }
    return out;
  }

  ModalDriver driver_;
};

// Acts once on the first visible dialog of this thread whose caption starts with the text.
// A dialog still open after the time-out gets IDCANCEL.
class ActOnce {
 public:
  ActOnce(const std::string& caption, std::function<void(HWND)> act, UINT timeout_ms = 20000)
      : driver_({{Find(caption), std::move(act)}}, kTick, static_cast<int>(timeout_ms / kTick),
                [caption] {
                  std::vector<HWND> open = Find(caption)();
                  if (open.empty()) return false;
                  PostMessageA(open[0], WM_COMMAND, IDCANCEL, 0);
                  return true;
                }) {}

  bool acted() const { return driver_.steps_done() == 1; }
  bool timed_out() const { return driver_.gave_up(); }

 private:
  static constexpr UINT kTick = 40;
  static ModalDriver::Finder Find(const std::string& caption) {
    return [caption] { return ThreadDialogs(caption, kVisible | kCaptionPrefix); };
  }

  ModalDriver driver_;
};

// Answers every visible, enabled dialog with the caption that opens while it lives: `act`
// looks at each one and returns the button that closes it.
class ModalAnswer {
 public:
  ModalAnswer(const std::string& caption, std::function<int(HWND)> act)
      : driver_({{[this, caption]() -> std::vector<HWND> {
                    std::vector<HWND> found = ThreadDialogs(caption);
                    if (found.empty() || seen_.count(found[0]) != 0) return {};
                    return {found[0]};
                  },
                  [this, act](HWND dialog) {
                    seen_.insert(dialog);
                    SendClick(dialog, act(dialog));
                  },
                  true}},
                20, 0) {}

  int answered() const { return static_cast<int>(seen_.size()); }

 private:
  std::set<HWND> seen_;
  ModalDriver driver_;
};

// The result of a modal run that the watchdog ended.
constexpr INT_PTR kTimedOut = 999;

// Runs the dialog modally and calls `drive` once it is on the screen; a dialog that `drive`
// left open is ended with kTimedOut after `watchdog_ms`.
inline INT_PTR RunModal(CDialog& dialog, std::function<void(HWND)> drive,
                        UINT watchdog_ms = 15000) {
  constexpr UINT kTick = 50;
  ModalDriver driver(
      {{[&dialog]() -> std::vector<HWND> {
          HWND hwnd = dialog.GetSafeHwnd();
          if (hwnd == nullptr || !IsWindowVisible(hwnd)) return {};
          return {hwnd};
        },
        std::move(drive)}},
      kTick, static_cast<int>(watchdog_ms / kTick), [&dialog] {
        if (dialog.GetSafeHwnd() == nullptr) return false;
        EndDialog(dialog.GetSafeHwnd(), kTimedOut);
        return true;
      });
  return dialog.DoModal();
}

}  // namespace gui_test
