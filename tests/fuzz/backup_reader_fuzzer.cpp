// Fuzz target: any bytes given to the backup file reader. It must never read outside them,
// and whatever it accepts, written out again, must read back as the same keys and bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "catalogue/backup_reader.h"

namespace {

std::string Written(const std::vector<corvane::BackupSection>& keys) {
  std::u16string text = corvane::kRegFileHeader;
  for (const corvane::BackupSection& key : keys) {
    text += u"[" + std::u16string(corvane::kClassesRootName) + u"\\" + key.path + u"]\r\n";
    for (const corvane::SavedValue& value : key.values) text += corvane::FormatRegValue(value);
    text += u"\r\n";
  }
  return corvane::EncodeRegFile(text);
}

bool Same(const std::vector<corvane::BackupSection>& a, const std::vector<corvane::BackupSection>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].path != b[i].path || a[i].values.size() != b[i].values.size()) return false;
    for (std::size_t j = 0; j < a[i].values.size(); ++j) {
      const auto& x = a[i].values[j];
      const auto& y = b[i].values[j];
      if (x.name != y.name || x.type != y.type || x.data != y.data) return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<corvane::BackupSection> keys;
  std::string error;
  if (!corvane::ReadBackupFile(data, size, &keys, &error)) {
    if (error.compare(0, 5, "Line ") != 0) std::abort();
    return 0;
  }
  const std::string again = Written(keys);
  std::vector<corvane::BackupSection> reread;
  if (!corvane::ReadBackupFile(reinterpret_cast<const std::uint8_t*>(again.data()), again.size(),
                               &reread, &error) ||
      !Same(keys, reread))
    std::abort();
  return 0;
}
