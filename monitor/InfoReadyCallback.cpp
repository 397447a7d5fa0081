#include "monitor/InfoReadyCallback.h"

#include "monitor/TempMonitorModel.h"

HRESULT STDMETHODCALLTYPE CInfoReadyCallback::OnInfoReady(long code, long) {
    CTempMonitorModel::GetInstance()->OnInfoReady(code);
    return S_OK;
}
