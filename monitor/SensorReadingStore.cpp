#include "monitor/SensorReadingStore.h"

namespace {

struct SensorType {
    const wchar_t* name;
    int32_t type;
    int32_t level1;
    int32_t level2;
    int32_t level3;
};

constexpr SensorType kSensorTypes[] = {
    {L"CPU", 100, 80, 90, 100},  {L"硬盘", 101, 55, 65, 80}, {L"显卡", 102, 85, 95, 100},
    {L"主板", 103, 75, 85, 100}, {L"电池", 104, 70, 80, 90},
};

const SensorType* FindType(int32_t type) {
    for (const SensorType& known : kSensorTypes) {
        if (known.type == type) {
            return &known;
        }
    }
    return nullptr;
}

SensorNames BuildNames() {
    SensorNames names;
    for (const SensorType& known : kSensorTypes) {
        names[known.name] = known.type;
    }
    return names;
}

} // namespace

CSensorReadingStore::CSensorReadingStore() : m_names(BuildNames()) {}

bool CSensorReadingStore::OnTemperature(int32_t type, int32_t value, SensorReadings* handOn) {
    std::lock_guard<std::mutex> hold(m_lock);
    auto found = m_readings.find(type);
    if (found != m_readings.end()) {
        found->second.value = value;
    } else if (const SensorType* known = FindType(type)) {
        m_readings[type] = SensorReading{type, 1, value, known->name, known->level1, known->level2, known->level3};
    } else {
        return false;
    }
    if (!m_started) {
        return false;
    }
    *handOn = m_readings;
    return true;
}

CSensorReadingStore::InfoAction CSensorReadingStore::OnInfoReady(long code) {
    if (code != kCodeSetComplete) {
        return InfoAction::kNone;
    }
    std::lock_guard<std::mutex> hold(m_lock);
    if (m_readings.size() < 2) {
        return InfoAction::kNoTemperatures;
    }
    if (m_started) {
        return InfoAction::kNone;
    }
    m_started = 1;
    return InfoAction::kTemperaturesReady;
}

SensorReadings CSensorReadingStore::GetReadings() const {
    std::lock_guard<std::mutex> hold(m_lock);
    return m_readings;
}

std::wstring CSensorReadingStore::NameOfType(int32_t type) const {
    const SensorType* known = FindType(type);
    return known ? known->name : L"";
}

bool CSensorReadingStore::IsStarted() const {
    std::lock_guard<std::mutex> hold(m_lock);
    return m_started != 0;
}
