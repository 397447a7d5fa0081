#include "weather/WeatherDataModel.h"

#include "app/IniSettings.h"
#include "net/HttpService.h"
#include "net/ServiceHosts.h"
#include "weather/WeatherParse.h"

namespace {
constexpr const wchar_t* kWeatherPath = L"/sed_api_weather_info.php?app=bko&fmt=json";
}

CWeatherDataModel::CWeatherDataModel(IWeatherView* view, CIniSettings* settings, CHttpService* http,
                                     std::wstring originBase, std::wstring cdnBase)
    : CServiceRequester(http), m_view(view), m_settings(settings), m_originBase(std::move(originBase)),
      m_cdnBase(std::move(cdnBase)) {}

CWeatherDataModel::CWeatherDataModel()
    : CWeatherDataModel(nullptr, CIniSettings::GetInstance(), CHttpService::GetInstance(),
                        CServiceHosts::GetInstance()->WeatherOrigin(), CServiceHosts::GetInstance()->WeatherCdn()) {}

std::wstring CWeatherDataModel::CdnUrl(const std::wstring& code) const {
    return m_cdnBase + kWeatherPath + L"&code=" + code;
}

void CWeatherDataModel::RequestWeather() {
    const std::wstring code = m_settings->GetWeatherCityCode();
    StartKeptRequest(code.empty() ? m_originBase + kWeatherPath : CdnUrl(code));
}

void CWeatherDataModel::RequestWeatherFor(const std::wstring& code) {
    if (!code.empty()) {
        StartRequest(CdnUrl(code));
    }
}

void CWeatherDataModel::OnAnswer(const HttpAnswer& answer) {
    WeatherAnswer parsed;
    if (!ParseWeatherAnswer(answer, parsed)) {
        return;
    }
    // The town of a located answer is the configured place from now on.
    if (parsed.townCode) {
        m_settings->SetWeatherCityCode(*parsed.townCode);
    }
    m_data = std::move(parsed.data);
    if (m_view) {
        m_view->SetWeatherData(m_data);
    }
}
