#include "integrity/MachineIdText.h"

#include <gtest/gtest.h>

TEST(MachineIdTextTest, OnlyTheDigitsOfTheIdentityCount) {
    const std::string plain = MachineIdHashInput(L"5f2b9c1e-0a4d-4b7e-9c3f-2d8e6a1b7c90");
    EXPECT_EQ(plain, "deskling-machine-id:5f2b9c1e-0a4d-4b7e-9c3f-2d8e6a1b7c90");
    EXPECT_EQ(MachineIdHashInput(L"{5F2B9C1E-0A4D-4B7E-9C3F-2D8E6A1B7C90}"), plain);
    EXPECT_EQ(MachineIdHashInput(L"  5f2b9c1e-0a4d-4b7e-9c3f-2d8e6a1b7c90\r\n"), plain);
    EXPECT_NE(MachineIdHashInput(L"5f2b9c1e-0a4d-4b7e-9c3f-2d8e6a1b7c91"), plain) << "another machine";
    EXPECT_EQ(MachineIdHashInput(L"{ - }"), "") << "no identity, no input";
    EXPECT_EQ(MachineIdHashInput(L"0"), "deskling-machine-id:0");
}
