// The system registry editor, opened at a key by typing the key's path into its key tree.
#pragma once
#include <windows.h>

#include <string>

// Opens a fresh registry editor at the key path ("HKEY_CLASSES_ROOT\CLSID\{...}\"): brings
// it to the front and types the path. When no editor window appears, says so and stops.
void OpenInRegistryEditor(const std::string& key_path);
// Closes a running editor, starts a new one and waits up to about 5 seconds for its window.
// True when the window and its key tree were found.
bool LaunchRegistryEditor();
// Types the path into the key tree: each character as WM_CHAR, each backslash as a right
// arrow followed by a pause, so that the editor can fill in the subkeys. A key that is
// expanded already gets no right arrow.
void TypeKeyPath(const std::string& key_path);

// The editor's windows found by the last launch.
HWND RegistryEditorWindow();
HWND RegistryEditorKeyTree();

// The window class the editor's main window is found by ("RegEdit_RegEdit"); tests name one
// that no window has. Returns the class in use before.
std::string SetRegistryEditorClass(const std::string& window_class);
