// Deletes a registry key with everything below it.
#pragma once
#include <string>

#include "platform/platform.h"

namespace corvane {

// Deletes the subkeys depth first, then the key. A key that can't be opened is left without
// a message. When a subkey can't be enumerated, or survives its own deletion, the user is told
// "Failed while trying to delete registry key " and the key's path, and that key and its
// parents stay. An empty path deletes nothing.
void DeleteRegistryKey(const Platform& platform, RegKey root, const std::string& subkey);

}  // namespace corvane
