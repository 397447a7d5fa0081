#pragma once

#include "integrity/VexaFileTrust.h"

// The library object of class CLSID_VexaFileTrust; answers as table entry 10 does.
class CFileTrustObject final : public IVexaFileTrust {
public:
    // "CreateObject": S_OK and a referenced object for CLSID_VexaFileTrust, CLASS_E_CLASSNOTAVAILABLE
    // for any other class id.
    static HRESULT Create(REFCLSID classId, void** object);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    BOOL STDMETHODCALLTYPE IsTrustedFile(LPCWSTR path, int* kind) override;

private:
    CFileTrustObject() = default;
    ~CFileTrustObject() = default;

    LONG m_references = 1;
};
