// The object view's commands that compare records with other computers.
#include <vector>

#include "app/gui_platform.h"
#include "app/settings.h"
#include "mainwindow/object_tree.h"
#include "resources/resource.h"
#include "tools/compare_computers_dlg.h"
#include "tools/compare_results_dlg.h"
#include "tools/gui_network.h"
#include "tools/network_discovery.h"

using corvane::CRegisteredObject;

void CObjectTree::OnCompareWithComputers(bool all) {
  std::vector<CRegisteredObject*> records;
  if (all) {
    records = list_.Records();
  } else {
    GetSelectedRecords(records);
  }
  CCompareComputersDlg compare(records, GetCategoryName(), corvane::AppSettings().computers,
                               this);
  compare.DoModal();
}

void CObjectTree::OnCompareWithNetwork() {
  corvane::WaitCursor wait(GuiPlatform().notice);
  std::vector<std::string> found;
  if (corvane::EnumerateNetworkComputers(GuiNetwork(), LocalComputerName(), found) == 0) {
    MessageBoxA(BoxOwner(), "Failed to enumerate computers on local network.", "Network Error",
                MB_OK | MB_ICONERROR);
    return;
  }
  if (found.empty()) {
    MessageBoxA(BoxOwner(),
                "Could not find any computers on the local network. Make sure you are properly "
                "connected to the LAN.",
                "Computers Not Found", MB_OK | MB_ICONINFORMATION);
    return;
  }
  std::vector<CRegisteredObject*> records;
  GetSelectedRecords(records);
  CCompareResultsDlg results(records, found, GetCategoryName(), GuiPlatform().registry, this);
  results.DoModal();
}
