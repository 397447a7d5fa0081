#pragma once

#include <windows.h>
#include <unknwn.h>

// What this program uses of the hardware tool's data library "DataMgr.dll": its export, the interface ids
// whose table slots it calls (slots count the IUnknown and IDispatch entries, so 7 is the first own method)
// and the two callbacks it implements.
namespace DataMgrLib {

inline constexpr GUID IID_IDataMgrProxy = {
    0x4CF413AB, 0xA5C0, 0x4E04, {0xB2, 0x91, 0x9E, 0xCA, 0x28, 0x83, 0x06, 0x1D}};
inline constexpr GUID IID_IDataMgrProxy2 = {
    0x82A95B08, 0xDA40, 0x4649, {0x83, 0x8A, 0x3A, 0x8C, 0xFB, 0x5F, 0xE2, 0xF0}};
inline constexpr GUID IID_IDataMgrNotify = {
    0x50F1362C, 0x758E, 0x4D09, {0x8E, 0x5F, 0x8E, 0x39, 0x62, 0x0B, 0x0E, 0x7A}};
inline constexpr GUID IID_IDataMgrTemperature = {
    0x8505577B, 0x6CD5, 0x42AD, {0xAA, 0x32, 0x37, 0xDC, 0x78, 0x7F, 0xFE, 0x68}};
inline constexpr GUID IID_IInfoReadyCallback = {
    0x133B4EB6, 0x6A1E, 0x4A79, {0xAA, 0x29, 0x86, 0x5E, 0xE3, 0xBA, 0xA8, 0x29}};
inline constexpr GUID IID_ITemperatureCallback = {
    0x72FCAAA0, 0xE3FF, 0x4E87, {0x96, 0xEB, 0xE3, 0x06, 0x5D, 0x8C, 0xDC, 0x36}};

inline constexpr int kSlotPrepare = 7;
inline constexpr int kSlotSetTemperatureCallback = 13;
inline constexpr int kSlotSetInfoReadyCallback = 17;
inline constexpr int kSlotSetCompleteNotice = 22;

struct IInfoReadyCallback : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE OnInfoReady(long code, long argument) = 0;
};
struct ITemperatureCallback : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE OnTemperature(long type, long celsius) = 0;
};

using PFN_GetDataMgrProxyEx = IUnknown*(WINAPI*)();

} // namespace DataMgrLib
