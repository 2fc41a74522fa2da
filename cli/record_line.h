// One record as a line of the console tool: quoted, comma-separated fields.
#pragma once
#include <string>

#include "catalogue/registered_object.h"

namespace corvane {

// "category","name","clsid","path","exists"; a double quote inside a field is doubled.
std::string FormatRecordLine(const char* category, const CRegisteredObject& record);
// "name","path","found by","delay" of one entry of a dependency list, quoted the same way:
// the path is empty when missing (a file refused for its bitness keeps it), the last field
// "delay" for a DLL reached only through delay-loaded imports, else empty.
std::string FormatDependencyLine(const CFileObject& entry);

// The category that a console option names: "controls", "dll" or "exe" (any case); -1 else.
int ParseCategoryOption(const std::string& text);

}  // namespace corvane
