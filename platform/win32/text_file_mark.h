// The mark a report file starts with when its text is UTF-8 (the process's code page on
// systems that honour the manifest): browsers and spreadsheets read such a file as UTF-8 only
// when told, and would otherwise show "©" as "Â©".
#pragma once
#include <windows.h>

#include <string>

namespace corvane {

// The UTF-8 byte-order mark under the UTF-8 code page; empty under any other.
inline std::string TextFileMark() { return GetACP() == CP_UTF8 ? "\xEF\xBB\xBF" : ""; }

}  // namespace corvane
