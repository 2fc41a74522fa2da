#include "catalogue/registry_scan.h"

#include "catalogue/object_kinds.h"
#include "catalogue/registry_access.h"
#include "platform/text.h"

namespace corvane {

namespace {

// The catalogue reads names into a 64-byte buffer: a CLSID in braces has 38 characters.
constexpr std::uint32_t kScanNameSize = 63;

bool SameFile(Files& files, const std::string& a, const std::string& b) {
  FoundFile found_a, found_b;
  if (!files.FindFile(a.c_str(), &found_a) || !files.FindFile(b.c_str(), &found_b)) return false;
  return found_a.long_name == found_b.long_name && found_a.short_name == found_b.short_name;
}

std::unique_ptr<CRegisteredObject> ClassifyForLookup(const Platform& platform, RegKey clsid_key,
                                                     const char* clsid) {
  Registry& registry = platform.registry;
  if (HasControlKey(registry, clsid_key, clsid))
    return std::make_unique<CControlObject>(platform, clsid);
  if (IsDllInProcServer(registry, clsid_key, clsid))
    return std::make_unique<CDllServerObject>(platform, clsid);
  if (HasLocalServer32(registry, clsid_key, clsid))
    return std::make_unique<CExeServerObject>(platform, clsid);
  return nullptr;
}

}  // namespace

void ScanRegistry(const Platform& platform, CObjectLists& lists) {
  WaitCursor wait(platform.notice);
  Registry& registry = platform.registry;
  RegKey clsid_key = 0;
  if (registry.OpenKey(kClassesRoot, "CLSID", kKeyRead, &clsid_key) != kErrorSuccess) return;
  KeyCloser closer(registry, clsid_key);

  for (std::uint32_t index = 0;; ++index) {
    char name[kScanNameSize + 1] = {};
    std::uint32_t size = kScanNameSize;
    long rc = registry.EnumKey(clsid_key, index, name, &size);
    if (rc == kErrorMoreData) continue;  // too long to be a CLSID; the rest still counts
    if (rc != kErrorSuccess) break;

    if (!HasProgID(registry, clsid_key, name)) continue;
    if (HasControlKey(registry, clsid_key, name)) {
      lists.list(kControls).push_back(std::make_unique<CControlObject>(platform, name));
    } else if (HasLocalServer32(registry, clsid_key, name)) {
      lists.list(kExeServers).push_back(std::make_unique<CExeServerObject>(platform, name));
    }
    if (IsDllInProcServer(registry, clsid_key, name))
      lists.list(kDllServers).push_back(std::make_unique<CDllServerObject>(platform, name));
  }
}

std::unique_ptr<CRegisteredObject> FindObjectByFile(const Platform& platform,
                                                    const std::string& path) {
  WaitCursor wait(platform.notice);
  Registry& registry = platform.registry;
  RegKey clsid_key = 0;
  if (registry.OpenKey(kClassesRoot, "CLSID", kKeyRead, &clsid_key) != kErrorSuccess)
    return nullptr;
  KeyCloser closer(registry, clsid_key);
  platform.notice.ShowWaitDialog();

  std::unique_ptr<CRegisteredObject> result;
  for (std::uint32_t index = 0; !result; ++index) {
    char name[kKeyBufferSize] = {};
    std::uint32_t size = kKeyBufferSize - 1;
    if (registry.EnumKey(clsid_key, index, name, &size) != kErrorSuccess) break;
    std::unique_ptr<CRegisteredObject> record = ClassifyForLookup(platform, clsid_key, name);
    if (!record) continue;
    const std::string record_path = record->GetFilePath();
    if (EqualsNoCase(record_path, path) || SameFile(platform.files, record_path, path))
      result = std::move(record);
  }

  platform.notice.HideWaitDialog();
  return result;
}

}  // namespace corvane
