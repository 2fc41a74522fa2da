// The seams of the running program: the real registry, files and modules, and notices shown in
// windows. One set per process; records keep a reference to it for their whole life.
#pragma once
#include "platform/platform.h"

const corvane::Platform& GuiPlatform();
