#pragma once

#include <windows.h>
#include <unknwn.h>

// IUnknown for a callback object the data library holds: answers IUnknown and its one interface, and
// counts references on the single thread that registers it.
template <class Interface, const GUID* Iid> class CComCallbackBase : public Interface {
public:
    virtual ~CComCallbackBase() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) {
            return E_POINTER;
        }
        if (!IsEqualGUID(iid, IID_IUnknown) && !IsEqualGUID(iid, *Iid)) {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        *out = static_cast<Interface*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++m_references); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = --m_references;
        if (left == 0) {
            delete this;
        }
        return static_cast<ULONG>(left);
    }

private:
    LONG m_references = 0;
};
