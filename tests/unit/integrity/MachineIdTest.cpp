#include "integrity/MachineId.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>

namespace {

std::wstring Lower(std::wstring text) {
    std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) { return std::towlower(c); });
    return text;
}

} // namespace

TEST(MachineIdTest, IsStableShortHexText) {
    const std::wstring id = GetMachineId();
    ASSERT_FALSE(id.empty());
    EXPECT_LE(id.size(), 255u);
    EXPECT_EQ(id.size(), 64u);
    EXPECT_TRUE(std::all_of(id.begin(), id.end(), [](wchar_t c) { return std::iswxdigit(c) && !std::iswupper(c); }))
        << id;
    EXPECT_EQ(GetMachineId(), id);
}

TEST(MachineIdTest, DoesNotGiveAwayTheMachineGuid) {
    const std::wstring guid = ReadMachineGuid();
    ASSERT_FALSE(guid.empty()) << "the prefix has no machine GUID";
    const std::wstring id = GetMachineId();
    std::wstring digits;
    std::copy_if(guid.begin(), guid.end(), std::back_inserter(digits), [](wchar_t c) { return std::iswxdigit(c); });
    // Not even a run of eight of its digits appears.
    for (size_t i = 0; i + 8 <= digits.size(); ++i) {
        EXPECT_EQ(id.find(Lower(digits.substr(i, 8))), std::wstring::npos) << i;
    }
}
