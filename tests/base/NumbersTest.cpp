#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "base/Numbers.h"

using namespace kiv;

TEST(Numbers, IntegersFollowTheCRules)
{
    EXPECT_EQ(ParseInt("  42abc"), 42);
    EXPECT_EQ(ParseInt("\t-7"), -7);
    EXPECT_EQ(ParseInt("+5"), 5);
    EXPECT_EQ(ParseInt("abc"), 0);
    EXPECT_EQ(ParseInt(""), 0);
    EXPECT_EQ(ParseInt("- 5"), 0);
    EXPECT_EQ(ParseInt("99999999999999999999"), 2147483647);
    EXPECT_EQ(ParseInt("-99999999999999999999"), -2147483647 - 1);
}

TEST(Numbers, RealsAreDecimalOnly)
{
    EXPECT_DOUBLE_EQ(ParseReal(" 1.5e3x"), 1500.0);
    EXPECT_DOUBLE_EQ(ParseReal("-.25"), -0.25);
    EXPECT_DOUBLE_EQ(ParseReal("7."), 7.0);
    EXPECT_DOUBLE_EQ(ParseReal("2e"), 2.0);
    EXPECT_EQ(ParseReal("0x10"), 0.0);
    EXPECT_EQ(ParseReal("inf"), 0.0);
    EXPECT_EQ(ParseReal("nan"), 0.0);
    EXPECT_EQ(ParseReal("."), 0.0);
    EXPECT_TRUE(std::isinf(ParseReal("1e999")));
    double value = -1;
    EXPECT_EQ(ScanReal("-.", value), 0u);
    EXPECT_EQ(value, -1);
    EXPECT_EQ(ScanReal("12.5e-1;", value), 7u);
    EXPECT_DOUBLE_EQ(value, 1.25);
    std::string longNumber = "1" + std::string(300, '0') + ".0";
    EXPECT_EQ(ScanReal(longNumber, value), longNumber.size());
    EXPECT_DOUBLE_EQ(value, 1e300);
}
