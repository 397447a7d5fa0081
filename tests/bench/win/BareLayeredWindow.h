#pragma once

#include "e2e/ChildProcess.h"

namespace bench {

// Starts the bare reference process: a Wine GUI process with one idle layered window of the given size and
// nothing else, the benchmark program itself started with a switch. Its creation-to-first-frame milliseconds,
// or a negative value when it did not come up; it idles until `bare` is ended. With `timerMs`, the window has one
// timer of that period whose ticks do nothing, and its report folder is tagged "bench-ticking" rather than
// "bench-bare", which tells the two processes apart under /proc.
double StartBareWindow(e2e::CChildProcess& bare, int width, int height, unsigned timerMs = 0);

} // namespace bench
