// The weather answer reader over arbitrary bytes, and the window's texts over every record it accepts. A
// refused answer must leave the held record exactly as it was.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "weather/WeatherParse.h"
#include "weather/WeatherText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WeatherAnswer held;
    held.data.townCode = L"110105";
    held.data.days.resize(2);
    held.townCode = held.data.townCode;
    const WeatherAnswer before = held;
    if (!ParseWeatherAnswer({kHttpTaskFinished, 200, {reinterpret_cast<const char*>(data), size}}, held)) {
        if (!(held.data == before.data) || held.townCode != before.townCode) {
            std::abort();
        }
        return 0;
    }
    const WeatherData& record = held.data;
    (void)CurrentPlacementFor(record.realtime.temperature);
    (void)DescriptionLine(record);
    (void)AirQualityLine(record.realtime);
    (void)WeatherIconsFor(record.realtime.info);
    if (ForecastRows(record).size() > kForecastRowCount) {
        std::abort();
    }
    return 0;
}
