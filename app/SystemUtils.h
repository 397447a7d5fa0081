#pragma once

#include <windows.h>

// Lets a message through the user-interface privilege filter, so that a process at a lower
// integrity level can still send it. Does nothing where the system has no such filter.
void AllowWindowMessage(UINT message);
