// What another program or user of the machine can plant for deskling: libraries where a loader search might
// find them, and links in the data folder that "/uninstall" empties.

#include "e2e/ServiceTreeE2eTest.h"
#include "unit/app/ScratchFolder.h"

#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace e2e {
namespace {

// The system libraries deskling loads while all four widgets run with the service's data, as Wine's loader trace
// lists them, and dwmapi. Loading each name of Wine 8.0's system folder from a folder that holds a copy showed what
// Wine does when a search finds a copy beside the program: for 317 of its 532 names, most of these among them, it
// maps its own builtin under the copy's path and the copy never runs; of these names only shcore, propsys and
// dwmapi run as the copy. Unrestricted, deskling reached two: shcore through
// shell32, which the logger's static constructor binds before the entry point, and propsys through Wine's GDI+,
// which binds the image codecs late by name from beside the program, their imports with them. The working folder
// comes after the system folder in every search, so no copy there runs, restricted or not; it is planted anyway,
// with the names of our own libraries, which are only ever loaded by full path.
constexpr const wchar_t* kSystemLibraries[] = {
    L"shcore",  L"propsys",  L"dwmapi",   L"windowscodecs", L"gdiplus", L"shell32",  L"shlwapi",
    L"uxtheme", L"comctl32", L"ws2_32",   L"bcrypt",        L"crypt32", L"rsaenh",   L"version",
    L"winhttp", L"jsproxy",  L"wininet",  L"iphlpapi",      L"xmllite", L"oleaut32", L"setupapi",
    L"imm32",   L"msimg32",  L"wintrust", L"imagehlp",      L"ole32",   L"combase",  L"rpcrt4"};
constexpr const wchar_t* kOwnLibraries[] = {L"Vexabase", L"VexaNetUL", L"DataMgr", L"netload"};

class LockdownE2eTest : public CServiceTreeE2eTest {
protected:
    // Copies the planted library into the folder under each name.
    static bool Plant(const std::wstring& folder, const auto& names) {
        const std::wstring planted = TestProgramFolder() + L"\\helpers\\PlantedLibrary.dll";
        for (const wchar_t* name : names) {
            if (!::CopyFileW(planted.c_str(), (folder + L"\\" + name + L".dll").c_str(), FALSE)) {
                return false;
            }
        }
        return true;
    }

    // The names the planted library was loaded under.
    static std::vector<std::wstring> Markers(const std::wstring& folder) {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW entry;
        CFindHandle find(::FindFirstFileW((folder + L"\\*.dll").c_str(), &entry));
        for (bool more = static_cast<bool>(find); more; more = ::FindNextFileW(find.Get(), &entry)) {
            names.push_back(entry.cFileName);
        }
        return names;
    }
};

TEST_F(LockdownE2eTest, LibrariesPlantedBesideTheProgramAndInItsWorkingFolderNeverRun) {
    const std::wstring markers = TempFolder(L"markers"), work = TempFolder(L"work");
    ASSERT_TRUE(Plant(FolderOf(m_exe), kSystemLibraries));
    ASSERT_TRUE(Plant(work, kSystemLibraries) && Plant(work, kOwnLibraries));
    StartCompanion();

    // Only deskling, started now, inherits the marker folder; the planted library proves it leaves its marker.
    ::SetEnvironmentVariableW(L"DESKLING_PLANT_MARKERS", markers.c_str());
    ASSERT_TRUE(Plant(work, std::vector<const wchar_t*>{L"selfcheck"}));
    CModule(::LoadLibraryW((work + L"\\selfcheck.dll").c_str())).Reset();
    ASSERT_TRUE(::DeleteFileW((markers + L"\\selfcheck.dll").c_str())) << "the planted library leaves no marker";
    CChildProcess& deskling = Start(Quoted(m_exe) + L" /calendar /weather /news /tempmonitor", work.c_str());
    ::SetEnvironmentVariableW(L"DESKLING_PLANT_MARKERS", nullptr);
    for (const wchar_t* shown : {kCalendarWndClass, L"VexawpWeatherWndClass", L"VexawpNewsWndClass"}) {
        EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(WaitForWindow(shown, deskling.Id(), 0ms)); }, 10s))
            << shown;
    }
    EXPECT_TRUE(WaitForLog(L"weather first frame with data", 10s)) << ReadLog();
    EXPECT_TRUE(WaitForLog(L"news first frame with a title", 10s)) << ReadLog();
    EXPECT_TRUE(WaitForLog(L"[tempmonitor] offer shown:1", 10s)) << ReadLog();
    EXPECT_TRUE(Reported("news_show"));
    std::this_thread::sleep_for(1s);

    EXPECT_EQ(Markers(markers), std::vector<std::wstring>{}) << "planted libraries ran in deskling";
    EXPECT_TRUE(deskling.IsRunning());
}

