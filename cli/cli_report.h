// corvane-cli report --format html|plain|csv [--category controls|dll|exe] [--well] [--mis]
//                    [--deps] [--attributes LIST] [--out FILE]
#pragma once
#include "platform/platform.h"

// Writes the inventory report of one category, as the Inventory Report dialog writes it, to
// FILE or to standard output; 0 when written, 1 when the file can't be written, 2 on bad
// arguments.
int RunReportCommand(const corvane::Platform& platform, int argc, char** argv);
