// corvane-cli missing [--category controls|dll|exe]
#pragma once
#include "cli/cli_views.h"
#include "platform/platform.h"

// Prints each record whose server file needs a DLL that can't be found, then those DLLs
// indented; 0 when none is missing, 1 when some are, 2 on bad arguments.
// Each view of views in turn.
int RunMissingCommand(const corvane::Platform& platform, const CliViews& views, int argc,
                      char** argv);
