// corvane-cli restore: removed registrations put back from their backup files.
#pragma once

#include "platform/platform.h"

// args are the words after "restore": FILE... [--replace], --list, or --last N [--replace].
// 0 when everything asked for was restored (or listed), 1 when a file could not be
// restored, 2 for bad arguments (the caller prints the usage).
int RunRestoreCommand(const corvane::Platform& platform, int count, char** args);
