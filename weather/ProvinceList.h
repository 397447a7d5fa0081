#pragma once

#include <string>
#include <vector>

#include "app/base/SingletonT.h"
#include "weather/AreaRef.h"
#include "weather/Province.h"
#include "weather/ServiceRequester.h"

// The area directory: provinces, their cities and the cities' towns, each level fetched from the
// weather service's CDN host the first time it is asked for and kept for the life of the process;
// CAreaEvents announces each level's arrival. Requests are not tracked: asking again before the answer
// asks the service again, and only the first answer fills the list. UI thread only.
class CProvinceList : public CServiceRequester, public CSingletonT<CProvinceList> {
    friend class CSingletonT<CProvinceList>;

public:
    // A directory on its own HTTP service and CDN host ("http://host[:port]", no trailing slash).
    CProvinceList(CHttpService* http, std::wstring cdnBase);

    // The provinces, named without "自治区", "市" or "省"; while there are none, asks for them.
    std::vector<AreaRef<CProvince>> GetProvinces();
    // The cities of the first province of that exact name (see CProvince::GetCities); empty, without
    // a request, when there is no such province.
    std::vector<AreaRef<CCity>> GetCities(const std::wstring& provinceName);
    // The towns of that city of that province; empty, without any request for the province's cities,
    // when either is not there.
    AreaEntryList GetTowns(const std::wstring& provinceName, const std::wstring& cityName);

protected:
    void OnAnswer(const HttpAnswer& answer) override;

private:
    CProvinceList();

    CProvince* Find(const std::wstring& provinceName) const;

    std::vector<AreaRef<CProvince>> m_provinces;
    std::wstring m_cdnBase;
};
