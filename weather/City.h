#pragma once

#include <string>

#include "weather/AreaParse.h"
#include "weather/ServiceRequester.h"

// A city of the area directory and its towns, fetched from the weather service's CDN host on first
// use and then kept for the life of the process. UI thread only.
class CCity : public CServiceRequester {
public:
    CCity(std::wstring name, std::wstring code, CHttpService* http, std::wstring cdnBase);

    const std::wstring& GetName() const { return m_name; }
    const std::wstring& GetCode() const { return m_code; }
    // The towns (name, code) in the service's order; while there are none, asks for them, and
    // CAreaEvents::TownsReady tells when they came.
    AreaEntryList GetTowns();

protected:
    void OnAnswer(const HttpAnswer& answer) override;

private:
    std::wstring m_name;
    std::wstring m_code;
    AreaEntryList m_towns;
    std::wstring m_cdnBase;
};
