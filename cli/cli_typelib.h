#pragma once
#include "platform/platform.h"

// corvane-cli typelib CLSID|FILE [--idl]: the tree of a class's or a file's type library, or
// the whole library as IDL. 0 when printed, 1 when it can't be read, 2 for bad arguments.
int RunTypeLibCommand(const corvane::Platform& platform, int argc, char** argv);
