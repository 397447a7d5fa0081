#include "app/SmartLogger.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "unit/app/ScratchFolder.h"

namespace {

// A fresh folder under the temp directory that stands in for "<application data>\brako".
class SmartLoggerTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_folder.IsCreated()); }

    void SwitchOn() {
        ::CreateDirectoryW((m_base + L"\\Log").c_str(), nullptr);
        ASSERT_TRUE(CScratchFolder::WriteFileText(SwitchPath(), ""));
    }
    std::wstring SwitchPath() const { return m_base + L"\\Log\\Vexadeskling.log.on"; }
    std::wstring LogPath() const { return m_base + L"\\Log\\Vexadeskling.log"; }
    // Read the way another program would while the logger may still hold the file.
    std::string ReadLog() const {
        std::ifstream in(LogPath().c_str(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    static bool Exists(const std::wstring& path) { return CScratchFolder::Exists(path); }

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
    EXPECT_FALSE(Exists(m_base + L"\\Log"));

    // The switch is read once: creating it later changes nothing for this logger.
    SwitchOn();
    logger.Write(L"[tid:%d] still not logged", 2);
    EXPECT_FALSE(Exists(LogPath()));
}

TEST_F(SmartLoggerTest, FirstLineOfAProcessFollowsItsStartBlock) {
    SwitchOn();
    {
        CSmartLogger first(m_base);
        ASSERT_TRUE(first.IsEnabled());
        EXPECT_EQ(first.GetLogPath(), LogPath());
        first.Write(L"[tid:%d] one", 11);
        first.Write(L"[tid:%d] two", 12);
    }
    // A second logger is what a second process has: it appends its own start block.
    CSmartLogger second(m_base);
    second.Write(L"[tid:%d] three", 13);

    const std::string line = kStamp;
    EXPECT_TRUE(Matches(ReadLog(), kStartBlock + line + R"(\[tid:11\] one\r\n)" + line + R"(\[tid:12\] two\r\n)" +
                                       kStartBlock + line + R"(\[tid:13\] three\r\n)"))
        << ReadLog();
}

TEST_F(SmartLoggerTest, MessagesAbove511CharactersAreDroppedWhole) {
    SwitchOn();
    CSmartLogger logger(m_base);
    const std::wstring fits(511, L'a');
    const std::wstring tooLong(512, L'b');
    logger.Write(L"%s", fits.c_str());
    logger.Write(L"%s", tooLong.c_str());
    logger.Write(L"%s%s", fits.c_str(), L"c");
    logger.Write(L"after");

    EXPECT_TRUE(Matches(ReadLog(), kStartBlock + kStamp + std::string(511, 'a') + "\r\n" + kStamp + "after\r\n"))
        << ReadLog();
}

TEST_F(SmartLoggerTest, LineEnds) {
    SwitchOn();
    CSmartLogger logger(m_base);
    logger.Write(L"ends with newline\n");
    logger.Write(L"two\nlines");
    // An empty message leaves only its time stamp, so the next line continues it.
    logger.Write(L"");
    logger.Write(L"continued");
    logger.Write(L"crlf\r\n");

    EXPECT_TRUE(Matches(ReadLog(), kStartBlock + kStamp + "ends with newline\r\n" + kStamp + "two\r\nlines\r\n" +
                                       kStamp + kStamp + "continued\r\n" + kStamp + "crlf\r\r\n"))
        << ReadLog();
}

TEST_F(SmartLoggerTest, TextIsWrittenInCodePage936) {
    SwitchOn();
    CSmartLogger logger(m_base);
    logger.Write(L"%s=%d", L"\u6e29\u5ea6", 42); // "温度"
    logger.Write(L"\u4e2d\u6587");               // "中文"

    const std::string log = ReadLog();
    EXPECT_NE(log.find("\xCE\xC2\xB6\xC8=42\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find("\xD6\xD0\xCE\xC4\r\n"), std::string::npos) << log;
}

TEST_F(SmartLoggerTest, PercentSignsInTheMessageAreKept) {
    SwitchOn();
    CSmartLogger logger(m_base);
    logger.Write(L"100%% %s", L"50%d %s %n");

    EXPECT_TRUE(Matches(ReadLog(), kStartBlock + kStamp + "100% 50%d %s %n\r\n")) << ReadLog();
}

TEST_F(SmartLoggerTest, UnopenableLogFileDropsLinesSilently) {
    SwitchOn();
    // A folder where the file should be makes every open fail.
    ASSERT_TRUE(::CreateDirectoryW(LogPath().c_str(), nullptr));
    CSmartLogger logger(m_base);
    logger.Write(L"lost");
    ::RemoveDirectoryW(LogPath().c_str());

    // The start block waits for the first write that reaches the file.
    logger.Write(L"kept");
    EXPECT_TRUE(Matches(ReadLog(), kStartBlock + kStamp + "kept\r\n")) << ReadLog();
}

TEST_F(SmartLoggerTest, MissingLogFolderIsCreated) {
    SwitchOn();
    CSmartLogger logger(m_base);
    ASSERT_TRUE(logger.IsEnabled());
    ::DeleteFileW(SwitchPath().c_str());
    ASSERT_TRUE(::RemoveDirectoryW((m_base + L"\\Log").c_str()));

    logger.Write(L"recreated");
    EXPECT_TRUE(Matches(ReadLog(), kStartBlock + kStamp + "recreated\r\n")) << ReadLog();
}

TEST_F(SmartLoggerTest, ConcurrentLinesNeverInterleave) {
    SwitchOn();
    CSmartLogger logger(m_base);
    constexpr int kThreads = 4;
    constexpr int kLines = 50;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&logger, t] {
            for (int i = 0; i < kLines; ++i) {
                logger.Write(L"[tid:%d] line %d of %s", t, i, L"0123456789012345678901234567890123456789");
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }

    const std::string log = ReadLog();
    std::smatch block;
    ASSERT_TRUE(std::regex_search(log, block, std::regex(kStartBlock), std::regex_constants::match_continuous));
    // Walk the file line by line, so a torn or interleaved line shows up as a mismatch.
    const std::regex line(kStamp + R"(\[tid:(\d)\] line (\d+) of 0123456789012345678901234567890123456789\r\n)");
    std::vector<int> next(kThreads, 0);
    auto pos = log.cbegin() + block.length();
    while (pos != log.cend()) {
        std::smatch match;
        ASSERT_TRUE(std::regex_search(pos, log.cend(), match, line, std::regex_constants::match_continuous))
            << std::string(pos, log.cend());
        const int thread = std::stoi(match[1]);
        EXPECT_EQ(std::stoi(match[2]), next[thread]++) << "lines of one thread keep their order";
        pos += match.length();
    }
    EXPECT_EQ(next, std::vector<int>(kThreads, kLines));
}

TEST(SmartLoggerProcessWide, UsesTheRoamingApplicationDataFolder) {
    const std::wstring base = CSmartLogger::GetDefaultBase();
    wchar_t appData[MAX_PATH] = {};
    ASSERT_TRUE(SUCCEEDED(::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, appData)));
    EXPECT_EQ(base, std::wstring(appData) + L"\\brako");
    ASSERT_NE(CSmartLogger::GetInstance(), nullptr);
    EXPECT_EQ(CSmartLogger::GetInstance()->GetLogPath(), base + L"\\Log\\Vexadeskling.log");
}

} // namespace
