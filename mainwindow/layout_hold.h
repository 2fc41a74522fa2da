// The process-wide layout hold: set while the program starts, so that panes and pages do no
// layout of their own before the main window has its final size.
#pragma once

bool LayoutHeld();
void SetLayoutHold(bool held);
