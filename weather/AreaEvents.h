#pragma once

#include <string>

#include "app/base/SingletonT.h"
#include "app/base/sigslot.h"

// What the area directory announces on the UI thread, once for every answer it took (also when the
// answer held no place): the provinces arrived, a province's cities (by province name), a city's towns
// (by city name).
class CAreaEvents : public CSingletonT<CAreaEvents> {
    friend class CSingletonT<CAreaEvents>;

public:
    sigslot::signal0<> ProvincesReady;
    sigslot::signal1<const std::wstring&> CitiesReady;
    sigslot::signal1<const std::wstring&> TownsReady;

private:
    CAreaEvents() = default;
};
