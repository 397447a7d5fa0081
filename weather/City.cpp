#include "weather/City.h"

#include "weather/AreaEvents.h"

CCity::CCity(std::wstring name, std::wstring code, CHttpService* http, std::wstring cdnBase)
    : CServiceRequester(http), m_name(std::move(name)), m_code(std::move(code)), m_cdnBase(std::move(cdnBase)) {}

AreaEntryList CCity::GetTowns() {
    if (m_towns.empty()) {
        StartRequest(m_cdnBase + L"/sed_api_area_query.php?app=bko&fmt=json&grade=town&code=" + m_code);
    }
    return m_towns;
}

void CCity::OnAnswer(const HttpAnswer& answer) {
    // A filled list is final; a late second answer is dropped.
    if (!m_towns.empty() || !ParseAreaList(answer, AreaLevel::Town, m_towns)) {
        return;
    }
    CAreaEvents::GetInstance()->TownsReady(m_name);
}
