#include "weather/ProvinceList.h"

#include <algorithm>

#include "net/HttpService.h"
#include "net/ServiceHosts.h"
#include "weather/AreaEvents.h"

CProvinceList::CProvinceList(CHttpService* http, std::wstring cdnBase)
    : CServiceRequester(http), m_cdnBase(std::move(cdnBase)) {}

CProvinceList::CProvinceList()
    : CProvinceList(CHttpService::GetInstance(), CServiceHosts::GetInstance()->WeatherCdn()) {}

std::vector<AreaRef<CProvince>> CProvinceList::GetProvinces() {
    if (m_provinces.empty()) {
        StartRequest(m_cdnBase + L"/sed_api_area_query.php?app=bko&fmt=json&grade=province");
    }
    return m_provinces;
}

CProvince* CProvinceList::Find(const std::wstring& provinceName) const {
    const auto province = std::find_if(m_provinces.begin(), m_provinces.end(),
                                       [&](const AreaRef<CProvince>& p) { return p->GetName() == provinceName; });
    return province == m_provinces.end() ? nullptr : province->get();
}

std::vector<AreaRef<CCity>> CProvinceList::GetCities(const std::wstring& provinceName) {
    CProvince* province = Find(provinceName);
    return province ? province->GetCities() : std::vector<AreaRef<CCity>>();
}

AreaEntryList CProvinceList::GetTowns(const std::wstring& provinceName, const std::wstring& cityName) {
    CProvince* province = Find(provinceName);
    return province ? province->GetTowns(cityName) : AreaEntryList();
}

void CProvinceList::OnAnswer(const HttpAnswer& answer) {
    AreaEntryList entries;
    if (!m_provinces.empty() || !ParseAreaList(answer, AreaLevel::Province, entries)) {
        return;
    }
    for (AreaEntry& entry : entries) {
        m_provinces.emplace_back(new CProvince(std::move(entry.name), std::move(entry.code), Http(), m_cdnBase));
    }
    CAreaEvents::GetInstance()->ProvincesReady();
}
