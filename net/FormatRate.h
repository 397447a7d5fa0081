#pragma once

#include <cstdint>
#include <string>

// The short rate text of the hardware monitor's network gauges: bytes as "0.00K", "512K", "1.5K",
// "3.2M" (K = 1024 bytes, M = 1024 K). Callers pass bytes per second and add any "/s" themselves.
std::wstring FormatRate(int64_t bytes);
