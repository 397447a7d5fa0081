#include "weather/Province.h"

#include <algorithm>

#include "weather/AreaEvents.h"

CProvince::CProvince(std::wstring name, std::wstring code, CHttpService* http, std::wstring cdnBase)
    : CServiceRequester(http), m_name(std::move(name)), m_code(std::move(code)), m_cdnBase(std::move(cdnBase)) {}

std::vector<AreaRef<CCity>> CProvince::GetCities() {
    if (m_cities.empty()) {
        StartRequest(m_cdnBase + L"/sed_api_area_query.php?app=bko&fmt=json&grade=city&code=" + m_code);
    }
    return m_cities;
}

AreaEntryList CProvince::GetTowns(const std::wstring& cityName) {
    const auto city = std::find_if(m_cities.begin(), m_cities.end(),
                                   [&](const AreaRef<CCity>& c) { return c->GetName() == cityName; });
    return city == m_cities.end() ? AreaEntryList() : (*city)->GetTowns();
}

void CProvince::OnAnswer(const HttpAnswer& answer) {
    AreaEntryList entries;
    if (!m_cities.empty() || !ParseAreaList(answer, AreaLevel::City, entries)) {
        return;
    }
    // The whole province is fetched at once, so that picking a city finds its towns already there.
    for (AreaEntry& entry : entries) {
        m_cities.emplace_back(new CCity(std::move(entry.name), std::move(entry.code), Http(), m_cdnBase));
        m_cities.back()->GetTowns();
    }
    CAreaEvents::GetInstance()->CitiesReady(m_name);
}
