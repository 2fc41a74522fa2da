// The two walks over HKEY_CLASSES_ROOT\CLSID: the catalogue scan and the lookup by file.
#pragma once
#include <memory>
#include <string>

#include "catalogue/object_lists.h"

namespace corvane {

// Appends a record for every class with a ProgID: a control (Control key), else an EXE
// server (LocalServer32), and also a DLL server when InProcServer32 names a DLL. The lists
// are expected empty. Names too long to be a CLSID are skipped; any other enumeration error
// ends the walk with what was gathered.
void ScanRegistry(const Platform& platform, CObjectLists& lists);

// The record of the first class whose server file is path: its path text equals path
// ignoring case, or both files are found with the same long and short names. Null when none.
std::unique_ptr<CRegisteredObject> FindObjectByFile(const Platform& platform,
                                                    const std::string& path);

}  // namespace corvane
