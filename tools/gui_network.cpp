#include "tools/gui_network.h"

#include <windows.h>

#include "platform/win32/win32_network.h"

namespace {

corvane::Network* replacement = nullptr;

}  // namespace

corvane::Network& GuiNetwork() {
  static corvane::Win32Network network;
  return replacement != nullptr ? *replacement : network;
}

corvane::Network* SetGuiNetwork(corvane::Network* network) {
  corvane::Network* old = replacement;
  replacement = network;
  return old;
}

const std::string& LocalComputerName() {
  static const std::string name = [] {
    char text[MAX_COMPUTERNAME_LENGTH + 1] = "";
    DWORD size = sizeof text;
    return GetComputerNameA(text, &size) ? std::string(text) : std::string();
  }();
  return name;
}
