#include "mainwindow/layout_hold.h"

namespace {
bool g_layout_held = true;
}

bool LayoutHeld() { return g_layout_held; }
void SetLayoutHold(bool held) { g_layout_held = held; }
