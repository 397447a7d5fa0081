#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

#include "LunarGoldenGlyphs.h"

// Reference calendar data from tools/gen-lunar-data, kept in tests/data and read once per run.

struct GoldenDate {
    int year;
    int month;
    int day;
};

// One lunar month: the Gregorian date of its first day, the lunar year it belongs to, its number, whether it is
// the leap month, its length and the sexagenary index (0 = jia-zi) of its first day.
struct GoldenMonth {
    int year;
    int month;
    int day;
    int lunarYear;
    int lunarMonth;
    int leap;
    int days;
    int firstDayCycle;
};

// The source folder is a Unix path; under Wine it is opened through its DOS name.
inline FILE* OpenGoldenFile(const char* name) {
    const std::string path = std::string(DESKLING_TEST_DATA_DIR "/") + name;
#ifdef _WIN32
    using ToDos = WCHAR*(CDECL*)(const char*);
    auto toDos = reinterpret_cast<ToDos>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
    if (WCHAR* dosName = toDos ? toDos(path.c_str()) : nullptr) {
        FILE* file = _wfopen(dosName, L"r");
        ::HeapFree(::GetProcessHeap(), 0, dosName);
        return file;
    }
#endif
    return std::fopen(path.c_str(), "r");
}

// Lines of `name` that are not comments, each parsed by `parse`; a missing file or a bad line fails the test.
template <typename T, typename Parse>
std::vector<T> ReadGoldenFile(const char* name, size_t expectedCount, Parse parse) {
    std::vector<T> rows;
    FILE* file = OpenGoldenFile(name);
    if (!file) {
        ADD_FAILURE() << "cannot open " << DESKLING_TEST_DATA_DIR << "/" << name;
        return rows;
    }
    char line[128];
    while (std::fgets(line, sizeof line, file)) {
        T row{};
        if (line[0] != '#' && !parse(line, row)) {
            ADD_FAILURE() << name << ": bad line " << line;
        } else if (line[0] != '#') {
            rows.push_back(row);
        }
    }
    std::fclose(file);
    EXPECT_EQ(rows.size(), expectedCount) << name;
    return rows;
}

// Every lunar month that has a day in 1902-01-01 .. 2099-12-31, in order.
inline const std::vector<GoldenMonth>& GoldenMonths() {
    static const std::vector<GoldenMonth> months =
        ReadGoldenFile<GoldenMonth>("lunar-months.txt", 2450, [](const char* line, GoldenMonth& m) {
            return std::sscanf(line, "%d-%d-%d %d %d %d %d %d", &m.year, &m.month, &m.day, &m.lunarYear, &m.lunarMonth,
                               &m.leap, &m.days, &m.firstDayCycle) == 8;
        });
    return months;
}

// Gregorian date of the lunar new year, lunar years 1901 .. 2101.
inline const std::vector<GoldenDate>& GoldenNewYears() {
    static const std::vector<GoldenDate> newYears =
        ReadGoldenFile<GoldenDate>("lunar-new-years.txt", 201, [](const char* line, GoldenDate& d) {
            return std::sscanf(line, "%d-%d-%d", &d.year, &d.month, &d.day) == 3;
        });
    return newYears;
}
