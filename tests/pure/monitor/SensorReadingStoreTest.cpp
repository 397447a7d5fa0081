#include "monitor/SensorReadingStore.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {
using Action = CSensorReadingStore::InfoAction;
constexpr long kComplete = CSensorReadingStore::kCodeSetComplete;
} // namespace

// The first value of a known type creates its reading with the type's levels; later values replace only the
// value; unknown types leave nothing behind.
TEST(SensorReadingStoreTest, KnownTypesAreKeptWithTheirLevels) {
    CSensorReadingStore store;
    SensorReadings handOn;
    EXPECT_FALSE(store.OnTemperature(105, 40, &handOn));
    EXPECT_TRUE(store.GetReadings().empty());

    const struct {
        int32_t type;
        const wchar_t* name;
        int32_t level1, level2, level3;
    } rows[] = {{100, L"CPU", 80, 90, 100},
                {101, L"硬盘", 55, 65, 80},
                {102, L"显卡", 85, 95, 100},
                {103, L"主板", 75, 85, 100},
                {104, L"电池", 70, 80, 90}};
    for (const auto& row : rows) {
        store.OnTemperature(row.type, 30, &handOn);
        store.OnTemperature(row.type, 61, &handOn);
        const SensorReading reading = store.GetReadings().at(row.type);
        EXPECT_EQ(reading.type, row.type);
        EXPECT_EQ(reading.valid, 1);
        EXPECT_EQ(reading.value, 61);
        EXPECT_EQ(reading.name, row.name);
        EXPECT_EQ(store.NameOfType(row.type), row.name);
        EXPECT_EQ(store.GetSensorNames().at(row.name), row.type);
        EXPECT_EQ(reading.level1, row.level1);
        EXPECT_EQ(reading.level2, row.level2);
        EXPECT_EQ(reading.level3, row.level3);
    }
    EXPECT_EQ(store.GetReadings().size(), 5u);
    EXPECT_EQ(store.NameOfType(105), L"");
}

// Too few sensors is told at every complete set; two or more start the store once; values before the start are
// stored but not handed on, values after it hand on a copy of everything.
TEST(SensorReadingStoreTest, CompleteSetsStartTheStoreOnce) {
    CSensorReadingStore store;
    SensorReadings handOn;
    EXPECT_EQ(store.OnInfoReady(kComplete), Action::kNoTemperatures);
    EXPECT_FALSE(store.OnTemperature(100, 50, &handOn));
    EXPECT_EQ(store.OnInfoReady(kComplete), Action::kNoTemperatures);
    EXPECT_EQ(store.OnInfoReady(kComplete), Action::kNoTemperatures);
    EXPECT_FALSE(store.OnTemperature(101, 40, &handOn));
    EXPECT_TRUE(handOn.empty());
    EXPECT_FALSE(store.IsStarted());

    EXPECT_EQ(store.OnInfoReady(kComplete + 1), Action::kNone);
    EXPECT_FALSE(store.IsStarted());
    EXPECT_EQ(store.OnInfoReady(kComplete), Action::kTemperaturesReady);
    EXPECT_TRUE(store.IsStarted());
    EXPECT_EQ(store.OnInfoReady(kComplete), Action::kNone);

    EXPECT_TRUE(store.OnTemperature(100, 57, &handOn));
    ASSERT_EQ(handOn.size(), 2u);
    EXPECT_EQ(handOn.at(100).value, 57);
    EXPECT_EQ(handOn.at(101).value, 40);
    EXPECT_FALSE(store.OnTemperature(105, 1, &handOn));
}

// The tool's thread inserts and updates while the UI thread copies: every copy holds whole readings.
TEST(SensorReadingStoreTest, CopiesDuringUpdatesAreWhole) {
    CSensorReadingStore store;
    std::atomic<bool> done{false};
    std::thread tool([&] {
        SensorReadings handOn;
        for (int round = 0; round < 2000; ++round) {
            for (int32_t type = 100; type <= 104; ++type) {
                store.OnTemperature(type, round, &handOn);
            }
            store.OnInfoReady(kComplete);
        }
        done = true;
    });
    size_t copies = 0;
    while (!done || copies == 0) {
        for (const auto& [type, reading] : store.GetReadings()) {
            ASSERT_EQ(reading.type, type);
            ASSERT_EQ(reading.name, store.NameOfType(type));
        }
        ++copies;
    }
    tool.join();
    EXPECT_EQ(store.GetReadings().at(104).value, 1999);
}
