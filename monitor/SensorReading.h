#pragma once

#include <cstdint>
#include <map>
#include <string>

// The latest value of one component temperature with the levels its colours change at.
struct SensorReading {
    int32_t type = -1;
    int32_t valid = 0;
    int32_t value = 0;
    std::wstring name;
    int32_t level1 = 0;
    int32_t level2 = 0;
    int32_t level3 = 0;
};

// Readings by sensor type, and sensor types by name.
using SensorReadings = std::map<int32_t, SensorReading>;
using SensorNames = std::map<std::wstring, int32_t>;
