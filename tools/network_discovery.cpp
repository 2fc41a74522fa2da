#include "tools/network_discovery.h"

#include "platform/text.h"
#include "platform/win32_codes.h"

namespace corvane {

namespace {

constexpr std::uint32_t kBufferSize = 16384;
constexpr std::uint32_t kAsManyAsFit = 0xFFFFFFFF;

}  // namespace

int EnumerateNetworkComputers(Network& network, const std::string& local_computer,
                              std::vector<std::string>& names, const NetResource* container) {
  Network::Enumeration enumeration = 0;
  if (network.OpenEnum(container, &enumeration) != kErrorSuccess) return 0;
  std::uint32_t wanted = kAsManyAsFit;
  std::vector<NetResource> entries;
  for (;;) {
    std::uint32_t count = wanted;
    entries.clear();
    if (network.EnumResource(enumeration, &count, kBufferSize, &entries) != kErrorSuccess)
      break;
    if (count < entries.size()) entries.resize(count);
    // Asking for the previous count again would ask for none at all.
    if (count == 0) break;
    for (const NetResource& entry : entries) {
      if ((entry.usage & kResourceUsageContainer) == 0) continue;
      if (entry.display_type == kResourceDisplayTypeServer) {
        std::string name = entry.remote_name;
        if (name.size() > 2 && name[0] == '\\' && name[1] == '\\') name.erase(0, 2);
        if (!EqualsNoCase(name, local_computer)) names.push_back(name);
      }
      EnumerateNetworkComputers(network, local_computer, names, &entry);
    }
    wanted = count;
  }
  return network.CloseEnum(enumeration) == kErrorSuccess ? 1 : 0;
}

std::string AcceptedComputerName(const std::string& browsed, const std::string& local_computer,
                                 const std::vector<std::string>& listed) {
  if (browsed.empty() || EqualsNoCase(browsed, local_computer)) return std::string();
  for (const std::string& name : listed)
    if (EqualsNoCase(name, browsed)) return std::string();
  return browsed;
}

}  // namespace corvane
