// DataMgr.dll: the hardware tool's data library (app/base/DataMgrLib.h).
#include "companions/datamgr/DataMgrProxy.h"

extern "C" __declspec(dllexport) IUnknown* WINAPI GetDataMgrProxyEx() {
    return CDataMgrProxy::Create();
}
