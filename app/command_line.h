// The program's command line: a switch and a server file for one operation, or nothing for the
// user interface; and the multi-file answer of the open-file dialog.
#pragma once
#include <string>
#include <vector>

namespace corvane {

enum class StartAction { kUserInterface, kRegister, kUnregister, kViewDetails, kCompare };

struct StartRequest {
  StartAction action = StartAction::kUserInterface;
  std::string path;  // upper-cased, as the operations receive it
  // Only an empty command line rewrites the shell verbs.
  bool rewrite_shell_verbs = false;
};

// The text after the program's own name (quoted or not), without the blanks before it.
std::string ArgumentsOf(const std::string& full_command_line);

// The whole line is upper-cased; the switch is its first two characters, the path starts at
// the fourth (the third is skipped unexamined). Lines of 1 to 3 characters and unknown
// switches start the user interface.
StartRequest ParseStartRequest(const std::string& arguments);

// The files chosen in a multi-select open-file dialog: the buffer holds the folder, a NUL and
// the names each ended by a NUL (an empty name ends them), or one full path. name_offset is
// where the first name starts. Full paths of the chosen files, in order; empty when the
// answer is malformed.
std::vector<std::string> ChosenFiles(const char* buffer, std::size_t size, std::size_t name_offset,
                                     std::string* folder);

}  // namespace corvane
