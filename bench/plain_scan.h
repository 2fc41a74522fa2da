// The catalogue scan as it was before records kept what the scan read: every probe opens its
// key, every record reads its server value and finds its file anew, and every name is read
// when asked. The baseline of the scale benchmark.
#pragma once
#include "catalogue/object_lists.h"

namespace corvane {

void PlainScanRegistry(const Platform& platform, CObjectLists& lists);
// The lines `corvane-cli list` prints for the lists.
std::string ListLines(const CObjectLists& lists);

}  // namespace corvane
