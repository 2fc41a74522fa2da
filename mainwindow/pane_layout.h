// Shared placement of a pane's controls: a tab control across the top, a body filling the rest.
#pragma once
#include <windows.h>

// Keeps the tab control's own height, spans it across the width, and returns the area below it.
RECT PlaceTabsOnTop(HWND tabs, int width, int height);
