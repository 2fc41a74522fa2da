#include "app/registry_editor.h"

#include <commctrl.h>

#include "app/launcher.h"
#include "framework/dialog.h"

namespace {

const char kEditorClass[] = "RegEdit_RegEdit";
const char kTreeClass[] = "SysTreeView32";
const char kFailedText[] =
    "Failed to find the REGEDIT tool.\nPlease contact support@tessaline.example";

// The pause after a right arrow lets the editor fill in the subkeys. Wine's tree view also
// joins every character typed within 450 ms into one search, so behind Wine's editor the
// pause is long enough for the next name to start a search of its own.
const DWORD kExpandPause = 200;
const DWORD kNewSearchPause = 500;

std::string g_editor_class = kEditorClass;
HWND g_editor = nullptr;
HWND g_key_tree = nullptr;
DWORD g_pause = kExpandPause;

bool IsTreeView(HWND hwnd) {
  char name[64] = "";
  GetClassNameA(hwnd, name, sizeof name);
  return lstrcmpiA(name, kTreeClass) == 0;
}

// A named callback: a lambda does not convert to the 32-bit stdcall callback type.
BOOL CALLBACK FindFirstTree(HWND hwnd, LPARAM found) {
  if (!IsTreeView(hwnd)) return TRUE;
  *reinterpret_cast<HWND*>(found) = hwnd;
  return FALSE;
}

// The editor's first child when that is the tree (Windows' editor); otherwise the first tree
// view among its descendants (Wine's editor keeps its tree one level further down).
HWND FindKeyTree(HWND editor) {
  HWND child = GetWindow(editor, GW_CHILD);
  if (child == nullptr) return nullptr;
  g_pause = kExpandPause;
  if (IsTreeView(child)) return child;
  HWND tree = nullptr;
  EnumChildWindows(editor, FindFirstTree, reinterpret_cast<LPARAM>(&tree));
  g_pause = kNewSearchPause;
  return tree;
}

}  // namespace

HWND RegistryEditorWindow() { return g_editor; }
HWND RegistryEditorKeyTree() { return g_key_tree; }

std::string SetRegistryEditorClass(const std::string& window_class) {
  std::string old = g_editor_class;
  g_editor_class = window_class;
  return old;
}

bool LaunchRegistryEditor() {
  g_key_tree = nullptr;
  // A running editor is closed, never reused: a fresh one starts with its tree collapsed.
  g_editor = FindWindowA(g_editor_class.c_str(), nullptr);
  if (g_editor != nullptr) SendMessageA(g_editor, WM_CLOSE, 0, 0);
  g_editor = nullptr;
  if (Launcher().RunCommand("REGEDIT.EXE", SW_SHOW) <= 31) return false;
  Sleep(100);
  for (int attempt = 0; attempt < 50 && g_editor == nullptr; ++attempt) {
    g_editor = FindWindowA(g_editor_class.c_str(), nullptr);
    if (g_editor == nullptr) Sleep(100);
  }
  if (g_editor == nullptr) return false;
  g_key_tree = FindKeyTree(g_editor);
  return g_key_tree != nullptr;
}

void TypeKeyPath(const std::string& key_path) {
  for (char c : key_path) {
    if (c == '\\') {
      // An editor that reopens at the key it showed last has that key expanded already, and
      // there a right arrow would move on to its first subkey.
      const LPARAM item = SendMessageA(g_key_tree, TVM_GETNEXTITEM, TVGN_CARET, 0);
      const bool expanded =
          item != 0 &&
          (SendMessageA(g_key_tree, TVM_GETITEMSTATE, item, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
      if (!expanded) SendMessageA(g_key_tree, WM_KEYDOWN, VK_RIGHT, 0);
      Sleep(g_pause);
    } else {
      // The byte sign-extended, with the repeat count of one keystroke: Wine's tree view
      // ignores characters whose key data is zero.
      SendMessageA(g_key_tree, WM_CHAR, static_cast<WPARAM>(static_cast<LONG_PTR>(c)), 1);
    }
  }
}

void OpenInRegistryEditor(const std::string& key_path) {
  if (!LaunchRegistryEditor()) {
    MessageBoxA(DefaultOwnerWindow(), kFailedText, "Corvane", MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  SetForegroundWindow(g_editor);
  TypeKeyPath(key_path);
}
