#include "companions/hardwix/SensorText.h"

#include <algorithm>
#include <cctype>
#include <map>

#include "companions/hardwix/SensorSet.h"

namespace hardwix {
namespace {

// Beyond this, a value is a sensor's "absent" marker (-128, 255, 0 K) rather than a temperature.
constexpr int32_t kMinCelsius = -60;
constexpr int32_t kMaxCelsius = 200;

std::optional<int32_t> InRange(int64_t celsius) {
    if (celsius < kMinCelsius || celsius > kMaxCelsius) {
        return std::nullopt;
    }
    return static_cast<int32_t>(celsius);
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
           });
}

struct NamePrefix {
    std::string_view prefix;
    int32_t type;
};

// The first matching prefix decides, so a longer prefix that means "not a component" comes first.
int32_t TypeByPrefix(std::string_view name, std::initializer_list<NamePrefix> table) {
    name = Trim(name);
    for (const NamePrefix& entry : table) {
        if (StartsWithNoCase(name, entry.prefix)) {
            return entry.type;
        }
    }
    return 0;
}

// An optionally signed decimal number with up to three fraction digits, in thousandths.
std::optional<int64_t> ParseThousandths(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    const size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction = point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    if (whole.empty() || whole.size() > 6 || fraction.size() > 3 ||
        (point != std::string_view::npos && fraction.empty())) {
        return std::nullopt;
    }
    int64_t value = 0;
    for (char c : whole) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    int64_t scale = 1000;
    for (char c : fraction) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        scale /= 10;
        value = value * 10 + (c - '0');
    }
    value *= scale;
    return negative ? -value : value;
}

// Whole degrees from thousandths, halves rounded away from zero.
int64_t RoundThousandths(int64_t thousandths) {
    return thousandths >= 0 ? (thousandths + 500) / 1000 : -((-thousandths + 500) / 1000);
}

int32_t SensorFileType(std::string_view name) {
    static const std::map<std::string_view, int32_t> kNames = {
        {"cpu", kSensorCpu},         {"disk", kSensorDisk},   {"gpu", kSensorGpu},  {"board", kSensorBoard},
        {"battery", kSensorBattery}, {"100", kSensorCpu},     {"101", kSensorDisk}, {"102", kSensorGpu},
        {"103", kSensorBoard},       {"104", kSensorBattery},
    };
    std::string lower(name);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
    const auto found = kNames.find(lower);
    return found == kNames.end() ? 0 : found->second;
}

std::optional<SensorSample> ParseSensorLine(std::string_view line) {
    line = Trim(line.substr(0, line.find_first_of("#;")));
    const size_t nameEnd = line.find_first_of(" \t=");
    if (line.empty() || nameEnd == std::string_view::npos) {
        return std::nullopt;
    }
    const int32_t type = SensorFileType(line.substr(0, nameEnd));
    std::string_view rest = line.substr(nameEnd);
    while (!rest.empty() && (IsBlank(rest.front()) || rest.front() == '=')) {
        rest.remove_prefix(1);
    }
    const std::optional<int64_t> thousandths = ParseThousandths(rest);
    const std::optional<int32_t> celsius = thousandths ? InRange(RoundThousandths(*thousandths)) : std::nullopt;
    if (type == 0 || !celsius) {
        return std::nullopt;
    }
    return SensorSample{type, *celsius};
}

} // namespace

std::vector<SensorSample> ParseSensorFile(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    CSensorSet set;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        if (const auto sample = ParseSensorLine(text.substr(0, end))) {
            set.Override(*sample);
        }
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    return set.Samples();
}

std::optional<int32_t> ParseMilliCelsius(std::string_view text) {
    text = Trim(text);
    if (text.find('.') != std::string_view::npos) {
        return std::nullopt;
    }
    // Read as whole thousandths, the file's value is thousandths of a degree.
    const std::optional<int64_t> milli = ParseThousandths(text);
    return milli ? InRange(RoundThousandths(*milli / 1000)) : std::nullopt;
}

int32_t HwmonChipType(std::string_view chip) {
    return TypeByPrefix(chip, {{"coretemp", kSensorCpu},
                               {"k10temp", kSensorCpu},
                               {"k8temp", kSensorCpu},
                               {"zenpower", kSensorCpu},
                               {"cpu_thermal", kSensorCpu},
                               {"cpu-thermal", kSensorCpu},
                               {"via_cputemp", kSensorCpu},
                               {"nvme", kSensorDisk},
                               {"drivetemp", kSensorDisk},
                               {"amdgpu", kSensorGpu},
                               {"radeon", kSensorGpu},
                               {"nouveau", kSensorGpu},
                               {"acpitz", kSensorBoard},
                               {"pch_", kSensorBoard},
                               {"nct6", kSensorBoard},
                               {"it87", kSensorBoard},
                               {"bat", kSensorBattery}});
}

int32_t ThermalZoneType(std::string_view zone) {
    return TypeByPrefix(zone, {{"x86_pkg_temp", kSensorCpu},
                               {"cpu", kSensorCpu},
                               {"tcpu", kSensorCpu},
                               {"b0d4", kSensorCpu},
                               {"soc", kSensorCpu},
                               {"gpu", kSensorGpu},
                               {"acpitz", kSensorBoard},
                               {"pch_", kSensorBoard},
                               {"\\_tz.", kSensorBoard},
                               {"bat", kSensorBattery}});
}

int32_t AcpiZoneType(std::string_view instanceName) {
    std::string upper(instanceName);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); });
    return upper.find("CPU") != std::string::npos ? kSensorCpu : kSensorBoard;
}

std::optional<int32_t> DeciKelvinToCelsius(int64_t deciKelvin) {
    if (deciKelvin <= 0 || deciKelvin > 100000) {
        return std::nullopt;
    }
    return InRange(RoundThousandths((deciKelvin - 2732) * 100));
}

std::vector<SensorSample> SamplesFromSysFiles(const std::vector<SysFile>& files) {
    struct Device {
        std::string_view name;
        std::optional<int32_t> hottest;
    };
    std::map<std::string_view, Device> devices;
    for (const SysFile& file : files) {
        const std::string_view path(file.path);
        const size_t slash = path.rfind('/');
        if (slash == std::string_view::npos) {
            continue;
        }
        const std::string_view folder = path.substr(0, slash);
        const std::string_view leaf = path.substr(slash + 1);
        const bool hwmon = folder.starts_with("hwmon/");
        const bool thermal = folder.starts_with("thermal/");
        Device& device = devices[folder];
        if ((hwmon && leaf == "name") || (thermal && leaf == "type")) {
            device.name = file.text;
        } else if ((hwmon && leaf.starts_with("temp") && leaf.ends_with("_input")) || (thermal && leaf == "temp")) {
            const std::optional<int32_t> celsius = ParseMilliCelsius(file.text);
            if (celsius && (!device.hottest || *celsius > *device.hottest)) {
                device.hottest = celsius;
            }
        }
    }
    CSensorSet set;
    for (const auto& [folder, device] : devices) {
        const int32_t type = folder.starts_with("hwmon/") ? HwmonChipType(device.name) : ThermalZoneType(device.name);
        if (type != 0 && device.hottest) {
            set.Offer({type, *device.hottest});
        }
    }
    return set.Samples();
}

} // namespace hardwix
