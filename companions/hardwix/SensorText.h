#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Temperature sources as text, without Win32: the sensor file of the tool's folder and the Linux
// sysfs files (/sys/class/hwmon, /sys/class/thermal) that Wine shows through the Unix root.
namespace hardwix {

// The component types the monitor knows; the codes are those its callbacks receive.
enum SensorType : int32_t {
    kSensorCpu = 100,
    kSensorDisk = 101,
    kSensorGpu = 102,
    kSensorBoard = 103,
    kSensorBattery = 104,
};

struct SensorSample {
    int32_t type = 0;
    int32_t celsius = 0;
    bool operator==(const SensorSample&) const = default;
};

// One file of a sysfs class folder: its path relative to /sys/class (for example
// "hwmon/hwmon0/temp1_input") and its contents.
struct SysFile {
    std::string path;
    std::string text;
};

// The sensor file: one "<name> <celsius>" per line (README.md). Lines that do not parse are skipped.
std::vector<SensorSample> ParseSensorFile(std::string_view text);

// A sysfs temperature file: an integer in millidegrees Celsius, rounded to whole degrees.
std::optional<int32_t> ParseMilliCelsius(std::string_view text);

// The component type a hwmon chip name or a thermal zone's type stands for, 0 for none.
int32_t HwmonChipType(std::string_view chip);
int32_t ThermalZoneType(std::string_view zone);

// The component an ACPI thermal zone's instance name stands for: the processor's zone by name, any
// other the main board's.
int32_t AcpiZoneType(std::string_view instanceName);

// An ACPI thermal zone's reading from the system's management interface: tenths of a kelvin.
std::optional<int32_t> DeciKelvinToCelsius(int64_t deciKelvin);

// Readings of whole hwmon and thermal trees: for each chip or zone with a known type, its hottest input.
std::vector<SensorSample> SamplesFromSysFiles(const std::vector<SysFile>& files);

} // namespace hardwix
