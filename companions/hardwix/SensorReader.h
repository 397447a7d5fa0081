#pragma once

#include <string>
#include <vector>

#include "companions/hardwix/SensorText.h"
#include "companions/hardwix/WmiThermalZones.h"

// One complete set of temperatures from every source this machine offers: ACPI thermal zones through
// the management interface, under Wine the Linux sysfs trees through the Unix root, and the sensor file
// "sensors.txt" in the service's folder, whose values take precedence (README.md).
class CSensorReader {
public:
    explicit CSensorReader(const std::wstring& folder);
    std::vector<hardwix::SensorSample> ReadAll();

private:
    std::vector<hardwix::SysFile> ReadSysFiles() const;

    std::wstring m_sensorFile;
    std::wstring m_sysClass;
    CWmiThermalZones m_wmi;
};
