#pragma once

#include <objbase.h>

// COM for the calling thread, apartment model, for the lifetime of the scope.
class CComApartment {
public:
    // The result does not matter: a failure only means COM was already set up on this thread.
    CComApartment() : m_initialised(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~CComApartment() {
        if (m_initialised) {
            ::CoUninitialize();
        }
    }
    CComApartment(const CComApartment&) = delete;
    CComApartment& operator=(const CComApartment&) = delete;

private:
    bool m_initialised;
};
