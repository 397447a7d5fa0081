#pragma once

#include <windows.h>

// Moves window (size, order and activation unchanged) to the centre of owner, kept inside the work area
// of the owner's monitor. Without an owner the window's own owner is used; an owner that is hidden or
// minimised counts as none, and the window is then centred on the work area of its nearest monitor. A
// child window is centred on the owner's client area inside its parent's client area.
bool CenterOnOwner(HWND window, HWND owner);
