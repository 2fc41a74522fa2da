// The user's preferences and computer list, kept below HKEY_CURRENT_USER: read once at
// start-up, changed in memory, written back once at exit.
#pragma once
#include <string>
#include <vector>

#include "platform/registry.h"

namespace corvane {

struct Settings {
  int display_missing = 1;    // misbehaved records shown in the object list
  int display_installed = 1;  // well-behaved records shown in the object list
  int display_in_list = 0;    // item label: 0 ProgID, 1 CLSID, 2 file location, 3 TypeLib name
  int after_register = 0;     // notification modes: 0 wait for OK, 1 timed, 2 beep, 3 nothing
  int after_unregister = 0;
  int after_remove = 0;
  int registry_view = 0;      // 32 or 64: the classes shown on 64-bit Windows; else the build's
  std::vector<std::string> computers;
};

// Below HKEY_CURRENT_USER; each section is a subkey.
inline constexpr char kSettingsKey[] = "Software\\Tessaline\\Corvane";
inline constexpr char kGeneralSection[] = "General";
inline constexpr char kComputersSection[] = "Computers";

// REG_DWORD values of "General".
inline constexpr char kDisplayMissingValue[] = "DisplayMissing";
inline constexpr char kDisplayInstalledValue[] = "DisplayInstalled";
inline constexpr char kDisplayInListValue[] = "DisplayInList";
inline constexpr char kAfterRegisterValue[] = "AfterRegister";
inline constexpr char kAfterUnregisterValue[] = "AfterUnregister";
inline constexpr char kAfterRemoveValue[] = "AfterRemove";
inline constexpr char kRegistryViewValue[] = "RegistryView";

// "Computers": REG_DWORD "Count", then REG_SZ values named by this pattern from 1.
inline constexpr char kCountValue[] = "Count";
inline constexpr char kComputerValuePattern[] = "Computer%ld";

// The process-wide values.
Settings& AppSettings();

// The view a registry_view setting names: 32 or 64, anything else the running build's.
RegistryView SettingsView(int registry_view);

// Reads every value, a missing, unreadable or out-of-range one as its default, and replaces the computer
// list with the non-empty names Computer1 to Computer<Count>, reading only the names that
// exist, however large Count is.
void LoadSettings(Registry& registry, Settings& settings);
// Writes the six integers, Count and Computer1 to ComputerN. Higher-numbered names of earlier
// saves stay; Count hides them. Failures are silent.
void SaveSettings(Registry& registry, const Settings& settings);

}  // namespace corvane
