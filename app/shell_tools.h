// Hand-overs to the shell and the help viewer. Neither reports failures of its own: the shell
// and the help viewer show their own errors.
#pragma once
#include <windows.h>

#include <string>

// Opens a document, folder or URL with the shell's default action, maximized. An empty target
// opens nothing.
void ShellOpen(const std::string& target);
// The help file's contents, owned by the main window when there is one.
void HelpContents();
// The help topic of a dialog, by its context number.
void HelpOnDialog(DWORD context);
// The maker's web site in the browser.
void OpenMakerWebSite();
