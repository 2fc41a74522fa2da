// Lays out a resizable dialog's children by a table of layout rules, from its size handler.
#pragma once
#include <windows.h>

#include <vector>

#include "widgets/layout_rules.h"

// Repositions the children of window by the rules in one deferred batch and repaints them.
// Nothing happens while the window is minimised or when the table cannot be applied (a broken
// table is reported in an "Assertion Failed" message box). False when nothing was moved.
bool ApplyLayoutRules(HWND window, const std::vector<corvane::LayoutRule>& rules);
