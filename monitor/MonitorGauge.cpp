#include "monitor/MonitorGauge.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

struct BandLook {
    uint32_t colour;
    int image[2];
    double from[2];
    double to[2];
};

// Colours as 0x00BBGGRR: blue (0, 156, 255), gold (184, 147, 1), red (255, 0, 0).
constexpr BandLook kBands[3] = {
    {0xFF9C00, {1082, 1085}, {90, 258}, {315, 405}},
    {0x0193B8, {1086, 1083}, {315, 405}, {405, 465}},
    {0x0000FF, {1087, 1084}, {405, 465}, {450, 512}},
};

struct GaugeShape {
    int cx, cy, r1, r2;
};
constexpr GaugeShape kShapes[2] = {{89, 89, 31, 85}, {190, 135, 17, 50}};

// The sensors in the order the gauges prefer them.
constexpr int32_t kPriority[] = {100, 102, 103, 101, 104};

bool IsRate(int32_t item) {
    return item == kItemUpload || item == kItemDownload;
}

// Position of item in the list; when absent, the first entry other than `other` becomes item. -1 for a rate
// item or an empty list.
int Place(int32_t& item, int32_t other, const std::vector<int32_t>& available) {
    if (IsRate(item)) {
        return -1;
    }
    for (size_t i = 0; i < available.size(); ++i) {
        if (available[i] == item) {
            return static_cast<int>(i);
        }
    }
    for (size_t i = 0; i < available.size(); ++i) {
        if (available[i] != other) {
            item = available[i];
            return static_cast<int>(i);
        }
    }
    return -1;
}

} // namespace

GaugeBand GaugeBandFor(Gauge gauge, uint32_t v, uint32_t level1, uint32_t level2, uint32_t level3) {
    const int g = static_cast<int>(gauge);
    int band = 0;
    uint32_t low = 0, high = level1;
    if (v >= level2) {
        band = 2;
        low = level2;
        high = level3;
        if (v > level3) {
            v = level3;
        }
    } else if (v >= level1) {
        band = 1;
        low = level1;
        high = level2;
    }
    const BandLook& look = kBands[band];
    double angle = look.from[g];
    if (high > low && v >= low) {
        angle += (look.to[g] - look.from[g]) * static_cast<double>(v - low) / static_cast<double>(high - low);
    }
    return GaugeBand{band, look.colour, look.image[g], angle};
}

NeedleLine NeedleFor(Gauge gauge, double angle) {
    const GaugeShape& s = kShapes[static_cast<int>(gauge)];
    // The dial's scale was drawn with this rounding of pi; the needle follows it.
    const double radians = angle * 3.14 / 180;
    const double c = std::cos(radians), n = std::sin(radians);
    return NeedleLine{s.cx + static_cast<int>(std::lround(s.r1 * c)), s.cy + static_cast<int>(std::lround(s.r1 * n)),
                      s.cx + static_cast<int>(std::lround(s.r2 * c)), s.cy + static_cast<int>(std::lround(s.r2 * n))};
}

GaugeItems RepairChoice(GaugeItems chosen, const SensorReadings& readings) {
    if (chosen.item1 == chosen.item2) {
        chosen.item2 = 0;
    }
    std::vector<int32_t> available;
    for (int32_t type : kPriority) {
        if (readings.count(type)) {
            available.push_back(type);
        }
    }
    const int first = Place(chosen.item1, chosen.item2, available);
    const int second = Place(chosen.item2, chosen.item1, available);
    if (first >= 0 && second >= 0) {
        chosen.item1 = available[std::min(first, second)];
        chosen.item2 = available[std::max(first, second)];
    }
    return chosen;
}

bool FirstTwoChecked(const bool (&checked)[kSettingRows], GaugeItems* items) {
    int32_t found[2] = {};
    int count = 0;
    for (int row = 0; row < kSettingRows && count < 2; ++row) {
        if (checked[row]) {
            found[count++] = kSettingRowItems[row];
        }
    }
    if (count < 2) {
        return false;
    }
    *items = GaugeItems{found[0], found[1]};
    return true;
}

const wchar_t* InstallStatusText(int step) {
    switch (step) {
    case 4:
        return L"下载失败";
    case 6:
    case 7:
        return L"正在安装";
    case 8:
        return L"安装失败";
    case 9:
        return L"安装成功";
    default:
        return L"正在下载中...";
    }
}
