#pragma once

#include <wbemidl.h>

#include <memory>
#include <vector>

#include "companions/hardwix/SensorText.h"

// ACPI thermal zones as the system's management interface reports them (MSAcpi_ThermalZoneTemperature
// in root\WMI), which most machines offer. The thread must have entered COM. The connection is tried
// once: where the namespace or the class is missing (Wine, some machines) nothing is asked again.
class CWmiThermalZones {
public:
    std::vector<hardwix::SensorSample> Read();

private:
    struct ComRelease {
        void operator()(IUnknown* object) const { object->Release(); }
    };

    bool Connect();

    bool m_tried = false;
    std::unique_ptr<IWbemServices, ComRelease> m_services;
};
