#pragma once

#include <windows.h>
#include <unknwn.h>

#include "app/base/ScopedHandle.h"
#include "app/base/SingletonT.h"

class CInfoReadyCallback;
class CTemperatureRefresh;

// The connection to the hardware tool's data library: loads the signed "DataMgr.dll" from the tool's folder,
// takes its proxy, registers both callbacks and starts the tool's service. Connected once for the process;
// there is no disconnect and no retry.
class DataMgrHelper : public CSingletonT<DataMgrHelper> {
    friend class CSingletonT<DataMgrHelper>;

public:
    // True when the proxy took both callbacks; every failure is logged.
    bool Connect();

private:
    DataMgrHelper();
    ~DataMgrHelper();

    // Calls the method at `slot` of the proxy's interface `iid`; a failing result is logged with `what`.
    bool CallProxy(const GUID& iid, int slot, IUnknown* argument, const wchar_t* what);

    CInfoReadyCallback* m_infoReady = nullptr;
    CTemperatureRefresh* m_temperature = nullptr;
    IUnknown* m_proxy = nullptr;
    IUnknown* m_proxy2 = nullptr;
    // Keeps the library loaded while the proxy lives.
    CModule m_library;
};
