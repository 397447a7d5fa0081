// What another program or user of the machine can plant for deskling: libraries where a loader search might
// find them, and links in the data folder that "/uninstall" empties.

#include "e2e/ServiceTreeE2eTest.h"
#include "unit/app/ScratchFolder.h"

#include <memory>
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

// Links that point out of the data folder, made the way a user or another program on the machine can: Unix links
// under Wine. Wine 8.0 lists a link to a folder as a folder with FILE_ATTRIBUTE_REPARSE_POINT, yet opens it, with
// FILE_FLAG_OPEN_REPARSE_POINT or without, as the folder it points to; a link to a file is an ordinary file in every
// view. It can make neither junctions (FSCTL_SET_REPARSE_POINT answers ERROR_NOT_SUPPORTED) nor Windows symbolic
// links. Where a link cannot be removed as itself, it stays, with the folders holding it. (Folder removal's own test
// covers links to files and links deeper down.)
TEST_F(LockdownE2eTest, UninstallNeverLeavesTheDataFolderThroughALink) {
    const std::wstring outside = TempFolder(L"outside"), data = DataFolder(), link = data + L"\\news\\outside";
    ASSERT_TRUE(WriteTextFile(outside + L"\\keep.txt", "keep"));
    ASSERT_TRUE(EnsureFolder(data + L"\\news") && WriteTextFile(data + L"\\news\\1.png", "png"));
    ASSERT_TRUE(WriteTextFile(data + L"\\deskling.ini", "[calendar]\r\nalpha=200\r\n"));
    ASSERT_TRUE(CScratchFolder::MakeSymlink(link, IsWine() ? CScratchFolder::UnixPath(outside) : outside, true));
    // Under Wine the link outlives the uninstall; it goes first when the test ends, then the harness takes the rest.
    const std::shared_ptr<void> removeLink(nullptr, [&](void*) { CScratchFolder::RemoveLink(link); });

    StartCompanion();
    CChildProcess& first = StartDeskling(L"/calendar");
    ASSERT_NE(WaitForMainWindow(first), nullptr) << ReadLog();
    EXPECT_TRUE(StartDeskling(L"/uninstall").WaitForExit(10000));
    EXPECT_TRUE(first.WaitForExit(5000)) << ReadLog();

    EXPECT_TRUE(PathExists(outside + L"\\keep.txt"));
    EXPECT_FALSE(PathExists(data + L"\\deskling.ini") || PathExists(data + L"\\news\\1.png"));
    EXPECT_EQ(PathExists(data), IsWine()) << "only a link Wine cannot remove as itself keeps the folder";
}

} // namespace
} // namespace e2e
