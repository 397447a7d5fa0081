#include "app/base/SmartLogger.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <memory>
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

// Loggers appending at the same moment, each through its own handle as the processes of several instances
// do: every line arrives whole, after its logger's start block or another whole line, and none is lost to
// another logger's append.
TEST_F(SmartLoggerTest, LinesOfLoggersAppendingAtOnceAreNeitherTornNorLost) {
    SwitchOn();
    constexpr int kLoggers = 3, kThreadsEach = 2, kLines = 300;
    std::vector<std::unique_ptr<CSmartLogger>> loggers;
    for (int l = 0; l < kLoggers; ++l) {
        loggers.push_back(std::make_unique<CSmartLogger>(m_base));
    }
    std::atomic<bool> go{false};
    std::vector<std::thread> threads;
    for (int t = 0; t < kLoggers * kThreadsEach; ++t) {
        threads.emplace_back([&, t] {
            while (!go) {
                std::this_thread::yield();
            }
            for (int i = 0; i < kLines; ++i) {
                loggers[t / kThreadsEach]->Write(L"[tid:%d] line %d of %s", t % kThreadsEach, i,
                                                 L"0123456789012345678901234567890123456789");
            }
        });
    }
    go = true;
    for (std::thread& thread : threads) {
        thread.join();
    }
    loggers.clear();

    std::string log = Log();
    const std::regex startBlock(kStartBlock);
    EXPECT_EQ(std::distance(std::sregex_iterator(log.begin(), log.end(), startBlock), std::sregex_iterator()),
              kLoggers);
    log = std::regex_replace(log, startBlock, "");
    // Line by line, so a torn or interleaved line shows up as a mismatch.
    const std::string line = kStamp + R"(\[tid:\d\] line \d+ of 0123456789012345678901234567890123456789\r\n)";
    int lines = 0;
    for (size_t pos = 0, end = 0; pos < log.size(); pos = end + 2, ++lines) {
        end = log.find("\r\n", pos);
        ASSERT_TRUE(end != std::string::npos && Matches(log.substr(pos, end + 2 - pos), line)) << log.substr(pos, 200);
    }
    EXPECT_EQ(lines, kLoggers * kThreadsEach * kLines);
}

} // namespace
