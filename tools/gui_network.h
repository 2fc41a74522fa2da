// The network neighbourhood and the local computer's name as the dialogs across computers
// use them.
#pragma once
#include <string>

#include "platform/network.h"

// The real network unless a test has put its own in place.
corvane::Network& GuiNetwork();
// Puts network in place of the real one (nullptr: the real one again); returns the old one.
corvane::Network* SetGuiNetwork(corvane::Network* network);
// This computer's name, read once.
const std::string& LocalComputerName();
