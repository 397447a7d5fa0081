// Libraries another program or user of the machine can plant where a loader search might find them. (Links planted
// in the data folder are the instance test's, with "/uninstall".)

#include "e2e/ServiceTreeE2eTest.h"

#include <string>
#include <thread>

namespace e2e {
namespace {

// System libraries deskling loads. Under Wine 8.0 a copy beside the program runs, rather than the builtin mapped
// under the copy's path, only for shcore, propsys and dwmapi: unrestricted, deskling reached shcore through shell32,
// which the logger's static constructor binds before the entry point, and propsys through GDI+, which binds the
// image codecs late by name from beside the program. The rest stand for the libraries bound late or by name. The
// working folder comes after the system folder in every search; it is planted anyway, with the names of our own
// libraries too, which are only ever loaded by full path.
constexpr const wchar_t* kSystemLibraries[] = {L"shcore",  L"propsys", L"dwmapi",  L"windowscodecs",
                                               L"gdiplus", L"xmllite", L"winhttp", L"version"};

class LockdownE2eTest : public CServiceTreeE2eTest {};

TEST_F(LockdownE2eTest, LibrariesPlantedBesideTheProgramAndInItsWorkingFolderNeverRun) {
    const std::wstring work = TempFolder(L"work"), marker = TempFolder(L"marker") + L"\\loaded.txt";
    const std::wstring planted = TestProgramFolder() + L"\\helpers\\PlantedLibrary.dll";
    const auto plant = [&](const std::wstring& folder, const wchar_t* name) {
        return ::CopyFileW(planted.c_str(), (folder + L"\\" + name + L".dll").c_str(), FALSE) != FALSE;
    };
    for (const wchar_t* name : kSystemLibraries) {
        ASSERT_TRUE(plant(FolderOf(m_exe), name) && plant(work, name)) << name;
    }
    for (const wchar_t* name : {L"Vexabase", L"VexaNetUL", L"DataMgr", L"netload", L"selfcheck"}) {
        ASSERT_TRUE(plant(work, name)) << name;
    }
    StartCompanion();

    // Only deskling, started now, inherits the marker file; the planted library proves it leaves its mark.
    ::SetEnvironmentVariableW(L"DESKLING_PLANT_MARKER", marker.c_str());
    CModule(::LoadLibraryW((work + L"\\selfcheck.dll").c_str())).Reset();
    ASSERT_TRUE(::DeleteFileW(marker.c_str())) << "the planted library leaves no mark";
    CChildProcess& deskling = Start(Quoted(m_exe) + L" /calendar /weather /news /tempmonitor", work.c_str());
    ::SetEnvironmentVariableW(L"DESKLING_PLANT_MARKER", nullptr);
    EXPECT_TRUE(WaitForCalendar(deskling.Id())) << ReadLog();
    EXPECT_TRUE(WaitForLog(L"weather first frame with data", 10s)) << ReadLog();
    EXPECT_TRUE(WaitForLog(L"news first frame with a title", 10s)) << ReadLog();
    EXPECT_TRUE(WaitForLog(L"[tempmonitor] offer shown:1", 10s)) << ReadLog();
    std::this_thread::sleep_for(1s);

    EXPECT_FALSE(PathExists(marker)) << "planted libraries ran in deskling:\n" << ReadFileBytes(marker);
    EXPECT_TRUE(deskling.IsRunning());
}

} // namespace
} // namespace e2e
