// Registering and unregistering a server file through its DllRegisterServer and
// DllUnregisterServer entry points.
#pragma once
#include <string>

#include "platform/platform.h"

namespace corvane {

inline constexpr char kRegisterEntry[] = "DllRegisterServer";
inline constexpr char kUnregisterEntry[] = "DllUnregisterServer";

// The notification mode that shows the message dialog and waits for OK; failures always use it.
inline constexpr int kMessageDialogMode = 0;

// Load the file, call the entry point, report through the notice, free the library after the
// report. 1 when the entry point was called and reported success; 0 when the file does not
// load, lacks the export, or the entry point returned a failure code. entry_called, when
// given, tells whether the entry point ran, so that what it wrote before failing is not missed.
int RegisterServerFile(const Platform& platform, const std::string& path,
                       bool* entry_called = nullptr);
int UnregisterServerFile(const Platform& platform, const std::string& path);

// Whether an entry point's HRESULT is a failure (its 32-bit value is negative).
bool IsFailureCode(long result);
// "'<entry>' failed in <path> (error 0x8XXXXXXX)".
std::string EntryFailedText(const char* entry, const std::string& path, long result);

}  // namespace corvane
