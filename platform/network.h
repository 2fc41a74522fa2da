// The network neighbourhood seam: the mpr enumeration calls discovery makes, with their Win32
// semantics, and the shell's browser for one computer.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32_codes.h"

namespace corvane {

constexpr std::uint32_t kResourceUsageContainer = 0x00000002;  // RESOURCEUSAGE_CONTAINER
constexpr std::uint32_t kResourceDisplayTypeServer = 0x00000002;  // RESOURCEDISPLAYTYPE_SERVER
constexpr long kErrorNoNetwork = 1222;

// A NETRESOURCEA entry, its strings copied.
struct NetResource {
  std::uint32_t scope = 0;
  std::uint32_t type = 0;
  std::uint32_t display_type = 0;
  std::uint32_t usage = 0;
  std::string local_name;
  std::string remote_name;
  std::string comment;
  std::string provider;
};

class Network {
 public:
  using Enumeration = std::uintptr_t;

  virtual ~Network() = default;

  // WNetOpenEnumA of every resource, of all types and usages, in the global network below
  // container (null: the top of the network).
  virtual long OpenEnum(const NetResource* container, Enumeration* out) = 0;
  // WNetEnumResourceA into a zero-filled buffer of buffer_size bytes: *count is the number of
  // entries asked for in (0xFFFFFFFF: as many as fit) and the number returned out.
  virtual long EnumResource(Enumeration enumeration, std::uint32_t* count,
                            std::uint32_t buffer_size, std::vector<NetResource>* entries) = 0;
  // WNetCloseEnum.
  virtual long CloseEnum(Enumeration enumeration) = 0;

  // The shell's browser for one computer, rooted at the network neighbourhood, owned by the
  // window owner; false when the root is unavailable or the user cancels.
  virtual bool BrowseForComputer(std::uintptr_t owner, const std::string& title,
                                 std::string* name) = 0;
};

}  // namespace corvane
