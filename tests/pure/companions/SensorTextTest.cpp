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

TEST(SensorTextTest, SysfsAndAcpiValuesBecomeWholeDegreesOrNothing) {
    const std::pair<const char*, std::optional<int32_t>> milli[] = {
        {"45000\n", 45},
        {"45500", 46},
        {"44499", 44},
        {"-1500", -2},
        {"0", 0},
        {"", std::nullopt},
        {"abc", std::nullopt},
        {"255000", std::nullopt},
        {"12.5", std::nullopt},
        {"-128000", std::nullopt},
        {"99999999999", std::nullopt},
    };
    for (const auto& [text, expected] : milli) {
        EXPECT_EQ(hardwix::ParseMilliCelsius(text), expected) << text;
    }
    const std::pair<int64_t, std::optional<int32_t>> deciKelvin[] = {
        {3032, 30}, {3187, 46}, {2732, 0}, {2132, -60}, {0, std::nullopt}, {5000, std::nullopt}, {-1, std::nullopt},
    };
    for (const auto& [value, expected] : deciKelvin) {
        EXPECT_EQ(hardwix::DeciKelvinToCelsius(value), expected) << value;
    }
    EXPECT_EQ(hardwix::AcpiZoneType("ACPI\\ThermalZone\\CPUZ_0"), kCpu);
    EXPECT_EQ(hardwix::AcpiZoneType("ACPI\\ThermalZone\\TZ00_0"), kBoard);
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
