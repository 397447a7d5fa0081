#pragma once

#include <cstdint>
#include <string>

#include "monitor/SensorReading.h"

// What the hardware monitor's gauges show, worked out from plain numbers: the colour band of a value, its
// needle, the choice of the two items and the installation texts.

// Items a gauge can show besides the sensor types 100..104.
inline constexpr int32_t kItemUpload = 1000;
inline constexpr int32_t kItemDownload = 1001;
// A rate message field that means "unchanged since the last report".
inline constexpr uint32_t kRateUnchanged = 65535;

enum class Gauge { kLarge = 0, kSmall = 1 };

struct GaugeBand {
    int band;        // 0, 1 or 2
    uint32_t colour; // 0x00BBGGRR
    int image;       // the dial picture of the band
    double angle;    // needle angle in degrees, clockwise from the positive x axis (y grows downwards)
};

struct NeedleLine {
    int x1, y1, x2, y2;
};

// The band of value v (compared unsigned) between the levels, with the needle angle; in the top band v is
// capped at level3 first.
GaugeBand GaugeBandFor(Gauge gauge, uint32_t v, uint32_t level1, uint32_t level2, uint32_t level3);

// The needle of a gauge at an angle: from the inner to the outer radius around the gauge's centre.
NeedleLine NeedleFor(Gauge gauge, double angle);

// The two items after a new set of readings: no item twice, sensor items that have no reading replaced by the
// first available ones, and the two sensors put in priority order. Rate items stay as they are.
struct GaugeItems {
    int32_t item1;
    int32_t item2;
};
GaugeItems RepairChoice(GaugeItems chosen, const SensorReadings& readings);

// The settings window's rows, top to bottom, and the items they stand for.
inline constexpr int kSettingRows = 7;
inline constexpr int32_t kSettingRowItems[kSettingRows] = {100, 102, 103, 101, 104, kItemDownload, kItemUpload};

// The first two checked rows in walk order; false when fewer than two are checked.
bool FirstTwoChecked(const bool (&checked)[kSettingRows], GaugeItems* items);

// The installation panel's status line for an installation step.
const wchar_t* InstallStatusText(int step);
