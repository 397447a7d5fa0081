#pragma once

#include <mutex>

#include "monitor/SensorReading.h"

// The readings the hardware tool sends, kept as they arrive on the tool's threads and copied on the UI
// thread: one lock around every update and every copy, so a copy never sees a half-inserted reading.
// Types outside the known table are dropped. Once a complete set with at least two readings has been
// announced the store is started, and from then on every value hands a copy of all readings on.
class CSensorReadingStore {
public:
    enum class InfoAction { kNone, kNoTemperatures, kTemperaturesReady };

    // The code of a complete set from the tool.
    static constexpr long kCodeSetComplete = 77;

    CSensorReadingStore();

    // A new value: creates the type's reading with its levels, or replaces the value. True, with a copy of
    // all readings in handOn, once started.
    bool OnTemperature(int32_t type, int32_t value, SensorReadings* handOn);
    // A notice from the tool: what the controller must hear of it.
    InfoAction OnInfoReady(long code);

    SensorReadings GetReadings() const;
    const SensorNames& GetSensorNames() const { return m_names; }
    // The table's name of the type; empty for a type not in the table.
    std::wstring NameOfType(int32_t type) const;
    bool IsStarted() const;

private:
    const SensorNames m_names;
    SensorReadings m_readings;
    int32_t m_started = 0;
    mutable std::mutex m_lock;
};
