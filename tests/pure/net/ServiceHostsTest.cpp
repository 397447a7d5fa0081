#include "net/ServiceHosts.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <cwchar>
#include <string>
#include <vector>

TEST(ServiceHostsTest, EveryKeyOfTheHostsSectionIsReadFromTheFile) {
    const std::filesystem::path file = std::filesystem::temp_directory_path() / "deskling-services-test.ini";
    std::ofstream(file, std::ios::binary) << "\xEF\xBB\xBF; comment\r\n"
                                             "[other]\r\nstats=http://wrong.example\r\n"
                                             "[ Hosts ]\r\n"
                                             "weather_cdn = http://cdn.example:81\r\n"
                                             "WEATHER_ORIGIN=HTTPS://origin.example/\r\n"
                                             "static_cdn=http://static.example\n"
                                             "wallpaper=http://wall.example\n"
                                             "stats=http://stats.example\n"
                                             "tool_download=http://tools.example/dl\n";
    CServiceHosts hosts;
    EXPECT_TRUE(hosts.Load(file));
    std::filesystem::remove(file);
    EXPECT_EQ(hosts.WeatherCdn(), L"http://cdn.example:81");
    EXPECT_EQ(hosts.WeatherOrigin(), L"https://origin.example") << "the scheme in lower case, no trailing slash";
    EXPECT_EQ(hosts.StaticCdn(), L"http://static.example");
    EXPECT_EQ(hosts.Wallpaper(), L"http://wall.example");
    EXPECT_EQ(hosts.Stats(), L"http://stats.example");
    EXPECT_EQ(hosts.ToolDownload(), L"http://tools.example/dl");
    EXPECT_FALSE(CServiceHosts().Load(file));
}

TEST(ServiceHostsTest, UnusableValuesAndMissingKeysKeepTheDefaults) {
    CServiceHosts hosts;
    hosts.Parse("[hosts]\n"
                "weather_cdn=\n"
                "weather_origin=ftp://files.example\n"
                "static_cdn=http://\n"
                "wallpaper=http://two words.example\n"
                "stats=http://\xE4\xB8\xAD.example\n"
                "tool_download\n");
    for (const std::wstring* host : {&hosts.WeatherCdn(), &hosts.WeatherOrigin(), &hosts.StaticCdn(),
                                     &hosts.Wallpaper(), &hosts.Stats(), &hosts.ToolDownload()}) {
        EXPECT_EQ(*host, CServiceHosts::kDefaultBase);
    }
    // Each refusal names its key, so that the log can tell which setting did not apply.
    const std::vector<std::wstring>& unusable = hosts.Unusable();
    ASSERT_EQ(unusable.size(), 5u);
    const wchar_t* keys[] = {L"weather_cdn: ", L"weather_origin: ", L"static_cdn: ", L"wallpaper: ", L"stats: "};
    for (size_t i = 0; i < unusable.size(); ++i) {
        EXPECT_EQ(unusable[i].rfind(keys[i], 0), 0u) << unusable[i];
        EXPECT_GT(unusable[i].size(), std::wcslen(keys[i])) << "no reason given";
    }
}
