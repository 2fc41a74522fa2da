// The help viewer's windows as another program sees them: their captions and shown texts.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace help_windows {

inline std::string TextOf(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length))
    return "";
  std::vector<char> text(length + 1, '\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                      SMTO_ABORTIFHUNG, 2000, &copied);
  return std::string(text.data(), copied);
}

struct ClassSearch {
  const char* window_class;
  std::vector<HWND> found;
};

inline BOOL CALLBACK CollectOfClass(HWND window, LPARAM search) {
  auto* wanted = reinterpret_cast<ClassSearch*>(search);
  char name[64] = "";
  GetClassNameA(window, name, sizeof name);
  if (lstrcmpiA(name, wanted->window_class) == 0) wanted->found.push_back(window);
  return TRUE;
}

// The top-level windows of a class.
inline std::vector<HWND> WindowsOfClass(const char* window_class) {
  ClassSearch search{window_class, {}};
  EnumWindows(CollectOfClass, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

inline std::vector<HWND> ViewerWindows() { return WindowsOfClass("MS_WINHELP"); }

inline BOOL CALLBACK AppendText(HWND window, LPARAM text) {
  *reinterpret_cast<std::string*>(text) += TextOf(window) + "\n";
  return TRUE;
}

// The captions and the shown text of every viewer window.
inline std::string ViewerText() {
  std::string text;
  for (HWND window : ViewerWindows()) {
    text += TextOf(window) + "\n";
    EnumChildWindows(window, AppendText, reinterpret_cast<LPARAM>(&text));
  }
  return text;
}

}  // namespace help_windows
