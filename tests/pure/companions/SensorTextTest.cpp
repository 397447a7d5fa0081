#include "companions/hardwix/SensorText.h"

#include <gtest/gtest.h>

using hardwix::SensorSample;

namespace {
constexpr int32_t kCpu = 100, kDisk = 101, kGpu = 102, kBoard = 103, kBattery = 104;

struct SensorFileCase {
    const char* text;
    std::vector<SensorSample> expected;
};
} // namespace

// The sensor file is how the end-to-end tests set the readings the gauges show.
TEST(SensorTextTest, SensorFileKeepsWellFormedLinesAndTheLastValueOfAType) {
    const SensorFileCase cases[] = {
        {"cpu 47\ndisk 38\n", {{kCpu, 47}, {kDisk, 38}}},
        {"\xEF\xBB\xBF"
         "GPU=55.5\r\nboard = -3.5\r\nbattery\t31.49 # charging\n",
         {{kGpu, 56}, {kBoard, -4}, {kBattery, 31}}},
        {"# comment only\n\n; another\n104 40\n100 50\ncpu 52", {{kCpu, 52}, {kBattery, 40}}},
        {"fan 1200\ncpu\ncpu 47 48\ncpu 4x\ncpu 1e3\ncpu 300\ncpu -61\ncpu .5\ncpu 5.\ndisk 12.3456\n105 50\n", {}},
        {"cpu 200\ndisk -60\n", {{kCpu, 200}, {kDisk, -60}}},
        {"", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(hardwix::ParseSensorFile(c.text), c.expected) << c.text;
    }
}

// Files as a laptop's and a desktop's kernels lay them out (chips, zones and unrelated devices).
TEST(SensorTextTest, SysTreesGiveTheHottestInputOfEachKnownChipAndZone) {
    const std::vector<hardwix::SysFile> laptop = {
        {"hwmon/hwmon0/name", "acpitz\n"},
        {"hwmon/hwmon0/temp1_input", "41000\n"},
        {"hwmon/hwmon1/name", "BAT0\n"},
        {"hwmon/hwmon1/temp1_input", "30500\n"},
        {"hwmon/hwmon2/name", "nvme\n"},
        {"hwmon/hwmon2/temp1_input", "36850\n"},
        {"hwmon/hwmon2/temp2_input", "39850\n"},
        {"hwmon/hwmon3/name", "iwlwifi_1\n"},
        {"hwmon/hwmon3/temp1_input", "48000\n"},
        {"hwmon/hwmon4/name", "coretemp\n"},
        {"hwmon/hwmon4/temp1_input", "52000\n"},
        {"hwmon/hwmon4/temp2_input", "49000\n"},
        {"hwmon/hwmon4/temp3_input", "55000\n"},
        {"thermal/thermal_zone0/type", "acpitz\n"},
        {"thermal/thermal_zone0/temp", "43000\n"},
        {"thermal/thermal_zone1/type", "INT3400 Thermal\n"},
        {"thermal/thermal_zone1/temp", "20000\n"},
        {"thermal/thermal_zone2/type", "x86_pkg_temp\n"},
        {"thermal/thermal_zone2/temp", "54000\n"},
        {"thermal/thermal_zone3/type", "iwlwifi_1\n"},
        {"thermal/thermal_zone3/temp", "-274000\n"},
    };
    EXPECT_EQ(hardwix::SamplesFromSysFiles(laptop),
              (std::vector<SensorSample>{{kCpu, 55}, {kDisk, 40}, {kBoard, 43}, {kBattery, 31}}));

    const std::vector<hardwix::SysFile> desktop = {
        {"hwmon/hwmon0/name", "k10temp\n"},        {"hwmon/hwmon0/temp1_input", "61250\n"},
        {"hwmon/hwmon0/temp3_input", "58000\n"},   {"hwmon/hwmon1/name", "amdgpu\n"},
        {"hwmon/hwmon1/temp1_input", "47000\n"},   {"hwmon/hwmon1/temp2_input", "51000\n"},
        {"hwmon/hwmon2/name", "nct6798\n"},        {"hwmon/hwmon2/temp1_input", "35000\n"},
        {"hwmon/hwmon2/temp7_input", "127000\n"},  {"hwmon/hwmon3/name", "drivetemp\n"},
        {"hwmon/hwmon3/temp1_input", "33000\n"},   {"hwmon/hwmon4/name", "nvme\n"},
        {"hwmon/hwmon4/temp1_input", "not ready"},
    };
    EXPECT_EQ(hardwix::SamplesFromSysFiles(desktop),
              (std::vector<SensorSample>{{kCpu, 61}, {kDisk, 33}, {kGpu, 51}, {kBoard, 127}}));
}
