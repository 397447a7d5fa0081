#include "app/base/FileSystem.h"
#include "app/base/ScopedHandle.h"
#include "app/SystemUtils.h"
#include "unit/app/ScratchFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A helper program or library built beside the test program.
std::wstring Helper(const wchar_t* name) {
    return TestProgramFolder() + L"\\helpers\\" + name;
}

std::string Narrow(const std::wstring& text) {
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(bytes > 0 ? bytes - 1 : 0, '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), bytes, nullptr, nullptr);
    return out;
}

// Waits up to ten seconds for a helper's output file and returns its text.
std::string AwaitFile(const std::wstring& path) {
    for (int i = 0; i < 200 && !CScratchFolder::Exists(path); ++i) {
        ::Sleep(50);
    }
    return CScratchFolder::ReadFileText(path);
}

} // namespace

TEST(SystemUtilsTest, FileVersionTextReadsTheStringTableOrTheFixedNumbers) {
    const std::wstring probe = Helper(L"VersionProbe.dll");
    std::wstring table, fixed, chosen;
    ASSERT_TRUE(GetFileVersionTextFrom(probe.c_str(), true, &table));
    ASSERT_TRUE(GetFileVersionTextFrom(probe.c_str(), false, &fixed));
    ASSERT_TRUE(GetFileVersionText(probe.c_str(), &chosen));
    EXPECT_EQ(table, L"1.2.3.4") << "the string \"1, 2, 3, 4\" in dotted form";
    EXPECT_EQ(fixed, L"5.6.7.8");
    EXPECT_TRUE(chosen == table || chosen == fixed) << Narrow(chosen);

    CScratchFolder scratch(L"version");
    ASSERT_TRUE(CScratchFolder::WriteFileText(scratch / L"plain.txt", "no resources here"));
    EXPECT_FALSE(GetFileVersionText((scratch / L"plain.txt").c_str(), &chosen));
    EXPECT_TRUE(chosen.empty());
}

TEST(SystemUtilsTest, ReadWholeFileTakesFilesFromOneByteToJustUnderFiveMegabytes) {
    CScratchFolder scratch(L"readwhole");
    constexpr size_t kLimit = 5242880;
    std::string largest(kLimit - 1, 'a');
    largest.back() = 'z';
    ASSERT_TRUE(CScratchFolder::WriteFileText(scratch / L"largest", largest));
    ASSERT_TRUE(CScratchFolder::WriteFileText(scratch / L"limit", std::string(kLimit, 'b')));
    ASSERT_TRUE(CScratchFolder::WriteFileText(scratch / L"empty", ""));

    std::vector<char> buffer;
    ASSERT_TRUE(ReadWholeFile((scratch / L"largest").c_str(), &buffer));
    EXPECT_TRUE(std::string(buffer.begin(), buffer.end()) == largest);
    for (const wchar_t* refused : {L"limit", L"empty", L"missing"}) {
        EXPECT_FALSE(ReadWholeFile((scratch / refused).c_str(), &buffer)) << Narrow(refused);
    }
}

// Each way of starting a program really starts the recording fake browser; opening an address through the
// browser's command is checked end to end by the news widget's click.
TEST(SystemUtilsTest, ProgramsStartBesideTheModuleAndAtMediumIntegrity) {
    CScratchFolder scratch(L"launch");
    const std::wstring program = L"\"" + Helper(L"StandInBrowser.exe") + L"\" ";
    const std::wstring launched = scratch / L"launched.txt", medium = scratch / L"medium.txt";
    ASSERT_TRUE(
        LaunchProcess(nullptr, L"helpers\\StandInBrowser.exe", launched.c_str(), SW_HIDE, false, 0, false, true));
    EXPECT_EQ(AwaitFile(launched), Narrow(program + launched));
    EXPECT_FALSE(LaunchProcess(nullptr, L"helpers\\NoSuchProgram.exe", L"", SW_HIDE, false, 0, false, true));

    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    ASSERT_TRUE(RunAtMediumIntegrity(Helper(L"StandInBrowser.exe").c_str(), medium.c_str(), scratch.Path().c_str(),
                                     &startup, &info));
    CKernelHandle process(info.hProcess), thread(info.hThread);
    EXPECT_EQ(AwaitFile(medium), Narrow(program + medium));
}

TEST(SystemUtilsTest, WallpaperBarIsTheVisibleSwitchBarElseTheVisibleFence) {
    WNDCLASSW barClass = {};
    barClass.lpfnWndProc = ::DefWindowProcW;
    barClass.hInstance = ::GetModuleHandleW(nullptr);
    barClass.lpszClassName = L"VexaDirectUICls";
    ::RegisterClassW(&barClass);
    auto make = [&](const wchar_t* title) {
        return CWindowHandle(::CreateWindowExW(WS_EX_TOOLWINDOW, L"VexaDirectUICls", title, WS_POPUP, 0, 0, 10, 10,
                                               nullptr, nullptr, barClass.hInstance, nullptr));
    };
    CWindowHandle fence = make(L"VexaDTFence");
    CWindowHandle switchBar = make(L"VexaDirectUICls_SwitchBar");
    ASSERT_TRUE(fence && switchBar);
    EXPECT_EQ(FindWallpaperBar(), nullptr) << "hidden bars do not count";
    ::ShowWindow(fence.Get(), SW_SHOWNOACTIVATE);
    EXPECT_EQ(FindWallpaperBar(), fence.Get());
    ::ShowWindow(switchBar.Get(), SW_SHOWNOACTIVATE);
    EXPECT_EQ(FindWallpaperBar(), switchBar.Get());
}
