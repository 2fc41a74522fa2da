// The strict reader of Corvane's backup files: exactly the text the backup writer makes, so
// that a restore never writes what a hand edit or a damaged file would make of it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "catalogue/registry_backup.h"

namespace corvane {

struct BackupSection {
  std::u16string path;  // below HKEY_CLASSES_ROOT
  std::vector<SavedValue> values;
  std::size_t line = 0;
};

// Reads a backup file's bytes into its keys, in file order. False, with "Line N: ..." in
// *error, at the first line that is not exactly the format.
bool ReadBackupFile(const std::uint8_t* data, std::size_t size, std::vector<BackupSection>* keys,
                    std::string* error);

}  // namespace corvane
