#pragma once

#include <string>
#include <vector>

#include "weather/AreaRef.h"
#include "weather/City.h"
#include "weather/ServiceRequester.h"

// A province of the area directory and its cities, fetched from the weather service's CDN host on
// first use and then kept for the life of the process. UI thread only.
class CProvince : public CServiceRequester {
public:
    CProvince(std::wstring name, std::wstring code, CHttpService* http, std::wstring cdnBase);

    const std::wstring& GetName() const { return m_name; }
    const std::wstring& GetCode() const { return m_code; }
    // The cities in the service's order; while there are none, asks for them, and
    // CAreaEvents::CitiesReady tells when they came. Each city asks for its towns as soon as it arrives.
    std::vector<AreaRef<CCity>> GetCities();
    // The towns of the first city of that exact name; empty, without a request, when there is no such
    // city (yet).
    AreaEntryList GetTowns(const std::wstring& cityName);

protected:
    void OnAnswer(const HttpAnswer& answer) override;

private:
    std::wstring m_name;
    std::wstring m_code;
    std::vector<AreaRef<CCity>> m_cities;
    std::wstring m_cdnBase;
};
