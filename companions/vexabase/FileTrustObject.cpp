#include "companions/vexabase/FileTrustObject.h"

#include "companions/vexabase/TrustAnswer.h"

#include <new>

HRESULT CFileTrustObject::Create(REFCLSID classId, void** object) {
    if (!object) {
        return E_POINTER;
    }
    *object = nullptr;
    if (!IsEqualCLSID(classId, CLSID_VexaFileTrust)) {
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    auto* created = new (std::nothrow) CFileTrustObject();
    if (!created) {
        return E_OUTOFMEMORY;
    }
    *object = static_cast<IVexaFileTrust*>(created);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CFileTrustObject::QueryInterface(REFIID iid, void** object) {
    if (!object) {
        return E_POINTER;
    }
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IVexaFileTrust)) {
        *object = static_cast<IVexaFileTrust*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE CFileTrustObject::AddRef() {
    return static_cast<ULONG>(::InterlockedIncrement(&m_references));
}

ULONG STDMETHODCALLTYPE CFileTrustObject::Release() {
    const LONG left = ::InterlockedDecrement(&m_references);
    if (left == 0) {
        delete this;
    }
    return static_cast<ULONG>(left);
}

BOOL STDMETHODCALLTYPE CFileTrustObject::IsTrustedFile(LPCWSTR path, int* kind) {
    return AnswerIsTrustedFile(path, kind);
}
