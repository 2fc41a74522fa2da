#include "bench/plain_scan.h"

#include <memory>

#include "cli/record_line.h"
#include "catalogue/object_kinds.h"
#include "catalogue/registry_access.h"

namespace corvane {

void PlainScanRegistry(const Platform& platform, CObjectLists& lists) {
  Registry& registry = platform.registry;
  RegKey clsid_key = 0;
  if (registry.OpenKey(kClassesRoot, "CLSID", kKeyRead, &clsid_key) != kErrorSuccess) return;
  KeyCloser closer(registry, clsid_key);
  for (std::uint32_t index = 0;; ++index) {
    char name[64] = {};
    std::uint32_t size = 63;
    long rc = registry.EnumKey(clsid_key, index, name, &size);
    if (rc == kErrorMoreData) continue;
    if (rc != kErrorSuccess) break;
    if (!HasProgID(registry, clsid_key, name)) continue;
    if (HasControlKey(registry, clsid_key, name))
      lists.list(kControls).push_back(std::make_unique<CControlObject>(platform, name));
    else if (HasLocalServer32(registry, clsid_key, name))
      lists.list(kExeServers).push_back(std::make_unique<CExeServerObject>(platform, name));
    if (IsDllInProcServer(registry, clsid_key, name))
      lists.list(kDllServers).push_back(std::make_unique<CDllServerObject>(platform, name));
  }
}

std::string ListLines(const CObjectLists& lists) {
  std::string lines;
  for (int category = 0; category < kCategoryCount; ++category)
    for (const auto& record : lists.list(static_cast<Category>(category)))
      lines += FormatRecordLine(CategoryName(category), *record) + "\n";
  return lines;
}

}  // namespace corvane
