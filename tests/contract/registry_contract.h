// Win32 registry behaviour the core relies on, checked against any Registry: the in-memory one
// natively, and both the real one and the in-memory one under Wine, so the two agree.
#pragma once
#include "platform/registry.h"

namespace corvane {

// scratch: an open, empty key the checks may fill. Reports through gtest assertions.
void CheckRegistryContract(Registry& registry, RegKey scratch);

}  // namespace corvane
