#pragma once

#include <unknwn.h>

// The base library's object of class CLSID_VexaFileTrust: the trust question of table entry 10,
// for libraries and callers that go through "CreateObject".
struct IVexaFileTrust : public IUnknown {
    virtual BOOL STDMETHODCALLTYPE IsTrustedFile(LPCWSTR path, int* kind) = 0;
};

// {6066F80A-4B6D-4D49-B5DC-DB9D1DD07253}
inline constexpr CLSID CLSID_VexaFileTrust = {
    0x6066F80A, 0x4B6D, 0x4D49, {0xB5, 0xDC, 0xDB, 0x9D, 0x1D, 0xD0, 0x72, 0x53}};
// {3F0C8E52-7A1D-4B96-9E27-5C4D8A0B61F3}
inline constexpr IID IID_IVexaFileTrust = {
    0x3F0C8E52, 0x7A1D, 0x4B96, {0x9E, 0x27, 0x5C, 0x4D, 0x8A, 0x0B, 0x61, 0xF3}};
