// The shell verbs of the running program, written at an interactive start.
#pragma once

// Writes the DLL and OCX verbs for this executable, with the menu words of the string table.
void RegisterProgramShellVerbs();
