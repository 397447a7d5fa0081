#pragma once

#include <windows.h>

#include <atomic>

#include "app/base/DHCriticalSection.h"
#include "app/base/ScopedHandle.h"
#include "app/base/DataMgrLib.h"
#include "companions/hardwix/SensorBlock.h"

// The proxy of DataMgr.dll (app/base/DataMgrLib.h): a hand-built method table so that each interface id's
// slot sits where its callers expect it. A reader thread takes every new set from the session's sensor
// block, which HardwixService.exe fills, and hands it to the registered callbacks.
class CDataMgrProxy {
public:
    // One reference for the caller; null when out of memory.
    static IUnknown* Create();

private:
    CDataMgrProxy();
    ~CDataMgrProxy();
    CDataMgrProxy(const CDataMgrProxy&) = delete;
    CDataMgrProxy& operator=(const CDataMgrProxy&) = delete;

    static HRESULT STDMETHODCALLTYPE QueryInterface(CDataMgrProxy* self, REFIID iid, void** out);
    static ULONG STDMETHODCALLTYPE AddRef(CDataMgrProxy* self);
    static ULONG STDMETHODCALLTYPE Release(CDataMgrProxy* self);
    static HRESULT STDMETHODCALLTYPE GetTypeInfoCount(CDataMgrProxy* self, UINT* count);
    static HRESULT STDMETHODCALLTYPE GetTypeInfo(CDataMgrProxy* self, UINT, LCID, ITypeInfo** info);
    static HRESULT STDMETHODCALLTYPE GetIDsOfNames(CDataMgrProxy* self, REFIID, LPOLESTR*, UINT, LCID, DISPID*);
    static HRESULT STDMETHODCALLTYPE Invoke(CDataMgrProxy* self, DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*,
                                            EXCEPINFO*, UINT*);
    static HRESULT STDMETHODCALLTYPE Reserved(CDataMgrProxy* self);
    static HRESULT STDMETHODCALLTYPE Prepare(CDataMgrProxy* self);
    static HRESULT STDMETHODCALLTYPE SetTemperatureCallback(CDataMgrProxy* self, IUnknown* callback);
    static HRESULT STDMETHODCALLTYPE SetInfoReadyCallback(CDataMgrProxy* self, IUnknown* callback);
    static HRESULT STDMETHODCALLTYPE SetCompleteNotice(CDataMgrProxy* self, long enable);
    static const void* const* Table();

    template <class T> HRESULT SetCallback(T*& slot, REFIID iid, IUnknown* callback);
    static DWORD WINAPI ReaderThread(void* self);
    void ReadLoop();
    void Deliver(const CSensorBlock::Snapshot& snapshot);

    // First, so that a pointer to the object is a COM interface pointer.
    const void* const* m_table;
    std::atomic<ULONG> m_refs{1};
    std::atomic<bool> m_completeNotice{true};
    // Guards the callbacks: held while they are called, so one being replaced is never in use.
    CDHCriticalSection m_lock;
    DataMgrLib::IInfoReadyCallback* m_infoReady = nullptr;
    DataMgrLib::ITemperatureCallback* m_temperature = nullptr;
    CKernelHandle m_stop;
    CKernelHandle m_thread;
};
