// The network neighbourhood seam over mpr and the shell's folder browser.
#pragma once
#include "platform/network.h"

namespace corvane {

class Win32Network : public Network {
 public:
  long OpenEnum(const NetResource* container, Enumeration* out) override;
  long EnumResource(Enumeration enumeration, std::uint32_t* count, std::uint32_t buffer_size,
                    std::vector<NetResource>* entries) override;
  long CloseEnum(Enumeration enumeration) override;
  bool BrowseForComputer(std::uintptr_t owner, const std::string& title,
                         std::string* name) override;
};

}  // namespace corvane
