// The shell's context-menu verbs on DLL and OCX files: Register (the default action), View
// Details, Compare With... and Unregister, each starting the program with its switch letter
// and the file's long path; OCX files also show the program's icon.
#pragma once
#include <string>

#include "platform/platform.h"

namespace corvane {

// The words the menu texts are made of, from the string table.
struct ShellVerbTexts {
  std::string register_word;    // "Register"
  std::string view_word;        // "View"
  std::string details_word;     // "Details"
  std::string compare_text;     // "Compare With..."
  std::string unregister_word;  // "Unregister"
  std::string control_kind;     // "ActiveX Control", for "ocxfile"
  std::string dll_kind;         // "DLL Server", for "dllfile"
};

// Writes everything below HKEY_CLASSES_ROOT for the program at `module_path`: ".ocx" names
// "ocxfile", both file types get the four verbs, and the older layout of the "dllfile" verbs
// is deleted. Nothing is reported: what cannot be written is skipped, and when ".ocx" cannot
// be written nothing is.
void RegisterShellVerbs(const Platform& platform, const std::string& module_path,
                        const ShellVerbTexts& texts);

// The program's folder without a trailing backslash ("C:" for a program in a drive's root)
// and its file name without the extension.
std::string ProgramDirectory(const std::string& module_path);
std::string ProgramName(const std::string& module_path);

}  // namespace corvane
