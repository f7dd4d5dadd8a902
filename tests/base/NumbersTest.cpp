#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>
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

// Short decimals are converted without strtod; the result must be strtod's to the last bit.
TEST(Numbers, ShortDecimalsRoundAsStrtodDoes)
{
    std::mt19937_64 random(7);
    for (int k = 0; k < 200000; ++k) {
        const int digits = 1 + static_cast<int>(random() % 17);
        std::string text = random() % 4 == 0 ? "-" : "";
        const int point = static_cast<int>(random() % (digits + 2));
        for (int d = 0; d < digits; ++d) {
            if (d == point) text += '.';
            text += static_cast<char>('0' + random() % 10);
        }
        double value = 0;
        ASSERT_EQ(ScanReal(text, value), text.size()) << text;
        const double expected = std::strtod(text.c_str(), nullptr);
        ASSERT_EQ(std::memcmp(&value, &expected, sizeof value), 0) << text;
    }
}
