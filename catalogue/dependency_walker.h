// The DLLs a PE file needs, directly or through other DLLs, found the way the loader looks
// for them.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "catalogue/file_object.h"
#include "platform/platform.h"

namespace corvane {

// Appends one entry per DLL name not yet in list (compared without regard to case), in
// depth-first order: each found DLL is followed by the new names it pulls in. An entry's path
// is where the DLL was found (the importer's folder, the path up to its last \ or /, first;
// then the system's search order), or empty. A file that can't be read, whatever the reason,
// contributes no entries of its own and the walk goes on. 1 when the file at path could be
// mapped and read as a PE file, else 0 and nothing is appended.
int GetFileDependencies(const Platform& platform, const std::string& path,
                        std::vector<std::unique_ptr<CFileObject>>& list);

}  // namespace corvane
