#include "platform/memory/memory_network.h"

#include <algorithm>

#include "platform/win32_codes.h"

namespace corvane {

namespace {

// The bytes an entry takes in a NETRESOURCEA buffer of a 32-bit process.
std::uint32_t EntryBytes(const NetResource& entry) {
  return static_cast<std::uint32_t>(32 + entry.local_name.size() + entry.remote_name.size() +
                                    entry.comment.size() + entry.provider.size() + 4);
}

}  // namespace

long MemoryNetwork::OpenEnum(const NetResource* container, Enumeration* out) {
  const std::string name = container ? container->remote_name : std::string();
  auto refused = refused_.find(name);
  if (refused != refused_.end()) return refused->second;
  if (container != nullptr && (container->usage & kResourceUsageContainer) == 0)
    return kErrorInvalidParameter;
  *out = next_handle_;
  next_handle_ += 4;
  open_[*out] = Open{name, 0};
  return kErrorSuccess;
}

long MemoryNetwork::EnumResource(Enumeration enumeration, std::uint32_t* count,
                                 std::uint32_t buffer_size, std::vector<NetResource>* entries) {
  asked_.push_back(*count);
  auto open = open_.find(enumeration);
  if (open == open_.end()) return kErrorInvalidHandle;
  const std::vector<NetResource>& all = children_[open->second.container];
  std::size_t& next = open->second.next;
  if (next >= all.size()) return kErrorNoMoreItems;
  const std::uint32_t limit = std::min(*count, batch_);
  std::uint32_t used = 0, returned = 0;
  while (next < all.size() && returned < limit && used + EntryBytes(all[next]) <= buffer_size) {
    used += EntryBytes(all[next]);
    entries->push_back(all[next++]);
    ++returned;
  }
  if (returned == 0) return kErrorMoreData;
  *count = returned;
  return kErrorSuccess;
}

long MemoryNetwork::CloseEnum(Enumeration enumeration) {
  auto open = open_.find(enumeration);
  if (open == open_.end()) return kErrorInvalidHandle;
  const bool fail = failing_close_.count(open->second.container) != 0;
  open_.erase(open);
  return fail ? kErrorInvalidHandle : kErrorSuccess;
}

bool MemoryNetwork::BrowseForComputer(std::uintptr_t, const std::string&, std::string* name) {
  if (browsed_.empty()) return false;
  *name = browsed_;
  return true;
}

void MemoryNetwork::AddEntry(const std::string& parent, const NetResource& entry) {
  children_[parent].push_back(entry);
}

void MemoryNetwork::AddContainer(const std::string& parent, const std::string& name,
                                 std::uint32_t display_type) {
  NetResource entry;
  entry.usage = kResourceUsageContainer;
  entry.display_type = display_type;
  entry.remote_name = name;
  AddEntry(parent, entry);
}

void MemoryNetwork::AddServer(const std::string& parent, const std::string& remote_name) {
  AddContainer(parent, remote_name, kResourceDisplayTypeServer);
}

}  // namespace corvane
