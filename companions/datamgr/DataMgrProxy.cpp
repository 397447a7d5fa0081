#include "companions/datamgr/DataMgrProxy.h"

#include <array>
#include <new>

#include "app/base/DHAutoLock.h"

namespace {
template <class F> const void* Entry(F function) {
    return reinterpret_cast<const void*>(function);
}
} // namespace

IUnknown* CDataMgrProxy::Create() {
    auto* proxy = new (std::nothrow) CDataMgrProxy();
    return reinterpret_cast<IUnknown*>(proxy);
}

CDataMgrProxy::CDataMgrProxy() : m_table(Table()) {}

CDataMgrProxy::~CDataMgrProxy() {
    if (m_thread) {
        ::SetEvent(m_stop.Get());
        ::WaitForSingleObject(m_thread.Get(), INFINITE);
    }
    for (IUnknown* callback : {static_cast<IUnknown*>(m_infoReady), static_cast<IUnknown*>(m_temperature)}) {
        if (callback) {
            callback->Release();
        }
    }
}

const void* const* CDataMgrProxy::Table() {
    static const std::array<const void*, DataMgrLib::kSlotCount> table = [] {
        std::array<const void*, DataMgrLib::kSlotCount> slots;
        slots.fill(Entry(&Reserved));
        slots[0] = Entry(&QueryInterface);
        slots[1] = Entry(&AddRef);
        slots[2] = Entry(&Release);
        slots[3] = Entry(&GetTypeInfoCount);
        slots[4] = Entry(&GetTypeInfo);
        slots[5] = Entry(&GetIDsOfNames);
        slots[6] = Entry(&Invoke);
        slots[DataMgrLib::kSlotPrepare] = Entry(&Prepare);
        slots[DataMgrLib::kSlotSetTemperatureCallback] = Entry(&SetTemperatureCallback);
        slots[DataMgrLib::kSlotSetInfoReadyCallback] = Entry(&SetInfoReadyCallback);
        slots[DataMgrLib::kSlotSetCompleteNotice] = Entry(&SetCompleteNotice);
        return slots;
    }();
    return table.data();
}

HRESULT STDMETHODCALLTYPE CDataMgrProxy::QueryInterface(CDataMgrProxy* self, REFIID iid, void** out) {
    if (!out) {
        return E_POINTER;
    }
    for (const GUID& known :
         {IID_IUnknown, IID_IDispatch, DataMgrLib::IID_IDataMgrProxy, DataMgrLib::IID_IDataMgrProxy2,
          DataMgrLib::IID_IDataMgrNotify, DataMgrLib::IID_IDataMgrTemperature}) {
        if (IsEqualGUID(iid, known)) {
            AddRef(self);
            *out = self;
            return S_OK;
        }
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE CDataMgrProxy::AddRef(CDataMgrProxy* self) {
    return ++self->m_refs;
}

ULONG STDMETHODCALLTYPE CDataMgrProxy::Release(CDataMgrProxy* self) {
    const ULONG refs = --self->m_refs;
    if (refs == 0) {
        delete self;
    }
    return refs;
}

HRESULT STDMETHODCALLTYPE CDataMgrProxy::GetTypeInfoCount(CDataMgrProxy*, UINT* count) {
    if (!count) {
        return E_POINTER;
    }
    *count = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CDataMgrProxy::GetTypeInfo(CDataMgrProxy*, UINT, LCID, ITypeInfo** info) {
    if (info) {
        *info = nullptr;
    }
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CDataMgrProxy::GetIDsOfNames(CDataMgrProxy*, REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CDataMgrProxy::Invoke(CDataMgrProxy*, DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*,
                                                EXCEPINFO*, UINT*) {
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CDataMgrProxy::Reserved(CDataMgrProxy*) {
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CDataMgrProxy::Prepare(CDataMgrProxy* self) {
    CDHAutoLock lock(self->m_lock);
    if (self->m_thread) {
        return S_OK;
    }
    self->m_stop.Reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (self->m_stop) {
        self->m_thread.Reset(::CreateThread(nullptr, 0, &ReaderThread, self, 0, nullptr));
    }
    return self->m_thread ? S_OK : E_OUTOFMEMORY;
}

template <class T> HRESULT CDataMgrProxy::SetCallback(T*& slot, REFIID iid, IUnknown* callback) {
    T* added = nullptr;
    if (callback) {
        const HRESULT hr = callback->QueryInterface(iid, reinterpret_cast<void**>(&added));
        if (FAILED(hr) || !added) {
            return E_NOINTERFACE;
        }
    }
    T* removed = nullptr;
    {
        CDHAutoLock lock(m_lock);
        removed = slot;
        slot = added;
    }
    if (removed) {
        removed->Release();
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CDataMgrProxy::SetTemperatureCallback(CDataMgrProxy* self, IUnknown* callback) {
    return self->SetCallback(self->m_temperature, DataMgrLib::IID_ITemperatureCallback, callback);
}

HRESULT STDMETHODCALLTYPE CDataMgrProxy::SetInfoReadyCallback(CDataMgrProxy* self, IUnknown* callback) {
    return self->SetCallback(self->m_infoReady, DataMgrLib::IID_IInfoReadyCallback, callback);
}

HRESULT STDMETHODCALLTYPE CDataMgrProxy::SetCompleteNotice(CDataMgrProxy* self, long enable) {
    self->m_completeNotice = enable != 0;
    return S_OK;
}

DWORD WINAPI CDataMgrProxy::ReaderThread(void* self) {
    static_cast<CDataMgrProxy*>(self)->ReadLoop();
    return 0;
}

void CDataMgrProxy::ReadLoop() {
    // The thread sleeps until the service publishes a set: an idle program is not woken to look for one.
    CSensorBlock block;
    uint32_t seen = 0;
    HANDLE waits[] = {m_stop.Get(), nullptr};
    do {
        // The service makes the block before its first set; a signal left by one that has gone finds none.
        if (const auto snapshot = block.IsOpen() || block.Open() ? block.ReadNewer(seen) : std::nullopt) {
            seen = snapshot->sequence;
            Deliver(*snapshot);
        } else {
            block.ForgetSignal(seen);
        }
        waits[1] = block.NextSetSignal(seen);
    } while (waits[1] && ::WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0 + 1);
}

void CDataMgrProxy::Deliver(const CSensorBlock::Snapshot& snapshot) {
    CDHAutoLock lock(m_lock);
    if (m_temperature) {
        for (const auto& reading : snapshot.readings) {
            m_temperature->OnTemperature(reading.type, reading.celsius);
        }
    }
    if (m_infoReady && m_completeNotice) {
        m_infoReady->OnInfoReady(DataMgrLib::kInfoSetComplete, static_cast<long>(snapshot.readings.size()));
    }
}
