#pragma once

#include <string>

#include "app/base/SingletonT.h"
#include "monitor/SensorReadingStore.h"

// The latest reading of each component temperature the hardware tool sends. Values and notices come on the
// tool's threads; the store keeps them under its lock and what the controller must hear is handed to the UI
// thread: each new value as a copy of all readings once the first complete set was announced, the complete
// set itself, or too few sensors.
class CTempMonitorModel : public CSingletonT<CTempMonitorModel> {
    friend class CSingletonT<CTempMonitorModel>;

public:
    // Connects to the tool once for the process; a failed attempt is not repeated.
    void StartHardwareSource();

    SensorReadings GetReadings() const { return m_store.GetReadings(); }
    SensorNames GetSensorNames() const { return m_store.GetSensorNames(); }
    std::wstring NameOfType(int32_t type) const { return m_store.NameOfType(type); }

    // From the data library's callbacks.
    void OnTemperature(long type, long value);
    void OnInfoReady(long code);

private:
    CTempMonitorModel() = default;

    CSensorReadingStore m_store;
    bool m_sourceStarted = false;
};
