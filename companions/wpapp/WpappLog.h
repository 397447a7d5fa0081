#pragma once

// Diagnostics of the companion: one line to stderr (UTF-8), wide printf with the C runtime's
// semantics (%s is a wide string). Silent when there is no stderr, as for a program started from
// the desktop.
void WpappLog(const wchar_t* format, ...);
