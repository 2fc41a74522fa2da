#include "platform/win32/wow64_redirection.h"

#include <windows.h>

namespace corvane {
namespace {

using DisableFn = BOOL(WINAPI*)(PVOID*);
using RevertFn = BOOL(WINAPI*)(PVOID);
using IsWow64Fn = BOOL(WINAPI*)(HANDLE, PBOOL);

// Looked up once: Windows XP before SP2 and 32-bit Windows may lack them.
template <typename Fn>
Fn Kernel32Function(const char* name) {
  return reinterpret_cast<Fn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), name)));
}

}  // namespace

bool RunningUnderWow64() {
  static const bool wow64 = [] {
    auto is_wow64 = Kernel32Function<IsWow64Fn>("IsWow64Process");
    BOOL result = FALSE;
    return is_wow64 && is_wow64(GetCurrentProcess(), &result) && result;
  }();
  return wow64;
}

Wow64RedirectionOff::Wow64RedirectionOff() {
  if (sizeof(void*) != 4 || !RunningUnderWow64()) return;
  static const auto disable =
      Kernel32Function<DisableFn>("Wow64DisableWow64FsRedirection");
  active_ = disable && disable(&old_value_);
}

Wow64RedirectionOff::~Wow64RedirectionOff() {
  if (!active_) return;
  static const auto revert = Kernel32Function<RevertFn>("Wow64RevertWow64FsRedirection");
  if (revert) revert(old_value_);
}

}  // namespace corvane
