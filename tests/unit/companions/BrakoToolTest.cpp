#include "app/base/DHAutoLock.h"
#include "app/base/DHCriticalSection.h"
#include "app/base/ScopedHandle.h"
#include "app/base/DataMgrLib.h"
#include "integrity/AuthenticodeVerifier.h"
#include "unit/companions/BrakoSetupRecord.h"
#include "unit/integrity/IntegrityFixtures.h"
#include "unit/net/DemoService.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

// The hardware tool's companions as the monitor uses them: the installer run silently, the data library
// driven through its export and slots with the service started beside it, and the rate gate.
namespace {
using Readings = std::map<long, long>;

// Both callbacks of the data library; every complete set (code 77) is kept with its argument.
class CSetRecorder : public DataMgrLib::IInfoReadyCallback, public DataMgrLib::ITemperatureCallback {
public:
    CSetRecorder() : m_setArrived(::CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        *out = IsEqualGUID(iid, DataMgrLib::IID_IInfoReadyCallback) || IsEqualGUID(iid, IID_IUnknown)
                   ? static_cast<DataMgrLib::IInfoReadyCallback*>(this)
               : IsEqualGUID(iid, DataMgrLib::IID_ITemperatureCallback)
                   ? static_cast<void*>(static_cast<DataMgrLib::ITemperatureCallback*>(this))
                   : nullptr;
        if (!*out) {
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    // Lives on the test's stack; the library's references only need to balance.
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --m_refs; }

    HRESULT STDMETHODCALLTYPE OnTemperature(long type, long celsius) override {
        CDHAutoLock lock(m_lock);
        m_pending[type] = celsius;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnInfoReady(long code, long argument) override {
        if (code == DataMgrLib::kInfoSetComplete) {
            CDHAutoLock lock(m_lock);
            m_sets.push_back({std::exchange(m_pending, {}), argument});
        }
        ::SetEvent(m_setArrived.Get());
        return S_OK;
    }

    // Waits for a complete set with exactly these readings and as many announced.
    bool WaitForSet(const Readings& expected, DWORD timeoutMs) {
        const ULONGLONG end = ::GetTickCount64() + timeoutMs;
        for (;;) {
            bool found = false;
            {
                CDHAutoLock lock(m_lock);
                for (const auto& [readings, argument] : m_sets) {
                    found = found || (readings == expected && argument == static_cast<long>(expected.size()));
                }
            }
            const ULONGLONG now = ::GetTickCount64();
            if (found || now >= end) {
                return found;
            }
            ::WaitForSingleObject(m_setArrived.Get(), static_cast<DWORD>(end - now));
        }
    }
    ULONG References() const { return m_refs; }

private:
    CDHCriticalSection m_lock;
    CKernelHandle m_setArrived;
    ULONG m_refs = 0;
    Readings m_pending;
    std::vector<std::pair<Readings, long>> m_sets;
};

template <class... Args> HRESULT CallSlot(IUnknown* object, int slot, Args... args) {
    using Method = HRESULT(STDMETHODCALLTYPE*)(IUnknown*, Args...);
    return reinterpret_cast<Method>((*reinterpret_cast<void***>(object))[slot])(object, args...);
}

CKernelHandle Start(const std::wstring& program, std::wstring arguments) {
    std::wstring commandLine = L"\"" + program + L"\" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process)) {
        return CKernelHandle();
    }
    ::CloseHandle(process.hThread);
    return CKernelHandle(process.hProcess);
}

DWORD RunSetup(const std::wstring& arguments) {
    CKernelHandle setup = Start(ShippedPath(L"brakosetup.exe"), arguments);
    DWORD code = 0xFFFF;
    if (setup && ::WaitForSingleObject(setup.Get(), 30000) == WAIT_OBJECT_0) {
        ::GetExitCodeProcess(setup.Get(), &code);
    }
    return code;
}

constexpr REGSAM kViews[] = {KEY_WOW64_32KEY, KEY_WOW64_64KEY};

void SetNetLoad(DWORD value) {
    CRegKey key;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Brako", 0, nullptr, 0, KEY_SET_VALUE | KEY_WOW64_32KEY,
                                nullptr, key.Receive(), nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(
        ::RegSetValueExW(key.Get(), L"NetLoad", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value)),
        ERROR_SUCCESS);
}
} // namespace

class BrakoToolTest : public ::testing::Test {
protected:
    // The tool's key is machine-wide in the test prefix: no test leaves it behind for another.
    void SetUp() override { ClearRegistry(); }
    void TearDown() override { ClearRegistry(); }
    static void ClearRegistry() {
        for (REGSAM view : kViews) {
            ::RegDeleteKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Brako", view, 0);
        }
    }
};

