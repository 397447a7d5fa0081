#pragma once

#include <windows.h>

#include <string>

// The monitor finds the hardware tool through the setup record in the 32-bit registry view.
inline constexpr REGSAM kHardwareToolView = KEY_WOW64_32KEY;

// True when the tool's data library exists in its folder and is signed by us; a missing or unsigned library
// is logged, a missing setup record is not.
bool IsHardwareToolInstalled();
