#pragma once

#include "app/base/DHCriticalSection.h"
#include "app/base/ScopedHandle.h"
#include "integrity/VexaBaseExportFuncs.h"

// Loads the maker's base library once per process and keeps what it offers: the "CreateObject"
// entry point and the function table "InitLibs" filled. TFuncs is that table: a 32-bit count
// followed by the entry slots.
template <class TFuncs> class CVexaPublicDLLHelper {
public:
    CVexaPublicDLLHelper() = default;
    CVexaPublicDLLHelper(const CVexaPublicDLLHelper&) = delete;
    CVexaPublicDLLHelper& operator=(const CVexaPublicDLLHelper&) = delete;

    // The process's instance. Never destroyed, so the library stays loaded until the process ends
    // and nothing unloads it while the loader is shutting the process down.
    static CVexaPublicDLLHelper& GetInstance();

    // Loads and initialises the library. Only the first call in the life of the object does the
    // work; every later call returns its result, whatever path it is given. A module of that name
    // that is already loaded is used as it is; any other file must pass the publisher-signature
    // test first, and stays locked against writers until it is loaded.
    bool Initialise(const wchar_t* path);

    // Valid after Initialise returned true.
    HMODULE GetModule() const { return m_module.Get(); }
    const TFuncs& GetFuncs() const { return m_funcs; }
    PFN_VexaCreateObject GetCreateObject() const { return m_createObject; }

private:
    bool Load(const wchar_t* path);

    _BaseModule::CCriticalSection m_lock;
    CModule m_module;
    PFN_VexaCreateObject m_createObject = nullptr;
    TFuncs m_funcs{};
    bool m_done = false;
    bool m_result = false;
};

using CVexaBaseHelper = CVexaPublicDLLHelper<CVexaBaseExportFuncs>;