TEST_F(BrakoToolTest, SilentSetupInstallsSignedFilesAndRegistersBothViewsOrFailsOnAFileItCannotWrite) {
    CScratchFolder scratch(L"brako-setup");
    const std::wstring folder = scratch / L"Brako Tool";
    ASSERT_EQ(RunSetup(L"/S /D=" + folder), 0u);
    for (const wchar_t* file : {L"DataMgr.dll", L"HardwixService.exe"}) {
        EXPECT_EQ(CAuthenticodeVerifier::ForPublisher().VerifyFile((folder + L"\\" + file).c_str()),
                  ETrustVerdict::Trusted)
            << file;
    }
    for (REGSAM view : kViews) {
        EXPECT_EQ(BrakoSetupPath(view), folder + L"\\") << view;
    }

    ClearRegistry();
    const std::wstring blocked = scratch / L"Blocked";
    ASSERT_TRUE(::CreateDirectoryW(blocked.c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryW((blocked + L"\\DataMgr.dll").c_str(), nullptr));
    EXPECT_EQ(RunSetup(L"/S /D=" + blocked), 2u);
    for (REGSAM view : kViews) {
        EXPECT_EQ(BrakoSetupPath(view), L"") << view;
    }
}

TEST_F(BrakoToolTest, LibraryHandsOnEachSetOfTheSensorFileWithCode77) {
    CScratchFolder tool(L"brako-tool");
    for (const wchar_t* file : {L"DataMgr.dll", L"HardwixService.exe"}) {
        ASSERT_TRUE(
            ::CopyFileW(ShippedPath((std::wstring(L"brako\\") + file).c_str()).c_str(), (tool / file).c_str(), FALSE));
    }
    ASSERT_TRUE(CScratchFolder::WriteFileText(tool / L"sensors.txt", "cpu 47\ndisk 38.4\nfan 900\n"));

    CSetRecorder recorder;
    {
        CModule library(::LoadLibraryW((tool / L"DataMgr.dll").c_str()));
        ASSERT_TRUE(library);
        auto create = reinterpret_cast<DataMgrLib::PFN_GetDataMgrProxyEx>(
            reinterpret_cast<void*>(::GetProcAddress(library.Get(), "GetDataMgrProxyEx")));
        ASSERT_NE(create, nullptr);
        IUnknown* proxy = create();
        ASSERT_NE(proxy, nullptr);
        IUnknown* second = nullptr;
        ASSERT_EQ(proxy->QueryInterface(DataMgrLib::IID_IDataMgrProxy2, reinterpret_cast<void**>(&second)), S_OK);
        EXPECT_EQ(CallSlot(proxy, DataMgrLib::kSlotPrepare), S_OK);
        EXPECT_EQ(CallSlot(second, DataMgrLib::kSlotSetCompleteNotice, 1L), S_OK);
        EXPECT_EQ(CallSlot(proxy, DataMgrLib::kSlotSetInfoReadyCallback,
                           static_cast<IUnknown*>(static_cast<DataMgrLib::IInfoReadyCallback*>(&recorder))),
                  S_OK);
        EXPECT_EQ(CallSlot(proxy, DataMgrLib::kSlotSetTemperatureCallback,
                           static_cast<IUnknown*>(static_cast<DataMgrLib::ITemperatureCallback*>(&recorder))),
                  S_OK);

        // As the monitor does, the service is started after the library is connected.
        CKernelHandle service = Start(tool / L"HardwixService.exe", L"");
        ASSERT_TRUE(service);
        EXPECT_TRUE(recorder.WaitForSet({{100, 47}, {101, 38}}, 15000));
        ASSERT_TRUE(CScratchFolder::WriteFileText(tool / L"sensors.txt", "cpu 61\nbattery 30\n"));
        EXPECT_TRUE(recorder.WaitForSet({{100, 61}, {104, 30}}, 15000));
        ::TerminateProcess(service.Get(), 0);
        ::WaitForSingleObject(service.Get(), 5000);
        second->Release();
        EXPECT_EQ(proxy->Release(), 0u);
    }
    EXPECT_EQ(recorder.References(), 0u);
}

TEST_F(BrakoToolTest, RateGateAllowsUnlessTheToolSwitchesItOff) {
    CModule library(::LoadLibraryW(ShippedPath(L"net\\netload.dll").c_str()));
    ASSERT_TRUE(library);
    auto isInstall =
        reinterpret_cast<int(WINAPI*)()>(reinterpret_cast<void*>(::GetProcAddress(library.Get(), "BkoIsInstall")));
    ASSERT_NE(isInstall, nullptr);
    EXPECT_NE(isInstall(), 0);
    SetNetLoad(0);
    EXPECT_EQ(isInstall(), 0);
    SetNetLoad(1);
    EXPECT_NE(isInstall(), 0);
}

TEST_F(BrakoToolTest, SampleServiceOffersTheBuiltSetup) {
    CDemoService service;
    ASSERT_TRUE(service.IsRunning());
    const std::string served = service.Get(L"/brako/brakosetup.exe");
    EXPECT_FALSE(served.empty());
    EXPECT_EQ(served, CScratchFolder::ReadFileText(ShippedPath(L"brakosetup.exe")));
}
