#include "monitor/HardwareTool.h"

#include "app/SystemUtils.h"

bool IsHardwareToolInstalled() {
    return IsHardwareLibraryReady(kHardwareToolView);
}
