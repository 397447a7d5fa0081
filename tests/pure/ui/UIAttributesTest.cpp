#include <gtest/gtest.h>

#include <string>

#include "ui/UIAttributes.h"

namespace {

TEST(UIAttributes, RectsAndSizes) {
    const struct {
        const wchar_t* text;
        bool ok;
        UIRect rect;
    } cases[] = {
        {L"20,80,109,30", true, {20, 80, 109, 30}},
        {L" -5 , 0,\t7 ,1 ", true, {-5, 0, 7, 1}},
        {L"0,0,0,0", true, {0, 0, 0, 0}},
        {L"1,2,3", false, {}},
        {L"1,2,3,4,5", false, {}},
        {L"1,2,-3,4", false, {}},
        {L"1,,3,4", false, {}},
        {L"1,2,3,4x", false, {}},
        {L"2147483648,0,1,1", false, {}},
        {L"-2147483648,0,1,1", true, {-2147483647 - 1, 0, 1, 1}},
        {L"", false, {}},
        {L"1 2,3,4,5", false, {}},
    };
    for (const auto& c : cases) {
        UIRect rect{9, 9, 9, 9};
        EXPECT_EQ(ParseUIRect(c.text, rect), c.ok) << c.text;
        const UIRect expected = c.ok ? c.rect : UIRect{9, 9, 9, 9};
        EXPECT_EQ(std::tie(rect.x, rect.y, rect.width, rect.height),
                  std::tie(expected.x, expected.y, expected.width, expected.height))
            << c.text;
    }
    int width = 7, height = 7;
    EXPECT_TRUE(ParseUISize(L"389,196", width, height));
    EXPECT_EQ(width * 1000 + height, 389196);
    for (const wchar_t* bad : {L"389", L"-1,2", L"1,2,3", L"a,b"}) {
        EXPECT_FALSE(ParseUISize(bad, width, height)) << bad;
        EXPECT_EQ(width * 1000 + height, 389196) << bad;
    }
}

TEST(UIAttributes, ColoursIntegersFlagsAndAlignment) {
    const std::pair<const wchar_t*, uint32_t> colours[] = {
        {L"#3A8EE6", 0xFF3A8EE6}, {L"#f21e2226", 0xF21E2226}, {L"#00000000", 0}, {L" #FFFFFF ", 0xFFFFFFFF}};
    for (const auto& [text, argb] : colours) {
        uint32_t value = 1;
        EXPECT_TRUE(ParseUIColor(text, value)) << text;
        EXPECT_EQ(value, argb) << text;
    }
    for (const wchar_t* bad : {L"3A8EE6", L"#3A8EE", L"#3A8EE6F", L"#GGGGGG", L"#", L"0xFF3A8EE6"}) {
        uint32_t value = 1;
        EXPECT_FALSE(ParseUIColor(bad, value)) << bad;
        EXPECT_EQ(value, 1u) << bad;
    }
    int number = 5;
    EXPECT_TRUE(ParseUIInt(L"12", 6, 72, number));
    EXPECT_EQ(number, 12);
    for (const wchar_t* bad : {L"5", L"73", L"", L"1e2", L"+12", L"-"}) {
        EXPECT_FALSE(ParseUIInt(bad, 6, 72, number)) << bad;
        EXPECT_EQ(number, 12) << bad;
    }
    bool flag = false;
    EXPECT_TRUE(ParseUIBool(L"true", flag) && flag);
    EXPECT_TRUE(ParseUIBool(L"false", flag));
    EXPECT_FALSE(flag);
    EXPECT_FALSE(ParseUIBool(L"TRUE", flag) || ParseUIBool(L"1", flag));
    const std::pair<const wchar_t*, UIAlign> aligns[] = {
        {L"left", UIAlign::Left}, {L"center", UIAlign::Center}, {L"right", UIAlign::Right}};
    for (const auto& [text, align] : aligns) {
        UIAlign value = UIAlign::Right;
        EXPECT_TRUE(ParseUIAlign(text, value) && value == align) << text;
    }
    UIAlign value = UIAlign::Center;
    EXPECT_FALSE(ParseUIAlign(L"middle", value));
    EXPECT_EQ(value, UIAlign::Center);
}

} // namespace
