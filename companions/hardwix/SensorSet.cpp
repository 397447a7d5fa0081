#include "companions/hardwix/SensorSet.h"

namespace hardwix {

void CSensorSet::Offer(const SensorSample& sample) {
    const auto [it, added] = m_celsius.emplace(sample.type, sample.celsius);
    if (!added && sample.celsius > it->second) {
        it->second = sample.celsius;
    }
}

void CSensorSet::Override(const SensorSample& sample) {
    m_celsius[sample.type] = sample.celsius;
}

std::vector<SensorSample> CSensorSet::Samples() const {
    std::vector<SensorSample> samples;
    samples.reserve(m_celsius.size());
    for (const auto& [type, celsius] : m_celsius) {
        samples.push_back({type, celsius});
    }
    return samples;
}

} // namespace hardwix
