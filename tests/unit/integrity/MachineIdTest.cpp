#include "integrity/MachineId.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>

TEST(MachineIdTest, IsStableHexTextThatDoesNotGiveAwayTheMachineGuid) {
    const std::wstring id = GetMachineId();
    EXPECT_EQ(id.size(), 64u);
    EXPECT_TRUE(std::all_of(id.begin(), id.end(), [](wchar_t c) { return std::iswxdigit(c) && !std::iswupper(c); }))
        << id;
    EXPECT_EQ(GetMachineId(), id);

    const std::wstring guid = ReadMachineGuid();
    ASSERT_FALSE(guid.empty()) << "the prefix has no machine GUID";
    std::wstring digits;
    for (const wchar_t c : guid) {
        if (std::iswxdigit(c)) {
            digits += static_cast<wchar_t>(std::towlower(c));
        }
    }
    // Not even a run of eight of its digits appears.
    for (size_t i = 0; i + 8 <= digits.size(); ++i) {
        EXPECT_EQ(id.find(digits.substr(i, 8)), std::wstring::npos) << i;
    }
}
