#include "catalogue/registry_scan.h"

#include "catalogue/find_cache.h"
#include "catalogue/object_kinds.h"
#include "catalogue/registry_access.h"
#include "platform/text.h"

namespace corvane {

namespace {

// The catalogue reads names into a 64-byte buffer: a CLSID in braces has 38 characters.
constexpr std::uint32_t kScanNameSize = 63;

// Opens subkey below the open CLSID key and reads its default value as a 1024-byte text.
// False when the key does not open; the value is empty when it can't be read.
// value_size is the size the value reported, 0 when it can't be read.
bool ReadSubkeyDefault(Registry& registry, RegKey clsid_key, const std::string& subkey,
                       std::string* value, std::uint32_t* value_size = nullptr) {
  value->clear();
  if (value_size != nullptr) *value_size = 0;
  RegKey key = 0;
  if (subkey.empty() || registry.OpenKey(clsid_key, subkey.c_str(), kKeyRead, &key) != kErrorSuccess)
    return false;
  KeyCloser closer(registry, key);
  char buffer[kKeyBufferSize] = {};
  std::uint32_t size = kKeyBufferSize - 1;
  if (registry.QueryValue(key, nullptr, nullptr, reinterpret_cast<std::uint8_t*>(buffer), &size) ==
      kErrorSuccess) {
    *value = buffer;  // the last byte is never written
    if (value_size != nullptr) *value_size = size;
  }
  return true;
}

// The DLL rule on an InProcServer32 value read whole: a value too long for a path buffer
// reads as empty, as it would from a read into one.
int NamesDll(const std::string& value, std::uint32_t value_size) {
  if (value_size > kPathBufferSize - 1) return 0;
  if (value.size() > 3) return ToUpper(value.substr(value.size() - 3)) == "DLL" ? 1 : 0;
  return value == "DLL" ? 1 : 0;
}

// One class of the lookup by file: control, else DLL server, else EXE server, each key read
// once; null when none applies.
std::unique_ptr<CRegisteredObject> ClassifyForLookup(const Platform& platform, RegKey clsid_key,
                                                     const char* clsid, CFindCache& finds) {
  Registry& registry = platform.registry;
  ClassFacts facts;
  facts.finds = &finds;
  const bool control = HasControlKey(registry, clsid_key, clsid) != 0;
  std::uint32_t inproc_size = 0;
  const bool has_inproc = ReadSubkeyDefault(registry, clsid_key, JoinKeyPath({clsid, "InProcServer32"}),
                                            &facts.server_value, &inproc_size);
  if (control) return std::make_unique<CControlObject>(platform, clsid, facts);
  if (has_inproc && NamesDll(facts.server_value, inproc_size))
    return std::make_unique<CDllServerObject>(platform, clsid, facts);
  if (ReadSubkeyDefault(registry, clsid_key, JoinKeyPath({clsid, "LocalServer32"}),
                        &facts.server_value))
    return std::make_unique<CExeServerObject>(platform, clsid, facts);
  return nullptr;
}

}  // namespace

void ScanRegistry(const Platform& platform, CObjectLists& lists) {
  WaitCursor wait(platform.notice);
  Registry& registry = platform.registry;
  RegKey clsid_key = 0;
  if (registry.OpenKey(kClassesRoot, "CLSID", kKeyRead, &clsid_key) != kErrorSuccess) return;
  KeyCloser closer(registry, clsid_key);
  // Files are found anew by every scan, and once per path within one.
  CFindCache finds(platform.files);
  // One reading of the classes' type libraries serves every removal from this catalogue.
  const auto type_libs = std::make_shared<TypeLibUsers>();

  for (std::uint32_t index = 0;; ++index) {
    char name[kScanNameSize + 1] = {};
    std::uint32_t size = kScanNameSize;
    long rc = registry.EnumKey(clsid_key, index, name, &size);
    if (rc == kErrorMoreData) continue;  // too long to be a CLSID; the rest still counts
    if (rc != kErrorSuccess) break;

    // Each key of the class is opened and read once; the records keep what was read.
    ClassFacts facts;
    facts.finds = &finds;
    facts.type_libs = type_libs;
    facts.names_read = true;
    if (!ReadSubkeyDefault(registry, clsid_key, JoinKeyPath({name, "ProgID"}), &facts.prog_id))
      continue;
    std::string inproc;
    std::uint32_t inproc_size = 0;
    if (HasControlKey(registry, clsid_key, name)) {
      ReadSubkeyDefault(registry, clsid_key, JoinKeyPath({name, "InProcServer32"}), &inproc,
                        &inproc_size);
      facts.server_value = inproc;
      lists.list(kControls).push_back(std::make_unique<CControlObject>(platform, name, facts));
    } else {
      if (ReadSubkeyDefault(registry, clsid_key, JoinKeyPath({name, "LocalServer32"}),
                            &facts.server_value)) {
        ReadSubkeyDefault(registry, clsid_key, name, &facts.description);
        lists.list(kExeServers).push_back(
            std::make_unique<CExeServerObject>(platform, name, facts));
        facts.description.clear();
      }
      ReadSubkeyDefault(registry, clsid_key, JoinKeyPath({name, "InProcServer32"}), &inproc,
                        &inproc_size);
    }
    if (NamesDll(inproc, inproc_size)) {
      facts.server_value = inproc;
      lists.list(kDllServers).push_back(std::make_unique<CDllServerObject>(platform, name, facts));
    }
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
  CFindCache finds(platform.files);

  std::unique_ptr<CRegisteredObject> result;
  for (std::uint32_t index = 0; !result; ++index) {
    char name[kKeyBufferSize] = {};
    std::uint32_t size = kKeyBufferSize - 1;
    if (registry.EnumKey(clsid_key, index, name, &size) != kErrorSuccess) break;
    std::unique_ptr<CRegisteredObject> record =
        ClassifyForLookup(platform, clsid_key, name, finds);
    if (!record) continue;
    const std::string record_path = record->GetFilePath();
    if (EqualsNoCase(record_path, path)) {
      result = std::move(record);
      continue;
    }
    FoundFile found_record, found_path;
    if (finds.Find(record_path, &found_record) && finds.Find(path, &found_path) &&
        found_record.long_name == found_path.long_name &&
        found_record.short_name == found_path.short_name)
      result = std::move(record);
  }

  platform.notice.HideWaitDialog();
  return result;
}

}  // namespace corvane
