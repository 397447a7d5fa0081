#pragma once

#include <string>

#include "app/base/SingletonT.h"
#include "weather/IWeatherView.h"
#include "weather/ServiceRequester.h"
#include "weather/WeatherData.h"

class CIniSettings;

// The weather of one place from the weather service, handed to the weather window. The place is the
// configured town code (weather.citycode); without one the service locates the caller, and the town it
// names becomes the configured one. Fetches only when asked (the window refreshes hourly); an answer
// that is not weather (a failed request, an error object, a cut or foreign body) changes nothing, so
// the last good record stays on screen. UI thread only.
class CWeatherDataModel : public CServiceRequester, public CSingletonT<CWeatherDataModel> {
    friend class CSingletonT<CWeatherDataModel>;

public:
    // A model on its own settings, HTTP service and hosts ("http://host[:port]", no trailing slash):
    // the origin host locates the caller, the CDN host answers for a code.
    CWeatherDataModel(IWeatherView* view, CIniSettings* settings, CHttpService* http, std::wstring originBase,
                      std::wstring cdnBase);

    // Before the first request: the window the records go to.
    void SetView(IWeatherView* view) { m_view = view; }
    // Fetches for the configured town, or the located one when none is configured.
    void RequestWeather();
    // Fetches for a town chosen by the user, beside any refresh under way; an empty code does nothing.
    void RequestWeatherFor(const std::wstring& code);

    const WeatherData& GetWeatherData() const { return m_data; }

protected:
    void OnAnswer(const HttpAnswer& answer) override;

private:
    CWeatherDataModel();

    std::wstring CdnUrl(const std::wstring& code) const;

    WeatherData m_data;
    IWeatherView* m_view = nullptr;
    CIniSettings* m_settings;
    std::wstring m_originBase;
    std::wstring m_cdnBase;
};
