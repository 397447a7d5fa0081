#include "monitor/MonitorGauge.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct Centre {
    int x, y, r1, r2;
};
constexpr Centre kLarge{89, 89, 31, 85};
constexpr Centre kSmall{190, 135, 17, 50};

// The needle drawn at `angle` must run from the inner to the outer radius along that direction.
void ExpectNeedleAt(Gauge gauge, double angle) {
    const Centre c = gauge == Gauge::kLarge ? kLarge : kSmall;
    const NeedleLine line = NeedleFor(gauge, angle);
    const double radians = angle * 3.14159265 / 180;
    EXPECT_NEAR(line.x1, c.x + c.r1 * std::cos(radians), 1.0) << angle;
    EXPECT_NEAR(line.y1, c.y + c.r1 * std::sin(radians), 1.0) << angle;
    EXPECT_NEAR(line.x2, c.x + c.r2 * std::cos(radians), 1.0) << angle;
    EXPECT_NEAR(line.y2, c.y + c.r2 * std::sin(radians), 1.0) << angle;
}

SensorReadings With(std::initializer_list<int32_t> types) {
    SensorReadings readings;
    for (int32_t type : types) {
        readings[type] = SensorReading{type, 1, 40, L"x", 1, 2, 3};
    }
    return readings;
}

} // namespace

// CPU levels 80/90/100: each band has its colour and dial picture, the needle moves linearly inside the band
// and stops at level3 in the top band.
TEST(MonitorGaugeTest, BandsColoursAndNeedles) {
    const struct {
        Gauge gauge;
        uint32_t value;
        int band;
        uint32_t colour;
        int image;
        double angle;
    } rows[] = {
        {Gauge::kLarge, 0, 0, 0xFF9C00, 1082, 90},
        {Gauge::kLarge, 40, 0, 0xFF9C00, 1082, 90 + 225 * 0.5},
        {Gauge::kLarge, 79, 0, 0xFF9C00, 1082, 90 + 225 * 79.0 / 80},
        {Gauge::kLarge, 80, 1, 0x0193B8, 1086, 315},
        {Gauge::kLarge, 85, 1, 0x0193B8, 1086, 360},
        {Gauge::kLarge, 90, 2, 0x0000FF, 1087, 405},
        {Gauge::kLarge, 120, 2, 0x0000FF, 1087, 450},
        {Gauge::kLarge, 0xFFFFFFF6u, 2, 0x0000FF, 1087, 450},
        {Gauge::kSmall, 79, 0, 0xFF9C00, 1085, 258 + 147 * 79.0 / 80},
        {Gauge::kSmall, 80, 1, 0x0193B8, 1083, 405},
        {Gauge::kSmall, 120, 2, 0x0000FF, 1084, 512},
    };
    for (const auto& row : rows) {
        const GaugeBand band = GaugeBandFor(row.gauge, row.value, 80, 90, 100);
        EXPECT_EQ(band.band, row.band) << row.value;
        EXPECT_EQ(band.colour, row.colour) << row.value;
        EXPECT_EQ(band.image, row.image) << row.value;
        EXPECT_DOUBLE_EQ(band.angle, row.angle) << row.value;
        ExpectNeedleAt(row.gauge, band.angle);
    }
    // Equal levels give no range to move in: the needle stays at the band's start.
    EXPECT_DOUBLE_EQ(GaugeBandFor(Gauge::kLarge, 95, 80, 90, 90).angle, 405);
}

// No item twice, missing sensors replaced by available ones in priority order, the two sorted by that order;
// rate items stay.
TEST(MonitorGaugeTest, ChoiceRepair) {
    const struct {
        GaugeItems chosen;
        SensorReadings readings;
        GaugeItems repaired;
    } rows[] = {
        {{0, 0}, With({100, 101}), {100, 101}},
        {{101, 100}, With({100, 101}), {100, 101}},
        {{102, 102}, With({100, 101, 102}), {100, 102}},
        {{104, 0}, With({100, 103}), {100, 103}},
        {{kItemDownload, 0}, With({101, 104}), {kItemDownload, 101}},
        {{101, kItemUpload}, With({100}), {100, kItemUpload}},
        {{0, 0}, With({}), {0, 0}},
        {{0, 0}, With({104}), {104, 0}},
    };
    for (const auto& row : rows) {
        const GaugeItems repaired = RepairChoice(row.chosen, row.readings);
        EXPECT_EQ(repaired.item1, row.repaired.item1) << row.chosen.item1 << "," << row.chosen.item2;
        EXPECT_EQ(repaired.item2, row.repaired.item2) << row.chosen.item1 << "," << row.chosen.item2;
    }
}

// The settings rows are walked top to bottom and the first two checked win; fewer than two change nothing.
TEST(MonitorGaugeTest, SettingsTakeTheFirstTwoChecked) {
    GaugeItems items{7, 7};
    EXPECT_FALSE(FirstTwoChecked({false, false, false, true, false, false, false}, &items));
    EXPECT_EQ(items.item1, 7);
    EXPECT_TRUE(FirstTwoChecked({false, true, false, true, false, false, true}, &items));
    EXPECT_EQ(items.item1, 102);
    EXPECT_EQ(items.item2, 101);
    EXPECT_TRUE(FirstTwoChecked({false, false, false, false, false, true, true}, &items));
    EXPECT_EQ(items.item1, kItemDownload);
    EXPECT_EQ(items.item2, kItemUpload);
}
