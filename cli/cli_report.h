// corvane-cli report --format html|plain|csv [--category controls|dll|exe] [--well] [--mis]
//                    [--deps] [--attributes LIST] [--out FILE]
#pragma once
#include "cli/cli_views.h"
#include "platform/platform.h"

// Writes the inventory report of one category, as the Inventory Report dialog writes it, to
// FILE or to standard output; 0 when written, 1 when the file can't be written, 2 on bad
// arguments.
// With two views (CSV only) the rows of both follow one header.
int RunReportCommand(const corvane::Platform& platform, const CliViews& views, int argc,
                     char** argv);
