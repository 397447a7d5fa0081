#include "monitor/TemperatureRefresh.h"

#include "monitor/TempMonitorModel.h"

HRESULT STDMETHODCALLTYPE CTemperatureRefresh::OnTemperature(long type, long celsius) {
    CTempMonitorModel::GetInstance()->OnTemperature(type, celsius);
    return S_OK;
}
