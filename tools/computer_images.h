// The 16 by 16 images of the dialogs across computers: a control and a computer.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <initializer_list>

// Indexes in the lists MakeComputerImages makes.
enum ComputerImage { kControlImage = 0, kComputerImage = 1 };

// One image per bitmap in order, each with the mask colour it is drawn on. The caller
// destroys the list.
HIMAGELIST MakeComputerImages(std::initializer_list<UINT> bitmaps);
