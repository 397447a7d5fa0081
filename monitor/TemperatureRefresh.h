#pragma once

#include "monitor/ComCallbackBase.h"
#include "app/base/DataMgrLib.h"

// The data library's temperature values, one sensor at a time; handed to the monitor's model.
class CTemperatureRefresh
    : public CComCallbackBase<DataMgrLib::ITemperatureCallback, &DataMgrLib::IID_ITemperatureCallback> {
public:
    HRESULT STDMETHODCALLTYPE OnTemperature(long type, long celsius) override;
};
