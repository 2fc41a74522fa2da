// Report files: a new temporary file renamed to the report's extension, written as text and
// opened with the program the shell associates with it. The inventory report and the
// comparison report share them.
#pragma once
#include <string>

// A new empty file "com*.tmp" in the temporary folder; empty, after a message (stop icon)
// that names the folder, when none can be had.
std::string NewTemporaryReportFile();

// Renames temporary to temporary + extension, makes that report_path and writes text there,
// each "\n" as CR LF. When renaming or writing fails the file-error message is shown (stop
// icon), what was made is removed, and false is returned.
bool WriteReportFile(const std::string& temporary, const char* extension,
                     const std::string& text, std::string* report_path);

// The file-error text for a system error code and a file name.
std::string FileErrorText(unsigned long error, const std::string& file);

// The process's current directory, where the reports' logo is looked for.
std::string CurrentDirectoryText();
