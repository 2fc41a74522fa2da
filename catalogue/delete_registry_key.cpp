#include "catalogue/delete_registry_key.h"

#include "catalogue/registry_access.h"

namespace corvane {

namespace {

const char kDeleteFailed[] = "Failed while trying to delete registry key ";

// False when a failure was reported: the key is still there.
bool DeleteTree(const Platform& platform, RegKey root, const std::string& subkey,
                const std::string& shown_path) {
  Registry& registry = platform.registry;
  RegKey key = 0;
  if (registry.OpenKey(root, subkey.c_str(), kKeyAllAccess, &key) != kErrorSuccess) return true;
  KeyCloser closer(registry, key);
  std::string previous;
  for (;;) {
    char name[kKeyBufferSize] = {};
    std::uint32_t size = kKeyBufferSize - 1;
    long rc = registry.EnumKey(key, 0, name, &size);
    if (rc == kErrorNoMoreItems) {
      registry.DeleteKey(root, subkey.c_str());
      return true;
    }
    if (rc != kErrorSuccess) {
      platform.notice.ShowMessageBox(kDeleteFailed + shown_path);
      return false;
    }
    const std::string child = name;
    const std::string child_path = shown_path + "\\" + child;
    // The same name first again means the child could not be removed.
    if (child == previous) {
      platform.notice.ShowMessageBox(kDeleteFailed + child_path);
      return false;
    }
    if (!DeleteTree(platform, key, child, child_path)) return false;
    previous = child;
  }
}

}  // namespace

void DeleteRegistryKey(const Platform& platform, RegKey root, const std::string& subkey) {
  // An empty path would open the root itself and empty it.
  if (subkey.empty()) return;
  DeleteTree(platform, root, subkey, subkey);
}

}  // namespace corvane
