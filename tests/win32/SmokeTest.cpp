#include <gtest/gtest.h>
#include <windows.h>
TEST(Win32Smoke, InputRecordSize) { EXPECT_EQ(sizeof(INPUT), sizeof(void*) == 8 ? 40u : 28u); }
