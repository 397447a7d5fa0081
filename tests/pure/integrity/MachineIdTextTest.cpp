#include "integrity/MachineIdText.h"

#include <gtest/gtest.h>

TEST(MachineIdTextTest, TheStoredSpellingOfTheGuidDoesNotMatter) {
    const std::string plain = MachineIdHashInput(L"5f2b9c1e-0a4d-4b7e-9c3f-2d8e6a1b7c90");
    EXPECT_EQ(plain, "deskling-machine-id:5f2b9c1e-0a4d-4b7e-9c3f-2d8e6a1b7c90");
    EXPECT_EQ(MachineIdHashInput(L"{5F2B9C1E-0A4D-4B7E-9C3F-2D8E6A1B7C90}"), plain);
    EXPECT_EQ(MachineIdHashInput(L"  5f2b9c1e-0a4d-4b7e-9c3f-2d8e6a1b7c90\r\n"), plain);
    EXPECT_NE(MachineIdHashInput(L"5f2b9c1e-0a4d-4b7e-9c3f-2d8e6a1b7c91"), plain) << "another machine";
}

TEST(MachineIdTextTest, NoIdentityGivesNoInput) {
    EXPECT_EQ(MachineIdHashInput(L""), "");
    EXPECT_EQ(MachineIdHashInput(L"{ - }"), "");
    EXPECT_EQ(MachineIdHashInput(L"0"), "deskling-machine-id:0");
}

TEST(MachineIdTextTest, HexTextIsTwoLowerCaseDigitsPerByte) {
    const uint8_t bytes[] = {0x00, 0x0F, 0xA0, 0xFF, 0x5C};
    EXPECT_EQ(HexText(bytes), L"000fa0ff5c");
    EXPECT_EQ(HexText({}), L"");
}
