#include "app/ScopedHandle.h"
#include "app/SystemUtils.h"
#include "unit/app/ScratchFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <tuple>
#include <vector>

namespace {

std::wstring TestsFolder() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.find_last_of(L"\\/"));
}

std::wstring Helper(const wchar_t* name) {
    return TestsFolder() + L"\\helpers\\" + name;
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

// Sets the default value of a key below HKEY_CLASSES_ROOT for one test and puts the old one back.
class CClassesValue {
public:
    CClassesValue(const wchar_t* subKey, const std::wstring& value) {
        ::RegCreateKeyExW(HKEY_CLASSES_ROOT, subKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, m_key.Receive(),
                          nullptr);
        wchar_t old[2048] = {};
        DWORD size = sizeof(old) - sizeof(wchar_t);
        m_hadValue = ::RegQueryValueExW(m_key.Get(), nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(old), &size) ==
                     ERROR_SUCCESS;
        m_old = old;
        m_set = Write(value);
    }
    ~CClassesValue() {
        if (m_hadValue) {
            Write(m_old);
        } else {
            ::RegDeleteValueW(m_key.Get(), nullptr);
        }
    }
    CClassesValue(const CClassesValue&) = delete;
    CClassesValue& operator=(const CClassesValue&) = delete;

    bool IsSet() const { return m_set; }

private:
    bool Write(const std::wstring& value) {
        return ::RegSetValueExW(m_key.Get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    }

    CRegKey m_key;
    std::wstring m_old;
    bool m_hadValue = false;
    bool m_set = false;
};

} // namespace

TEST(SystemUtilsTest, FileVersionTextReadsTheStringTableOrTheFixedNumbers) {
    const std::wstring probe = Helper(L"VersionProbe.dll");
    std::wstring text;
    ASSERT_TRUE(GetFileVersionTextFrom(probe.c_str(), true, &text));
    EXPECT_EQ(text, L"1.2.3.4") << "the string \"1, 2, 3, 4\" in dotted form";
    ASSERT_TRUE(GetFileVersionTextFrom(probe.c_str(), false, &text));
    EXPECT_EQ(text, L"5.6.7.8");
    ASSERT_TRUE(GetFileVersionText(probe.c_str(), &text));
    EXPECT_TRUE(text == L"1.2.3.4" || text == L"5.6.7.8") << Narrow(text);

    CScratchFolder scratch(L"version");
    ASSERT_TRUE(CScratchFolder::WriteFileText(scratch / L"plain.txt", "no resources here"));
    EXPECT_FALSE(GetFileVersionText((scratch / L"plain.txt").c_str(), &text));
    EXPECT_TRUE(text.empty());
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
    ASSERT_EQ(buffer.size(), kLimit - 1);
    EXPECT_EQ(buffer.front(), 'a');
    EXPECT_EQ(buffer.back(), 'z');
    EXPECT_FALSE(ReadWholeFile((scratch / L"limit").c_str(), &buffer)) << "exactly 5 MiB is refused";
    EXPECT_FALSE(ReadWholeFile((scratch / L"empty").c_str(), &buffer));
    EXPECT_FALSE(ReadWholeFile((scratch / L"missing").c_str(), &buffer));
}

TEST(SystemUtilsTest, OpenUrlStartsTheRegisteredBrowserWithTheAddress) {
    CScratchFolder scratch(L"browser");
    const std::wstring browser = L"\"" + Helper(L"FakeBrowser.exe") + L"\" ";
    const std::wstring address = L"http://127.0.0.1:9/news?id=3&from=deskling";

    // A command without "%1": the address follows after one blank.
    const std::wstring appended = browser + (scratch / L"appended.txt");
    {
        CClassesValue command(L"http\\shell\\open\\command", appended);
        ASSERT_TRUE(command.IsSet());
        ASSERT_TRUE(OpenUrl(address.c_str()));
        EXPECT_EQ(AwaitFile(scratch / L"appended.txt"), Narrow(appended + L" " + address));
    }
    // A command with "%1": the address takes its place.
    const std::wstring placed = browser + (scratch / L"placed.txt") + L" \"%1\" -new";
    {
        CClassesValue command(L"http\\shell\\open\\command", placed);
        ASSERT_TRUE(command.IsSet());
        ASSERT_TRUE(OpenUrl(address.c_str()));
        EXPECT_EQ(AwaitFile(scratch / L"placed.txt"),
                  Narrow(browser + (scratch / L"placed.txt") + L" \"" + address + L"\" -new"));
    }
    EXPECT_TRUE(OpenUrl(L""));
}

TEST(SystemUtilsTest, LaunchProcessResolvesARelativePathBesideTheModule) {
    CScratchFolder scratch(L"launch");
    const std::wstring record = scratch / L"launched.txt";
    ASSERT_TRUE(LaunchProcess(nullptr, L"helpers\\FakeBrowser.exe", record.c_str(), SW_HIDE, false, 0, false, true));
    EXPECT_EQ(AwaitFile(record), Narrow(L"\"" + Helper(L"FakeBrowser.exe") + L"\" " + record));
    EXPECT_FALSE(LaunchProcess(nullptr, L"helpers\\NoSuchProgram.exe", L"", SW_HIDE, false, 0, false, true));
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
    EXPECT_EQ(FindWallpaperBar(), nullptr);
    CWindowHandle fence = make(L"VexaDTFence");
    CWindowHandle switchBar = make(L"VexaDirectUICls_SwitchBar");
    ASSERT_TRUE(fence && switchBar);
    EXPECT_EQ(FindWallpaperBar(), nullptr) << "hidden bars do not count";
    ::ShowWindow(fence.Get(), SW_SHOWNOACTIVATE);
    EXPECT_EQ(FindWallpaperBar(), fence.Get());
    ::ShowWindow(switchBar.Get(), SW_SHOWNOACTIVATE);
    EXPECT_EQ(FindWallpaperBar(), switchBar.Get());
}

TEST(SystemUtilsTest, DesktopIconRectIsReadFromTheListViewOfAnotherProcess) {
    RECT rect = {};
    ASSERT_EQ(FindDesktopListView(), nullptr) << "this test needs a desktop without a shell";
    EXPECT_FALSE(GetDesktopIconRect(L"Vexa壁纸", &rect));

    CScratchFolder scratch(L"desktop");
    const std::wstring ready = scratch / L"ready.txt";
    std::wstring commandLine = L"\"" + Helper(L"FakeDesktop.exe") + L"\" " + ready + L" 回收站 此电脑 Vexa壁纸";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    ASSERT_TRUE(
        ::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info));
    CKernelHandle process(info.hProcess);
    CKernelHandle thread(info.hThread);
    RECT expected = {};
    const std::string reported = AwaitFile(ready);
    ASSERT_EQ(std::sscanf(reported.c_str(), "%ld %ld %ld %ld", &expected.left, &expected.top, &expected.right,
                          &expected.bottom),
              4)
        << "the fake desktop did not come up";

    HWND list = FindDesktopListView();
    ASSERT_NE(list, nullptr);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(list, &owner);
    EXPECT_EQ(owner, info.dwProcessId);
    EXPECT_TRUE(GetDesktopIconRect(L"VEXA壁纸", &rect)) << "captions compare without case";
    EXPECT_EQ(rect.left, expected.left);
    EXPECT_EQ(rect.top, expected.top);
    EXPECT_EQ(rect.right, expected.right);
    EXPECT_EQ(rect.bottom, expected.bottom);
    EXPECT_GT(rect.right, rect.left);
    EXPECT_FALSE(GetDesktopIconRect(L"Vexa", &rect)) << "a prefix is not a match";

    ::PostMessageW(::FindWindowW(L"Progman", L"Program Manager"), WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(process.Get(), 5000) != WAIT_OBJECT_0) {
        ::TerminateProcess(process.Get(), 1);
    }
}

TEST(SystemUtilsTest, RunAtMediumIntegrityStartsTheCommandWithOrWithoutAnExecutable) {
    CScratchFolder scratch(L"medium");
    const std::wstring program = Helper(L"FakeBrowser.exe");
    const std::wstring bare = scratch / L"bare.txt";
    const std::wstring named = scratch / L"named.txt";
    for (const auto& [executable, command, record] :
         {std::tuple<const wchar_t*, std::wstring, std::wstring>{nullptr, L"\"" + program + L"\" " + bare, bare},
          {program.c_str(), named, named}}) {
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION info = {};
        ASSERT_TRUE(RunAtMediumIntegrity(executable, command.c_str(), scratch.Path().c_str(), &startup, &info));
        CKernelHandle process(info.hProcess);
        CKernelHandle thread(info.hThread);
        EXPECT_EQ(AwaitFile(record), Narrow(L"\"" + program + L"\" " + record));
    }
}
