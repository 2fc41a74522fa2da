#include "tools/network_discovery.h"

#include <gtest/gtest.h>

#include "platform/memory/memory_network.h"

namespace corvane {
namespace {

using Names = std::vector<std::string>;

constexpr std::uint32_t kDomain = 1;  // RESOURCEDISPLAYTYPE_DOMAIN
constexpr std::uint32_t kShare = 3;

// Microsoft Windows Network > WORKGROUP (ALPHA, \\HOST, BETA), OFFICE (BETA, GAMMA).
MemoryNetwork Neighbourhood() {
  MemoryNetwork network;
  network.AddContainer("", "Microsoft Windows Network", 0);
  network.AddContainer("Microsoft Windows Network", "WORKGROUP", kDomain);
  network.AddContainer("Microsoft Windows Network", "OFFICE", kDomain);
  network.AddServer("WORKGROUP", "\\\\ALPHA");
  network.AddServer("WORKGROUP", "\\\\host");
  network.AddServer("WORKGROUP", "\\\\BETA");
  network.AddServer("OFFICE", "\\\\BETA");
  network.AddServer("OFFICE", "GAMMA");
  // Shares below a server are entered but are not computers.
  NetResource share;
  share.usage = 1;  // connectable only
  share.display_type = kShare;
  share.remote_name = "\\\\ALPHA\\public";
  network.AddEntry("\\\\ALPHA", share);
  return network;
}

TEST(NetworkDiscoveryTest, ServersDepthFirstWithoutBackslashesOrTheLocalComputer) {
  MemoryNetwork network = Neighbourhood();
  Names names{"KEPT"};
  EXPECT_EQ(EnumerateNetworkComputers(network, "HOST", names), 1);
  EXPECT_EQ(names, (Names{"KEPT", "ALPHA", "BETA", "BETA", "GAMMA"}));
  EXPECT_EQ(network.OpenCount(), 0u);
}

TEST(NetworkDiscoveryTest, AContainerThatCannotBeOpenedContributesNothing) {
  MemoryNetwork network = Neighbourhood();
  network.RefuseOpen("WORKGROUP");
  Names names;
  EXPECT_EQ(EnumerateNetworkComputers(network, "HOST", names), 1);
  EXPECT_EQ(names, (Names{"BETA", "GAMMA"}));

  MemoryNetwork offline;
  offline.RefuseOpen("", kErrorNoNetwork);
  EXPECT_EQ(EnumerateNetworkComputers(offline, "HOST", names), 0);
  EXPECT_EQ(names.size(), 2u);
}

TEST(NetworkDiscoveryTest, LaterCallsAskForWhatTheFirstReturnedAndAFailedCloseFails) {
  MemoryNetwork network = Neighbourhood();
  network.set_batch(2);
  network.FailClose("");
  Names names;
  EXPECT_EQ(EnumerateNetworkComputers(network, "host", names), 0);
  EXPECT_EQ(names, (Names{"ALPHA", "BETA", "BETA", "GAMMA"}));
  // Each enumeration first asks for all, then for as many as its previous call returned.
  const std::uint32_t all = 0xFFFFFFFF;
  const std::vector<std::uint32_t> asked = {all, all, all,  // top, the provider, WORKGROUP
                                            all, 1,         // \\ALPHA: its share, then done
                                            all,            // \\host
                                            2, all, 1,      // WORKGROUP: \\BETA, then done
                                            all, all, all,  // OFFICE, \\BETA, GAMMA
                                            2, 2, 1};       // OFFICE, provider and top done
  EXPECT_EQ(network.asked(), asked);
  EXPECT_EQ(network.OpenCount(), 0u);
}

TEST(NetworkDiscoveryTest, BrowsedNamesSkipTheLocalComputerAndDuplicatesInAnyCase) {
  const Names listed = {"Alpha", "BETA"};
  EXPECT_EQ(AcceptedComputerName("GAMMA", "HOST", listed), "GAMMA");
  EXPECT_EQ(AcceptedComputerName("host", "HOST", listed), "");
  EXPECT_EQ(AcceptedComputerName("alpha", "HOST", listed), "");
  EXPECT_EQ(AcceptedComputerName("", "HOST", listed), "");
}

}  // namespace
}  // namespace corvane
