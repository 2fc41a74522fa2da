// Network discovery and the names the computer list accepts.
#pragma once
#include <string>
#include <vector>

#include "platform/network.h"

namespace corvane {

// Appends the names of the servers found below container (null: the whole network), depth
// first in enumeration order, without leading backslashes and never the local computer. 1 on
// success, 0 when container cannot be enumerated or its enumeration fails to close.
int EnumerateNetworkComputers(Network& network, const std::string& local_computer,
                              std::vector<std::string>& names,
                              const NetResource* container = nullptr);

// The name to add to a computer list for a browsed name: empty when it is empty, the local
// computer or already listed (all ignoring case).
std::string AcceptedComputerName(const std::string& browsed, const std::string& local_computer,
                                 const std::vector<std::string>& listed);

}  // namespace corvane
