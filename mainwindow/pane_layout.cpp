#include "mainwindow/pane_layout.h"

#include <algorithm>

RECT PlaceTabsOnTop(HWND tabs, int width, int height) {
  RECT own = {0, 0, 0, 0};
  GetWindowRect(tabs, &own);
  int tab_height = own.bottom - own.top;
  MoveWindow(tabs, 0, 0, width, tab_height, TRUE);
  RECT below = {0, tab_height, width, std::max(tab_height, height)};
  return below;
}
