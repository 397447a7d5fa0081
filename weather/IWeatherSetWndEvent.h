#pragma once

#include <string>

// What the city-selection dialog tells the weather window: the user confirmed a town (its code, empty
// when the town list was empty). Called on the UI thread.
class IWeatherSetWndEvent {
public:
    virtual void OnSelectCity(const std::wstring& townCode) = 0;

protected:
    ~IWeatherSetWndEvent() = default;
};
