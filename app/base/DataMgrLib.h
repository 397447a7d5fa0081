#pragma once

#include <windows.h>
#include <unknwn.h>

// The interface of DataMgr.dll, the hardware tool's data library, as the library answers it and the monitor calls it.
//
// "GetDataMgrProxyEx" (no arguments) returns a new proxy with one reference owned by the caller, or null.
// The proxy is one object with one method table that answers QueryInterface for IUnknown, IDispatch and
// the four ids below with the same pointer; each id names the slot its caller uses (slots count the
// IUnknown and IDispatch entries, so slot 7 is the first own method). Every other own slot is reserved:
// it takes no argument and returns E_NOTIMPL. IDispatch has no type information.
//
// Callbacks run on the library's reader thread, one complete set at a time: every reading through the
// temperature callback, then the info-ready callback with code 77 and the number of readings.
namespace DataMgrLib {

// Slot 7, Prepare(): starts the reader thread. S_OK, or E_OUTOFMEMORY when no thread can be made.
inline constexpr GUID IID_IDataMgrProxy = {
    0x4CF413AB, 0xA5C0, 0x4E04, {0xB2, 0x91, 0x9E, 0xCA, 0x28, 0x83, 0x06, 0x1D}};
// Slot 13, SetTemperatureCallback(IUnknown*): the object must answer IID_ITemperatureCallback
// (E_NOINTERFACE otherwise); null removes the callback. The library keeps a reference.
inline constexpr GUID IID_IDataMgrTemperature = {
    0x8505577B, 0x6CD5, 0x42AD, {0xAA, 0x32, 0x37, 0xDC, 0x78, 0x7F, 0xFE, 0x68}};
// Slot 17, SetInfoReadyCallback(IUnknown*): likewise with IID_IInfoReadyCallback.
inline constexpr GUID IID_IDataMgrNotify = {
    0x50F1362C, 0x758E, 0x4D09, {0x8E, 0x5F, 0x8E, 0x39, 0x62, 0x0B, 0x0E, 0x7A}};
// Slot 22, SetCompleteNotice(long): nonzero (the default) sends code 77 after each set, 0 only values.
inline constexpr GUID IID_IDataMgrProxy2 = {
    0x82A95B08, 0xDA40, 0x4649, {0x83, 0x8A, 0x3A, 0x8C, 0xFB, 0x5F, 0xE2, 0xF0}};

inline constexpr GUID IID_IInfoReadyCallback = {
    0x133B4EB6, 0x6A1E, 0x4A79, {0xAA, 0x29, 0x86, 0x5E, 0xE3, 0xBA, 0xA8, 0x29}};
inline constexpr GUID IID_ITemperatureCallback = {
    0x72FCAAA0, 0xE3FF, 0x4E87, {0x96, 0xEB, 0xE3, 0x06, 0x5D, 0x8C, 0xDC, 0x36}};

enum Slot : int {
    kSlotPrepare = 7,
    kSlotSetTemperatureCallback = 13,
    kSlotSetInfoReadyCallback = 17,
    kSlotSetCompleteNotice = 22,
    kSlotCount = 23,
};

// The info-ready code of a complete set; its argument is the number of readings in the set.
inline constexpr long kInfoSetComplete = 77;

struct IInfoReadyCallback : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE OnInfoReady(long code, long argument) = 0;
};
// type: 100 processor, 101 disk, 102 graphics card, 103 main board, 104 battery; degrees Celsius.
struct ITemperatureCallback : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE OnTemperature(long type, long celsius) = 0;
};

using PFN_GetDataMgrProxyEx = IUnknown*(WINAPI*)();

} // namespace DataMgrLib
