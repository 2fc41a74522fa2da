// The two halves of a 64-bit Windows registry: the classes 32-bit programs see and those of
// 64-bit programs. 32-bit Windows has one registry, which both names mean there.
#pragma once

namespace corvane {

enum class RegistryView { k32, k64 };

// The view of this build's own programs.
constexpr RegistryView kBuildView = sizeof(void*) == 8 ? RegistryView::k64 : RegistryView::k32;

// "32" or "64": the view in the console tool's option and in report columns.
inline const char* ViewBits(RegistryView view) { return view == RegistryView::k64 ? "64" : "32"; }

// "32-bit Classes" or "64-bit Classes": the view as menus, captions and reports name it.
inline const char* ViewTitle(RegistryView view) {
  return view == RegistryView::k64 ? "64-bit Classes" : "32-bit Classes";
}

}  // namespace corvane