// Links that point out of the data folder, made the way a user or another program on the machine can: Unix links
// under Wine. Wine 8.0 lists a link to a folder as a folder with FILE_ATTRIBUTE_REPARSE_POINT, yet opens it, with
// FILE_FLAG_OPEN_REPARSE_POINT or without, as the folder it points to; a link to a file is an ordinary file in every
// view. It can make neither junctions (FSCTL_SET_REPARSE_POINT answers ERROR_NOT_SUPPORTED) nor Windows symbolic
// links. Where a link cannot be removed as itself, it stays, with the folders holding it.
TEST_F(LockdownE2eTest, UninstallNeverLeavesTheDataFolderThroughALink) {
    const std::wstring outside = TempFolder(L"outside"), data = DataFolder();
    ASSERT_TRUE(EnsureFolder(outside + L"\\inner") && WriteTextFile(outside + L"\\inner\\keep.txt", "keep"));
    ASSERT_TRUE(WriteTextFile(outside + L"\\keep.txt", "keep"));
    ASSERT_TRUE(EnsureFolder(data + L"\\news") && WriteTextFile(data + L"\\news\\1.png", "png"));
    ASSERT_TRUE(WriteTextFile(data + L"\\deskling.ini", "[calendar]\r\nalpha=200\r\n"));
    const auto target = [&](const std::wstring& below) {
        const std::string unixPath = WineUnixPath(outside + below);
        return IsWine() ? std::wstring(unixPath.begin(), unixPath.end()) : outside + below;
    };
    const std::wstring folderLink = data + L"\\news\\folderlink", fileLink = data + L"\\filelink";
    // Under Wine the links outlive the uninstall; they go first when the test ends, then the harness takes the rest.
    const std::shared_ptr<void> removeLinks(nullptr, [&](void*) {
        CScratchFolder::RemoveLink(folderLink);
        CScratchFolder::RemoveLink(fileLink);
    });
    ASSERT_TRUE(CScratchFolder::MakeSymlink(folderLink, target(L""), true));
    ASSERT_TRUE(CScratchFolder::MakeSymlink(fileLink, target(L"\\keep.txt"), false));

    StartCompanion();
    CChildProcess& first = StartDeskling(L"/calendar");
    ASSERT_NE(WaitForMainWindow(first), nullptr) << ReadLog();
    EXPECT_TRUE(StartDeskling(L"/uninstall").WaitForExit(10000));
    EXPECT_TRUE(first.WaitForExit(5000)) << ReadLog();

    EXPECT_TRUE(PathExists(outside + L"\\keep.txt") && PathExists(outside + L"\\inner\\keep.txt"));
    EXPECT_FALSE(PathExists(data + L"\\deskling.ini"));
    EXPECT_FALSE(PathExists(data + L"\\news\\1.png"));
    EXPECT_EQ(PathExists(data), IsWine()) << "only links Wine cannot remove as themselves keep the folder";
}

} // namespace
} // namespace e2e
