// The tooltip the widgets give themselves: one tool that covers the whole client area of the
// control that owns it.
#pragma once
#include <windows.h>

#include <string>

#include "framework/wnd.h"

// Creates `tip` as a topmost tooltip owned by `owner`, with one tool over the owner's client
// area showing `text`. False when the window could not be made.
bool CreateControlToolTip(CWnd& tip, HWND owner, const std::string& text, int max_width);

// The text the tool shows; nothing when the tooltip has not been made.
void SetControlToolTipText(CWnd& tip, HWND owner, const std::string& text);

// Fits the tool to the owner's client area after the owner moved or resized.
void FitControlToolTip(CWnd& tip, HWND owner);
