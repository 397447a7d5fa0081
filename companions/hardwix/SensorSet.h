#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "companions/hardwix/SensorText.h"

namespace hardwix {

// One complete set of readings, at most one per type. Measured sources offer values and the hottest
// one of a type stays (several chips may report the same kind of part); the sensor file overrides.
class CSensorSet {
public:
    void Offer(const SensorSample& sample);
    void Override(const SensorSample& sample);
    std::vector<SensorSample> Samples() const;

private:
    std::map<int32_t, int32_t> m_celsius;
};

} // namespace hardwix
