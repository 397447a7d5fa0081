#include "app/base/SmartLogger.h"
#include "app/base/ScopedHandle.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "unit/app/ScratchFolder.h"

namespace {

// A scratch folder that stands in for "<application data>\brako".
class SmartLoggerTest : public ::testing::Test {
protected:
    void SwitchOn() {
        ::CreateDirectoryW((m_base + L"\\Log").c_str(), nullptr);
        ASSERT_TRUE(CScratchFolder::WriteFileText(SwitchPath(), ""));
    }
    std::wstring SwitchPath() const { return m_base + L"\\Log\\Vexadeskling.log.on"; }
    std::wstring LogPath() const { return m_base + L"\\Log\\Vexadeskling.log"; }
    std::string Log() const { return CScratchFolder::ReadFileText(LogPath()); }

    CScratchFolder m_folder{L"logger"};
    const std::wstring m_base = m_folder.Path();
};

// "YYYY-MM-DD hh:mm:ss " as the file holds it.
const std::string kStamp = R"(\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2} )";
const std::string kStartBlock = "\r\r\n================== Start Log:" + kStamp + " ==================\r\n";

bool Matches(const std::string& text, const std::string& pattern) {
    return std::regex_match(text, std::regex(pattern));
}

TEST_F(SmartLoggerTest, WithoutSwitchFileNothingIsCreated) {
    CSmartLogger logger(m_base);
    EXPECT_FALSE(logger.IsEnabled());
    logger.Write(L"[tid:%d] not logged", 1);
    EXPECT_FALSE(CScratchFolder::Exists(m_base + L"\\Log"));

    // The switch is read once: creating it later changes nothing for this logger.
    SwitchOn();
    logger.Write(L"[tid:%d] still not logged", 2);
    EXPECT_FALSE(CScratchFolder::Exists(LogPath()));
}

TEST_F(SmartLoggerTest, EachProcessStartsABlockAndEveryLineIsStampedGbkTextOf511CharactersAtMost) {
    SwitchOn();
    const std::wstring fits(511, L'a');
    {
        CSmartLogger first(m_base);
        first.Write(L"[tid:%d] one", 11);
        first.Write(L"%s", fits.c_str());
        first.Write(L"%s", std::wstring(512, L'b').c_str());
        first.Write(L"%s%s", fits.c_str(), L"c");
        first.Write(L"ends with newline\n");
        first.Write(L"two\nlines");
        // An empty message leaves only its time stamp, so the next line continues it.
        first.Write(L"");
        first.Write(L"crlf\r\n");
        first.Write(L"100%% %s", L"50%d %s %n");
        first.Write(L"%s=%d", L"\u6e29\u5ea6", 42); // "温度" in code page 936
    }
    // A second logger is what a second process has: it appends its own start block.
    CSmartLogger second(m_base);
    second.Write(L"[tid:%d] three", 13);

    const std::string& s = kStamp;
    EXPECT_TRUE(Matches(Log(), kStartBlock + s + R"(\[tid:11\] one\r\n)" + s + std::string(511, 'a') + "\r\n" + s +
                                   "ends with newline\r\n" + s + "two\r\nlines\r\n" + s + s + "crlf\r\r\n" + s +
                                   "100% 50%d %s %n\r\n" + s + "\xCE\xC2\xB6\xC8=42\r\n" + kStartBlock + s +
                                   R"(\[tid:13\] three\r\n)"))
        << Log();
}

TEST_F(SmartLoggerTest, AFullLogMovesAsideAndANewOneBegins) {
    SwitchOn();
    const std::string full(4 * 1024 * 1024, 'x');
    ASSERT_TRUE(CScratchFolder::WriteFileText(LogPath(), full));
    ASSERT_TRUE(CScratchFolder::WriteFileText(LogPath() + L".1", "older"));
    CSmartLogger logger(m_base);
    logger.Write(L"after the roll");
    EXPECT_TRUE(Matches(Log(), kStartBlock + kStamp + "after the roll\r\n")) << Log().size();
    EXPECT_EQ(CScratchFolder::ReadFileText(LogPath() + L".1"), full);
}

TEST_F(SmartLoggerTest, UnopenableLogFileDropsLinesSilentlyAndAMissingFolderIsMadeAgain) {
    SwitchOn();
    // A folder where the file should be makes every open fail.
    ASSERT_TRUE(::CreateDirectoryW(LogPath().c_str(), nullptr));
    CSmartLogger logger(m_base);
    logger.Write(L"lost");
    ASSERT_TRUE(::RemoveDirectoryW(LogPath().c_str()));
    ASSERT_TRUE(::DeleteFileW(SwitchPath().c_str()));
    ASSERT_TRUE(::RemoveDirectoryW((m_base + L"\\Log").c_str()));

    // The start block waits for the first write that reaches the file.
    logger.Write(L"kept");
    EXPECT_TRUE(Matches(Log(), kStartBlock + kStamp + "kept\r\n")) << Log();
}

constexpr wchar_t kChildBaseVariable[] = L"DESKLING_LOGGER_CHILD_BASE";
// Each child reports ready, and the parent sets go once all are, so their appends overlap.
constexpr wchar_t kChildReady[] = L"Local\\DesklingLoggerTestReady";
constexpr wchar_t kChildrenGo[] = L"Local\\DesklingLoggerTestGo";
constexpr int kChildren = 3, kChildThreads = 2, kChildLines = 300;

// Runs only as a child of the test below: two threads append lines to the log under the base it is given.
TEST(SmartLoggerChild, DISABLED_AppendLines) {
    wchar_t base[MAX_PATH] = {};
    if (!::GetEnvironmentVariableW(kChildBaseVariable, base, MAX_PATH)) {
        GTEST_SKIP();
    }
    CSmartLogger logger(base);
    CKernelHandle go(::OpenEventW(SYNCHRONIZE, FALSE, kChildrenGo));
    CKernelHandle ready(::OpenSemaphoreW(SEMAPHORE_MODIFY_STATE, FALSE, kChildReady));
    ASSERT_TRUE(go && ready);
    ::ReleaseSemaphore(ready.Get(), 1, nullptr);
    ASSERT_EQ(::WaitForSingleObject(go.Get(), 30000), WAIT_OBJECT_0);
    std::vector<std::thread> threads;
    for (int t = 0; t < kChildThreads; ++t) {
        threads.emplace_back([&logger, t] {
            for (int i = 0; i < kChildLines; ++i) {
                logger.Write(L"[tid:%d] line %d of %s", t, i, L"0123456789012345678901234567890123456789");
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
}

// Processes logging at the same moment: every line arrives whole, after its process's start block or
// another whole line, and none is lost to another process's append.
TEST_F(SmartLoggerTest, LinesOfProcessesLoggingAtOnceAreNeitherTornNorLost) {
    SwitchOn();
    CKernelHandle go(::CreateEventW(nullptr, TRUE, FALSE, kChildrenGo));
    CKernelHandle ready(::CreateSemaphoreW(nullptr, 0, kChildren, kChildReady));
    ASSERT_TRUE(go && ready);
    ASSERT_TRUE(::SetEnvironmentVariableW(kChildBaseVariable, m_base.c_str()));
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::vector<HANDLE> children;
    for (int c = 0; c < kChildren; ++c) {
        std::wstring command =
            std::wstring(L"\"") + self +
            L"\" --gtest_filter=SmartLoggerChild.DISABLED_AppendLines --gtest_also_run_disabled_tests";
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process{};
        if (::CreateProcessW(self, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
            ::CloseHandle(process.hThread);
            children.push_back(process.hProcess);
        }
    }
    ::SetEnvironmentVariableW(kChildBaseVariable, nullptr);
    ASSERT_EQ(children.size(), static_cast<size_t>(kChildren));
    for (int c = 0; c < kChildren; ++c) {
        EXPECT_EQ(::WaitForSingleObject(ready.Get(), 30000), WAIT_OBJECT_0);
    }
    ::SetEvent(go.Get());
    EXPECT_EQ(::WaitForMultipleObjects(kChildren, children.data(), TRUE, 60000), WAIT_OBJECT_0);
    for (HANDLE child : children) {
        ::CloseHandle(child);
    }

    std::string log = Log();
    const std::regex startBlock(kStartBlock);
    EXPECT_EQ(std::distance(std::sregex_iterator(log.begin(), log.end(), startBlock), std::sregex_iterator()),
              kChildren);
    log = std::regex_replace(log, startBlock, "");
    // Line by line, so a torn or interleaved line shows up as a mismatch.
    const std::string line = kStamp + R"(\[tid:\d\] line \d+ of 0123456789012345678901234567890123456789\r\n)";
    int lines = 0;
    for (size_t pos = 0, end = 0; pos < log.size(); pos = end + 2, ++lines) {
        end = log.find("\r\n", pos);
        ASSERT_TRUE(end != std::string::npos && Matches(log.substr(pos, end + 2 - pos), line)) << log.substr(pos, 200);
    }
    EXPECT_EQ(lines, kChildren * kChildThreads * kChildLines);
}

} // namespace
