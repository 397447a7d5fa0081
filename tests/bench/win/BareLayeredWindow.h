#pragma once

#include "e2e/ChildProcess.h"

namespace bench {

// Starts the bare reference process: a Wine GUI process with one idle layered window of the given size and
// nothing else, the benchmark program itself started with a switch. Its creation-to-first-frame milliseconds,
// or a negative value when it did not come up; it idles until `bare` is ended.
double StartBareWindow(e2e::CChildProcess& bare, int width, int height);

} // namespace bench
