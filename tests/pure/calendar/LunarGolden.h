#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#ifdef _WIN32
#include "e2e/E2eHarness.h"
#endif

// Reference calendar data from tools/gen-lunar-data, kept in tests/data and read once per run.

struct GoldenDate {
    int year, month, day;
};

// One lunar month: the Gregorian date of its first day, the lunar year it belongs to, its number, whether it is
// the leap month, its length and the sexagenary index (0 = jia-zi) of its first day.
struct GoldenMonth {
    int year, month, day, lunarYear, lunarMonth, leap, days, firstDayCycle;
};

// The rows of a file in tests/data, comment lines left out: `fields` integers each, separated by blanks or
// dashes, stored over a struct of as many ints. A missing file or a bad line fails the test.
template <typename Row> std::vector<Row> ReadGoldenFile(const char* name, size_t expectedRows) {
    constexpr int fields = sizeof(Row) / sizeof(int);
    const std::string path = std::string(DESKLING_TEST_DATA_DIR "/") + name;
#ifdef _WIN32
    FILE* file = _wfopen(e2e::WindowsPathOf(path).c_str(), L"r"); // the Unix path through its DOS name
#else
    FILE* file = std::fopen(path.c_str(), "r");
#endif
    std::vector<Row> rows;
    if (!file) {
        ADD_FAILURE() << "cannot open " << path;
        return rows;
    }
    for (char line[128]; std::fgets(line, sizeof line, file);) {
        if (line[0] == '#') {
            continue;
        }
        std::replace(line, line + std::strlen(line), '-', ' ');
        std::istringstream in(line);
        int values[fields] = {}, count = 0;
        while (count < fields && in >> values[count]) {
            ++count;
        }
        EXPECT_EQ(count, fields) << name << ": bad line " << line;
        rows.push_back(Row{});
        std::memcpy(&rows.back(), values, sizeof values);
    }
    std::fclose(file);
    EXPECT_EQ(rows.size(), expectedRows) << name;
    return rows;
}

// Every lunar month that has a day in 1902-01-01 .. 2099-12-31, in order.
inline const std::vector<GoldenMonth>& GoldenMonths() {
    static const std::vector<GoldenMonth> months = ReadGoldenFile<GoldenMonth>("lunar-months.txt", 2450);
    return months;
}

// Gregorian date of the lunar new year, lunar years 1901 .. 2101.
inline const std::vector<GoldenDate>& GoldenNewYears() {
    static const std::vector<GoldenDate> newYears = ReadGoldenFile<GoldenDate>("lunar-new-years.txt", 201);
    return newYears;
}
