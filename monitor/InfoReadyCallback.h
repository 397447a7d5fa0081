#pragma once

#include "monitor/ComCallbackBase.h"
#include "app/base/DataMgrLib.h"

// The data library's notice that a complete set of readings was sent; handed to the monitor's model.
class CInfoReadyCallback
    : public CComCallbackBase<DataMgrLib::IInfoReadyCallback, &DataMgrLib::IID_IInfoReadyCallback> {
public:
    HRESULT STDMETHODCALLTYPE OnInfoReady(long code, long argument) override;
};
